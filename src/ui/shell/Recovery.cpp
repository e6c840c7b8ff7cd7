#include "ui/shell/Recovery.h"

#include <algorithm>
#include <filesystem>
#include <span>
#include <system_error>

#include <QAbstractButton>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QMessageBox>
#include <QStandardPaths>
#include <QThread>
#include <QUuid>

#include "core/design/ByteStream.h"
#include "core/design/CigaretteFile.h"
#include "core/design/FilePath.h"
#include "core/design/PlatformFiles.h"
#include "core/design/SafeSave.h"
#include "render/resources/ProgramTitle.h"
#include "ui/dialogs/Dialogs.h"
#include "ui/dialogs/FilePaths.h"
#include "ui/shell/UndoableDocument.h"

namespace veltrano {

namespace {

std::span<const std::uint8_t> bytesOf(const QByteArray& a) {
    return {reinterpret_cast<const std::uint8_t*>(a.constData()), static_cast<std::size_t>(a.size())};
}

QString lockPathOf(const QString& designsPath) {
    return designsPath.chopped(4) + QStringLiteral(".lock");  // NAME.cig -> NAME.lock
}

std::optional<RecoveryInfo> readInfo(const QString& path) {
    const FileContent content = readFileContent(toFilePath(path), kRecoveryInfoCap);
    if (content.status != FileContent::Status::Read) return std::nullopt;
    return decodeRecoveryInfo(
        std::string_view(reinterpret_cast<const char*>(content.bytes.data()), content.bytes.size()));
}

// What a set's designs file holds: designs to offer; nothing anyone could recover (no file, or bytes
// that are not a cigarette file); or it cannot be read now (no permission, not a regular file), which
// leaves the set as it is.
enum class DesignsFile { Designs, NotDesigns, Unreadable };

DesignsFile designsFileOf(const QString& path) {
    if (!QFileInfo::exists(path)) return DesignsFile::NotDesigns;
    const FileContent content = readFileContent(toFilePath(path), kCigaretteFileSize);
    if (content.status == FileContent::Status::NotOpened) return DesignsFile::Unreadable;
    if (content.status == FileContent::Status::Read && checkCigaretteFile(content.bytes).accepted())
        return DesignsFile::Designs;
    return DesignsFile::NotDesigns;
}

// "The lock file cannot be made" and the like, as the lock tells it.
QString lockProblem(const QLockFile& lock) {
    switch (lock.error()) {
        case QLockFile::PermissionError:
            return QStringLiteral("no permission to make its lock file");
        case QLockFile::LockFailedError:
            return QStringLiteral("another program holds its lock");
        default:
            return QStringLiteral("its lock file cannot be made");
    }
}

QString recoveryDetails(const RecoveryStore::Orphan& orphan, std::size_t waiting) {
    QStringList lines;
    if (orphan.info && !orphan.info->originalPath.empty())
        lines << QStringLiteral("They belong to %1.").arg(fromFilePath(orphan.info->originalPath));
    else
        lines << QStringLiteral("The file they belong to is not known: Save asks for a name.");
    if (waiting == 1)
        lines << QStringLiteral("One more set of unsaved designs waits to be offered.");
    else if (waiting > 1)
        lines << QStringLiteral("%1 more sets of unsaved designs wait to be offered.").arg(waiting);
    return lines.join(QLatin1Char('\n'));
}

}  // namespace

QString recoveryFolderPath() {
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    const QByteArray state = qgetenv("XDG_STATE_HOME"), home = qgetenv("HOME");
    return fromFilePath(recoveryFolder(state.isNull() ? nullptr : state.constData(),
                                       home.isNull() ? nullptr : home.constData()));
#else
    const QString data = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    return data.isEmpty() ? QString() : data + QStringLiteral("/recovery");
#endif
}

RecoveryStore::RecoveryStore(const QString& folder) : folder_(folder) {
    if (folder.isEmpty()) {
        problem_ = QStringLiteral("the system names no folder for them");
        return;
    }
    std::error_code error;
    std::filesystem::create_directories(pathFromUtf8(toFilePath(folder)), error);
    if (error) {
        problem_ = QString::fromStdString(error.message());
        return;
    }
    base_ = folder + QStringLiteral("/session-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    auto lock = std::make_unique<QLockFile>(lockPathOf(designsPath()));
    if (lock->tryLock(0))
        lock_ = std::move(lock);
    else
        problem_ = lockProblem(*lock);
}

RecoveryStore::~RecoveryStore() = default;

std::unique_ptr<QLockFile> RecoveryStore::Orphan::claim() const {
    auto lock = std::make_unique<QLockFile>(lockPathOf(designsPath));
    // A lock that can be taken belongs to a program that is gone (Qt sees a dead owner's lock as stale).
    if (!lock->tryLock(0) || !QFileInfo::exists(designsPath)) return nullptr;
    return lock;
}

void RecoveryStore::Orphan::remove(QLockFile& claimed) const {
    QFile::remove(designsPath);
    QFile::remove(infoPath);
    claimed.unlock();  // removes the lock file
}

std::vector<RecoveryStore::Orphan> RecoveryStore::orphans(const QString& folder) {
    std::vector<Orphan> found;
    if (folder.isEmpty()) return found;
    const QDir dir(folder);
    QStringList sets;
    for (const QString& name :
         dir.entryList({QStringLiteral("*.cig"), QStringLiteral("*.info")}, QDir::Files))
        sets << name.left(name.lastIndexOf(QLatin1Char('.')));
    sets.removeDuplicates();
    for (const QString& set : sets) {
        Orphan orphan;
        orphan.designsPath = dir.filePath(set + QStringLiteral(".cig"));
        orphan.infoPath = dir.filePath(set + QStringLiteral(".info"));
        // The set's lock only for the look; a running program's set is not looked at.
        QLockFile lock(lockPathOf(orphan.designsPath));
        if (!lock.tryLock(0)) continue;
        switch (designsFileOf(orphan.designsPath)) {
            case DesignsFile::Designs:
                orphan.info = readInfo(orphan.infoPath);
                orphan.writtenAt = orphan.info
                                       ? orphan.info->writtenAt
                                       : QFileInfo(orphan.designsPath).lastModified().toSecsSinceEpoch();
                found.push_back(std::move(orphan));
                break;
            case DesignsFile::NotDesigns:
                orphan.remove(lock);  // half a set, or bytes nobody can recover
                break;
            case DesignsFile::Unreadable:
                break;
        }
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const Orphan& a, const Orphan& b) { return a.writtenAt > b.writtenAt; });
    return found;
}

RecoveryWriter::RecoveryWriter(UndoableDocument& document, std::unique_ptr<RecoveryStore> store, int interval,
                               QObject* parent)
    : QObject(parent),
      document_(document),
      store_(std::move(store)),
      interval_(interval),
      thread_(new QThread(this)),
      io_(new QObject) {
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &RecoveryWriter::writeNow);
    connect(&document_, &UndoableDocument::changed, this, &RecoveryWriter::documentChanged);

