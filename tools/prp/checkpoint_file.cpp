#include "checkpoint_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>

namespace prp {

namespace {

bool writeAll(int fd, const std::string& content)
{
    size_t written = 0;
    while (written < content.size()) {
        ssize_t now = ::write(fd, content.data() + written, content.size() - written);
        if (now < 0)
            return false;
        written += static_cast<size_t>(now);
    }
    return true;
}

// The rename is only durable once the folder's entry list is on disk.
void syncFolder(const std::string& folder)
{
    int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

bool writeFileAtomically(const std::string& path, const std::string& content)
{
    std::filesystem::path target(path);
    std::string folder = target.parent_path().empty() ? "." : target.parent_path().string();
    std::string temporary = (std::filesystem::path(folder) / (target.filename().string() + ".XXXXXX")).string();
    int fd = ::mkstemp(temporary.data());
    if (fd < 0)
        return false;
    bool ok = writeAll(fd, content) && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    if (!ok || std::rename(temporary.c_str(), path.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    syncFolder(folder);
    return true;
}

}  // namespace prp
