// The probable-prime tester: reads a number from the file named last on the
// command line, tests it as the switches ask and prints one result line.
// Usage and exit statuses: README.md in this folder.
#include <chrono>
#include <cstdio>
#include <exception>
#include <new>

#include "arguments.h"
#include "number_file.h"
#include "process_guards.h"
#include "progress.h"
#include "tester_run.h"

namespace {

constexpr const char* kProgramName = "pfgw64_133mm.exe";

}  // namespace

int main(int argc, char** argv)
{
    auto started = std::chrono::steady_clock::now();
    arithmetic::StopRequest& stop = prp::installProcessGuards();
    if (argc <= 1) {
        std::fputs(prp::usageText(kProgramName).c_str(), stderr);
        return prp::kExitError;
    }
    prp::ParsedArguments arguments = prp::parseArguments(argc, argv);
    if (!arguments.ok) {
        prp::note("Error: %s; usage: %s", arguments.error.c_str(), prp::usageSynopsis(kProgramName).c_str());
        return prp::kExitError;
    }
    // Whatever fails below ends as one line and status 5: a test that
    // cannot run says so, it never ends by a signal or with a false verdict.
    try {
        prp::NumberText number = prp::readNumberFile(arguments.options.numberFile);
        if (!number.ok) {
            prp::note("Error: %s", number.error.c_str());
            return prp::kExitError;
        }
        prp::note("Testing a number of %zu digits from %s", number.digits.size(),
                  arguments.options.numberFile.c_str());
        prp::RunOutcome outcome = prp::runTester(arguments.options, number.digits, started, stop);
        if (outcome.resultLine.empty())
            return outcome.exitStatus;
        // A result line that cannot be written is no result (a full disk, a
        // closed pipe): the caller must not take the status for a verdict.
        if (std::printf("%s\n", outcome.resultLine.c_str()) < 0 || std::fflush(stdout) != 0) {
            prp::note("Error: cannot write the result line to standard output");
            return prp::kExitError;
        }
        return outcome.exitStatus;
    } catch (const std::bad_alloc& error) {
        prp::note("Error: not enough memory (%s)", error.what());
    } catch (const std::exception& error) {
        prp::note("Error: %s", error.what());
    }
    return prp::kExitError;
}
