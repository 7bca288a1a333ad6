#pragma once
// Exit statuses of quendrolt-cli; scripts read them, so they never change
// meaning (the man page lists them).
namespace cli {

// [[nodiscard]]: a status that is computed and dropped is a lost answer.
enum [[nodiscard]] ExitStatus : int {
    ExitFound = 0,          // prime, found, factored completely, statistics written
    ExitComposite = 1,      // composite, or a composite cofactor is left
    ExitBadInput = 2,       // the arguments or the number were not usable
    ExitInterrupted = 3,    // Ctrl+C, SIGTERM or SIGHUP
    ExitInternalError = 4,  // the tester, another process or the output failed, no answer
    ExitUndecided = 5,      // the test or the factoring reached no verdict within its limit
};

}  // namespace cli
