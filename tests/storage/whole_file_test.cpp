#include "storage/whole_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace storage;

namespace {

class WholeFile : public ::testing::Test {
protected:
    std::string write(const std::string& bytes)
    {
        std::string path = (std::filesystem::temp_directory_path() /
                            ("quendrolt-whole-file-" + std::to_string(::getpid()) + "-" + std::to_string(serial_++)))
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

TEST_F(WholeFile, keeps_only_the_digit_bytes_in_file_order)
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
        ASSERT_EQ(readDigitsOfFile(write(c.bytes), digits), FileReadStatus::Read);
        EXPECT_EQ(digits, c.digits);
    }
}

TEST_F(WholeFile, missing_file_or_directory_leaves_the_digits_alone)
{
    std::string digits = "previous";
    EXPECT_EQ(readDigitsOfFile("/nonexistent/quendrolt/number.txt", digits), FileReadStatus::CannotOpen);
    EXPECT_EQ(readDigitsOfFile(std::filesystem::temp_directory_path().string(), digits),
              FileReadStatus::NotRegularFile);
    EXPECT_EQ(digits, "previous");
}

// A FIFO would block a plain open until some writer came; a sparse file far
// larger than memory would end in an allocation failure.
TEST_F(WholeFile, fifo_and_file_beyond_memory_are_refused_at_once)
{
    std::string fifo = write("") + "-fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::string content = "previous";
    EXPECT_EQ(readWholeFile(fifo, content), FileReadStatus::NotRegularFile);
    EXPECT_EQ(readDigitsOfFile(fifo, content), FileReadStatus::NotRegularFile);
    ::unlink(fifo.c_str());

    std::string huge = write("");
    ASSERT_EQ(::truncate(huge.c_str(), 1LL << 40), 0);
    EXPECT_EQ(readWholeFile(huge, content), FileReadStatus::TooLarge);
    EXPECT_EQ(readDigitsOfFile(huge, content), FileReadStatus::TooLarge);
    EXPECT_EQ(content, "previous");
}

TEST_F(WholeFile, files_that_report_no_size_are_read_to_their_end)
{
    std::string content;
    ASSERT_EQ(readWholeFile("/proc/self/status", content), FileReadStatus::Read);
    EXPECT_NE(content.find("Name:"), std::string::npos);
}

TEST_F(WholeFile, digits_across_block_boundaries_keep_their_order)
{
    std::string bytes;
    std::string expected;
    for (int i = 0; i < 3'000'000; ++i) {
        bytes += static_cast<char>('0' + i % 10);
        bytes += (i % 7 == 0) ? " \r\n" : "x";
        expected += static_cast<char>('0' + i % 10);
    }
    std::string digits;
    ASSERT_EQ(readDigitsOfFile(write(bytes), digits), FileReadStatus::Read);
    EXPECT_EQ(digits, expected);
}
