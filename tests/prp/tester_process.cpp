#include "tester_process.h"

#include <fcntl.h>
#include <spawn.h>
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

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Starts the tester with the words after the program name and this
// process's environment plus the extra entries, which replace inherited
// ones of the same name.
pid_t spawnTester(const std::vector<std::string>& words, const std::vector<std::string>& environment,
                  const posix_spawn_file_actions_t* actions)
{
    std::string program = PRP_TESTER_PATH;
    std::vector<std::string> argvCopies = words, environmentCopies = environment;
    std::vector<char*> argv{program.data()};
    for (std::string& word : argvCopies)
        argv.push_back(word.data());
    argv.push_back(nullptr);
    auto nameOf = [](std::string_view entry) { return entry.substr(0, entry.find('=') + 1); };
    std::vector<char*> envp;
    for (char** entry = environ; *entry; ++entry) {
        bool replaced = false;
        for (const std::string& extra : environment)
            replaced = replaced || nameOf(*entry) == nameOf(extra);
        if (!replaced)
            envp.push_back(*entry);
    }
    for (std::string& entry : environmentCopies)
        envp.push_back(entry.data());
    envp.push_back(nullptr);
    pid_t child = 0;
    if (posix_spawn(&child, program.c_str(), actions, nullptr, argv.data(), envp.data()) != 0)
        throw std::runtime_error("cannot start " + program);
    return child;
}

}  // namespace

RunningTester::RunningTester(const std::vector<std::string>& words)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_ = spawnTester(words, {}, &actions);
    posix_spawn_file_actions_destroy(&actions);
}

RunningTester::~RunningTester()
{
    if (running_)
        kill();
}

bool RunningTester::waitForFile(const std::string& path)
{
    while (!std::filesystem::exists(path)) {
        int status = 0;
        if (running_ && waitpid(pid_, &status, WNOHANG) == pid_)
            running_ = false;
        if (!running_)
            return std::filesystem::exists(path);
        usleep(10'000);
    }
    return true;
}

void RunningTester::kill()
{
    if (!running_)
        return;
    ::kill(pid_, SIGKILL);
    int status = 0;
    waitpid(pid_, &status, 0);
    running_ = false;
}

TesterResult runTesterWords(const std::vector<std::string>& words, const std::vector<std::string>& environment)
{
    TempDir capture;
    std::string outPath = capture.path() + "/out", errPath = capture.path() + "/err";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);

    pid_t child = spawnTester(words, environment, &actions);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    waitpid(child, &status, 0);

    TesterResult result;
    result.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.out = readFile(outPath);
    result.err = readFile(errPath);
    return result;
}

std::vector<std::string> commandWords(const std::string& parameters, const std::string& path)
{
    std::vector<std::string> words;
    std::istringstream split(parameters + path);
    for (std::string word; split >> word;)
        words.push_back(word);
    return words;
}

TesterResult runTesterCommand(const std::string& parameters, const std::string& path,
                              const std::vector<std::string>& environment)
{
    return runTesterWords(commandWords(parameters, path), environment);
}

TempDir::TempDir()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "prp_tester_XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("cannot create a temporary directory");
    path_ = pattern;
}

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
