#include "cli/number_input.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <sys/stat.h>

#include "cli/failure.h"
#include "cli/quoted_text.h"

namespace cli {

namespace {

constexpr size_t kChunkBytes = 1 << 20;

std::string withoutLeadingZeros(std::string digits)
{
    const size_t first = digits.find_first_not_of('0');
    if (first == std::string::npos)
        return "0";
    digits.erase(0, first);
    return digits;
}

std::string tooManyDigits(const std::string& source)
{
    return source + " has more than " + withThousands(kMostDigits) + " digits, the most accepted";
}

std::string typedNumber(const std::string& text)
{
    if (text.empty())
        throw BadInput("the number is empty");
    if (text[0] == '+' || text[0] == '-')
        throw BadInput(quotedText(text) + ": signs are not accepted, give the digits of a non-negative number");
    size_t position = 1;
    for (size_t offset = 0; offset < text.size(); ++position) {
        if (text[offset] >= '0' && text[offset] <= '9') {
            ++offset;
            continue;
        }
        const ShownCharacter c = characterAt(text, offset);
        throw BadInput(quotedText(text) + " is not a decimal number: character '" + c.shown + "' at position " +
                       std::to_string(position));
    }
    if (static_cast<int64_t>(text.size()) > kMostDigits)
        throw BadInput(tooManyDigits("the number"));
    return withoutLeadingZeros(text);
}

bool isWhiteSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

// Reads one number from a stream chunk by chunk: white space, digits, white
// space. Memory is the digits kept, whatever the stream's length.
class NumberReader {
public:
    explicit NumberReader(std::string source) : source_(std::move(source)) {}

    std::string read(std::FILE* stream)
    {
        std::unique_ptr<char[]> chunk(new char[kChunkBytes + 4]);
        size_t got;
        while ((got = std::fread(chunk.get(), 1, kChunkBytes, stream)) > 0) {
            if (firstChunk_ && got >= 3 && std::memcmp(chunk.get(), "\xEF\xBB\xBF", 3) == 0)
                take(chunk.get() + 3, got - 3, stream);  // a byte-order mark, as editors write it
            else
                take(chunk.get(), got, stream);
            firstChunk_ = false;
        }
        if (std::ferror(stream))
            throw BadInput("cannot read " + source_ + ": " + std::strerror(errno));
        if (digits_.empty())
            throw BadInput(source_ + " holds no digits");
        return withoutLeadingZeros(std::move(digits_));
    }

private:
    enum class Place { Before, InDigits, After };

    void take(const char* bytes, size_t size, std::FILE* stream)
    {
        size_t runStart = 0;
        for (size_t i = 0; i < size; ++i) {
            const char c = bytes[i];
            if (c >= '0' && c <= '9') {
                if (place_ == Place::After)
                    throw BadInput(source_ + " holds a second number at " + where() +
                                   "; give one number (white space may only surround it)");
                if (place_ == Place::Before)
                    runStart = i;
                place_ = Place::InDigits;
                ++column_;
                continue;
            }
            if (place_ == Place::InDigits)
                keep(bytes + runStart, i - runStart);
            if (!isWhiteSpace(c))
                refuse(bytes, size, i, stream);
            place_ = place_ == Place::Before ? Place::Before : Place::After;
            runStart = i + 1;
            if (c == '\n') {
                ++line_;
                column_ = 1;
            } else {
                ++column_;
            }
        }
        if (place_ == Place::InDigits)
            keep(bytes + runStart, size - runStart);
    }

    void keep(const char* digits, size_t count)
    {
        if (static_cast<int64_t>(digits_.size() + count) > kMostDigits)
            throw BadInput(tooManyDigits(source_));
        digits_.append(digits, count);
    }

    [[noreturn]] void refuse(const char* bytes, size_t size, size_t at, std::FILE* stream)
    {
        // The whole UTF-8 sequence of the character, even across chunks.
        std::string around(bytes + at, std::min<size_t>(4, size - at));
        while (around.size() < 4) {
            const int next = std::fgetc(stream);
            if (next == EOF)
                break;
            around.push_back(static_cast<char>(next));
        }
        throw BadInput(source_ + " is not one decimal number: character '" + characterAt(around, 0).shown + "' at " +
                       where());
    }

    std::string where() const { return "line " + std::to_string(line_) + ", column " + std::to_string(column_); }

    std::string source_;
    std::string digits_;
    Place place_ = Place::Before;
    bool firstChunk_ = true;
    int64_t line_ = 1;
    int64_t column_ = 1;
};

std::string fileNumber(const std::string& path)
{
    if (path.empty())
        throw BadInput("'@' must be followed by a file name");
    struct stat info {};
    if (stat(path.c_str(), &info) != 0)
        throw BadInput("cannot open " + quotedText(path) + ": " + std::strerror(errno));
    if (S_ISDIR(info.st_mode))
        throw BadInput(quotedText(path) + " is a directory, not a number file");
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), std::fclose);
    if (!file)
        throw BadInput("cannot open " + quotedText(path) + ": " + std::strerror(errno));
    return NumberReader(quotedText(path)).read(file.get());
}

}  // namespace

std::string readNumberArgument(const std::string& argument)
{
    if (argument == "-")
        return NumberReader("standard input").read(stdin);
    if (!argument.empty() && argument[0] == '@')
        return fileNumber(argument.substr(1));
    return typedNumber(argument);
}

}  // namespace cli
