#pragma once
// The 51 entries the parameters file keeps after its three numbers: the work
// directory, the nine Limits as last applied, then entries the program only
// carries from file to file.
#include <array>
#include <string>

namespace shell {

class ParameterTable {
public:
    static constexpr int kEntries = 51;

    std::string& workDirectory() { return entry(1); }
    // Limit 1..9, as text.
    std::string& limitText(int limit) { return entry(limit + 1); }
    // Entry 1..51, numbered as in the file.
    std::string& entry(int number) { return entries_.at(static_cast<size_t>(number - 1)); }
    const std::string& entry(int number) const { return entries_.at(static_cast<size_t>(number - 1)); }

private:
    std::array<std::string, kEntries> entries_;
};

}  // namespace shell
