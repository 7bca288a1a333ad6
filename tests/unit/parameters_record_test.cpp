// The .qdx record: the bytes written, reading back, cut and damaged files.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "files/parameters_commands.h"
#include "storage/parameters_record.h"

using namespace files;
using namespace storage;
namespace fs = std::filesystem;

namespace {

class ParametersRecordFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = fs::temp_directory_path() / ("qdx-record-" + std::to_string(::getpid()));
        fs::create_directories(dir);
    }
    void TearDown() override { fs::remove_all(dir); }

    std::string path(const std::string& name) const { return (dir / name).string(); }
    static std::string contents(const std::string& file)
    {
        std::ifstream in(file, std::ios::binary);
        std::stringstream all;
        all << in.rdbuf();
        return all.str();
    }
    static void put(const std::string& file, const std::string& bytes)
    {
        std::ofstream(file, std::ios::binary) << bytes;
    }

    fs::path dir;
};

// prefix + n, built by appending (GCC 12 warns falsely about literal + to_string).
std::string numbered(const char* prefix, int n, const char* suffix = "")
{
    return std::string(prefix).append(std::to_string(n)).append(suffix);
}

ParametersRecord sampleRecord()
{
    ParametersRecord r;
    for (int n = 1; n <= qdx::FixedLines; ++n)
        r.line[static_cast<size_t>(n)] = numbered("v", n);
    r.line[qdx::CurrentNumber] = std::string(1000, '3');
    r.history = {"first line", "", "  indented", "last"};
    return r;
}

}  // namespace

TEST_F(ParametersRecordFile, every_line_ends_in_cr_lf_and_the_history_follows_its_count)
{
    std::string error;
    ASSERT_TRUE(writeParametersFile(path("a.qdx"), sampleRecord(), &error)) << error;
    const std::string bytes = contents(path("a.qdx"));
    std::string expected = std::string(1000, '3') + "\r\n";
    for (int n = 2; n <= 84; ++n)
        expected += numbered("v", n) + "\r\n";
    expected += "4\r\nfirst line\r\n\r\n  indented\r\nlast\r\n";
    EXPECT_EQ(bytes, expected);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1) << "no temporary file left";
}

TEST_F(ParametersRecordFile, a_written_record_reads_back_unchanged)
{
    std::string error;
    const ParametersRecord written = sampleRecord();
    ASSERT_TRUE(writeParametersFile(path("b.qdx"), written, &error));
    ParametersRecord read;
    ASSERT_EQ(readParametersFile(path("b.qdx"), read), ReadResult::Read);
    EXPECT_EQ(read.line, written.line);
    EXPECT_EQ(read.history, written.history);
}

TEST_F(ParametersRecordFile, an_empty_history_writes_zero_and_nothing_after_it)
{
    ParametersRecord r = sampleRecord();
    r.history.clear();
    std::string error;
    ASSERT_TRUE(writeParametersFile(path("c.qdx"), r, &error));
    const std::string bytes = contents(path("c.qdx"));
    EXPECT_EQ(bytes.substr(bytes.size() - 10), "\r\nv84\r\n0\r\n");
}

TEST_F(ParametersRecordFile, blanks_are_trimmed_from_numbers_and_fields_but_not_from_table_entries)
{
    std::string file = "  123  \r\n 7 \r\n 0 \r\n";
    for (int n = 4; n <= 54; ++n)
        file += numbered(" e", n, " \r\n");
    for (int n = 55; n <= 84; ++n)
        file += numbered("  f", n, "  \r\n");
    file += "1\r\n  kept as it is  \r\n";
    put(path("d.qdx"), file);
    ParametersRecord r;
    ASSERT_EQ(readParametersFile(path("d.qdx"), r), ReadResult::Read);
    EXPECT_EQ(r.line[qdx::CurrentNumber], "123");
    EXPECT_EQ(r.line[qdx::Operand], "7");
    EXPECT_EQ(r.line[qdx::Memory], "0");
    EXPECT_EQ(r.tableEntry(1), " e4 ");
    EXPECT_EQ(r.tableEntry(51), " e54 ");
    EXPECT_EQ(r.line[qdx::TotalDigits], "f55");
    EXPECT_EQ(r.line[qdx::Signature], "f62");
    EXPECT_EQ(r.line[qdx::IconicDigit], "f66");
    EXPECT_EQ(r.history, std::vector<std::string>{"  kept as it is  "});
}

