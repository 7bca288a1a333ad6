#pragma once
// Runs the built tester as a child process, the way the calling program
// does: a parameter string split into words at blanks, the path appended
// without quotes. Files live in a fresh temporary directory per fixture.
#include <string>
#include <vector>

namespace prp_test {

struct TesterResult {
    int exitStatus = -1;
    std::string out;  // standard output
    std::string err;  // standard error
};

// Runs the tester with the given argv words and waits for it; extra
// "NAME=value" entries are added to its environment.
TesterResult runTesterWords(const std::vector<std::string>& words, const std::vector<std::string>& environment = {});

// A tester started in the background, to be interrupted.
class RunningTester {
public:
    explicit RunningTester(const std::vector<std::string>& words);
    ~RunningTester();
    RunningTester(const RunningTester&) = delete;
    RunningTester& operator=(const RunningTester&) = delete;

    // Polls until the file exists or the tester ends; true when it exists.
    bool waitForFile(const std::string& path);
    // SIGKILL, as a crash or power cut would end it, and reaps it.
    void kill();

private:
    int pid_ = 0;
    bool running_ = true;
};

// Splits parameters + path at blanks, as a command line without quotes is.
TesterResult runTesterCommand(const std::string& parameters, const std::string& path,
                              const std::vector<std::string>& environment = {});
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

// Decimal digits of 2^q - 1 and of a*b, computed with GMP.
std::string mersenneDigits(unsigned long q);
std::string productDigits(const std::string& a, const std::string& b);

}  // namespace prp_test
