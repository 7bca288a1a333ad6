#pragma once
// Runs the built tester as a child process, the way the calling program
// does: a parameter string split into words at blanks, the path appended
// without quotes. Files live in a fresh temporary directory per fixture.
#include <sys/types.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace prp_test {

struct TesterResult {
    int exitStatus = -1;  // -1 when ended by a signal
    int signal = 0;       // the signal that ended it, 0 when it exited
    std::string out;      // standard output
    std::string err;      // standard error
};

// What the child runs under besides its environment.
struct ChildSetup {
    std::vector<std::string> environment;   // "NAME=value" entries added
    std::optional<uint64_t> addressSpace;   // RLIMIT_AS in bytes (ulimit -v)
    std::optional<uint64_t> fileSize;       // RLIMIT_FSIZE in bytes (ulimit -f)
    std::optional<uid_t> user;              // run as this user and group (root only)
};

// A setup with only the extra environment entries.
inline ChildSetup withEnvironment(std::vector<std::string> entries)
{
    ChildSetup setup;
    setup.environment = std::move(entries);
    return setup;
}

// Runs the tester with the given argv words and waits for it.
TesterResult runTesterWords(const std::vector<std::string>& words, const ChildSetup& setup = {});

// A tester started in the background, to be watched and interrupted.
class RunningTester {
public:
    explicit RunningTester(const std::vector<std::string>& words, const ChildSetup& setup = {});
    ~RunningTester();
    RunningTester(const RunningTester&) = delete;
    RunningTester& operator=(const RunningTester&) = delete;

    // Polls until the file exists or the tester ends; true when it exists.
    bool waitForFile(const std::string& path);
    // Polls until standard error holds the text or the tester ends; true
    // when it does.
    bool waitForError(const std::string& text);
    void signal(int number);
    // Waits for the end and gives what it wrote.
    TesterResult finish();
    // SIGKILL, as a crash or power cut would end it, and reaps it.
    void kill();

private:
    bool poll();  // false once it has ended

    std::string captureDir_;
    int pid_ = 0;
    int status_ = 0;
    bool running_ = true;
};

// Splits parameters + path at blanks, as a command line without quotes is.
TesterResult runTesterCommand(const std::string& parameters, const std::string& path, const ChildSetup& setup = {});
std::vector<std::string> commandWords(const std::string& parameters, const std::string& path);

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    // Writes content to name inside the directory (creating subdirectories)
    // and returns the full path.
    std::string write(const std::string& name, const std::string& content) const;

private:
    std::string path_;
};

std::string readFile(const std::string& path);

// Decimal digits of 2^q - 1 and of a*b, computed with GMP.
std::string mersenneDigits(unsigned long q);
std::string productDigits(const std::string& a, const std::string& b);

}  // namespace prp_test
