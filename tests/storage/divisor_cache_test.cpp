// The binary copy of the divisor products: read back exactly, and any
// damage read as nothing, so that the caller builds them again.
#include "storage/divisor_cache.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

using namespace engine;
using namespace storage;
namespace fs = std::filesystem;

namespace {

// Three products of small ranks: the format does not depend on their size.
DivisorProducts smallProducts()
{
    DivisorProducts products;
    buildDivisorProducts(products, {100, 250, 400});
    return products;
}

std::string contentOf(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

TEST(DivisorCache, products_read_back_exactly_and_damage_reads_as_nothing)
{
    const fs::path dir = fs::temp_directory_path() / ("divisor-cache-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    const std::string path = (dir / kDivisorCacheName).string();
    const DivisorProducts products = smallProducts();
    ASSERT_TRUE(writeDivisorCache(path, products));
    const std::optional<DivisorProducts> reread = readDivisorCache(path);
    ASSERT_TRUE(reread);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(reread->d[i].compare(products.d[i]), 0) << i;

    const std::string sound = contentOf(path);
    std::vector<std::pair<std::string, std::string>> damages = {
        {"empty", ""},
        {"magic only", sound.substr(0, 8)},
        {"cut short", sound.substr(0, sound.size() - 1)},
        {"one byte more", sound + "x"},
        {"base.div's decimal lines", "2\n3\n5"},
    };
    // A flipped bit anywhere: in the magic, a length, a product, the hash.
    for (size_t at : {size_t{0}, size_t{9}, sound.size() / 2, sound.size() - 1}) {
        std::string flipped = sound;
        flipped[at] = static_cast<char>(flipped[at] ^ 0x04);
        damages.emplace_back("bit flipped at " + std::to_string(at), flipped);
    }
    for (const auto& [name, content] : damages) {
        std::ofstream(path, std::ios::binary | std::ios::trunc) << content;
        EXPECT_FALSE(readDivisorCache(path)) << name;
    }
    EXPECT_FALSE(readDivisorCache((dir / "missing.bin").string()));
    fs::remove_all(dir);
}
