#include "storage/divisor_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

using namespace engine;
using namespace storage;
namespace fs = std::filesystem;

TEST(DivisorProducts, full_build_has_the_known_digit_counts_and_file_layout)
{
    DivisorProducts products;
    buildDivisorProducts(products);
    EXPECT_TRUE(hasExpectedShape(products));
    auto texts = divisorTexts(products);
    EXPECT_EQ(texts[0].size(), 1847516u);
    EXPECT_EQ(texts[1].size(), 1903908u);
    EXPECT_EQ(texts[2].size(), 1898410u);

    fs::path dir = fs::temp_directory_path() / ("divisor-test-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    std::string path = (dir / kDivisorFileName).string();
    ASSERT_TRUE(writeDivisorFile(path, texts));
    EXPECT_EQ(fs::file_size(path), 5649836u);
    std::ifstream in(path, std::ios::binary);
    std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(std::count(content.begin(), content.end(), '\n'), 2);
    EXPECT_NE(content.back(), '\n');
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1) << "a temporary file was left";

    std::optional<DivisorProducts> reread = readDivisorFile(path);
    ASSERT_TRUE(reread);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(reread->d[i].compare(products.d[i]), 0);
    fs::remove_all(dir);
}

TEST(DivisorProducts, unwritable_directory_reports_failure_and_leaves_nothing)
{
    EXPECT_FALSE(writeDivisorFile("/nonexistent-dir/base.div", {"1", "2", "3"}));
    EXPECT_FALSE(readDivisorFile("/nonexistent-dir/base.div"));
}
