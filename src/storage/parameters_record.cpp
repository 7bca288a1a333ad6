#include "storage/parameters_record.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <limits>
#include <memory>

#include "engine/checked_integer.h"
#include "storage/atomic_file.h"

namespace storage {

namespace {

constexpr size_t kBlockSize = 1 << 20;

bool isBlank(char c) { return c == ' ' || c == '\t'; }

void trimBlanks(std::string& text)
{
    size_t end = text.size();
    while (end > 0 && isBlank(text[end - 1]))
        --end;
    size_t begin = 0;
    while (begin < end && isBlank(text[begin]))
        ++begin;
    text.erase(end);
    text.erase(0, begin);
}

// Blanks off both ends, then line-end bytes off the end, until neither is
// left there: "77<TAB>\r<TAB>" is "77", not "77<TAB>", so that a line read,
// written and read again reads the same.
void trimBlanksAndLineEnd(std::string& text)
{
    size_t length;
    do {
        length = text.size();
        trimBlanks(text);
        while (!text.empty() && (text.back() == '\r' || text.back() == '\n'))
            text.pop_back();
    } while (text.size() != length);
}

// Lines of a file read in blocks: memchr finds the line feeds and each line is
// appended to the caller's string in one piece, however long it is.
class LineReader {
public:
    explicit LineReader(int fd) : fd_(fd), buffer_(new char[kBlockSize]) {}

    bool atEnd()
    {
        fill();
        return begin_ == end_;
    }

    // The next line without its LF (and without the CR before it); false at
    // the end of the file, leaving line empty.
    bool next(std::string& line)
    {
        line.clear();
        bool any = false;
        while (fill()) {
            any = true;
            const char* start = buffer_.get() + begin_;
            const char* feed = static_cast<const char*>(std::memchr(start, '\n', end_ - begin_));
            if (!feed) {
                line.append(start, end_ - begin_);
                begin_ = end_;
                continue;
            }
            line.append(start, static_cast<size_t>(feed - start));
            begin_ += static_cast<size_t>(feed - start) + 1;
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            return true;
        }
        return any;
    }

private:
    // True when there are unread bytes.
    bool fill()
    {
        if (begin_ < end_)
            return true;
        if (eof_)
            return false;
        ssize_t got;
        do
            got = ::read(fd_, buffer_.get(), kBlockSize);
        while (got < 0 && errno == EINTR);
        begin_ = 0;
        end_ = got > 0 ? static_cast<size_t>(got) : 0;
        eof_ = got <= 0;
        return end_ > 0;
    }

    int fd_;
    std::unique_ptr<char[]> buffer_;
    size_t begin_ = 0;
    size_t end_ = 0;
    bool eof_ = false;
};

void readRecord(LineReader& reader, ParametersRecord& record)
{
    for (int n = 1; n <= qdx::FixedLines; ++n)
        reader.next(record.line[static_cast<size_t>(n)]);
    for (int n : {qdx::CurrentNumber, qdx::Operand, qdx::Memory})
        trimBlanksAndLineEnd(record.line[static_cast<size_t>(n)]);
    for (int n = qdx::TotalDigits; n <= qdx::Signature; ++n)
        trimBlanks(record.line[static_cast<size_t>(n)]);
    trimBlanks(record.line[qdx::IconicDigit]);

    std::string countLine;
    reader.next(countLine);
    const int64_t count = engine::leadingIntegerClamped(countLine, {0, std::numeric_limits<int64_t>::max()});
    record.history.clear();
    std::string historyLine;
    for (int64_t i = 0; i < count && reader.next(historyLine); ++i)
        record.history.push_back(historyLine);
}

bool writeLine(AtomicFile& file, const std::string& text) { return file.write(text) && file.write("\r\n"); }

}  // namespace

bool writeParametersFile(const std::string& path, const ParametersRecord& record, std::string* error)
{
    AtomicFile file(path);
    bool ok = file.isOpen();
    for (int n = 1; n <= qdx::FixedLines && ok; ++n)
        ok = writeLine(file, record.line[static_cast<size_t>(n)]);
    ok = ok && writeLine(file, std::to_string(record.history.size()));
    for (size_t i = 0; i < record.history.size() && ok; ++i)
        ok = writeLine(file, record.history[i]);
    ok = ok && file.commit();
    if (!ok && error)
        *error = file.error();
    return ok;
}

ReadResult readParametersFile(const std::string& path, ParametersRecord& record)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return ReadResult::CannotOpen;
    // The current number is nearly all of a large file: room for it once
    // instead of growing a 10 MB line block by block.
    struct stat info {};
    if (::fstat(fd, &info) == 0 && info.st_size > 0)
        record.line[qdx::CurrentNumber].reserve(static_cast<size_t>(info.st_size));
    LineReader reader(fd);
    bool any = false;
    while (!reader.atEnd()) {
        readRecord(reader, record);
        any = true;
    }
    ::close(fd);
    return any ? ReadResult::Read : ReadResult::Empty;
}

}  // namespace storage
