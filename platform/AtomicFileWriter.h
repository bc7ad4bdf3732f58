// Replaces a file so that a reader, a crash or a killed process only ever finds the old file or
// the whole new one: the new content goes into a temporary file beside the target (one name
// pattern, TemporaryFiles), which gets its mode, is synced to the disk and closed, and is then
// renamed over the target; rename(2) is atomic within a folder. The folder is synced last, so the
// new name survives a power cut too. A failure at any step leaves the target as it was, removes
// the temporary file and is reported with the file and the reason; the descriptor is always closed.
// Every writer that replaces a file goes through this class.
#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>

class AtomicFileWriter {
public:
    // The calls that end a temporary file. Tests replace them to make them fail; a replacement of
    // close must still close the descriptor.
    struct SyncCalls {
        int (*fsync)(int fd);
        int (*close)(int fd);
    };
    static void SetSyncCalls(const SyncCalls* calls); // null restores the system's

    explicit AtomicFileWriter(std::string target);
    ~AtomicFileWriter(); // discards a file that was not committed
    AtomicFileWriter(const AtomicFileWriter&) = delete;
    AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

    // The mode the new file gets. Unset: the mode of the file it replaces, or for a new file
    // 0666 less the process's umask.
    void SetMode(mode_t mode) { mode_ = mode; }

    // Removes stale temporary files from the target's folder and creates a new one for writing.
    bool Begin();
    // Appends bytes to the temporary file (a download writes piece by piece).
    bool Write(const void* data, std::size_t size);
    // Mode, sync, close, rename over the target, sync of the folder. False when any step failed;
    // the target is then the old file, unless only the folder's sync failed.
    bool Commit();
    // Closes and removes the temporary file; the target stays as it was.
    void Discard();

    const std::string& Target() const { return target_; }
    const std::string& TemporaryPath() const { return temporary_; }
    // Why the last step failed, naming the file ("" when nothing failed).
    const std::string& Error() const { return error_; }

    // The whole new content at once.
    static bool Replace(const std::string& target, std::string_view bytes, std::string* error = nullptr);
    // For writers that need a path rather than a descriptor (a copy, a library's own file writer):
    // fill makes a regular file at the temporary path it is given and returns false on failure;
    // that file then replaces the target as above. Whatever fill left on failure is removed.
    static bool ReplaceThrough(const std::string& target, const std::function<bool(const std::string&)>& fill,
                               std::optional<mode_t> mode = std::nullopt, std::string* error = nullptr);
    // Moves a file over the target in one rename(2): the target is at every moment either the old
    // file or the moved one, and the moved file never has another name. False (errno that of the
    // rename) when the rename failed; nothing has changed then.
    static bool MoveOver(const std::string& source, const std::string& target, std::string* error = nullptr);

private:
    bool Fail(const std::string& what, int error);
    bool Finish(); // the steps of Commit after the content is written

    std::string target_;
    std::string temporary_;
    std::optional<mode_t> mode_;
    int fd_ = -1;
    bool created_ = false;
    std::string error_;
};
