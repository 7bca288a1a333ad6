#pragma once
// One run of the probable-prime tester as a child process, for the window
// and the command line alike: finding the program, starting it with its
// arguments in a directory, reading its output lines as they come (each line
// kept to a bounded tail, so that a tester that floods its output costs no
// memory), its time limit, the kill and how it ended. What happens between
// two polls belongs to the caller, through TesterWatch: the window processes
// its events and shows the output in its console, the command line passes the
// progress lines on.
#include <sys/types.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace engine {

// The switches every run of the tester starts with: keep going on a
// composite, four threads.
inline constexpr std::string_view kTesterBaseSwitches = " -k -T4 ";

// The switches of the hidden check of large numbers (after the base ones):
// no trial factoring, the first check has done that.
inline constexpr std::string_view kHiddenCheckSwitches = "-f0 ";

// The base switches, then the given ones, each a word of its own, then the
// number file as one last word: a path with blanks stays whole without any
// quoting.
[[nodiscard]] std::vector<std::string> testerArguments(std::string_view switches, const std::string& numberFile);

// The path of the first of the directories that holds a file named
// program, or nothing.
[[nodiscard]] std::optional<std::string> findProgram(std::string_view program,
                                                     const std::vector<std::string>& directories);

// A line is kept up to this many bytes (its tail, where a result would
// stand), and each poll reads at most kBytesPerPoll of each stream, so that
// the caller keeps responding while a tester floods its output.
inline constexpr size_t kKeptLineBytes = 4096;
inline constexpr size_t kBytesPerPoll = 4 << 20;
inline constexpr int kTesterPollMs = 10;
inline constexpr int64_t kNoTesterTimeLimit = -1;

// The caller's part of following a run; every call comes from follow().
class TesterWatch {
public:
    virtual ~TesterWatch() = default;
    // Once per poll, before the tester's state is looked at.
    virtual void betweenPolls() {}
    // True ends the tester at once and the run as stopped (STOP, an interrupt).
    virtual bool stopRequested() { return false; }
    // True ends the tester, and the run then ends as finished with what it
    // printed so far (the window's console closed by its user).
    virtual bool endRequested() { return false; }
    // Standard output as it comes, in pieces that end at a line end or hold
    // at most kKeptLineBytes; only the first pieces of an overlong line.
    virtual void standardOutput(std::string_view) {}
    // Standard error as it comes.
    virtual void standardError(std::string_view) {}
    // Each whole line of standard error, cleaned (no CR, trimmed), at most
    // its last kKeptLineBytes.
    virtual void errorLine(const std::string&) {}
};

enum class TesterEnd { Finished, Stopped, TimedOut };

class TesterProcess {
public:
    TesterProcess() = default;
    ~TesterProcess();
    TesterProcess(const TesterProcess&) = delete;
    TesterProcess& operator=(const TesterProcess&) = delete;

    // Starts program with the arguments in directory, standard input empty.
    // False when it cannot be started (failure says why: missing, not
    // executable, no such directory).
    [[nodiscard]] bool start(const std::string& program, const std::vector<std::string>& arguments,
                             const std::string& directory, std::string* failure = nullptr);

    // Polls every kTesterPollMs until the tester ends, the watch asks to
    // stop, or timeLimitMs passes (the tester is then killed).
    [[nodiscard]] TesterEnd follow(TesterWatch& watch, int64_t timeLimitMs = kNoTesterTimeLimit);

    // Kills the tester if it still runs and waits for it.
    void kill();

    // The last output line that carried a recognised keyword; empty if none.
    [[nodiscard]] const std::string& resultLine() const { return resultLine_; }
    // After a Finished run: whether the tester ended by itself with status 0
    // to 126 (127 is the shell's "cannot run"), and a description otherwise.
    [[nodiscard]] bool ranToItsEnd() const;
    [[nodiscard]] std::string endDescription() const;

private:
    [[nodiscard]] bool reaped();
    void waitOnePoll();
    void readOutput(TesterWatch& watch, size_t budget, bool refill);
    void readError(TesterWatch& watch, size_t budget);
    void takeOutputPiece(TesterWatch& watch, std::string_view piece);
    void takeErrorBytes(TesterWatch& watch, std::string_view bytes);
    void drain(TesterWatch& watch);
    void closeAll();

    pid_t pid_ = 0;
    int pidFd_ = -1;
    int output_ = -1;
    int error_ = -1;
    int waitStatus_ = 0;
    bool ended_ = false;
    std::string partialLine_;  // the output line being read; only its tail once it is long
    std::string partialError_;
    std::string resultLine_;
};

}  // namespace engine
