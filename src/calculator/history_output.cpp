#include "calculator/history_output.h"

#include <iterator>

#include "engine/decimal_views.h"
#include "ui/control_ids.h"
#include "shell/control_lock.h"
#include "shell/number_display.h"
#include "shell/time_texts.h"
#include "shell/verdict_text.h"

namespace calculator {

namespace {

// "through ..." for the operation codes 1..21, in code order.
constexpr const char* kThroughOperation[] = {
    "through addition",           "through subtraction",         "through division",
    "through multiplication",     "through power",               "through root",
    "through next prime",         "through previous prime",      "through mod",
    "through GCD",                "through shift left (* 2^n)",  "through shift right (/ 2^n)",
    "through reverse function",   "through *10",                 "through /10",
    "through +UI",                "through LCM",                 "through Concat",
    "through GCF M",              "through Root Rem",            "through Logx(n)",
};

bool autoUndo(shell::AppContext& ctx) { return ctx.controls.checked(ui::ControlId::AutoUndo); }

QString historyWord(int code)
{
    constexpr int count = static_cast<int>(std::size(kThroughOperation));
    return code >= 1 && code <= count ? QString::fromLatin1(kThroughOperation[code - 1]) : QString();
}

QString firstLine(shell::AppContext& ctx, const OperationRecord& record)
{
    const QString digits = QString::number(ctx.state.digitCount());
    if (record.abandoned)
        return shell::verdictText(engine::verdictOfAbandoned(*record.abandoned)) + QStringLiteral(" - no new number ") + historyWord(record.code) +
               QStringLiteral("; the number with ") + digits + QStringLiteral(" digits is unchanged");
    QString suffix = record.suffix;
    if (autoUndo(ctx))
        suffix = record.code == RootRem ? QStringLiteral(", was calculated")
                                        : QStringLiteral(", was calculated; disable Auto Undo to keep it in memory");
    return QStringLiteral("New number with ") + digits + QStringLiteral(" digits ") + historyWord(record.code) +
           record.note + suffix;
}

}  // namespace

bool takesValue(int code) { return code >= 1 && code <= kOperationCount && operation(OperationCode(code)).takesValue; }

void writeHistory(shell::AppContext& ctx, OperationRecord& record)
{
    ui::ResultsList& results = ctx.results;
    record.wait.remove(ctx);
    results.add(firstLine(ctx, record));
    if (!autoUndo(ctx))
        shell::showCurrentNumberStatus(ctx);
    results.add(shell::numberLine(ctx, ctx.state.currentNumber));
    if (takesValue(record.code))
        results.add(QStringLiteral("Value used ") + shell::latin1(record.valueView));
    results.scrollToEnd();
    if (record.code == NextPrime || record.code == PreviousPrime)
        results.add(shell::completionLine(ctx.nowMs() - record.startMs, ctx.clock.localNow()));
    results.addSeparator();
    results.scrollToEnd();
}

void finishOperation(shell::AppContext& ctx, const OperationRecord& record)
{
    ctx.processPendingEvents();
    shell::AppState& state = ctx.state;
    if (autoUndo(ctx)) {
        if (record.kind == ResultKind::Text)
            state.currentNumber = engine::canonicalDecimal(state.undoCopy);
        else if (!state.undoCopy.empty()) {
            state.currentNumber.swap(state.undoCopy);
            state.undoCopy.clear();
        }
    }
    shell::numberChanged(ctx, state.digitCount());
    shell::setControlLock(ctx, false);
}

}  // namespace calculator
