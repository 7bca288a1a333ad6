#include "tester_process.h"

#include <fcntl.h>
#include <grp.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "engine/big_integer.h"
#include "engine/decimal_text.h"

namespace prp_test {

namespace {

std::string makeTempDir()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "prp_tester_XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("cannot create a temporary directory");
    return pattern;
}

// Starts the tester with the words after the program name, this process's
// environment plus the extra entries (which replace inherited
// ones of the same name), its output into the two files, under
// the limits. fork and exec rather than posix_spawn: the limits and the
// user are set in the child, before the tester starts; between fork and
// exec only async-signal-safe calls.
pid_t spawnTester(const std::vector<std::string>& words, const ChildSetup& setup, const std::string& outPath,
                  const std::string& errPath)
{
    std::string program = PRP_TESTER_PATH;
    std::vector<std::string> argvCopies = words, environmentCopies = setup.environment;
    std::vector<char*> argv{program.data()};
    for (std::string& word : argvCopies)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    auto nameOf = [](std::string_view entry) { return entry.substr(0, entry.find('=') + 1); };
    std::vector<char*> envp;
    for (char** entry = environ; *entry; ++entry) {
        bool replaced = false;
        for (const std::string& extra : setup.environment)
            replaced = replaced || nameOf(*entry) == nameOf(extra);
        if (!replaced)
            envp.push_back(*entry);
    }
    for (std::string& entry : environmentCopies)
        envp.push_back(entry.data());
    envp.push_back(nullptr);

    pid_t child = fork();
    if (child < 0)
        throw std::runtime_error("cannot start " + program);
    if (child == 0) {
        int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
        int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
        if (out < 0 || err < 0 || dup2(out, 1) < 0 || dup2(err, 2) < 0)
            _exit(126);
        auto limit = [](int resource, uint64_t bytes) {
            rlimit value{static_cast<rlim_t>(bytes), static_cast<rlim_t>(bytes)};
            return setrlimit(resource, &value) == 0;
        };
        if ((setup.addressSpace && !limit(RLIMIT_AS, *setup.addressSpace)) ||
            (setup.fileSize && !limit(RLIMIT_FSIZE, *setup.fileSize)))
            _exit(126);
        if (setup.user && (setgroups(0, nullptr) != 0 || setgid(*setup.user) != 0 || setuid(*setup.user) != 0))
            _exit(126);
        execve(program.c_str(), argv.data(), envp.data());
        _exit(127);
    }
    return child;
}

TesterResult resultOf(int status, const std::string& captureDir)
{
    TesterResult result;
    result.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    result.out = readFile(captureDir + "/out");
    result.err = readFile(captureDir + "/err");
    return result;
}

void makeWritableByAll(const std::string& dir)
{
    std::filesystem::permissions(dir, std::filesystem::perms::all);
}

}  // namespace

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

RunningTester::RunningTester(const std::vector<std::string>& words, const ChildSetup& setup)
    : captureDir_(makeTempDir())
{
    if (setup.user)
        makeWritableByAll(captureDir_);
    pid_ = spawnTester(words, setup, captureDir_ + "/out", captureDir_ + "/err");
}

RunningTester::~RunningTester()
{
    if (running_)
        kill();
    std::error_code ignored;
    std::filesystem::remove_all(captureDir_, ignored);
}

bool RunningTester::poll()
{
    if (running_ && waitpid(pid_, &status_, WNOHANG) == pid_)
        running_ = false;
    return running_;
}

bool RunningTester::waitForFile(const std::string& path)
{
    while (!std::filesystem::exists(path)) {
        if (!poll())
            return std::filesystem::exists(path);
        usleep(10'000);
    }
    return true;
}

bool RunningTester::waitForError(const std::string& text)
{
    while (readFile(captureDir_ + "/err").find(text) == std::string::npos) {
        if (!poll())
            return readFile(captureDir_ + "/err").find(text) != std::string::npos;
        usleep(10'000);
    }
    return true;
}

void RunningTester::signal(int number)
{
    if (running_)
        ::kill(pid_, number);
}

TesterResult RunningTester::finish()
{
    if (running_) {
        waitpid(pid_, &status_, 0);
        running_ = false;
    }
    return resultOf(status_, captureDir_);
}

void RunningTester::kill()
{
    if (!running_)
        return;
    ::kill(pid_, SIGKILL);
    waitpid(pid_, &status_, 0);
    running_ = false;
}

TesterResult runTesterWords(const std::vector<std::string>& words, const ChildSetup& setup)
{
    RunningTester tester(words, setup);
    return tester.finish();
}

std::vector<std::string> commandWords(const std::string& parameters, const std::string& path)
{
    std::vector<std::string> words;
    std::istringstream split(parameters + path);
    for (std::string word; split >> word;)
        words.push_back(word);
    return words;
}

TesterResult runTesterCommand(const std::string& parameters, const std::string& path, const ChildSetup& setup)
{
    return runTesterWords(commandWords(parameters, path), setup);
}

TempDir::TempDir() : path_(makeTempDir()) {}

TempDir::~TempDir()
{
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string TempDir::write(const std::string& name, const std::string& content) const
{
    std::filesystem::path full = std::filesystem::path(path_) / name;
    std::filesystem::create_directories(full.parent_path());
    std::ofstream(full, std::ios::binary) << content;
    return full.string();
}

std::string mersenneDigits(unsigned long q)
{
    arithmetic::BigInt n;
    mpz_setbit(n.get(), q);
    mpz_sub_ui(n.get(), n.get(), 1);
    return engine::toDecimal(n);
}

std::string productDigits(const std::string& a, const std::string& b)
{
    arithmetic::BigInt x, y;
    engine::setFromDecimal(x, a);
    engine::setFromDecimal(y, b);
    mpz_mul(x.get(), x.get(), y.get());
    return engine::toDecimal(x);
}

}  // namespace prp_test
