#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "core/design/ByteStream.h"
#include "core/design/ErrorMessages.h"
#include "core/design/PlatformFiles.h"

namespace veltrano {

// An open file being written: the pieces go in through `write`; `finish` flushes the data to the
// disk and closes the file, and says whether all of that worked.
class FileSink : public ByteSink {
public:
    virtual bool finish() = 0;
};

// The file system steps the safe save is made of. The program uses SystemSaveFileSystem; tests derive
// from it to make one chosen step fail.
class SaveFileSystem {
public:
    using Target = platform::SaveTarget;

    // A new file beside the target, or why there is none.
    struct Temporary {
        std::unique_ptr<FileSink> sink;
        std::string path;
        // Without a sink: true when the folder allows no new files (the target may then be written in
        // place), false for any other failure (no space, no inodes, ...), after which nothing is written.
        bool folderRefusesNewFiles = false;
    };

    virtual ~SaveFileSystem() = default;
    virtual Target inspect(const std::string& path) = 0;
    // Opens the existing file for writing without changing it, and closes it again.
    virtual bool canOpenForWriting(const std::string& path) = 0;
    // A new file in the target's folder with the target's permissions, or those a plain create gives
    // when there is no target yet.
    virtual Temporary createTemporary(const Target& target) = 0;
    // Creates or truncates the file itself.
    virtual std::unique_ptr<FileSink> openTruncated(const std::string& path) = 0;
    // Puts `from` in the place of `to` in one step.
    virtual bool replace(const std::string& from, const std::string& to) = 0;
    virtual void remove(const std::string& path) = 0;
};

// The steps on the real file system, through the platform's file access.
class SystemSaveFileSystem : public SaveFileSystem {
public:
    Target inspect(const std::string& path) override;
    bool canOpenForWriting(const std::string& path) override;
    Temporary createTemporary(const Target& target) override;
    std::unique_ptr<FileSink> openTruncated(const std::string& path) override;
    bool replace(const std::string& from, const std::string& to) override;
    void remove(const std::string& path) override;
};

// What became of a save.
struct SaveReport {
    bool opened = false;            // false: the target could not be opened for writing; nothing written
    bool noTemporary = false;       // no new file could be made beside the target; nothing written
    std::vector<int> failedPieces;  // indexes of the pieces that were not written completely
    bool finishFailed = false;      // all pieces went out, but flushing, closing or the rename failed
    bool complete() const { return opened && !noTemporary && failedPieces.empty() && !finishFailed; }
};

// Writes `pieces` one after the other to the file at `path` so that the old file survives any failure:
//  1. an existing file that cannot be opened for writing stays as it is (a write-protected file stays
//     protected): nothing is written;
//  2. otherwise the pieces go to a temporary file beside the target, each checked, the writing going
//     on after a failed piece; then flush, fsync and rename over the target. A failed piece, flush or
//     rename removes the temporary file and leaves the old file intact;
//  3. only where the folder refuses new files (a read-only folder holding a writable file, say) is the
//     file created or truncated and written in place; when the temporary file fails for any other
//     reason (a full disk, no inodes) nothing is written and the old file stays as it is.
SaveReport saveFile(const std::string& path, std::span<const std::span<const std::uint8_t>> pieces,
                    SaveFileSystem& fileSystem);

// The safe save with its failures reported as the file commands report them: `notOpenedError` once
// when the target cannot be opened for writing; 053 once for each piece that was not written
// completely, and once when the file could not be made or put in place. Returns 0 when the whole file
// is in place, otherwise the number reported first.
int saveAndReport(const std::string& path, std::span<const std::span<const std::uint8_t>> pieces,
                  int notOpenedError, ErrorReporter& errors, SaveFileSystem& fileSystem);

// Output made in memory first (a document, a picture, a table: writers that do not tell of a failed
// write), saved as one piece on the real file system and reported as above. A failed save leaves no
// partial file and any old file as it was.
int saveBytes(const std::string& path, std::span<const std::uint8_t> bytes, int notOpenedError,
              ErrorReporter& errors);

}  // namespace veltrano