    // The disk is used on the worker thread only, in the order the requests were made.
    io_->moveToThread(thread_);
    connect(thread_, &QThread::finished, io_, &QObject::deleteLater);
    const std::string designsPath = toFilePath(store_->designsPath()),
                      infoPath = toFilePath(store_->infoPath());
    connect(this, &RecoveryWriter::writeRequested, io_,
            [this, designsPath, infoPath](QByteArray designs, QByteArray info) {
                RecordingErrorReporter numbers;  // a failed write is tried again with the next change
                if (saveBytes(designsPath, bytesOf(designs), kErrorCigaretteNotWritable, numbers) == 0 &&
                    saveBytes(infoPath, bytesOf(info), kErrorCigaretteNotWritable, numbers) == 0)
                    return;
                const QString reason = QString::fromStdString(platform::lastErrorText());
                QMetaObject::invokeMethod(
                    this, [this, reason] { tellUnprotected(reason); }, Qt::QueuedConnection);
            });
    connect(this, &RecoveryWriter::removeRequested, io_, [designsPath, infoPath] {
        QFile::remove(fromFilePath(infoPath));
        QFile::remove(fromFilePath(designsPath));
    });
    thread_->start();
}

RecoveryWriter::~RecoveryWriter() {
    thread_->quit();
    thread_->wait();
}

void RecoveryWriter::documentChanged(const DocumentChange& change) {
    if (!store_->usable()) {
        if (document_.modified()) tellUnprotected(store_->problem());
        return;
    }
    if (!document_.modified()) {
        timer_.stop();
        due_ = false;
        emit removeRequested();
        return;
    }
    if (!change.designs && !change.modified && !change.file) return;
    if (timer_.isActive()) return;  // the write that is due takes this change too
    const qint64 since = sinceLastWrite_.isValid() ? sinceLastWrite_.elapsed() : interval_;
    timer_.start(static_cast<int>(std::max<qint64>(0, interval_ - since)));
}

