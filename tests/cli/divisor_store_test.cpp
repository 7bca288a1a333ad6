// The divisor products of the first check are built once and kept in the
// data directory; base.div in the working directory, the window's file, is
// taken when sound; a damaged copy is built again; a data directory that
// cannot be written costs a note, never the answer.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/stat.h>

#include "cli_runner.h"
#include "engine/divisor_products.h"

using namespace cli_test;

namespace {

const char* kKeptName = "divisor-products.bin";

std::string contentOf(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

ino_t inodeOf(const std::string& path)
{
    struct stat status {};
    return stat(path.c_str(), &status) == 0 ? status.st_ino : 0;
}

struct ReadingCommand {
    std::vector<std::string> arguments;
    int status;
};

// The two commands that read the products: random-prime, and test above the
// large-number size (an even number: the first check decides).
std::vector<ReadingCommand> commandsThatReadThem()
{
    return {{{"random-prime", "--digits", "30", "--seed", "3", "-q"}, 0},
            {{"test", "1" + std::string(3000, '0'), "--large-start", "3000", "--gmp-only", "-q"}, 1}};
}

RunOptions inDirectories(const std::string& data, const std::string& working)
{
    RunOptions options;
    options.environment = {"QUENDROLT_DATA_DIR=" + data};
    options.workingDirectory = working;
    return options;
}

}  // namespace

TEST(CliDivisorStore, built_once_then_reused_by_every_command_that_reads_them)
{
    TemporaryDirectory data, working;
    const std::string kept = data.path() + "/" + kKeptName;
    const RunOptions options = inDirectories(data.path(), working.path());
    ino_t inode = 0;
    for (const ReadingCommand& command : commandsThatReadThem()) {
        for (int time = 0; time < 2; ++time) {
            const CliRun run = runCli(command.arguments, options);
            ASSERT_EQ(run.status, command.status) << command.arguments[0] << run.err;
            if (!inode)
                inode = inodeOf(kept);
            EXPECT_EQ(inodeOf(kept), inode) << command.arguments[0] << ": a sound file is read, not written again";
        }
    }
    EXPECT_GT(contentOf(kept).size(), 2'000'000u);
}

TEST(CliDivisorStore, a_damaged_file_is_built_again)
{
    TemporaryDirectory data, working;
    const std::string kept = data.path() + "/" + kKeptName;
    const RunOptions options = inDirectories(data.path(), working.path());
    const ReadingCommand command = commandsThatReadThem()[0];
    const CliRun first = runCli(command.arguments, options);
    ASSERT_EQ(first.status, 0) << first.err;
    const std::string built = contentOf(kept);
    const size_t middle = built.size() / 2;
    const std::vector<std::pair<const char*, std::string>> damages = {
        {"one byte changed", std::string(built).replace(middle, 1, 1, static_cast<char>(built[middle] ^ 0x10))},
        {"cut short", built.substr(0, built.size() - 1000)},
        {"foreign", "1234567\n"},
    };
    for (const auto& [damage, content] : damages) {
        std::ofstream(kept, std::ios::binary | std::ios::trunc) << content;
        const CliRun run = runCli(command.arguments, options);
        EXPECT_EQ(run.status, 0) << damage << run.err;
        EXPECT_EQ(run.out, first.out) << damage;
        EXPECT_TRUE(contentOf(kept) == built) << damage << ": replaced by a sound file";
    }
}

TEST(CliDivisorStore, a_sound_base_div_in_the_working_directory_is_used_and_a_damaged_one_is_not)
{
    engine::DivisorProducts products;
    engine::buildDivisorProducts(products);
    const std::array<std::string, 3> texts = engine::divisorTexts(products);
    const std::string sound = texts[0] + "\n" + texts[1] + "\n" + texts[2];
    const ReadingCommand command = commandsThatReadThem()[1];
    struct Case {
        const char* name;
        std::string baseDiv;
        bool keptWritten;
    };
    const std::vector<Case> cases = {
        {"sound", sound, false},
        {"cut short", sound.substr(0, sound.size() - 10), true},
        {"letters", "abc\ndef\nghi", true},
    };
    for (const Case& c : cases) {
        TemporaryDirectory data, working;
        working.write("base.div", c.baseDiv);
        const CliRun run = runCli(command.arguments, inDirectories(data.path(), working.path()));
        EXPECT_EQ(run.status, command.status) << c.name << run.err;
        EXPECT_EQ(std::filesystem::exists(data.path() + "/" + kKeptName), c.keptWritten) << c.name;
        EXPECT_EQ(contentOf(working.path() + "/base.div"), c.baseDiv) << c.name << ": the window's file is never touched";
    }
}

TEST(CliDivisorStore, a_data_directory_that_cannot_be_written_costs_a_note_only)
{
    TemporaryDirectory working;
    // A directory inside a regular file cannot be made.
    const std::string blocked = working.write("a-file", "x") + "/quendrolt";
    RunOptions options = inDirectories(blocked, working.path());
    const CliRun run = runCli({"random-prime", "--digits", "30", "--seed", "3"}, options);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(lines(run.out).size(), 1u) << run.out;
    EXPECT_NE(run.err.find("could not be kept in " + blocked), std::string::npos) << run.err;
}