// Blanks and line-end bytes mixed at the end of lines 1..3 (a file edited by
// hand, or cut from another system): what is read is what a SAVE of it reads
// back, so LOAD, SAVE, LOAD is a fixed point.
TEST_F(ParametersRecordFile, mixed_blanks_and_line_ends_trim_to_what_reads_back_the_same)
{
    const struct {
        std::string line;
        std::string read;
    } cases[] = {
        {"77\t\t\r\t\t", "77"},
        {" 5 \r \r\r ", "5"},
        {"\t\r\t", ""},
        {"\r 12", "\r 12"},
        {"1\r2 \r", "1\r2"},
    };
    for (const auto& c : cases) {
        put(path("h.qdx"), "0\r\n0\r\n" + c.line + "\r\n");
        ParametersRecord first;
        ASSERT_EQ(readParametersFile(path("h.qdx"), first), ReadResult::Read);
        EXPECT_EQ(first.line[qdx::Memory], c.read) << testing::PrintToString(c.line);

        std::string error;
        ASSERT_TRUE(writeParametersFile(path("i.qdx"), first, &error)) << error;
        ParametersRecord second;
        ASSERT_EQ(readParametersFile(path("i.qdx"), second), ReadResult::Read);
        EXPECT_EQ(second.line, first.line) << testing::PrintToString(c.line);
    }
}

TEST_F(ParametersRecordFile, a_cut_file_reads_the_missing_lines_as_empty)
{
    put(path("e.qdx"), "98765\r\n2\r\n0\r\n/home/x/\r\n7000");
    ParametersRecord r;
    r.line[qdx::Mersenne] = "stale";
    r.history = {"stale"};
    ASSERT_EQ(readParametersFile(path("e.qdx"), r), ReadResult::Read);
    EXPECT_EQ(r.line[qdx::CurrentNumber], "98765");
    EXPECT_EQ(r.tableEntry(1), "/home/x/");
    EXPECT_EQ(r.tableEntry(2), "7000") << "a last line without line end";
    EXPECT_EQ(r.tableEntry(3), "");
    EXPECT_EQ(r.line[qdx::Mersenne], "");
    EXPECT_TRUE(r.history.empty());
}

TEST_F(ParametersRecordFile, text_after_the_history_is_a_further_record_that_wins)
{
    ParametersRecord first = sampleRecord();
    std::string error;
    ASSERT_TRUE(writeParametersFile(path("f.qdx"), first, &error));
    std::string bytes = contents(path("f.qdx"));
    put(path("f.qdx"), bytes + "555\r\n");
    ParametersRecord r;
    ASSERT_EQ(readParametersFile(path("f.qdx"), r), ReadResult::Read);
    EXPECT_EQ(r.line[qdx::CurrentNumber], "555");
    EXPECT_EQ(r.line[qdx::Operand], "");
    EXPECT_TRUE(r.history.empty());
}

TEST_F(ParametersRecordFile, a_missing_or_empty_file_gives_no_record)
{
    ParametersRecord r;
    EXPECT_EQ(readParametersFile(path("none.qdx"), r), ReadResult::CannotOpen);
    put(path("empty.qdx"), "");
    EXPECT_EQ(readParametersFile(path("empty.qdx"), r), ReadResult::Empty);
}

TEST_F(ParametersRecordFile, a_failed_write_reports_why_and_leaves_the_previous_file)
{
    std::string error;
    EXPECT_FALSE(writeParametersFile(path("no-such-dir/g.qdx"), sampleRecord(), &error));
    EXPECT_FALSE(error.empty());

    // A name so long that the temporary beside it cannot be created: the
    // write fails before anything touches the existing file.
    const std::string longName = path(std::string(250, 'p') + ".qdx");
    put(longName, "previous contents");
    error.clear();
    EXPECT_FALSE(writeParametersFile(longName, sampleRecord(), &error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(contents(longName), "previous contents");
}

TEST(LimitTexts, only_positive_whole_numbers_are_usable)
{
    struct Case {
        const char* text;
        bool usable;
        int64_t value;
    } cases[] = {{"60", true, 60},   {" 7000 ", true, 7000},   {"0", false, 0},         {"-5", false, 0},
                 {"abc", false, 0},  {"", false, 0},          {"12abc", false, 0},     {"1.5", false, 0},
                 {"999999999999999", true, 999999999999999},  {"1000000000000000", false, 0}};
    for (const Case& c : cases) {
        const std::optional<int64_t> value = usableLimitValue(c.text);
        EXPECT_EQ(value.has_value(), c.usable) << '"' << c.text << '"';
        if (c.usable) {
            EXPECT_EQ(value, c.value) << c.text;
        }
    }
}
