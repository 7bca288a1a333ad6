#include "cli/number_input.h"

#include <cerrno>
#include <cstring>
#include <iostream>
#include <iterator>
#include <sys/stat.h>

#include "engine/decimal_text.h"
#include "storage/whole_file.h"

namespace cli {

namespace {

std::string withoutLeadingZeros(std::string digits)
{
    size_t first = digits.find_first_not_of('0');
    if (first == std::string::npos)
        return "0";
    digits.erase(0, first);
    return digits;
}

void checkLength(const std::string& digits, const std::string& source)
{
    if (static_cast<int64_t>(digits.size()) > kMostDigits)
        throw BadInput(source + " has " + std::to_string(digits.size()) + " digits; at most " +
                       std::to_string(kMostDigits) + " are accepted");
}

std::string typedNumber(const std::string& text)
{
    if (text.empty())
        throw BadInput("the number is empty");
    if (text[0] == '+' || text[0] == '-')
        throw BadInput("'" + text + "': signs are not accepted, give the digits of a non-negative number");
    for (size_t i = 0; i < text.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        if (c < '0' || c > '9')
            throw BadInput("'" + text + "' is not a decimal number: character '" + std::string(1, text[i]) +
                           "' at position " + std::to_string(i + 1));
    }
    checkLength(text, "the number");
    return withoutLeadingZeros(text);
}

std::string fileNumber(const std::string& path)
{
    if (path.empty())
        throw BadInput("'@' must be followed by a file name");
    struct stat info {};
    if (stat(path.c_str(), &info) != 0)
        throw BadInput("cannot open '" + path + "': " + std::strerror(errno));
    if (S_ISDIR(info.st_mode))
        throw BadInput("'" + path + "' is a directory, not a number file");
    std::string digits;
    const storage::FileReadStatus status = storage::readDigitsOfFile(path, digits);
    if (status != storage::FileReadStatus::Read)
        throw BadInput("cannot read '" + path + "': " + storage::describe(status));
    if (digits.empty())
        throw BadInput("'" + path + "' holds no digits");
    checkLength(digits, "'" + path + "'");
    return withoutLeadingZeros(std::move(digits));
}

std::string standardInputNumber()
{
    std::string text((std::istreambuf_iterator<char>(std::cin)), std::istreambuf_iterator<char>());
    engine::digitsFilter(text);
    if (text.empty())
        throw BadInput("standard input holds no digits");
    checkLength(text, "standard input");
    return withoutLeadingZeros(std::move(text));
}

}  // namespace

std::string readNumberArgument(const std::string& argument)
{
    if (argument == "-")
        return standardInputNumber();
    if (!argument.empty() && argument[0] == '@')
        return fileNumber(argument.substr(1));
    return typedNumber(argument);
}

void checkDigitCount(int64_t digits, const char* what)
{
    if (digits < kFewestDigits || digits > kMostDigits)
        throw BadInput(std::string(what) + " " + std::to_string(digits) + " is out of range: " +
                       std::to_string(kFewestDigits) + " to " + std::to_string(kMostDigits) + " digits");
}

}  // namespace cli
