#include "wisdom_file.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "progress.h"
#include "storage/atomic_file.h"
#include "storage/whole_file.h"

namespace prp {

std::string testerCacheDirectory()
{
    auto variable = [](const char* name) {
        const char* value = std::getenv(name);
        return value && *value ? std::string(value) : std::string();
    };
    if (std::string own = variable("QUENDROLT_CACHE_DIR"); !own.empty())
        return own;
    if (std::string cache = variable("XDG_CACHE_HOME"); !cache.empty())
        return cache + "/quendrolt";
    if (std::string home = variable("HOME"); !home.empty())
        return home + "/.cache/quendrolt";
    return {};
}

WisdomFile::WisdomFile() : directory_(testerCacheDirectory())
{
    if (!directory_.empty())
        path_ = directory_ + "/fftw-wisdom.txt";
}

std::string WisdomFile::load()
{
    std::error_code error;
    if (path_.empty() || !std::filesystem::exists(path_, error))
        return {};
    std::string text;
    if (storage::readWholeFile(path_, text) != storage::FileReadStatus::Read)
        return {};  // unreadable: as if there were none; the next save replaces it
    return text;
}

void WisdomFile::save(const std::string& text)
{
    if (path_.empty())
        return;
    std::error_code error;
    std::filesystem::create_directories(directory_, error);
    std::string why;
    if (storage::writeFileAtomically(path_, text, &why))
        note("FFT plans measured for this length, kept in %s for the next runs", path_.c_str());
    else
        note("Cannot keep the FFT plans in %s (%s): the next run measures them again", path_.c_str(), why.c_str());
}

void WisdomFile::rejected()
{
    note("FFT wisdom %s is damaged or from another FFTW or processor: ignored, the plans are measured again",
         path_.c_str());
}

}  // namespace prp
