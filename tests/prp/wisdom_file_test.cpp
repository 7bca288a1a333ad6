// Where the tester keeps the FFT plans' wisdom, and that the file round-trips.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "tester_process.h"
#include "wisdom_file.h"

namespace prp_test {
namespace {

// Sets an environment variable for the scope, restoring the old value.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const char* value) : name_(name)
    {
        if (const char* old = std::getenv(name))
            old_ = old;
        value ? setenv(name, value, 1) : unsetenv(name);
    }
    ~ScopedVariable() { old_ ? setenv(name_, old_->c_str(), 1) : unsetenv(name_); }

private:
    const char* name_;
    std::optional<std::string> old_;
};

TEST(WisdomFile, lives_in_the_named_cache_directory_else_in_xdg_cache_home_else_in_home)
{
    TempDir dir;
    {
        ScopedVariable own("QUENDROLT_CACHE_DIR", (dir.path() + "/own").c_str());
        ScopedVariable xdg("XDG_CACHE_HOME", (dir.path() + "/xdg").c_str());
        EXPECT_EQ(prp::WisdomFile().path(), dir.path() + "/own/fftw-wisdom.txt");
    }
    {
        ScopedVariable own("QUENDROLT_CACHE_DIR", nullptr);
        ScopedVariable xdg("XDG_CACHE_HOME", (dir.path() + "/xdg").c_str());
        EXPECT_EQ(prp::WisdomFile().path(), dir.path() + "/xdg/quendrolt/fftw-wisdom.txt");
    }
    {
        ScopedVariable own("QUENDROLT_CACHE_DIR", nullptr);
        ScopedVariable xdg("XDG_CACHE_HOME", nullptr);
        ScopedVariable home("HOME", (dir.path() + "/home").c_str());
        EXPECT_EQ(prp::WisdomFile().path(), dir.path() + "/home/.cache/quendrolt/fftw-wisdom.txt");
    }
}

TEST(WisdomFile, saving_makes_the_directory_and_loading_reads_back_what_was_saved)
{
    TempDir dir;
    ScopedVariable own("QUENDROLT_CACHE_DIR", (dir.path() + "/a/b").c_str());
    prp::WisdomFile file;
    EXPECT_EQ(file.load(), "");  // none yet
    file.save("quendrolt fftw wisdom 1\nwhatever\n");
    EXPECT_TRUE(std::filesystem::is_regular_file(file.path()));
    EXPECT_EQ(prp::WisdomFile().load(), "quendrolt fftw wisdom 1\nwhatever\n");
}

}  // namespace
}  // namespace prp_test
