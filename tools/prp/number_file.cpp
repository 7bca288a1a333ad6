#include "number_file.h"

#include <sys/stat.h>

#include <cstdio>
#include <memory>

#include "engine/decimal_text.h"

namespace prp {

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

bool readWholeFile(const std::string& path, std::string& content)
{
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file)
        return false;
    // A directory opens fine on Linux and reports a nonsense size.
    struct stat status {};
    if (fstat(fileno(file.get()), &status) != 0 || !S_ISREG(status.st_mode))
        return false;
    content.resize(static_cast<size_t>(status.st_size));
    return std::fread(content.data(), 1, content.size(), file.get()) == content.size();
}

}  // namespace

NumberText readNumberFile(const std::string& path)
{
    NumberText result;
    if (!readWholeFile(path, result.digits)) {
        result.error = "cannot read the number file \"" + path + "\"";
        return result;
    }
    if (engine::digitsFilter(result.digits) == 0) {
        result.error = "the number file \"" + path + "\" holds no digits";
        return result;
    }
    size_t firstSignificant = result.digits.find_first_not_of('0');
    if (firstSignificant == std::string::npos)
        firstSignificant = result.digits.size() - 1;
    result.digits.erase(0, firstSignificant);
    result.ok = true;
    return result;
}

}  // namespace prp
