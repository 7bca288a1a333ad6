#pragma once
// The entries of the test-mode list beside " Run> PRP/Pfgw": what the list
// shows and the switches each entry adds to the tester's base switches
// " -k -T4 ". The list is built from this table, the run reads its switches
// here, and the parameters file keeps the entry's index.
#include <iterator>
#include <string_view>

namespace ui {

struct TestMode {
    const char* caption;
    std::string_view switches;
};

inline constexpr TestMode kTestModes[] = {
    {.caption = "Trial division only ( fast )", .switches = "-o -f "},
    {.caption = "PRP test only ( no trial div )", .switches = "-f0 "},
    {.caption = "Trial + PRP ( complete )", .switches = "-f -s0 "},
    {.caption = "Trial only - extended to 10^9", .switches = "-o -f1000 -s0 "},
    {.caption = "PRP multi-base 2+3+5", .switches = "-f0 -b2 "},
    {.caption = "PRP base 3 only", .switches = "-f0 -b3 "},
    {.caption = "PRP base 5 only", .switches = "-f0 -b5 "},
    {.caption = "PRP bases 2+3 sequential", .switches = "-f0 -b2 -b3 "},
    {.caption = "Mersenne LL test (deterministic)", .switches = "-tm "},
    {.caption = "Factor deep scan to 10^9", .switches = "-o -f1000 -d -s0 "},
};

// The entry selected at start-up: "PRP test only ( no trial div )".
inline constexpr int kStartTestMode = 1;

// The switches of the entry at index; none for an index outside the list.
constexpr std::string_view testModeSwitches(int index)
{
    return index >= 0 && index < static_cast<int>(std::size(kTestModes)) ? kTestModes[index].switches
                                                                           : std::string_view();
}

}  // namespace ui
