#include "engine/digit_positions.h"

#include <array>
#include <cstdio>

namespace engine {

namespace {

constexpr size_t kListWidth = 70;

// Positions are appended only while the text is shorter than what is shown,
// so a limit of 1000 costs no more than the 70 characters it prints.
void appendPosition(std::string& list, int64_t position)
{
    if (list.size() < kListWidth) {
        list += std::to_string(position);
        list += ' ';
    }
}

}  // namespace

int64_t positionLimit(int64_t asked) { return asked <= 0 || asked > kMaxPositionsShown ? kMaxPositionsShown : asked; }

std::string digitPositionLine(std::string_view number, int64_t digit, int64_t limit)
{
    if (number.empty())
        return {};
    // A digit beyond every byte value matches nothing; '0' + digit would
    // overflow for the largest answers.
    const bool aByte = digit >= -'0' && digit <= 255 - '0';
    const int64_t code = aByte ? '0' + digit : -1;
    const int64_t length = static_cast<int64_t>(number.size());
    limit = positionLimit(limit);

    int64_t count = 0;
    int64_t firstStored = 0;
    std::string firstList;
    for (int64_t p = 1; p <= length; ++p) {
        if (static_cast<unsigned char>(number[p - 1]) != code)
            continue;
        ++count;
        if (firstStored < limit) {
            ++firstStored;
            appendPosition(firstList, p);
        }
    }

    // The backward pass stops at the occurrence that would be one too many;
    // its list runs from the largest distance down, so it is built in a table.
    std::array<int64_t, kMaxPositionsShown> lastDistances;
    int64_t lastStored = 0;
    for (int64_t q = 1; q <= length && lastStored < limit; ++q)
        if (static_cast<unsigned char>(number[length - q]) == code)
            lastDistances[lastStored++] = q;
    std::string lastList;
    for (int64_t k = lastStored - 1; k >= 0; --k)
        appendPosition(lastList, lastDistances[k]);

    const float percent = static_cast<float>(count) * 100.0f / static_cast<float>(length);
    char percentText[32];
    std::snprintf(percentText, sizeof percentText, "%.5f", static_cast<double>(percent));

    std::string line = "D";
    line.append(std::to_string(digit)).append(": ").append(std::to_string(count)).append(" ");
    line.append(percentText).append("% F: ").append(firstList, 0, kListWidth);
    line.append(" L: ").append(lastList, 0, kListWidth);
    return line;
}

}  // namespace engine
