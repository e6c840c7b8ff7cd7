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

namespace {

// Keeps the reason of the first failed step, read at once, before another call can change it.
void noteFailure(SaveReport& report) {
    if (report.systemError == 0) report.systemError = platform::lastSystemError();
}

}  // namespace

SaveReport saveFile(const std::string& path, std::span<const std::span<const std::uint8_t>> pieces,
                    SaveFileSystem& fileSystem) {
    SaveReport report;
    const SaveFileSystem::Target target = fileSystem.inspect(path);
    if (target.exists && !fileSystem.canOpenForWriting(target.path)) {
        noteFailure(report);
        return report;
    }

    SaveFileSystem::Temporary temporary;
    if (target.replaceable) {
        temporary = fileSystem.createTemporary(target);
        if (!temporary.sink && !temporary.folderRefusesNewFiles) {
            // Writing in place now could cut the old file short on the very disk that just ran out.
            noteFailure(report);
            report.opened = true;
            report.noTemporary = true;
            return report;
        }
    }
    const bool inPlace = !temporary.sink;
    std::unique_ptr<FileSink> sink =
        inPlace ? fileSystem.openTruncated(target.path) : std::move(temporary.sink);
    if (!sink) {
        noteFailure(report);
        return report;
    }
    report.opened = true;

    for (std::size_t i = 0; i < pieces.size(); ++i) {
        if (sink->write(pieces[i])) continue;
        noteFailure(report);
        report.failedPieces.push_back(static_cast<int>(i));
    }
    const bool finished = sink->finish();
    if (!finished) noteFailure(report);
    sink.reset();

    if (inPlace) {
        report.finishFailed = !finished;
        return report;
    }
    bool replaced = false;
    if (report.failedPieces.empty() && finished) {
        replaced = fileSystem.replace(temporary.path, target.path);
        if (!replaced) noteFailure(report);
    }
    if (!replaced) {
        fileSystem.remove(temporary.path);
        report.finishFailed = report.failedPieces.empty();
    }
    return report;
}

int reportSave(const SaveReport& report, int notOpenedError, ErrorReporter& errors) {
    if (!report.opened) {
        ReportError(errors, notOpenedError);
        return notOpenedError;
    }
    for ([[maybe_unused]] int piece : report.failedPieces) ReportError(errors, kErrorCigaretteWriteFailed);
    if (report.noTemporary || report.finishFailed) ReportError(errors, kErrorCigaretteWriteFailed);
    return report.complete() ? 0 : kErrorCigaretteWriteFailed;
}

int saveAndReport(const std::string& path, std::span<const std::span<const std::uint8_t>> pieces,
                  int notOpenedError, ErrorReporter& errors, SaveFileSystem& fileSystem) {
    return reportSave(saveFile(path, pieces, fileSystem), notOpenedError, errors);
}

SaveReport saveBytes(const std::string& path, std::span<const std::uint8_t> bytes) {
    SystemSaveFileSystem fileSystem;
    const std::array<std::span<const std::uint8_t>, 1> pieces{bytes};
    return saveFile(path, pieces, fileSystem);
}

int saveBytes(const std::string& path, std::span<const std::uint8_t> bytes, int notOpenedError,
              ErrorReporter& errors) {
    return reportSave(saveBytes(path, bytes), notOpenedError, errors);
}

std::string failureReason(const SaveReport& report) {
    return report.complete() || report.systemError == 0 ? std::string()
                                                        : platform::systemErrorText(report.systemError);
}

}  // namespace veltrano
