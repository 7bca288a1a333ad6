#include "primality/factor_command.h"

#include "engine/decimal_text.h"
#include "engine/trial_factorization.h"
#include "shell/time_texts.h"

namespace primality {

namespace {

// Above this many digits factoring may run long, whatever the limit says.
constexpr int64_t kDigitsWithoutWarning = 50;

QString factorLine(const engine::TrialFactorization& found)
{
    QString line = shell::latin1(found.factors);
    if (found.compositeRemainder)
        line += QStringLiteral(" (the part in brackets is composite and was not factored)");
    else if (found.onlyFactorIsTheNumber)
        line += QStringLiteral(" It could be a prime number.");
    return line;
}

}  // namespace

void factorCurrentNumber(shell::AppContext& ctx)
{
    const QString problem = QStringLiteral("Problem!");
    const int64_t digits = ctx.state.digitCount();
    const int64_t limit = ctx.state.limits[engine::DigitsFactorization];
    if (digits > limit) {
        ctx.dialogs.message(problem, QStringLiteral("Factorization only for numbers up to ") +
                                         shell::withThousands(limit) + QStringLiteral(" digits!"));
        return;
    }
    if (digits > kDigitsWithoutWarning &&
        ctx.dialogs.askYesNo(problem, QStringLiteral("Warning: factorization may take a long time. Continue?")) !=
            ui::Answer::Yes)
        return;
    if (digits == 0) {
        ctx.dialogs.message(problem, QStringLiteral("You need to have a number stored in the program's memory."));
        return;
    }

    engine::BigInt n;
    engine::setFromDecimal(n, ctx.state.currentNumber);
    const int64_t startMs = ctx.nowMs();
    engine::TrialFactorization found = engine::factorByTrialDivision(n);
    ctx.results.add(QStringLiteral("Factorization of ") + shell::latin1(ctx.state.currentNumber) + QStringLiteral(" in ") +
                    shell::elapsedSeconds(ctx.nowMs() - startMs) + QStringLiteral(" s"));
    ctx.results.add(factorLine(found));
    ctx.results.addSeparator();
    ctx.results.scrollToEnd();
}

}  // namespace primality
