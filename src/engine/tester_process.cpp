#include "engine/tester_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <thread>

#include "engine/tester_output.h"

namespace engine {

namespace {

constexpr int kKillWaitMs = 200;
constexpr int kRefillWaitMs = 1;
constexpr size_t kReadBytes = 64 << 10;

void appendWords(std::vector<std::string>& words, std::string_view text)
{
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = std::min(text.find(' ', start), text.size());
        if (end > start)
            words.emplace_back(text.substr(start, end - start));
        start = end + 1;
    }
}

int openPidFd(pid_t pid)
{
#ifdef SYS_pidfd_open
    return static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
#else
    (void)pid;
    return -1;
#endif
}

// Closes every descriptor from `from` on except `keep`, in the child between
// fork and exec: the tester inherits only its three streams.
void closeInheritedDescriptors(int from, int keep)
{
    if (keep > from)
        ::close_range(static_cast<unsigned>(from), static_cast<unsigned>(keep - 1), 0);
    ::close_range(static_cast<unsigned>(std::max(from, keep + 1)), ~0U, 0);
}

[[noreturn]] void failInChild(int statusFd)
{
    const int error = errno;
    ssize_t ignored = ::write(statusFd, &error, sizeof error);
    (void)ignored;
    _exit(127);
}

// In the child: only calls that are safe between fork and exec in a process
// with threads. On a failure the errno goes back through statusFd.
[[noreturn]] void execTester(const char* program, char* const* argv, const char* directory, int outputFd, int errorFd,
                             int statusFd)
{
    const auto fail = [statusFd]() { failInChild(statusFd); };
    const int input = ::open("/dev/null", O_RDONLY);
    if (input < 0 || ::dup2(input, STDIN_FILENO) < 0 || ::dup2(outputFd, STDOUT_FILENO) < 0 ||
        ::dup2(errorFd, STDERR_FILENO) < 0)
        fail();
    closeInheritedDescriptors(3, statusFd);
    // A caller that ignores SIGPIPE (the command line) would pass that on.
    struct sigaction defaults {};
    defaults.sa_handler = SIG_DFL;
    ::sigaction(SIGPIPE, &defaults, nullptr);
    sigset_t none;
    sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
    if (::chdir(directory) != 0)
        fail();
    ::execv(program, argv);
    failInChild(statusFd);
}

std::string cleanTail(std::string_view line)
{
    if (line.size() > kKeptLineBytes)
        line.remove_prefix(line.size() - kKeptLineBytes);
    return cleanOutputLine(line);
}

}  // namespace

std::vector<std::string> testerArguments(std::string_view switches, const std::string& numberFile)
{
    std::vector<std::string> words;
    appendWords(words, kTesterBaseSwitches);
    appendWords(words, switches);
    words.push_back(numberFile);
    return words;
}

std::optional<std::string> findProgram(std::string_view program, const std::vector<std::string>& directories)
{
    for (const std::string& directory : directories) {
        std::string path = directory;
        if (!path.empty() && path.back() != '/')
            path.push_back('/');
        path.append(program);
        struct stat info {};
        if (::stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode))
            return path;
    }
    return std::nullopt;
}

TesterProcess::~TesterProcess() { kill(); }

bool TesterProcess::start(const std::string& program, const std::vector<std::string>& arguments,
                          const std::string& directory, std::string* failure)
{
    int output[2] = {-1, -1}, error[2] = {-1, -1}, status[2] = {-1, -1};
    if (::pipe2(output, O_CLOEXEC) != 0 || ::pipe2(error, O_CLOEXEC) != 0 || ::pipe2(status, O_CLOEXEC) != 0) {
        if (failure)
            *failure = std::strerror(errno);
        for (int fd : {output[0], output[1], error[0], error[1]})
            if (fd >= 0)
                ::close(fd);
        return false;
    }
    // Everything the child needs is made before the fork: the child of a
    // process with threads may not allocate.
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& word : arguments)
        argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);

    const pid_t child = ::fork();
    if (child == 0)
        execTester(program.c_str(), argv.data(), directory.c_str(), output[1], error[1], status[1]);
    const int forkError = errno;
    for (int fd : {output[1], error[1], status[1]})
        ::close(fd);
    if (child < 0) {
        if (failure)
            *failure = std::strerror(forkError);
        for (int fd : {output[0], error[0], status[0]})
            ::close(fd);
        return false;
    }
    // The status pipe closes at the exec; an errno before that is a failure.
    int childError = 0;
    ssize_t got;
    while ((got = ::read(status[0], &childError, sizeof childError)) < 0 && errno == EINTR) {
    }
    ::close(status[0]);
    if (got == static_cast<ssize_t>(sizeof childError)) {
        int ignored = 0;
        while (::waitpid(child, &ignored, 0) < 0 && errno == EINTR) {
        }
        if (failure)
            *failure = std::strerror(childError);
        ::close(output[0]);
        ::close(error[0]);
        return false;
    }
    pid_ = child;
    pidFd_ = openPidFd(child);
    output_ = output[0];
    error_ = error[0];
    ::fcntl(output_, F_SETFL, O_NONBLOCK);
    ::fcntl(error_, F_SETFL, O_NONBLOCK);
    ended_ = false;
    return true;
}

TesterEnd TesterProcess::follow(TesterWatch& watch, int64_t timeLimitMs)
{
    const auto start = std::chrono::steady_clock::now();
    while (!reaped()) {
        watch.betweenPolls();
        waitOnePoll();
        if (watch.stopRequested()) {
            kill();
            return TesterEnd::Stopped;
        }
        const auto elapsed = std::chrono::steady_clock::now() - start;
        if (timeLimitMs != kNoTesterTimeLimit && elapsed > std::chrono::milliseconds(timeLimitMs)) {
            kill();
            return TesterEnd::TimedOut;
        }
        if (watch.endRequested())
            kill();
        readError(watch, kBytesPerPoll);
        readOutput(watch, kBytesPerPoll, true);
    }
    drain(watch);
    return TesterEnd::Finished;
}

