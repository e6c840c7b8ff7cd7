#pragma once

#include <memory>
#include <optional>
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

    // False when the folder cannot be made or locked: nothing is written then, and `problem` says why.
    bool usable() const { return lock_ != nullptr; }
    QString problem() const { return problem_; }
    QString folder() const { return folder_; }
    QString designsPath() const { return base_ + QStringLiteral(".cig"); }
    QString infoPath() const { return base_ + QStringLiteral(".info"); }

    // The recovery files left by programs that are gone, newest first: every set whose designs file
    // reads as designs, whatever became of its sidecar. No lock is held afterwards (a folder may hold
    // more sets than the program may open files); a set is claimed only while it is offered.
    struct Orphan {
        QString designsPath, infoPath;
        std::optional<RecoveryInfo> info;  // nothing when the sidecar is missing or damaged
        qint64 writtenAt = 0;              // the sidecar's time, else when the designs file was written
        // Takes the set's lock, so that no other program offers it at the same time; nullptr when
        // another program has it or the designs are gone since.
        std::unique_ptr<QLockFile> claim() const;
        // Removes the files of a claimed set, the lock last.
        void remove(QLockFile& claimed) const;
    };
    static std::vector<Orphan> orphans(const QString& folder);

private:
    QString folder_;
    QString base_;
    QString problem_;
    std::unique_ptr<QLockFile> lock_;
};

// Keeps the recovery files of a document up to date: after every change that leaves the designs
// modified it writes them, at most once every `interval` milliseconds with a trailing write (the last
// change is never lost), on a worker thread (the window never waits for the disk). When the designs are
// no longer modified (saved, opened, undone to the saved state) or the program ends cleanly, the files
// go. A write that fails is tried again with the next change; the first failure of a run is told
// (`unprotected`), once.
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
    // Changes are not protected against a crash: the recovery files cannot be written in `folder`, for
    // the system's `reason`. Said once per writer.
    void unprotected(const QString& folder, const QString& reason);

private:
    void documentChanged(const DocumentChange& change);
    void writeNow();
    // Emits `unprotected` the first time only.
    void tellUnprotected(const QString& reason);

    UndoableDocument& document_;
    std::unique_ptr<RecoveryStore> store_;
    int interval_;
    QTimer timer_;
    QElapsedTimer sinceLastWrite_;
    bool paused_ = false;
    bool due_ = false;
    bool toldUnprotected_ = false;
    QThread* thread_;
    QObject* io_;
};

// At start-up: offers the recovery files of programs that are gone, one set at a time, newest first
// ("Recover the unsaved designs from DATE TIME?", Recover / Discard), saying how many more wait. Recover
// loads the designs as if opened from their original file (none when the sidecar does not say: Save then
// asks for a name) and marks them modified; Discard deletes the files and the next set is offered. Only
// the set on offer is locked. True when designs were recovered.
// `writer`, when given, writes the recovered designs as this program's own before the old files go.
bool offerRecovery(Dialogs& dialogs, QWidget* owner, UndoableDocument& document, ErrorReporter& errors,
                   const QString& folder, RecoveryWriter* writer);

// The note that unsaved changes are not protected against a crash: non-modal, over `owner`, naming the
// folder and the reason.
void showUnprotectedNote(QWidget* owner, const QString& folder, const QString& reason);

}  // namespace veltrano
