#include "storage/number_file_reader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace storage;

namespace {

class NumberFileReader : public ::testing::Test {
protected:
    std::string write(const std::string& bytes)
    {
        std::string path = (std::filesystem::temp_directory_path() /
                            ("quendrolt-reader-" + std::to_string(::getpid()) + "-" + std::to_string(serial_++)))
                               .string();
        std::ofstream(path, std::ios::binary) << bytes;
        paths_.push_back(path);
        return path;
    }
    void TearDown() override
    {
        for (const std::string& path : paths_)
            std::filesystem::remove(path);
    }

private:
    std::vector<std::string> paths_;
    int serial_ = 0;
};

}  // namespace

TEST_F(NumberFileReader, keeps_only_the_digit_bytes_in_file_order)
{
    struct Case { std::string bytes; std::string digits; };
    for (const Case& c : {
             Case{"12 34\r\n56", "123456"},
             Case{"007", "007"},
             Case{std::string("\xFF\xFE" "1\0" "2\0" "\r\0\n\0" "3\0", 12), "123"},  // UTF-16 LE with BOM
             Case{std::string("\xEF\xBB\xBF" "42\n"), "42"},
             Case{"no digits here", ""},
             Case{"", ""},
         }) {
        std::string digits = "previous";
        ASSERT_EQ(readNumberFile(write(c.bytes), digits), NumberFileStatus::Read);
        EXPECT_EQ(digits, c.digits);
    }
}

TEST_F(NumberFileReader, missing_file_or_directory_leaves_the_digits_alone)
{
    std::string digits = "previous";
    EXPECT_EQ(readNumberFile("/nonexistent/quendrolt/number.txt", digits), NumberFileStatus::CannotOpen);
    EXPECT_EQ(readNumberFile(std::filesystem::temp_directory_path().string(), digits), NumberFileStatus::CannotOpen);
    EXPECT_EQ(digits, "previous");
}
