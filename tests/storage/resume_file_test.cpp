// Search_bitmap.bit: the layout written on a stop and what loading makes of
// complete, bare and damaged files.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "storage/resume_file.h"

using namespace storage;
namespace fs = std::filesystem;

class ResumeFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir_ = fs::temp_directory_path() / ("quendrolt-resume-" + std::to_string(::getpid()));
        fs::create_directories(dir_);
        path_ = (dir_ / kResumeFile).string();
    }
    void TearDown() override { fs::remove_all(dir_); }

    void writeRaw(const std::string& bytes)
    {
        std::ofstream out(path_, std::ios::binary | std::ios::trunc);
        out << bytes;
    }
    std::string readRaw() const
    {
        std::ifstream in(path_, std::ios::binary);
        std::ostringstream all;
        all << in.rdbuf();
        return all.str();
    }

    fs::path dir_;
    std::string path_;
};

TEST_F(ResumeFile, save_writes_the_bitmap_then_thirteen_crlf_lines)
{
    ResumeState state;
    state.bitmap[0] = 0xA5;
    state.bitmap[kResumeBitmapBytes - 1] = 0x5A;
    state.fieldTexts = {"12", "7", "3", "1", "1", "", " s"};
    state.counters = {0, 7, 3, 1, 1};
    ASSERT_TRUE(saveResumeFile(path_, state));

    std::string raw = readRaw();
    ASSERT_GT(raw.size(), kResumeBitmapBytes);
    EXPECT_EQ(static_cast<uint8_t>(raw[0]), 0xA5);
    EXPECT_EQ(static_cast<uint8_t>(raw[kResumeBitmapBytes - 1]), 0x5A);
    EXPECT_EQ(raw.substr(kResumeBitmapBytes), "12\r\n7\r\n3\r\n1\r\n1\r\n\r\n s\r\n0\r\n7\r\n3\r\n1\r\n1\r\n125000\r\n");
}

TEST_F(ResumeFile, saved_state_loads_back_with_blanks_trimmed)
{
    ResumeState state;
    state.bitmap[4242] = 0x10;
    state.fieldTexts = {"12", "7", "3", "1", "1", "", "4 s"};
    state.counters = {0, 7, 3, 1, 1};
    ASSERT_TRUE(saveResumeFile(path_, state));

    std::optional<ResumeState> loaded = loadResumeFile(path_);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->bitmap, state.bitmap);
    EXPECT_EQ(loaded->fieldTexts, state.fieldTexts);
    EXPECT_EQ(loaded->counters, state.counters);
    EXPECT_EQ(loaded->total(), 12);
}

TEST_F(ResumeFile, bare_bitmap_of_exactly_the_block_size_loads_as_empty_fields_and_zero_counters)
{
    writeRaw(std::string(kResumeBitmapBytes, '\x01'));
    std::optional<ResumeState> loaded = loadResumeFile(path_);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->bitmap, std::vector<uint8_t>(kResumeBitmapBytes, 1));
    for (const std::string& text : loaded->fieldTexts)
        EXPECT_EQ(text, "");
    EXPECT_EQ(loaded->counters, (RunCounters{}));
    EXPECT_EQ(loaded->total(), 0);
}

TEST_F(ResumeFile, file_one_byte_short_of_the_block_or_missing_is_not_found)
{
    EXPECT_FALSE(loadResumeFile(path_));
    writeRaw(std::string(kResumeBitmapBytes - 1, '\0'));
    EXPECT_FALSE(loadResumeFile(path_));
}

TEST_F(ResumeFile, lines_that_are_not_numbers_keep_their_texts_and_count_zero)
{
    writeRaw(std::string(kResumeBitmapBytes, '\0') + "  abc \r\nx\r\n\r\n\r\n\r\n\r\n\r\nseven\r\n3\r\n");
    std::optional<ResumeState> loaded = loadResumeFile(path_);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->fieldTexts[0], "abc");
    EXPECT_EQ(loaded->fieldTexts[1], "x");
    EXPECT_EQ(loaded->total(), 0);
    EXPECT_EQ(loaded->counters, (RunCounters{0, 3, 0, 0, 0}));
}

// A run adds one to TOT and QTY for every candidate: a stored count at the
// end of the integers would wrap to a negative one, and a negative count
// never came from a run. Such a file is refused like a cut one.
TEST_F(ResumeFile, counts_no_run_could_have_left_are_refused)
{
    const std::string block(kResumeBitmapBytes, '\0');
    const std::string sixFields = "\r\n\r\n\r\n\r\n\r\n\r\n";
    const std::string cases[] = {
        block + "9223372036854775807" + sixFields + "0\r\n0\r\n0\r\n0\r\n0\r\n",
        block + "12" + sixFields + "0\r\n0\r\n0\r\n0\r\n9223372036854775807\r\n",
        block + "12" + sixFields + "0\r\n99999999999999999999\r\n",
        block + "12" + sixFields + "0\r\n-3\r\n",
        block + "-12" + sixFields,
    };
    for (const std::string& bytes : cases) {
        SCOPED_TRACE(bytes.substr(kResumeBitmapBytes));
        writeRaw(bytes);
        EXPECT_FALSE(loadResumeFile(path_));
    }

    ResumeState largest;
    largest.fieldTexts[0] = std::to_string(kLargestResumeCount);
    largest.counters = {0, 0, 0, 0, kLargestResumeCount};
    ASSERT_TRUE(saveResumeFile(path_, largest));
    std::optional<ResumeState> loaded = loadResumeFile(path_);
    ASSERT_TRUE(loaded);
    EXPECT_EQ(loaded->total(), kLargestResumeCount);
    EXPECT_EQ(loaded->counters.externalChecks, kLargestResumeCount);
}
