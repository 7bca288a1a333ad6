#include "storage/atomic_file.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace storage {

namespace {

// Larger writes go straight to the file; smaller ones (the lines of a
// parameters file) are gathered first so that each costs no system call.
constexpr size_t kBufferBytes = 1 << 20;

std::string folderOf(const std::string& path)
{
    size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool writeAll(int fd, const char* data, size_t size, int& code)
{
    while (size > 0) {
        ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            code = n < 0 ? errno : ENOSPC;
            return false;
        }
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

// A write that was killed leaves its temporary file behind, as large as the
// number it held. The process id in its name tells whether its writer is
// gone; a live one (another instance writing the same file) is left alone.
void removeLeftoversOfDeadWriters(const std::string& path)
{
    const std::string folder = folderOf(path);
    const size_t slash = path.rfind('/');
    const std::string prefix = (slash == std::string::npos ? path : path.substr(slash + 1)) + ".tmp-";
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return;
    while (dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (!name.starts_with(prefix))
            continue;
        const std::string digits = name.substr(prefix.size());
        if (digits.empty() || digits.size() > 9 || digits.find_first_not_of("0123456789") != std::string::npos)
            continue;
        const pid_t writer = static_cast<pid_t>(std::stol(digits));
        if (writer != ::getpid() && ::kill(writer, 0) != 0 && errno == ESRCH)
            ::unlink((folder + "/" + name).c_str());
    }
    ::closedir(dir);
}

void syncFolderOf(const std::string& path)
{
    int folder = ::open(folderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
}

}  // namespace

AtomicFile::AtomicFile(std::string path) : path_(std::move(path))
{
    removeLeftoversOfDeadWriters(path_);
    temporary_ = path_ + ".tmp-" + std::to_string(::getpid());
    fd_ = ::open(temporary_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd_ < 0)
        fail(errno);
}

AtomicFile::~AtomicFile() { discard(); }

bool AtomicFile::write(std::string_view bytes)
{
    if (failed_ || fd_ < 0)
        return false;
    if (buffer_.size() + bytes.size() <= kBufferBytes) {
        buffer_.append(bytes);
        return true;
    }
    if (!flushBuffer())
        return false;
    if (bytes.size() < kBufferBytes) {
        buffer_.append(bytes);
        return true;
    }
    int code = 0;
    return writeAll(fd_, bytes.data(), bytes.size(), code) || fail(code);
}

bool AtomicFile::commit(Durability durability)
{
    if (failed_ || fd_ < 0 || !flushBuffer())
        return false;
    if (durability == Durability::Synced && ::fsync(fd_) != 0)
        return fail(errno);
    int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0)
        return fail(errno);
    if (std::rename(temporary_.c_str(), path_.c_str()) != 0)
        return fail(errno);
    temporary_.clear();
    // The rename itself lives in the folder: without this a power cut could
    // bring back the old name.
    if (durability == Durability::Synced)
        syncFolderOf(path_);
    return true;
}

bool AtomicFile::flushBuffer()
{
    int code = 0;
    if (!buffer_.empty() && !writeAll(fd_, buffer_.data(), buffer_.size(), code))
        return fail(code);
    buffer_.clear();
    return true;
}

bool AtomicFile::fail(int code)
{
    if (!failed_)
        error_ = std::strerror(code);
    failed_ = true;
    discard();
    return false;
}

void AtomicFile::discard()
{
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (!temporary_.empty()) {
        ::unlink(temporary_.c_str());
        temporary_.clear();
    }
}

bool writeFileAtomically(const std::string& path, std::string_view content, std::string* error,
                         Durability durability)
{
    AtomicFile file(path);
    bool ok = file.write(content) && file.commit(durability);
    if (!ok && error)
        *error = file.error();
    return ok;
}

bool syncToDisk(const std::string& path)
{
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    bool ok = ::fsync(fd) == 0;
    ::close(fd);
    syncFolderOf(path);
    return ok;
}

}  // namespace storage
