#pragma once
// The JSON object of one result, with the field names every subcommand
// shares (docs/cli.md lists them): "command" first; a number as a string,
// under --short as head...tail, and then "shortened": true; "seconds" last.
#include <chrono>
#include <string>
#include <string_view>

#include "cli/command.h"
#include "cli/result_output.h"

namespace cli {

class JsonResult {
public:
    JsonResult(std::string_view command, const OutputStyle& style);

    // A number given as its digits; shown whole or, under --short, as head...tail.
    JsonResult& number(const char* key, const std::string& digits);
    JsonResult& field(const char* key, Json value);
    Json& object() { return object_; }
    // The number as this object shows it (also for numbers inside arrays).
    Json shown(const std::string& digits);

    // Adds "shortened", "seconds" since the start and prints the line.
    void print(std::chrono::steady_clock::time_point start);

private:
    const OutputStyle& style_;
    Json object_;
    bool shortened_ = false;
};

// Seconds since start, to the millisecond.
[[nodiscard]] double secondsSince(std::chrono::steady_clock::time_point start);

}  // namespace cli
