#include "cli/tester_run.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <sys/wait.h>
#include <unistd.h>

#include "engine/tester_output.h"
#include "storage/atomic_file.h"
#include "storage/number_files.h"

namespace cli {

namespace {

namespace fs = std::filesystem;


class TemporaryDirectory {
public:
    TemporaryDirectory()
    {
        std::string pattern = (fs::temp_directory_path() / "quendrolt-cli-XXXXXX").string();
        if (mkdtemp(pattern.data()))
            path_ = pattern;
    }
    ~TemporaryDirectory()
    {
        std::error_code ignored;
        if (!path_.empty())
            fs::remove_all(path_, ignored);
    }
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

// Reads the child's output line by line, keeping the last result line.
std::string lastResultLine(int fd)
{
    std::string pending, last;
    char buffer[4096];
    ssize_t got;
    while ((got = read(fd, buffer, sizeof buffer)) > 0 || (got < 0 && errno == EINTR)) {
        if (got < 0)
            continue;
        pending.append(buffer, static_cast<size_t>(got));
        size_t end;
        while ((end = pending.find('\n')) != std::string::npos) {
            std::string line = engine::cleanOutputLine(std::string_view(pending).substr(0, end));
            if (!line.empty() && engine::isResultLine(line))
                last = line;
            pending.erase(0, end + 1);
        }
    }
    std::string line = engine::cleanOutputLine(pending);
    if (!line.empty() && engine::isResultLine(line))
        last = line;
    return last;
}

}  // namespace

std::optional<std::string> findTester()
{
    std::error_code error;
    const fs::path self = fs::read_symlink("/proc/self/exe", error);
    if (error)
        return std::nullopt;
    for (const fs::path& candidate :
         {self.parent_path() / storage::kTesterProgram, self.parent_path() / ".." / "libexec" / "quendrolt" / storage::kTesterProgram}) {
        if (access(candidate.c_str(), X_OK) == 0)
            return candidate.lexically_normal().string();
    }
    return std::nullopt;
}

TesterResult runTester(const std::string& program, const std::string& digits)
{
    TesterResult result;
    TemporaryDirectory directory;
    if (directory.path().empty()) {
        result.failure = "cannot create a temporary directory";
        return result;
    }
    const std::string numberFile = directory.path() + "/" + storage::kLastPrpFile;
    if (!storage::writeFileAtomically(numberFile, digits)) {
        result.failure = "cannot write " + numberFile;
        return result;
    }
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) {
        result.failure = "cannot create a pipe";
        return result;
    }
    const pid_t child = fork();
    if (child < 0) {
        result.failure = "cannot start a process";
        return result;
    }
    if (child == 0) {
        dup2(pipeEnds[1], STDOUT_FILENO);
        // As in the window's hidden check, only the result lines matter.
        int quiet = open("/dev/null", O_WRONLY);
        if (quiet >= 0)
            dup2(quiet, STDERR_FILENO);
        close(pipeEnds[0]);
        close(pipeEnds[1]);
        if (chdir(directory.path().c_str()) != 0)
            _exit(127);
        execl(program.c_str(), program.c_str(), "-k", "-T4", "-f0", numberFile.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    close(pipeEnds[1]);
    result.resultLine = lastResultLine(pipeEnds[0]);
    close(pipeEnds[0]);
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFSIGNALED(status) || (WIFEXITED(status) && WEXITSTATUS(status) == 127)) {
        result.failure = program + " did not run to its end";
        return result;
    }
    result.ran = true;
    result.verdict = engine::verdictFromResultLine(result.resultLine);
    return result;
}

}  // namespace cli
