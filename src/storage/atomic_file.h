#pragma once
// Every file the program writes goes through here: the bytes go to a
// temporary file beside the target, are flushed to the disk, and only then
// replace the target by a rename. A full disk, a crash or a kill in the
// middle leaves the old file as it was, never a truncated mix of old and new.
// A killed write leaves its temporary file (named after the target, ending in
// ".tmp-<process id>"); the next write of the same target removes it.
#include <string>
#include <string_view>

namespace storage {

// Synced: the file is on the disk when commit returns. Deferred: the rename
// is done but the bytes may still be in the page cache until the caller
// calls syncToDisk, so that a writer of many small files pays for one flush
// at a moment of its choice (a crash before it may lose such files whole,
// never leave a mix of old and new).
enum class Durability { Synced, Deferred };

class AtomicFile {
public:
    // Opens the temporary file; check isOpen() (error() says why not).
    explicit AtomicFile(std::string path);
    // Without a successful commit(), the temporary file is removed and the
    // target is left untouched.
    ~AtomicFile();
    AtomicFile(const AtomicFile&) = delete;
    AtomicFile& operator=(const AtomicFile&) = delete;

    bool isOpen() const { return fd_ >= 0; }

    // Buffered; false once any write has failed (later writes do nothing,
    // and commit() reports the failure: a caller may check only that).
    bool write(std::string_view bytes);

    // Flush, fsync, rename over the target and fsync its folder (the syncs
    // only when Synced). False, with error() set, when any step failed; the
    // target then keeps its old content.
    [[nodiscard]] bool commit(Durability durability = Durability::Synced);

    // The system's description of the first failure, empty when none.
    const std::string& error() const { return error_; }

private:
    bool flushBuffer();
    bool fail(int code);
    void discard();

    std::string path_;
    std::string temporary_;
    std::string buffer_;
    std::string error_;
    int fd_ = -1;
    bool failed_ = false;
};

// The whole content written at once, atomically. error receives the reason
// of a failure when not null.
[[nodiscard]] bool writeFileAtomically(const std::string& path, std::string_view content, std::string* error = nullptr,
                                       Durability durability = Durability::Synced);

// Puts a file written Deferred, and the rename in its folder, on the disk.
[[nodiscard]] bool syncToDisk(const std::string& path);

}  // namespace storage
