#include "support/shared_fixtures.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>

#include "engine/divisor_products.h"
#include "storage/divisor_file.h"

namespace testing_support {

std::string sharedDivisorFile()
{
    namespace fs = std::filesystem;
    fs::path dir = fs::temp_directory_path() / "quendrolt-test-fixtures";
    fs::create_directories(dir);
    fs::path file = dir / storage::kDivisorFileName;
    int lock = ::open((dir / "lock").c_str(), O_CREAT | O_RDWR, 0644);
    ::flock(lock, LOCK_EX);
    if (!fs::exists(file) || fs::file_size(file) != 5649836u) {
        engine::DivisorProducts products;
        engine::buildDivisorProducts(products);
        std::string error;
        if (!storage::writeDivisorFile(file.string(), engine::divisorTexts(products), &error))
            ADD_FAILURE() << "the shared base.div could not be written: " << error;
    }
    ::flock(lock, LOCK_UN);
    ::close(lock);
    return file.string();
}

std::string testerProgramPath()
{
#ifdef PRP_TESTER_PATH
    return PRP_TESTER_PATH;
#else
    return {};
#endif
}

}  // namespace testing_support
