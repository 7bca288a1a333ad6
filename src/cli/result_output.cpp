#include "cli/result_output.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <initializer_list>
#include <unistd.h>

#include "cli/failure.h"

namespace cli {

namespace {

bool standardOutputClosed = false;

bool descriptorOpen(int fd) { return fcntl(fd, F_GETFD) != -1 || errno != EBADF; }

void holdWithDevNull(int fd)
{
    const int opened = open("/dev/null", fd == STDIN_FILENO ? O_RDONLY : O_WRONLY);
    if (opened >= 0 && opened != fd) {
        dup2(opened, fd);
        close(opened);
    }
}

[[noreturn]] void writeFailed(int error)
{
    throw InternalFailure(std::string("cannot write the result to standard output: ") + std::strerror(error));
}

}  // namespace

void guardStandardStreams()
{
    for (int fd : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
        if (descriptorOpen(fd))
            continue;
        if (fd == STDOUT_FILENO)
            standardOutputClosed = true;
        holdWithDevNull(fd);
    }
    std::signal(SIGPIPE, SIG_IGN);
}

namespace {

// Writes the pieces and flushes them, so that a failure is known at once
// rather than at exit: results are few lines, however long.
void writeChecked(std::initializer_list<std::string_view> pieces)
{
    if (standardOutputClosed)
        writeFailed(EBADF);
    errno = 0;
    bool written = true;
    for (std::string_view piece : pieces)
        written = written && std::fwrite(piece.data(), 1, piece.size(), stdout) == piece.size();
    if (!written || std::fflush(stdout) != 0 || std::ferror(stdout)) {
        const int error = errno != 0 ? errno : EIO;
        std::clearerr(stdout);
        writeFailed(error);
    }
}

}  // namespace

void printText(std::string_view text) { writeChecked({text}); }

void printLine(std::string_view text) { writeChecked({text, "\n"}); }

std::string jsonText(const Json& object) { return object.dump(-1, ' ', false, Json::error_handler_t::replace); }

void printJson(const Json& object) { printLine(jsonText(object)); }

}  // namespace cli
