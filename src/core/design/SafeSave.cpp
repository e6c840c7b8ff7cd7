#include "core/design/SafeSave.h"

#include <array>
#include <variant>

namespace veltrano {

namespace {

class SystemFileSink : public FileSink {
public:
    explicit SystemFileSink(platform::File file) : file_(std::move(file)) {}

    bool write(std::span<const std::uint8_t> bytes) override { return file_.write(bytes); }

    bool finish() override {
        const bool flushed = file_.flushToDisk();
        const bool closed = file_.close();
        return flushed && closed;
    }

private:
    platform::File file_;
};

}  // namespace

SaveFileSystem::Target SystemSaveFileSystem::inspect(const std::string& path) {
    return platform::inspectSaveTarget(path);
}

bool SystemSaveFileSystem::canOpenForWriting(const std::string& path) {
    return static_cast<bool>(platform::openForWriting(path, platform::WriteOpen::ExistingUnchanged));
}

SaveFileSystem::Temporary SystemSaveFileSystem::createTemporary(const Target& target) {
    auto created = platform::createTemporaryFile(target.path);
    if (const auto* failure = std::get_if<platform::CreateFailure>(&created))
        return {nullptr, {}, *failure == platform::CreateFailure::FolderRefusesNewFiles};
    auto& temporary = std::get<platform::TemporaryFile>(created);
    const std::uint32_t permissions = target.exists ? target.permissions : platform::newFilePermissions();
    if (!temporary.file.setPermissions(permissions)) {
        // Some file systems (removable media) take no permissions; there the file is written in place
        // and keeps the permissions it has, as before this save.
        temporary.file.close();
        platform::removeFile(temporary.path);
        return {nullptr, {}, true};
    }
    return {std::make_unique<SystemFileSink>(std::move(temporary.file)), temporary.path};
}

std::unique_ptr<FileSink> SystemSaveFileSystem::openTruncated(const std::string& path) {
    platform::File file = platform::openForWriting(path, platform::WriteOpen::CreateOrTruncate);
    if (!file) return nullptr;
    return std::make_unique<SystemFileSink>(std::move(file));
}

bool SystemSaveFileSystem::replace(const std::string& from, const std::string& to) {
    return platform::replaceFile(from, to);
}

void SystemSaveFileSystem::remove(const std::string& path) {
    platform::removeFile(path);
}

SaveReport saveFile(const std::string& path, std::span<const std::span<const std::uint8_t>> pieces,
                    SaveFileSystem& fileSystem) {
    SaveReport report;
    const SaveFileSystem::Target target = fileSystem.inspect(path);
    if (target.exists && !fileSystem.canOpenForWriting(target.path)) return report;

    SaveFileSystem::Temporary temporary;
    if (target.replaceable) {
        temporary = fileSystem.createTemporary(target);
        if (!temporary.sink && !temporary.folderRefusesNewFiles) {
            // Writing in place now could cut the old file short on the very disk that just ran out.
            report.opened = true;
            report.noTemporary = true;
            return report;
        }
    }
    const bool inPlace = !temporary.sink;
    std::unique_ptr<FileSink> sink =
        inPlace ? fileSystem.openTruncated(target.path) : std::move(temporary.sink);
    if (!sink) return report;
    report.opened = true;

    for (std::size_t i = 0; i < pieces.size(); ++i)
        if (!sink->write(pieces[i])) report.failedPieces.push_back(static_cast<int>(i));
    const bool finished = sink->finish();
    sink.reset();

    if (inPlace) {
        report.finishFailed = !finished;
        return report;
    }
    if (!report.failedPieces.empty() || !finished || !fileSystem.replace(temporary.path, target.path)) {
        fileSystem.remove(temporary.path);
        report.finishFailed = report.failedPieces.empty();
    }
    return report;
}

int saveAndReport(const std::string& path, std::span<const std::span<const std::uint8_t>> pieces,
                  int notOpenedError, ErrorReporter& errors, SaveFileSystem& fileSystem) {
    const SaveReport report = saveFile(path, pieces, fileSystem);
    if (!report.opened) {
        ReportError(errors, notOpenedError);
        return notOpenedError;
    }
    for ([[maybe_unused]] int piece : report.failedPieces) ReportError(errors, kErrorCigaretteWriteFailed);
    if (report.noTemporary || report.finishFailed) ReportError(errors, kErrorCigaretteWriteFailed);
    return report.complete() ? 0 : kErrorCigaretteWriteFailed;
}

int saveBytes(const std::string& path, std::span<const std::uint8_t> bytes, int notOpenedError,
              ErrorReporter& errors) {
    SystemSaveFileSystem fileSystem;
    const std::array<std::span<const std::uint8_t>, 1> pieces{bytes};
    return saveAndReport(path, pieces, notOpenedError, errors, fileSystem);
}

}  // namespace veltrano
