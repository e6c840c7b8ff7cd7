#include "ui/shell/Recovery.h"

#include <algorithm>
#include <span>

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

QString lockPathOf(const QString& infoPath) {
    return infoPath.chopped(5) + QStringLiteral(".lock");  // NAME.info -> NAME.lock
}

std::optional<RecoveryInfo> readInfo(const QString& path) {
    const FileContent content = readFileContent(toFilePath(path), kRecoveryInfoCap);
    if (content.status != FileContent::Status::Read) return std::nullopt;
    return decodeRecoveryInfo(
        std::string_view(reinterpret_cast<const char*>(content.bytes.data()), content.bytes.size()));
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

RecoveryStore::RecoveryStore(const QString& folder) {
    if (folder.isEmpty() || !QDir().mkpath(folder)) return;
    base_ = folder + QStringLiteral("/session-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    auto lock = std::make_unique<QLockFile>(base_ + QStringLiteral(".lock"));
    if (lock->tryLock(0)) lock_ = std::move(lock);
}

RecoveryStore::~RecoveryStore() = default;

void RecoveryStore::Orphan::remove() {
    QFile::remove(designsPath);
    QFile::remove(infoPath);
    if (lock) lock->unlock();  // removes the lock file
}

std::vector<RecoveryStore::Orphan> RecoveryStore::orphans(const QString& folder) {
    std::vector<Orphan> found;
    if (folder.isEmpty()) return found;
    const QDir dir(folder);
    for (const QString& name : dir.entryList({QStringLiteral("*.info")}, QDir::Files)) {
        Orphan orphan;
        orphan.infoPath = dir.filePath(name);
        orphan.designsPath = orphan.infoPath.chopped(5) + QStringLiteral(".cig");
        // A lock that can be taken belongs to a program that is gone (Qt sees a dead owner's lock as stale).
        orphan.lock = std::make_unique<QLockFile>(lockPathOf(orphan.infoPath));
        if (!orphan.lock->tryLock(0)) continue;
        const std::optional<RecoveryInfo> info = readInfo(orphan.infoPath);
        if (!info || !QFileInfo::exists(orphan.designsPath)) {
            orphan.remove();  // half a recovery (a crash in the middle of a write): nothing to offer
            continue;
        }
        orphan.info = *info;
        found.push_back(std::move(orphan));
    }
    std::sort(found.begin(), found.end(),
              [](const Orphan& a, const Orphan& b) { return a.info.writtenAt > b.info.writtenAt; });
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
            [designsPath, infoPath](QByteArray designs, QByteArray info) {
                RecordingErrorReporter ignored;  // a failed write is tried again with the next change
                if (saveBytes(designsPath, bytesOf(designs), kErrorCigaretteNotWritable, ignored) == 0)
                    saveBytes(infoPath, bytesOf(info), kErrorCigaretteNotWritable, ignored);
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
    if (!store_->usable()) return;
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
    for (RecoveryStore::Orphan& orphan : RecoveryStore::orphans(folder)) {
        const QString when =
            QDateTime::fromSecsSinceEpoch(orphan.info.writtenAt).toString(QStringLiteral("yyyy-MM-dd hh:mm"));
        QMessageBox box(QMessageBox::Question, programTitle(),
                        QStringLiteral("Recover the unsaved designs from %1?").arg(when),
                        QMessageBox::Yes | QMessageBox::Discard, owner);
        box.button(QMessageBox::Yes)->setText(QStringLiteral("Recover"));
        box.setDefaultButton(QMessageBox::Yes);
        if (!orphan.info.originalPath.empty())
            box.setInformativeText(
                QStringLiteral("They belong to %1.").arg(fromFilePath(orphan.info.originalPath)));
        if (dialogs.exec(box) != QMessageBox::Yes) {
            orphan.remove();
            continue;
        }
        // Recovered designs are modified: no state of the new history is the saved one.
        const bool recovered = document.load(UndoableDocument::History::Unsaved, [&](DesignDocument& doc) {
            return doc.recover(toFilePath(orphan.designsPath), orphan.info.originalPath,
                               orphan.info.legacyFile, errors);
        }) == 0;
        // This program's own recovery files hold the designs before the old ones go.
        if (recovered && writer) writer->saveNow();
        orphan.remove();
        return recovered;
    }
    return false;
}

}  // namespace veltrano
