// The probable-prime tester: reads a number from the file named last on the
// command line, tests it as the switches ask and prints one result line.
// Usage and exit statuses: README.md in this folder.
#include <chrono>
#include <cstdio>
#include <stdexcept>

#include "arguments.h"
#include "number_file.h"
#include "progress.h"
#include "tester_run.h"

namespace {

constexpr const char* kProgramName = "pfgw64_133mm.exe";

}  // namespace

int main(int argc, char** argv)
{
    auto started = std::chrono::steady_clock::now();
    if (argc <= 1) {
        std::fputs(prp::usageText(kProgramName).c_str(), stderr);
        return prp::kExitError;
    }
    prp::ParsedArguments arguments = prp::parseArguments(argc, argv);
    if (!arguments.ok) {
        prp::note("Error: %s; usage: %s", arguments.error.c_str(), prp::usageSynopsis(kProgramName).c_str());
        return prp::kExitError;
    }
    prp::NumberText number = prp::readNumberFile(arguments.options.numberFile);
    if (!number.ok) {
        prp::note("Error: %s", number.error.c_str());
        return prp::kExitError;
    }
    prp::note("Testing a number of %zu digits from %s", number.digits.size(), arguments.options.numberFile.c_str());
    prp::RunOutcome outcome;
    try {
        outcome = prp::runTester(arguments.options, number.digits, started);
    } catch (const std::runtime_error& error) {
        prp::note("Error: %s", error.what());
        return prp::kExitError;
    }
    std::printf("%s\n", outcome.resultLine.c_str());
    return outcome.exitStatus;
}
