#include "storage/number_file_reader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <new>

namespace storage {

namespace {

class FileHandle {
public:
    explicit FileHandle(const std::string& path) : fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC)) {}
    ~FileHandle()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    int fd() const { return fd_; }

private:
    int fd_;
};

// The kernel may hand a large file over in pieces; keep reading until the
// buffer is full or the file ends. Returns the bytes read, or -1.
ssize_t readWhole(int fd, char* buffer, size_t size)
{
    size_t done = 0;
    while (done < size) {
        ssize_t n = ::read(fd, buffer + done, size - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return -1;
        if (n == 0)
            break;
        done += static_cast<size_t>(n);
    }
    return static_cast<ssize_t>(done);
}

}  // namespace

size_t keepDigitBytes(char* text, size_t size)
{
    size_t kept = 0;
    for (size_t i = 0; i < size; ++i) {
        char c = text[i];
        if (static_cast<unsigned char>(c - '0') <= 9)
            text[kept++] = c;
    }
    return kept;
}

NumberFileStatus readNumberFile(const std::string& path, std::string& digits)
{
    FileHandle file(path);
    struct stat info {};
    if (file.fd() < 0 || ::fstat(file.fd(), &info) != 0 || S_ISDIR(info.st_mode))
        return NumberFileStatus::CannotOpen;

    std::string buffer;
    try {
        buffer.resize(static_cast<size_t>(info.st_size) + 2);
    } catch (const std::bad_alloc&) {
        return NumberFileStatus::NoMemory;
    }
    ssize_t size = readWhole(file.fd(), buffer.data(), static_cast<size_t>(info.st_size));
    if (size < 0)
        return NumberFileStatus::CannotOpen;
    buffer.resize(keepDigitBytes(buffer.data(), static_cast<size_t>(size)));
    digits.swap(buffer);
    return NumberFileStatus::Read;
}

}  // namespace storage
