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

int main(int argc, char** argv)
{
    auto started = std::chrono::steady_clock::now();
    prp::ParsedArguments arguments = prp::parseArguments(argc, argv);
    if (!arguments.ok) {
        prp::note("Error: %s", arguments.error.c_str());
        prp::note("Usage: %s [-k] [-T<n>] [-C<seconds>] [-f|-f<n>] [-o] [-b<base>]... [-proof P] [-tm] [-s<n>] [-d] <number file>",
                  argv[0]);
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