void RecoveryWriter::writeNow() {
    if (paused_) {
        due_ = true;
        return;
    }
    due_ = false;
    sinceLastWrite_.start();
    const DesignDocument& doc = document_.document();
    const std::vector<std::uint8_t> designs = encodeCigaretteFile(doc.designs());
    const RecoveryInfo info{doc.fileName(), doc.isLegacyFile(), QDateTime::currentSecsSinceEpoch()};
    const std::string infoText = encodeRecoveryInfo(info);
    emit writeRequested(
        QByteArray(reinterpret_cast<const char*>(designs.data()), static_cast<qsizetype>(designs.size())),
        QByteArray::fromStdString(infoText));
}

void RecoveryWriter::tellUnprotected(const QString& reason) {
    if (toldUnprotected_) return;
    toldUnprotected_ = true;
    emit unprotected(store_->folder(), reason);
}

void RecoveryWriter::setPaused(bool paused) {
    paused_ = paused;
    if (!paused_ && due_) writeNow();
}

void RecoveryWriter::discard() {
    timer_.stop();
    due_ = false;
    if (store_->usable()) emit removeRequested();
    flush();
}

void RecoveryWriter::saveNow() {
    timer_.stop();
    if (store_->usable() && document_.modified()) writeNow();
    flush();
}

void RecoveryWriter::flush() {
    QMetaObject::invokeMethod(
        io_, [] {}, Qt::BlockingQueuedConnection);
}

bool offerRecovery(Dialogs& dialogs, QWidget* owner, UndoableDocument& document, ErrorReporter& errors,
                   const QString& folder, RecoveryWriter* writer) {
    const std::vector<RecoveryStore::Orphan> found = RecoveryStore::orphans(folder);
    for (std::size_t i = 0; i < found.size(); ++i) {
        const RecoveryStore::Orphan& orphan = found[i];
        const std::unique_ptr<QLockFile> claimed = orphan.claim();
        if (!claimed) continue;  // another program took it since
        const QString when =
            QDateTime::fromSecsSinceEpoch(orphan.writtenAt).toString(QStringLiteral("yyyy-MM-dd hh:mm"));
        QMessageBox box(QMessageBox::Question, programTitle(),
                        QStringLiteral("Recover the unsaved designs from %1?").arg(when),
                        QMessageBox::Yes | QMessageBox::Discard, owner);
        box.button(QMessageBox::Yes)->setText(QStringLiteral("Recover"));
        box.setDefaultButton(QMessageBox::Yes);
        box.setInformativeText(recoveryDetails(orphan, found.size() - i - 1));
        if (dialogs.exec(box) != QMessageBox::Yes) {
            orphan.remove(*claimed);
            continue;
        }
        const RecoveryInfo info = orphan.info.value_or(RecoveryInfo{});
        // Recovered designs are modified: no state of the new history is the saved one.
        const bool recovered = document.load(UndoableDocument::History::Unsaved, [&](DesignDocument& doc) {
            return doc.recover(toFilePath(orphan.designsPath), info.originalPath, info.legacyFile, errors);
        }) == 0;
        if (!recovered) return false;  // said by the reader; the files stay for another try
        // This program's own recovery files hold the designs before the old ones go.
        if (writer) writer->saveNow();
        orphan.remove(*claimed);
        return true;
    }
    return false;
}

void showUnprotectedNote(QWidget* owner, const QString& folder, const QString& reason) {
    auto* note = new QMessageBox(QMessageBox::Warning, programTitle(),
                                 QStringLiteral("Unsaved changes are not protected against a crash."),
                                 QMessageBox::Ok, owner);
    note->setObjectName(QStringLiteral("unprotectedNote"));
    note->setInformativeText((folder.isEmpty()
                                  ? QStringLiteral("The recovery files cannot be written: %1.").arg(reason)
                                  : QStringLiteral("The recovery files cannot be written in %1: %2.")
                                        .arg(QDir::toNativeSeparators(folder), reason)) +
                             QStringLiteral(" Save the designs to keep them."));
    // The window stays usable: the note waits beside the work until it is closed.
    note->setWindowModality(Qt::NonModal);
    note->setAttribute(Qt::WA_DeleteOnClose);
    note->show();
}

}  // namespace veltrano
