// verify-cert: checks a primality certificate in PARI's form (what prove
// --cert writes) and says which number it proves prime.
#include <CLI/CLI.hpp>
#include <chrono>

#include "cli/command.h"
#include "cli/failure.h"
#include "cli/json_result.h"
#include "cli/progress.h"
#include "pari_library/primality_certificate.h"
#include "storage/whole_file.h"

namespace cli {

namespace {

class VerifyCertCommand : public Command {
public:
    void describe(CLI::App& entry) override
    {
        entry.add_option("file", path_, "the certificate in PARI's form (prove --cert FILE writes it)")->required();
    }

    ExitStatus run(RunContext& context) override
    {
        const auto start = std::chrono::steady_clock::now();
        std::string text;
        storage::FileReadStatus status = storage::readWholeFile(path_, text);
        if (status != storage::FileReadStatus::Read)
            throw BadInput("cannot read " + path_ + ": " + storage::describe(status));
        if (text.find("[Candidate]") != std::string::npos)
            throw BadInput(path_ + " is in the exchange format, which other provers check; verify-cert reads the "
                                   "PARI form written beside it");

        Progress progress("verify-cert", context.style.quiet);
        progress.stage("checking the certificate");
        pari_library::CertificateCheck check = pari_library::checkCertificate(text);
        progress.finish();
        using Result = pari_library::CertificateCheck::Result;
        if (check.result == Result::NotACertificate)
            throw BadInput(path_ + " is not a certificate: " + check.problem);
        const bool valid = check.result == Result::Valid;

        if (!context.style.json) {
            printLine(shownNumber(check.number, context.style) +
                      (valid ? " prime: the certificate holds" : " undecided: the certificate does not hold"));
        } else {
            JsonResult json("verify-cert", context.style);
            json.number("number", check.number).field("digits", check.number.size()).field("valid", valid);
            json.print(start);
        }
        return valid ? ExitFound : ExitUndecided;
    }

private:
    std::string path_;
};

}  // namespace

std::unique_ptr<Command> makeVerifyCertCommand() { return std::make_unique<VerifyCertCommand>(); }

}  // namespace cli
