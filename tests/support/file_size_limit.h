#pragma once
// A full disk, as a process meets it: while a FileSizeLimit lives, no file
// of this process (nor of its threads and forked workers) may grow past the
// limit, and a write past it fails with EFBIG. SIGXFSZ, which would end the
// process, is ignored meanwhile. Only the soft limit changes, so it can be
// raised again.
#include <signal.h>
#include <sys/resource.h>

#include <gtest/gtest.h>

namespace testing_support {

class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        previousHandler_ = ::signal(SIGXFSZ, SIG_IGN);
        ::getrlimit(RLIMIT_FSIZE, &previous_);
        rlimit limited = previous_;
        limited.rlim_cur = bytes;
        EXPECT_EQ(::setrlimit(RLIMIT_FSIZE, &limited), 0);
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &previous_);
        ::signal(SIGXFSZ, previousHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit previous_{};
    sighandler_t previousHandler_ = SIG_DFL;
};

}  // namespace testing_support
