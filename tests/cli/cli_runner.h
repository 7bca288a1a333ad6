#pragma once
// Runs the built quendrolt-cli (or mpirun with it) as a child process and
// collects its exit status and both output streams.
#include <chrono>
#include <csignal>
#include <string>
#include <vector>

namespace cli_test {

struct CliRun {
    int status = -1;  // exit status; 128 + signal when a signal ended it
    std::string out;
    std::string err;
};

// Where the program's standard output goes.
enum class OutputTarget {
    Captured,    // a pipe read into CliRun::out
    DevFull,     // /dev/full: every write fails with ENOSPC
    Closed,      // no descriptor 1 at all
    BrokenPipe,  // a pipe whose reader has gone: EPIPE, or SIGPIPE
};

struct RunOptions {
    std::string standardInput;
    // `interruptSignal` is sent this long after the start when positive.
    std::chrono::milliseconds interruptAfter{0};
    int interruptSignal = SIGINT;
    // One child of the started program (a rank under mpirun) is killed this
    // long after the start when positive.
    std::chrono::milliseconds killOneChildAfter{0};
    OutputTarget output = OutputTarget::Captured;
    std::string workingDirectory = {};  // empty: the test's own
    // NAME=value entries set in the program's environment (under mpirun,
    // every rank inherits them).
    std::vector<std::string> environment = {};
};

CliRun runCommand(const std::vector<std::string>& words, const RunOptions& options = {});

// quendrolt-cli with these arguments.
CliRun runCli(const std::vector<std::string>& arguments, const RunOptions& options = {});

// mpirun -np ranks quendrolt-cli arguments (runs as root in CI, oversubscribed
// on small machines).
CliRun runCliOnRanks(int ranks, const std::vector<std::string>& arguments, const RunOptions& options = {});

// Processes still running whose command line holds text (a unique path of
// the test's), for checking that a run left no child behind.
std::vector<int> processesWith(const std::string& text);

// The lines of a text, without their line ends.
std::vector<std::string> lines(const std::string& text);

// A directory under the system's temporary directory, removed with its content.
class TemporaryDirectory {
public:
    TemporaryDirectory();
    ~TemporaryDirectory();
    const std::string& path() const { return path_; }
    std::string write(const std::string& name, const std::string& content) const;

private:
    std::string path_;
};

}  // namespace cli_test