// Waits one polling period; the end of the tester cuts it short.
void TesterProcess::waitOnePoll()
{
    if (pidFd_ >= 0) {
        pollfd p{pidFd_, POLLIN, 0};
        ::poll(&p, 1, kTesterPollMs);
    } else {
        std::this_thread::sleep_for(std::chrono::milliseconds(kTesterPollMs));
    }
}

bool TesterProcess::reaped()
{
    if (pid_ <= 0)
        return true;
    int status = 0;
    const pid_t done = ::waitpid(pid_, &status, WNOHANG);
    if (done == pid_ || (done < 0 && errno == ECHILD)) {
        waitStatus_ = status;
        ended_ = done == pid_;
        pid_ = 0;
        return true;
    }
    return false;
}

// Takes what the tester printed, pulling it from the pipe as it goes: left
// in the pipe, a flood would only stall the tester. With refill, a moment's
// wait lets a flooding tester refill its pipe, so that a poll reads far more
// than one pipe's worth.
void TesterProcess::readOutput(TesterWatch& watch, size_t budget, bool refill)
{
    char buffer[kReadBytes];
    size_t taken = 0;
    while (output_ >= 0 && taken < budget) {
        const ssize_t got = ::read(output_, buffer, sizeof buffer);
        if (got > 0) {
            taken += static_cast<size_t>(got);
            // Pieces end at a line end or after kKeptLineBytes, as a line is read.
            for (std::string_view rest(buffer, static_cast<size_t>(got)); !rest.empty();) {
                const size_t lineEnd = rest.find('\n');
                const size_t length =
                    std::min(lineEnd == std::string_view::npos ? rest.size() : lineEnd + 1, kKeptLineBytes);
                takeOutputPiece(watch, rest.substr(0, length));
                rest.remove_prefix(length);
            }
            continue;
        }
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0 && errno == EAGAIN && refill) {
            pollfd p{output_, POLLIN, 0};
            if (::poll(&p, 1, kRefillWaitMs) > 0 && (p.revents & POLLIN))
                continue;
        }
        return;
    }
}

void TesterProcess::takeOutputPiece(TesterWatch& watch, std::string_view piece)
{
    if (partialLine_.size() < kKeptLineBytes)
        watch.standardOutput(piece);
    partialLine_.append(piece);
    if (partialLine_.back() != '\n') {
        if (partialLine_.size() > kKeptLineBytes)
            partialLine_.erase(0, partialLine_.size() - kKeptLineBytes);
        return;
    }
    std::string line = cleanOutputLine(partialLine_);
    if (!line.empty() && isResultLine(line))
        resultLine_ = std::move(line);
    partialLine_.clear();
}

void TesterProcess::readError(TesterWatch& watch, size_t budget)
{
    char buffer[kReadBytes];
    size_t taken = 0;
    while (error_ >= 0 && taken < budget) {
        const ssize_t got = ::read(error_, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return;
        taken += static_cast<size_t>(got);
        takeErrorBytes(watch, std::string_view(buffer, static_cast<size_t>(got)));
    }
}

void TesterProcess::takeErrorBytes(TesterWatch& watch, std::string_view bytes)
{
    watch.standardError(bytes);
    for (size_t end; (end = bytes.find('\n')) != std::string_view::npos;) {
        partialError_.append(bytes.substr(0, end));
        watch.errorLine(cleanTail(partialError_));
        partialError_.clear();
        bytes.remove_prefix(end + 1);
    }
    partialError_.append(bytes);
    if (partialError_.size() > kKeptLineBytes)
        partialError_.erase(0, partialError_.size() - kKeptLineBytes);
}

// The tester has ended: what is left is what its pipes still hold. A child
// of the tester may still hold them open, so this reads what is there and
// never waits for their end.
void TesterProcess::drain(TesterWatch& watch)
{
    readError(watch, static_cast<size_t>(-1));
    readOutput(watch, static_cast<size_t>(-1), false);
    if (!partialLine_.empty()) {
        std::string line = cleanOutputLine(partialLine_);
        if (!line.empty() && isResultLine(line))
            resultLine_ = std::move(line);
        partialLine_.clear();
    }
    if (!partialError_.empty()) {
        watch.errorLine(cleanTail(partialError_));
        partialError_.clear();
    }
    closeAll();
}

void TesterProcess::kill()
{
    if (pid_ > 0) {
        ::kill(pid_, SIGKILL);
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(kKillWaitMs);
        while (!reaped() && std::chrono::steady_clock::now() < until)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    closeAll();
}

void TesterProcess::closeAll()
{
    for (int* fd : {&pidFd_, &output_, &error_}) {
        if (*fd >= 0)
            ::close(*fd);
        *fd = -1;
    }
}

bool TesterProcess::ranToItsEnd() const
{
    return ended_ && WIFEXITED(waitStatus_) && WEXITSTATUS(waitStatus_) != 127;
}

std::string TesterProcess::endDescription() const
{
    if (!ended_)
        return "it was ended";
    if (WIFSIGNALED(waitStatus_))
        return std::string("it ended by signal ") + std::to_string(WTERMSIG(waitStatus_)) + " (" +
               strsignal(WTERMSIG(waitStatus_)) + ")";
    return "it ended with status " + std::to_string(WEXITSTATUS(waitStatus_));
}

}  // namespace engine
