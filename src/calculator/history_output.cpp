#include "calculator/history_output.h"

#include "engine/decimal_views.h"
#include "ui/control_ids.h"
#include "shell/control_lock.h"
#include "shell/number_display.h"
#include "shell/time_texts.h"
#include "shell/word_table.h"

namespace calculator {

namespace {

constexpr int kHistoryWordOffset = 10;

bool autoUndo(shell::AppContext& ctx) { return ctx.controls.checked(ui::ControlId::AutoUndo); }

QString historyWord(int code) { return shell::word(code + kHistoryWordOffset); }

QString firstLine(shell::AppContext& ctx, const OperationRecord& record)
{
    const QString digits = QString::number(ctx.state.digitCount());
    if (record.abandoned)
        return shell::word(*record.abandoned) + QStringLiteral(" - no new number ") + historyWord(record.code) +
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
