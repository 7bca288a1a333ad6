#include "cli/divisor_store.h"

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <system_error>

#include "storage/divisor_cache.h"
#include "storage/divisor_file.h"

namespace cli {

namespace {

std::string variable(const char* name)
{
    const char* value = std::getenv(name);
    return value && *value ? std::string(value) : std::string();
}

bool sound(const std::optional<engine::DivisorProducts>& products)
{
    return products && engine::hasExpectedShape(*products);
}

}  // namespace

std::string dataDirectory()
{
    if (std::string own = variable("QUENDROLT_DATA_DIR"); !own.empty())
        return own;
    if (std::string data = variable("XDG_DATA_HOME"); !data.empty())
        return data + "/quendrolt";
    if (std::string home = variable("HOME"); !home.empty())
        return home + "/.local/share/quendrolt";
    return {};
}

void loadDivisorProducts(engine::DivisorProducts& products, Progress& progress)
{
    std::error_code ignored;
    if (std::filesystem::is_regular_file(storage::kDivisorFileName, ignored)) {
        if (std::optional<engine::DivisorProducts> read = storage::readDivisorFile(storage::kDivisorFileName); sound(read)) {
            products = std::move(*read);
            return;
        }
    }
    const std::string directory = dataDirectory();
    const std::string path = directory.empty() ? std::string() : directory + "/" + storage::kDivisorCacheName;
    if (!path.empty()) {
        if (std::optional<engine::DivisorProducts> read = storage::readDivisorCache(path); sound(read)) {
            products = std::move(*read);
            return;
        }
    }
    progress.stage("building the divisor products");
    engine::buildDivisorProducts(products);
    if (path.empty())
        return;
    std::error_code error;
    std::filesystem::create_directories(directory, error);
    std::string reason = error.message();
    if (error || !storage::writeDivisorCache(path, products, &reason))
        progress.note("note: the divisor products could not be kept in " + directory + " (" + reason +
                      "); the next run builds them again");
}

}  // namespace cli
