#include "storage/whole_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <functional>
#include <new>
#include <stdexcept>

#include "engine/decimal_text.h"

namespace storage {

namespace {

constexpr uint64_t kSmallestBlock = 64u << 10;
constexpr uint64_t kLargestBlock = 16u << 20;

class ReadOnlyFile {
public:
    // O_NONBLOCK: opening a FIFO for reading would otherwise wait for a writer.
    explicit ReadOnlyFile(const std::string& path) : fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK)) {}
    ~ReadOnlyFile()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;
    int fd() const { return fd_; }

private:
    int fd_;
};

uint64_t physicalMemoryBytes()
{
    long pages = ::sysconf(_SC_PHYS_PAGES);
    long pageSize = ::sysconf(_SC_PAGESIZE);
    if (pages <= 0 || pageSize <= 0)
        return UINT64_MAX;
    return static_cast<uint64_t>(pages) * static_cast<uint64_t>(pageSize);
}

// Opens and checks the file, then hands each block read to take(block, size)
// until the end of the file.
FileReadStatus readBlocks(const std::string& path, const std::function<void(uint64_t fileSize)>& prepare,
                          const std::function<void(const char*, size_t)>& take)
{
    ReadOnlyFile file(path);
    if (file.fd() < 0)
        return FileReadStatus::CannotOpen;
    struct stat info {};
    if (::fstat(file.fd(), &info) != 0)
        return FileReadStatus::CannotOpen;
    if (!S_ISREG(info.st_mode))
        return FileReadStatus::NotRegularFile;
    const uint64_t size = static_cast<uint64_t>(info.st_size);
    if (size > physicalMemoryBytes())
        return FileReadStatus::TooLarge;
    try {
        prepare(size);
        // One byte more than the size, so a file read whole ends on a read of 0.
        std::string block(static_cast<size_t>(std::clamp(size + 1, kSmallestBlock, kLargestBlock)), '\0');
        for (;;) {
            ssize_t n = ::read(file.fd(), block.data(), block.size());
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                return FileReadStatus::CannotOpen;
            if (n == 0)
                return FileReadStatus::Read;
            take(block.data(), static_cast<size_t>(n));
        }
    } catch (const std::bad_alloc&) {
        return FileReadStatus::NoMemory;
    } catch (const std::length_error&) {
        return FileReadStatus::NoMemory;
    }
}

}  // namespace

FileReadStatus readWholeFile(const std::string& path, std::string& content)
{
    std::string read;
    FileReadStatus status = readBlocks(
        path, [&](uint64_t size) { read.reserve(static_cast<size_t>(size)); },
        [&](const char* block, size_t size) { read.append(block, size); });
    if (status == FileReadStatus::Read)
        content.swap(read);
    return status;
}

FileReadStatus readDigitsOfFile(const std::string& path, std::string& digits)
{
    std::string kept;
    FileReadStatus status = readBlocks(
        path, [](uint64_t) {},
        [&](const char* block, size_t size) {
            size_t from = kept.size();
            kept.append(block, size);
            kept.resize(from + engine::keepDigitBytes(kept.data() + from, size));
        });
    if (status == FileReadStatus::Read) {
        kept.shrink_to_fit();
        digits.swap(kept);
    }
    return status;
}

const char* describe(FileReadStatus status)
{
    switch (status) {
    case FileReadStatus::Read:
        return "read";
    case FileReadStatus::CannotOpen:
        return "it cannot be opened or read";
    case FileReadStatus::NotRegularFile:
        return "it is not a regular file";
    case FileReadStatus::TooLarge:
        return "it is larger than this machine's memory";
    case FileReadStatus::NoMemory:
        return "it does not fit in the free memory";
    }
    return "it cannot be read";
}

}  // namespace storage
