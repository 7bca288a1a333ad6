#include "storage/number_files.h"

#include <unistd.h>

#include <cstdio>

namespace storage {

bool writeNumberFileAtomically(const std::string& path, const std::string& digits)
{
    std::string temporary = path + ".tmp-" + std::to_string(::getpid());
    std::FILE* file = std::fopen(temporary.c_str(), "wb");
    if (!file)
        return false;
    bool ok = std::fwrite(digits.data(), 1, digits.size(), file) == digits.size();
    ok = std::fflush(file) == 0 && ok;
    ok = ::fsync(::fileno(file)) == 0 && ok;
    ok = std::fclose(file) == 0 && ok;
    if (ok)
        ok = std::rename(temporary.c_str(), path.c_str()) == 0;
    if (!ok)
        std::remove(temporary.c_str());
    return ok;
}

}  // namespace storage
