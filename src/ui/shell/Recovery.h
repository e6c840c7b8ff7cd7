#pragma once

#include <memory>
#include <vector>

#include <QElapsedTimer>
#include <QLockFile>
#include <QObject>
#include <QString>
#include <QTimer>

#include "core/document/DesignDocument.h"
#include "core/document/RecoveryFiles.h"

class QThread;
class QWidget;

namespace veltrano {

class Dialogs;
class UndoableDocument;

// Where this user's recovery files live (created when first needed); empty when there is no such place.
QString recoveryFolderPath();

// One running program's recovery files in the recovery folder: NAME.cig (the designs in the cigarette
// file format), NAME.info (what they belong to) and NAME.lock, held while the program runs. Files whose
// lock nobody holds belong to a program that ended without cleaning up: a crash, a kill, a power cut.
class RecoveryStore {
public:
    explicit RecoveryStore(const QString& folder);
    ~RecoveryStore();
    RecoveryStore(const RecoveryStore&) = delete;
    RecoveryStore& operator=(const RecoveryStore&) = delete;

    // False when the folder cannot be made or locked: nothing is written then.
    bool usable() const { return lock_ != nullptr; }
    QString designsPath() const { return base_ + QStringLiteral(".cig"); }
    QString infoPath() const { return base_ + QStringLiteral(".info"); }

    // The recovery files left by programs that are gone, newest first. Each comes with its lock, taken,
    // so that no other program offers the same files at the same time.
    struct Orphan {
        QString designsPath, infoPath;
        RecoveryInfo info;
        std::unique_ptr<QLockFile> lock;
        void remove();
    };
    static std::vector<Orphan> orphans(const QString& folder);

private:
    QString base_;
    std::unique_ptr<QLockFile> lock_;
};

// Keeps the recovery files of a document up to date: after every change that leaves the designs
// modified it writes them, at most once every `interval` milliseconds with a trailing write (the last
// change is never lost), on a worker thread (the window never waits for the disk). When the designs are
// no longer modified (saved, opened, undone to the saved state) or the program ends cleanly, the files
// go. A failed write shows nothing; the next change tries again.
class RecoveryWriter : public QObject {
    Q_OBJECT
public:
    static constexpr int kDefaultInterval = 3000;

    RecoveryWriter(UndoableDocument& document, std::unique_ptr<RecoveryStore> store,
                   int interval = kDefaultInterval, QObject* parent = nullptr);
    ~RecoveryWriter() override;

    // While something runs that processes events in the middle of a change (the puff-by-puff analysis),
    // no write starts; one that fell due is made when writing resumes.
    void setPaused(bool paused);
    // A clean end (Exit, or Discard on exit): the files go.
    void discard();
    // Writes the modified designs at once and waits until they are on disk.
    void saveNow();
    // Blocks until every write and removal asked for so far is done (tests, the end of the program).
    void flush();

    const RecoveryStore& store() const { return *store_; }

signals:
    void writeRequested(QByteArray designs, QByteArray info);
    void removeRequested();

private:
    void documentChanged(const DocumentChange& change);
    void writeNow();

    UndoableDocument& document_;
    std::unique_ptr<RecoveryStore> store_;
    int interval_;
    QTimer timer_;
    QElapsedTimer sinceLastWrite_;
    bool paused_ = false;
    bool due_ = false;
    QThread* thread_;
    QObject* io_;
};

// At start-up: offers the recovery files of programs that are gone, newest first ("Recover the unsaved
// designs from DATE TIME?", Recover / Discard). Recover loads the designs as if opened from their
// original file and marks them modified; Discard deletes the files and the next one is offered. True
// when designs were recovered.
// `writer`, when given, writes the recovered designs as this program's own before the old files go.
bool offerRecovery(Dialogs& dialogs, QWidget* owner, UndoableDocument& document, ErrorReporter& errors,
                   const QString& folder, RecoveryWriter* writer);

}  // namespace veltrano
