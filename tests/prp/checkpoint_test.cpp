// Checkpoint files: what is saved comes back; anything damaged, older or
// belonging to another number or test is refused with a note instead of
// trusted; what the tester cannot read it leaves alone; a record of passed
// bases comes back only as it was written.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "arithmetic/big_integer.h"
#include "checkpoint_file.h"
#include "long_run_fixture.h"
#include "storage/atomic_file.h"
#include "tester_process.h"

namespace prp_test {
namespace {

using arithmetic::BigInt;

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class CheckpointFiles : public ::testing::Test {
protected:
    CheckpointFiles()
    {
        mpz_ui_pow_ui(n.get(), 10, 500);
        mpz_add_ui(n.get(), n.get(), 9);
        mpz_ui_pow_ui(residue.get(), 7, 300);
        numberFile = dir.path() + "/number.txt";
        path = numberFile + ".ckpt";
    }

    prp::CheckpointFile file(mpz_srcptr number = nullptr)
    {
        return prp::CheckpointFile(numberFile, {1, std::nullopt}, arithmetic::numberIdentity(number ? number : n.get()));
    }

    static std::unique_ptr<arithmetic::CheckpointStore> store(prp::CheckpointFile& file,
                                                              const std::string& test = "fermat base 3")
    {
        return file.opener()("", test);
    }

    void saveOne()
    {
        arithmetic::Checkpoint checkpoint;
        checkpoint.step = 1234;
        checkpoint.setCount("block", 56);
        checkpoint.setNumber("x", residue.get());
        prp::CheckpointFile writer = file();
        ASSERT_TRUE(store(writer)->save(checkpoint));
    }

    // Loads the test's state from a fresh file object, expecting refusal
    // and a note saying why.
    void expectRefused(const std::string& why, const std::string& test = "fermat base 3", mpz_srcptr number = nullptr)
    {
        prp::CheckpointFile reader = file(number);
        testing::internal::CaptureStderr();
        EXPECT_FALSE(store(reader, test)->load().has_value());
        std::string err = testing::internal::GetCapturedStderr();
        EXPECT_NE(err.find(why), std::string::npos) << err;
    }

    TempDir dir;
    BigInt n, residue;
    std::string numberFile, path;
};

TEST_F(CheckpointFiles, saved_state_loads_back_whole)
{
    saveOne();
    prp::CheckpointFile reader = file();
    std::optional<arithmetic::Checkpoint> loaded = store(reader)->load();
    ASSERT_TRUE(loaded.has_value());
    EXPECT_EQ(loaded->step, 1234u);
    uint64_t block = 0;
    BigInt x;
    EXPECT_TRUE(loaded->getCount("block", block));
    EXPECT_EQ(block, 56u);
    ASSERT_TRUE(loaded->getNumber("x", x.get()));
    EXPECT_EQ(mpz_cmp(x.get(), residue.get()), 0);
    reader.finish();
    EXPECT_FALSE(std::filesystem::exists(path)) << "a checkpoint of the tester is removed at the end";
}

TEST_F(CheckpointFiles, damaged_older_or_truncated_files_are_refused)
{
    saveOne();
    const std::string good = readFile(path);
    std::string flippedDigit = good;
    flippedDigit[good.find("x ") + 5] ^= 1;  // one bit of the residue
    std::string older = good;
    older.replace(0, good.find('\n'), "quendrolt prp checkpoint 1");
    struct Case {
        const char* what;
        std::string text;
        std::string note;
    };
    const Case cases[] = {
        {"half", good.substr(0, good.size() / 2), "damaged or incomplete"},
        {"no checksum", good.substr(0, good.find("checksum")), "damaged or incomplete"},
        {"a flipped bit", flippedDigit, "damaged or incomplete"},
        {"empty", "", "damaged or incomplete"},
        {"rubbish", "rubbish\n", "damaged or incomplete"},
        {"a line after the checksum", good + "extra 1\n", "damaged or incomplete"},
        {"format 1", older, "older version"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(storage::writeFileAtomically(path, c.text));
        expectRefused(c.note);
    }
}

TEST_F(CheckpointFiles, a_checkpoint_of_another_number_or_test_is_refused)
{
    saveOne();
    BigInt other;
    mpz_add_ui(other.get(), n.get(), 2);  // same size, same high limbs
    expectRefused("another number", "fermat base 3", other.get());
    expectRefused("another test (fermat base 3)", "fermat base 5");
    expectRefused("another test", "lucas-lehmer q 1663");
}

TEST_F(CheckpointFiles, what_cannot_be_read_is_left_alone_and_the_run_goes_on_without_checkpoints)
{
    std::filesystem::create_directory(path);
    prp::CheckpointFile run = file();
    testing::internal::CaptureStderr();
    EXPECT_FALSE(run.enabled());
    EXPECT_FALSE(store(run)->save(arithmetic::Checkpoint{}));
    run.recordPassedBase(5);
    run.finish();
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("cannot be read (it is not a regular file): the test runs without checkpoints"),
              std::string::npos)
        << err;
    EXPECT_EQ(err.find("Cannot write"), std::string::npos) << err;
    EXPECT_TRUE(std::filesystem::is_directory(path)) << "an empty directory in its place is not the tester's";
}

TEST_F(CheckpointFiles, a_foreign_file_is_replaced_only_once_written_and_otherwise_kept)
{
    ASSERT_TRUE(storage::writeFileAtomically(path, "someone else's notes\n"));
    {
        prp::CheckpointFile run = file();
        testing::internal::CaptureStderr();
        EXPECT_FALSE(store(run)->load().has_value());
        run.finish();
        testing::internal::GetCapturedStderr();
    }
    EXPECT_EQ(readFile(path), "someone else's notes\n") << "read, found no checkpoint, never written: kept";
    prp::CheckpointFile run = file();
    testing::internal::CaptureStderr();
    EXPECT_TRUE(store(run)->save(arithmetic::Checkpoint{}));
    run.finish();
    testing::internal::GetCapturedStderr();
    EXPECT_FALSE(std::filesystem::exists(path)) << "replaced by the tester's own, then removed";
}

TEST_F(CheckpointFiles, passed_bases_come_back_only_with_their_fingerprint)
{
    {
        prp::CheckpointFile run = file();
        run.recordPassedBase(5);
        run.recordPassedBase(7);
    }
    const std::string good = readFile(path);
    {
        prp::CheckpointFile rerun = file();
        EXPECT_TRUE(rerun.basePassed(5));
        EXPECT_TRUE(rerun.basePassed(7));
        EXPECT_FALSE(rerun.basePassed(3));
    }
    // The list changed and its checksum made whole again: the record is
    // not trusted, every base is tested again.
    std::string changed = good;
    changed.replace(changed.find("passed-bases 5,7"), 16, "passed-bases 5,3");
    ASSERT_TRUE(storage::writeFileAtomically(path, withChecksumRecomputed(changed)));
    prp::CheckpointFile rerun = file();
    testing::internal::CaptureStderr();
    EXPECT_FALSE(rerun.basePassed(3));
    EXPECT_FALSE(rerun.basePassed(5));
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("record of passed bases was changed"), std::string::npos) << err;
}

TEST_F(CheckpointFiles, atomic_write_replaces_the_file_and_leaves_nothing_else)
{
    const std::string state = dir.path() + "/state.ckpt";
    ASSERT_TRUE(storage::writeFileAtomically(state, "old"));
    ASSERT_TRUE(storage::writeFileAtomically(state, "new content"));
    EXPECT_EQ(readFile(state), "new content");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
    EXPECT_FALSE(storage::writeFileAtomically(dir.path() + "/no such folder/state.ckpt", "x"));
}

}  // namespace
}  // namespace prp_test
