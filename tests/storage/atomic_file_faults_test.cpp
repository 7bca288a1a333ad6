// AtomicFile under the faults it exists for: a disk that fills up in the
// middle of a write and a writer killed in the middle of one. Each fault
// happens in a forked child so that the limit or the kill never reaches the
// test process.
#include "storage/atomic_file.h"

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>

using namespace storage;
namespace fs = std::filesystem;

namespace {

std::string contentOf(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::vector<std::string> temporaryFilesBeside(const fs::path& target)
{
    std::vector<std::string> found;
    for (const fs::directory_entry& entry : fs::directory_iterator(target.parent_path()))
        if (entry.path().filename().string().starts_with(target.filename().string() + ".tmp-"))
            found.push_back(entry.path().filename().string());
    return found;
}

// The exit status of a child that ran body; body's return value is its status.
int inChild(const std::function<int()>& body)
{
    pid_t pid = ::fork();
    if (pid == 0)
        ::_exit(body());
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// A full disk as the program meets it: write() fails with EFBIG beyond the
// limit instead of the process being ended by SIGXFSZ.
void limitFileSize(rlim_t bytes)
{
    ::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = bytes;
    ::setrlimit(RLIMIT_FSIZE, &limit);
}

class AtomicFileFaults : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder_ = fs::temp_directory_path() / ("quendrolt-atomic-faults-" + std::to_string(::getpid()));
        fs::remove_all(folder_);
        fs::create_directories(folder_);
        target_ = folder_ / "number.txt";
    }
    void TearDown() override { fs::remove_all(folder_); }

    void writeOld(const std::string& content) { std::ofstream(target_, std::ios::binary) << content; }

    fs::path folder_;
    fs::path target_;
};

}  // namespace

TEST_F(AtomicFileFaults, full_disk_keeps_the_old_file_reports_the_error_and_leaves_no_temporary_file)
{
    const std::string old = "old content\r\n";
    const std::string error = std::strerror(EFBIG);
    struct Case {
        const char* how;
        size_t bytes;
        size_t piece;  // 0: the whole content at once
    };
    // Past the limit in one large write, in buffered small pieces, and by
    // the final flush of the buffer at commit.
    for (const Case& c : {Case{"at once", 4 << 20, 0}, Case{"in pieces", 3 << 20, 100}, Case{"at commit", 900 << 10, 1000}}) {
        SCOPED_TRACE(c.how);
        writeOld(old);
        const std::string content(c.bytes, '7');
        const int status = inChild([&] {
            limitFileSize(512 << 10);
            if (c.piece == 0) {
                std::string reason;
                return !writeFileAtomically(target_, content, &reason) && reason == error ? 0 : 1;
            }
            AtomicFile file(target_);
            for (size_t at = 0; at < content.size(); at += c.piece)
                file.write(std::string_view(content).substr(at, c.piece));
            return !file.commit() && file.error() == error ? 0 : 1;
        });
        EXPECT_EQ(status, 0) << "the write reports the failure with the system's reason";
        EXPECT_EQ(contentOf(target_), old);
        EXPECT_TRUE(temporaryFilesBeside(target_).empty());
        EXPECT_TRUE(writeFileAtomically(target_, content)) << "the disk has room again";
        EXPECT_EQ(contentOf(target_), content);
    }
}

TEST_F(AtomicFileFaults, a_writer_killed_at_any_moment_leaves_the_old_or_the_new_file_whole)
{
    const std::string old(8 << 20, 'o');
    const std::string fresh(20 << 20, 'n');
    int sawOld = 0;
    int sawNew = 0;
    // From before the temporary file exists to after the rename.
    for (int delayMs : {0, 1, 2, 5, 10, 20, 40, 80, 150, 300, 600, 1200}) {
        SCOPED_TRACE(delayMs);
        writeOld(old);
        pid_t pid = ::fork();
        if (pid == 0)
            ::_exit(writeFileAtomically(target_, fresh) ? 0 : 1);
        std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
        ::kill(pid, SIGKILL);
        ::waitpid(pid, nullptr, 0);

        const std::string now = contentOf(target_);
        const bool isOld = now == old;
        const bool isNew = now == fresh;
        EXPECT_TRUE(isOld || isNew) << "a mix of " << now.size() << " bytes";
        sawOld += isOld;
        sawNew += isNew;
    }
    RecordProperty("killed_before_the_rename", sawOld);
    RecordProperty("killed_after_the_rename", sawNew);

    // The next write by a live process clears what the killed ones left.
    EXPECT_TRUE(writeFileAtomically(target_, "later"));
    EXPECT_EQ(contentOf(target_), "later");
    EXPECT_TRUE(temporaryFilesBeside(target_).empty());
}

TEST_F(AtomicFileFaults, the_temporary_file_of_a_live_writer_is_left_alone)
{
    const fs::path ours = target_.string() + ".tmp-" + std::to_string(::getppid());
    std::ofstream(ours) << "being written";
    EXPECT_TRUE(writeFileAtomically(target_, "x"));
    EXPECT_EQ(contentOf(ours), "being written");
}
