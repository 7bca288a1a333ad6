#pragma once
// Results go to standard output through these, and every write is checked:
// a result that never reached its reader is a failure (exit 4), whether the
// disk is full, the pipe was closed or standard output was never open.
#include <nlohmann/json.hpp>
#include <string_view>

namespace cli {

// Field order as written, so that "command" leads every object.
using Json = nlohmann::ordered_json;

// Makes the three standard descriptors safe to use: a closed one is held by
// /dev/null, so that no file the program opens takes its number; a closed
// standard output is remembered and fails the first result written. A write
// to a closed pipe fails with EPIPE instead of ending the process.
void guardStandardStreams();

// One result line, written and flushed; throws InternalFailure when it fails.
void printLine(std::string_view text);
// One JSON object on a line of its own.
void printJson(const Json& object);
// Text as it is (help texts), checked as printLine.
void printText(std::string_view text);

// The JSON text of an object: UTF-8 as it is, a byte that is not UTF-8
// replaced, numbers of any length kept as the strings they are given as.
std::string jsonText(const Json& object);

}  // namespace cli
