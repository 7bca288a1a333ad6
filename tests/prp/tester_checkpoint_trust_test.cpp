// What the tester does with checkpoints it did not write as they are: no
// single changed value (with the checksum made whole again) changes a
// verdict; what it cannot read it leaves alone; what it did not create it
// never deletes; a write that fails says why, once.
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <sstream>

#include "long_run_fixture.h"
#include "result_line.h"
#include "storage/atomic_file.h"
#include "tester_fixture.h"

namespace prp_test {
namespace {

// The value of a "key value" line changed as little as possible: a count
// one up, a hex residue or fingerprint with its lowest bit flipped, a text
// with its last character changed.
std::string changedValue(const std::string& value)
{
    std::string changed = value;
    if (!value.empty() && value.find_first_not_of("0123456789") == std::string::npos)
        return std::to_string(std::stoull(value) + 1);
    char& last = changed.back();
    if (std::isxdigit(static_cast<unsigned char>(last)) && value.find_first_not_of("0123456789abcdef") == std::string::npos)
        last = "0123456789abcdef"[(std::stoi(std::string(1, last), nullptr, 16) ^ 1)];
    else
        last = last == 'x' ? 'y' : 'x';
    return changed;
}

// Every text with exactly one line's value changed, the checksum made whole.
std::vector<std::pair<std::string, std::string>> singleChanges(const std::string& text)
{
    std::vector<std::pair<std::string, std::string>> changes;
    std::istringstream lines(text);
    std::string line;
    std::getline(lines, line);  // the magic line
    size_t at = line.size() + 1;
    while (std::getline(lines, line)) {
        const size_t blank = line.find(' ');
        const std::string key = line.substr(0, blank);
        if (key != "checksum") {
            std::string changed = text;
            changed.replace(at + blank + 1, line.size() - blank - 1, changedValue(line.substr(blank + 1)));
            changes.emplace_back(key, withChecksumRecomputed(changed));
        }
        at += line.size() + 1;
    }
    return changes;
}

struct TrustCase {
    const char* name;
    unsigned long q;  // 2^q-1
    const char* switches;
    uint64_t stopAt;
    ExpectedLine expected;
};

TEST_F(PrpTester, no_single_changed_value_in_a_checkpoint_changes_the_verdict)
{
    const std::string composite = prp::numberLabel(mersenneDigits(4441)), prime = prp::numberLabel(mersenneDigits(4423));
    const ExpectedLine fermatComposite{composite + " is composite: RES64: [" + prp::res64Text(fermatRes64(4441, 3)) + "]",
                                       true, 1};
    // Step 2,000 lies inside a block and a Gerbicz period (L = 67, periods
    // of 16 blocks), step 2,010 at a block's start.
    const TrustCase cases[] = {
        {"Fermat, composite, inside a block", 4441, " -k -f0 -C600 ", 2000, fermatComposite},
        {"Fermat, composite, at a block's start", 4441, " -k -f0 -C600 ", 2010, fermatComposite},
        {"Fermat, prime", 4423, " -k -f0 -C600 ", 2000, {prime + " is 3-PRP!", true, 0}},
        {"Lucas-Lehmer, composite", 4441, " -k -f0 -C600 -tm ", 2000,
         {composite + " is composite: RES64: [" + prp::res64Text(lucasLehmerRes64(4441)) + "]", true, 1}},
    };
    for (const TrustCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string file = dir().write("last_PRP.txt", mersenneDigits(c.q));
        const TesterResult stopped = runTesterCommand(
            c.switches, file, withEnvironment({"QUENDROLT_PRP_STOP_AT=" + std::to_string(c.stopAt)}));
        ASSERT_EQ(stopped.exitStatus, 3) << stopped.err;
        const std::string written = readFile(file + ".ckpt");

        // The control: as written, it is resumed.
        TesterResult asWritten = runTesterCommand(c.switches, file);
        EXPECT_NE(asWritten.err.find("Resuming from the checkpoint"), std::string::npos) << asWritten.err;
        expectLine(asWritten, c.expected);

        for (const auto& [key, text] : singleChanges(written)) {
            SCOPED_TRACE("changed: " + key);
            ASSERT_TRUE(storage::writeFileAtomically(file + ".ckpt", text));
            const TesterResult result = runTesterCommand(c.switches, file);
            expectLine(result, c.expected);
        }
    }
}

TEST_F(PrpTester, a_checkpoint_it_cannot_read_is_left_as_it_is)
{
    const std::string file = dir().write("last_PRP.txt", mersenneDigits(4441));
    const std::string checkpoint = file + ".ckpt";
    ASSERT_EQ(runTesterCommand(" -k -f0 ", file, withEnvironment({"QUENDROLT_PRP_STOP_AT=2000"})).exitStatus, 3);
    const std::string written = readFile(checkpoint);
    ASSERT_EQ(::chmod(checkpoint.c_str(), 0), 0);
    // Root reads whatever the mode: the tester then runs as nobody, as the
    // checkpoint of another user would meet it.
    ChildSetup setup = withEnvironment({"QUENDROLT_PRP_CHECKPOINT_STEPS=1000"});
    if (::geteuid() == 0) {
        setup.user = 65534;
        std::filesystem::permissions(dir().path(), std::filesystem::perms::all);
    }
    const TesterResult result = runTesterCommand(" -k -f0 -C600 ", file, setup);
    EXPECT_EQ(result.exitStatus, 1) << result.err;
    EXPECT_NE(result.err.find("Checkpoint " + checkpoint +
                              " cannot be read (Permission denied): the test runs without checkpoints"),
              std::string::npos)
        << result.err;
    EXPECT_EQ(result.err.find("Cannot write"), std::string::npos) << result.err;
    EXPECT_EQ(readFile(checkpoint), written);
    EXPECT_EQ(std::filesystem::status(checkpoint).permissions(), std::filesystem::perms::none);
}

TEST_F(PrpTester, an_empty_directory_named_like_the_checkpoint_is_never_deleted)
{
    const std::string file = dir().write("last_PRP.txt", mersenneDigits(4441));
    std::filesystem::create_directory(file + ".ckpt");
    const TesterResult result =
        runTesterCommand(" -k -f0 -C600 ", file, withEnvironment({"QUENDROLT_PRP_CHECKPOINT_STEPS=1000"}));
    EXPECT_EQ(result.exitStatus, 1) << result.err;
    EXPECT_NE(result.err.find("cannot be read (it is not a regular file)"), std::string::npos) << result.err;
    EXPECT_EQ(result.err.find("Cannot write"), std::string::npos) << result.err;
    EXPECT_TRUE(std::filesystem::is_directory(file + ".ckpt"));
}

}  // namespace
}  // namespace prp_test
