#include "cli_runner.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <poll.h>
#include <sstream>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace cli_test {

namespace {

void appendAvailable(int fd, std::string& text, bool& open)
{
    char buffer[65536];
    ssize_t got = read(fd, buffer, sizeof buffer);
    if (got > 0)
        text.append(buffer, static_cast<size_t>(got));
    else if (got == 0 || errno != EINTR)
        open = false;
}

// The first child process of pid, from the kernel's list of its children.
pid_t firstChildOf(pid_t pid)
{
    std::ifstream children("/proc/" + std::to_string(pid) + "/task/" + std::to_string(pid) + "/children");
    long child = 0;
    children >> child;
    return static_cast<pid_t>(child);
}

}  // namespace

CliRun runCommand(const std::vector<std::string>& words, const RunOptions& options)
{
    int in[2], out[2], err[2];
    if (pipe(in) != 0 || pipe(out) != 0 || pipe(err) != 0)
        return {};
    const pid_t child = fork();
    if (child == 0) {
        dup2(in[0], STDIN_FILENO);
        dup2(out[1], STDOUT_FILENO);
        dup2(err[1], STDERR_FILENO);
        for (int fd : {in[0], in[1], out[0], out[1], err[0], err[1]})
            close(fd);
        switch (options.output) {
        case OutputTarget::Captured:
            break;
        case OutputTarget::DevFull:
            if (int full = open("/dev/full", O_WRONLY); full >= 0)
                dup2(full, STDOUT_FILENO);
            break;
        case OutputTarget::Closed:
            close(STDOUT_FILENO);
            break;
        case OutputTarget::BrokenPipe: {
            int ends[2];
            if (pipe(ends) == 0) {
                dup2(ends[1], STDOUT_FILENO);
                close(ends[0]);
                close(ends[1]);
            }
            // The program is started as a shell would start it: SIGPIPE at
            // its default, which ends a writer that does not handle it.
            signal(SIGPIPE, SIG_DFL);
            break;
        }
        }
        if (!options.workingDirectory.empty() && chdir(options.workingDirectory.c_str()) != 0)
            _exit(127);
        // The divisor products the program keeps go to the build tree, never
        // to the user's data directory, unless the test names another.
        setenv("QUENDROLT_DATA_DIR", QUENDROLT_TEST_DATA_DIR, 1);
        for (const std::string& entry : options.environment)
            putenv(const_cast<char*>(entry.c_str()));
        std::vector<char*> argv;
        for (const std::string& word : words)
            argv.push_back(const_cast<char*>(word.c_str()));
        argv.push_back(nullptr);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    close(in[0]);
    close(out[1]);
    close(err[1]);
    // The input is fed as the program reads it, so that it may be longer
    // than a pipe holds; a program that stops reading early is no failure.
    signal(SIGPIPE, SIG_IGN);
    fcntl(in[1], F_SETFL, O_NONBLOCK);
    size_t inputFed = 0;
    int inputFd = in[1];
    const auto feedInput = [&] {
        while (inputFd >= 0 && inputFed < options.standardInput.size()) {
            const ssize_t written =
                write(inputFd, options.standardInput.data() + inputFed, options.standardInput.size() - inputFed);
            if (written <= 0) {
                if (written < 0 && (errno == EAGAIN || errno == EINTR))
                    return;
                break;
            }
            inputFed += static_cast<size_t>(written);
        }
        if (inputFd >= 0) {
            close(inputFd);
            inputFd = -1;
        }
    };
    feedInput();

    CliRun run;
    const auto start = std::chrono::steady_clock::now();
    bool interruptPending = options.interruptAfter.count() > 0;
    bool killPending = options.killOneChildAfter.count() > 0;
    bool outOpen = true, errOpen = true;
    while (outOpen || errOpen) {
        pollfd fds[3] = {{out[0], POLLIN, 0}, {err[0], POLLIN, 0}, {inputFd, POLLOUT, 0}};
        poll(fds, inputFd >= 0 ? 3 : 2, 20);
        feedInput();
        if (outOpen && (fds[0].revents & (POLLIN | POLLHUP)))
            appendAvailable(out[0], run.out, outOpen);
        if (errOpen && (fds[1].revents & (POLLIN | POLLHUP)))
            appendAvailable(err[0], run.err, errOpen);
        if (interruptPending && std::chrono::steady_clock::now() - start >= options.interruptAfter) {
            kill(child, options.interruptSignal);
            interruptPending = false;
        }
        if (killPending && std::chrono::steady_clock::now() - start >= options.killOneChildAfter) {
            if (pid_t rank = firstChildOf(child); rank > 0)
                kill(rank, SIGKILL);
            killPending = false;
        }
    }
    close(out[0]);
    close(err[0]);
    if (inputFd >= 0)
        close(inputFd);
    int status = 0;
    waitpid(child, &status, 0);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return run;
}

CliRun runCli(const std::vector<std::string>& arguments, const RunOptions& options)
{
    std::vector<std::string> words = {QUENDROLT_CLI_PATH};
    words.insert(words.end(), arguments.begin(), arguments.end());
    return runCommand(words, options);
}

CliRun runCliOnRanks(int ranks, const std::vector<std::string>& arguments, const RunOptions& options)
{
    std::vector<std::string> words = {MPIEXEC_PATH, "--oversubscribe", "--allow-run-as-root", "-np",
                                      std::to_string(ranks), QUENDROLT_CLI_PATH};
    words.insert(words.end(), arguments.begin(), arguments.end());
    return runCommand(words, options);
}

std::vector<int> processesWith(const std::string& text)
{
    std::vector<int> found;
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        const std::string name = entry.path().filename().string();
        if (name.find_first_not_of("0123456789") != std::string::npos)
            continue;
        std::ifstream file(entry.path() / "cmdline", std::ios::binary);
        const std::string commandLine((std::istreambuf_iterator<char>(file)), {});
        std::ifstream stat(entry.path() / "stat");
        std::string statLine;
        std::getline(stat, statLine);
        const bool zombie = statLine.find(") Z ") != std::string::npos;
        if (!zombie && commandLine.find(text) != std::string::npos)
            found.push_back(std::stoi(name));
    }
    return found;
}

std::vector<std::string> lines(const std::string& text)
{
    std::vector<std::string> result;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);)
        result.push_back(line);
    return result;
}

TemporaryDirectory::TemporaryDirectory()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "cli-test-XXXXXX").string();
    if (mkdtemp(pattern.data()))
        path_ = pattern;
}

TemporaryDirectory::~TemporaryDirectory()
{
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::string TemporaryDirectory::write(const std::string& name, const std::string& content) const
{
    const std::string file = path_ + "/" + name;
    std::ofstream(file, std::ios::binary) << content;
    return file;
}

}  // namespace cli_test
