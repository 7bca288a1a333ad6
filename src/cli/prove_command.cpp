// prove: the number proven prime (an elliptic-curve certificate from PARI,
// or the Lucas-Lehmer test for 2^q - 1) or composite (with its witness).
#include <CLI/CLI.hpp>
#include <chrono>

#include "cli/command.h"
#include "cli/failure.h"
#include "cli/json_result.h"
#include "cli/number_input.h"
#include "cli/primality_proving.h"
#include "cli/progress.h"
#include "engine/decimal_text.h"

namespace cli {

namespace {

class ProveCommand : public Command {
public:
    void describe(CLI::App& entry) override
    {
        entry.add_option("number", number_, kNumberHelp)->required();
        entry.add_option("--cert", certificatePath_,
                         "write the certificate to FILE (PARI's form) and FILE.exchange (the exchange format)");
    }

    ExitStatus run(RunContext& context) override
    {
        const auto start = std::chrono::steady_clock::now();
        const std::string digits = readNumberArgument(number_);
        engine::BigInt n;
        engine::setFromDecimal(n, digits);
        if (n.compare(2UL) < 0)
            throw BadInput(digits + " is below 2: neither prime nor composite");

        Progress progress("prove", context.style.quiet);
        ProvenVerdict verdict = provePrimality(n, [&](const std::string& stage, double fraction) {
            progress.stage(stage);
            progress.update(fraction);
        });
        progress.finish();
        std::string written;
        if (verdict.prime && !certificatePath_.empty()) {
            if (verdict.certificate) {
                writeCertificateFiles(certificatePath_, *verdict.certificate);
                written = certificatePath_;
            } else {
                progress.note("prove: no certificate file: the " + verdict.method + " is its own proof");
            }
        }

        if (!context.style.json) {
            printLine(shownNumber(digits, context.style) + " " + verdictText(verdict));
        } else {
            JsonResult json("prove", context.style);
            json.number("number", digits)
                .field("digits", digits.size())
                .field("prime", verdict.prime)
                .field("method", verdict.method);
            if (!verdict.prime)
                json.field("witness", verdict.witness);
            if (!written.empty())
                json.field("certificate", written);
            json.print(start);
        }
        return verdict.prime ? ExitFound : ExitComposite;
    }

private:
    std::string number_;
    std::string certificatePath_;
};

}  // namespace

std::unique_ptr<Command> makeProveCommand() { return std::make_unique<ProveCommand>(); }

}  // namespace cli
