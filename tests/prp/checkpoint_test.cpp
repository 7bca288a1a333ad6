// Checkpoint files: what is saved comes back, and anything damaged or
// belonging to another test is refused with a note instead of trusted.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "arithmetic/big_integer.h"
#include "checkpoint_file.h"
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
    }

    prp::CheckpointFile store(const std::string& test = "fermat base 3", mpz_srcptr number = nullptr)
    {
        return prp::CheckpointFile(numberFile, 1, arithmetic::numberIdentity(number ? number : n.get()), test);
    }

    void saveOne()
    {
        arithmetic::Checkpoint checkpoint;
        checkpoint.step = 1234;
        checkpoint.setCount("block", 56);
        checkpoint.setNumber("x", residue.get());
        store().save(checkpoint);
    }

    // Loads with the store given, expecting refusal and a note saying why.
    void expectRefused(prp::CheckpointFile loader, const std::string& why)
    {
        testing::internal::CaptureStderr();
        EXPECT_FALSE(loader.load().has_value());
        std::string err = testing::internal::GetCapturedStderr();
        EXPECT_NE(err.find(why), std::string::npos) << err;
    }

    TempDir dir;
    BigInt n, residue;
    std::string numberFile;
};

TEST_F(CheckpointFiles, saved_state_loads_back_whole)
{
    saveOne();
    std::optional<arithmetic::Checkpoint> loaded = store().load();
    ASSERT_TRUE(loaded.has_value());
    EXPECT_EQ(loaded->step, 1234u);
    uint64_t block = 0;
    BigInt x;
    EXPECT_TRUE(loaded->getCount("block", block));
    EXPECT_EQ(block, 56u);
    ASSERT_TRUE(loaded->getNumber("x", x.get()));
    EXPECT_EQ(mpz_cmp(x.get(), residue.get()), 0);
}

TEST_F(CheckpointFiles, damaged_or_truncated_files_are_refused)
{
    saveOne();
    const std::string good = readFile(numberFile + ".ckpt");
    std::string flippedDigit = good;
    flippedDigit[good.find("x ") + 5] ^= 1;  // one bit of the residue
    std::string noChecksum = good.substr(0, good.find("checksum"));
    const std::string damaged[] = {
        good.substr(0, good.size() / 2), noChecksum, flippedDigit, "", "rubbish\n", good + "extra 1\n",
    };
    for (const std::string& text : damaged) {
        SCOPED_TRACE(text.substr(0, 60));
        ASSERT_TRUE(storage::writeFileAtomically(numberFile + ".ckpt", text));
        expectRefused(store(), "damaged or incomplete");
    }
}

TEST_F(CheckpointFiles, a_checkpoint_of_another_number_or_test_is_refused)
{
    saveOne();
    BigInt other;
    mpz_add_ui(other.get(), n.get(), 2);  // same size, same high limbs
    expectRefused(store("fermat base 3", other.get()), "another number or test");
    expectRefused(store("fermat base 5"), "another number or test");
    expectRefused(store("lucas-lehmer q 1663"), "another number or test");
}

TEST_F(CheckpointFiles, atomic_write_replaces_the_file_and_leaves_nothing_else)
{
    const std::string path = dir.path() + "/state.ckpt";
    ASSERT_TRUE(storage::writeFileAtomically(path, "old"));
    ASSERT_TRUE(storage::writeFileAtomically(path, "new content"));
    EXPECT_EQ(readFile(path), "new content");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
    EXPECT_FALSE(storage::writeFileAtomically(dir.path() + "/no such folder/state.ckpt", "x"));
}

}  // namespace
}  // namespace prp_test
