#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "design/ByteStream.h"

namespace veltrano {

// An open file being written: the pieces go in through `write`; `finish` flushes the data to the
// disk and closes the file, and says whether all of that worked.
class FileSink : public ByteSink {
public:
    virtual bool finish() = 0;
};

// The file system steps the safe save is made of. The program uses PosixSaveFileSystem; tests derive
// from it to make one chosen step fail.
class SaveFileSystem {
public:
    struct Target {
        std::string path;                  // the file the data are meant for, symlinks resolved
        bool exists = false;               // something is there already
        bool replaceable = false;          // a new file may be renamed into place (see PosixSaveFileSystem)
        std::uint32_t permissions = 0666;  // for the new file when it replaces an existing one
    };

    virtual ~SaveFileSystem() = default;
    virtual Target inspect(const std::string& path) = 0;
    // Opens the existing file for writing without changing it, and closes it again.
    virtual bool canOpenForWriting(const std::string& path) = 0;
    // A new file in the target's folder with the target's permissions; its name goes to `temporaryPath`.
    // Nothing when the folder does not allow it.
    virtual std::unique_ptr<FileSink> createTemporary(const Target& target, std::string& temporaryPath) = 0;
    // Creates or truncates the file itself.
    virtual std::unique_ptr<FileSink> openTruncated(const std::string& path) = 0;
    // Puts `from` in the place of `to` in one step.
    virtual bool replace(const std::string& from, const std::string& to) = 0;
    virtual void remove(const std::string& path) = 0;
};

// POSIX calls: realpath, stat, open, write, fsync, fchmod, rename. A regular file of our own with a
// single link is replaced by a renamed temporary file; anything else that exists (a device, a file
// with more names, someone else's file, whose owner a rename would change) is written in place.
// On Windows the same steps would be CreateFileW, FlushFileBuffers and ReplaceFileW / MoveFileExW
// with MOVEFILE_REPLACE_EXISTING.
class PosixSaveFileSystem : public SaveFileSystem {
public:
    Target inspect(const std::string& path) override;
    bool canOpenForWriting(const std::string& path) override;
    std::unique_ptr<FileSink> createTemporary(const Target& target, std::string& temporaryPath) override;
    std::unique_ptr<FileSink> openTruncated(const std::string& path) override;
    bool replace(const std::string& from, const std::string& to) override;
    void remove(const std::string& path) override;
};

// What became of a save.
struct SaveReport {
    bool opened = false;            // false: the target could not be opened for writing; nothing written
    std::vector<int> failedPieces;  // indexes of the pieces that were not written completely
    bool finishFailed = false;      // all pieces went out, but flushing, closing or the rename failed
    bool complete() const { return opened && failedPieces.empty() && !finishFailed; }
};

// Writes `pieces` one after the other to the file at `path` so that the old file survives any failure:
//  1. an existing file that cannot be opened for writing stays as it is (a write-protected file stays
//     protected): nothing is written;
//  2. otherwise the pieces go to a temporary file beside the target, each checked, the writing going
//     on after a failed piece; then flush, fsync and rename over the target. A failed piece, flush or
//     rename removes the temporary file and leaves the old file intact;
//  3. where no temporary file can be made (a read-only folder holding a writable file, say), the file is
//     created or truncated and written in place.
SaveReport saveFile(const std::string& path, std::span<const std::span<const std::uint8_t>> pieces,
                    SaveFileSystem& fileSystem);

}  // namespace veltrano
