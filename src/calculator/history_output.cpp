#include "calculator/history_output.h"

#include "engine/decimal_views.h"
#include "ui/control_ids.h"
#include "shell/control_lock.h"
#include "shell/number_display.h"
#include "shell/time_texts.h"
#include "shell/verdict_text.h"

namespace calculator {

namespace {

bool autoUndo(shell::AppContext& ctx) { return ctx.controls.checked(ui::ControlId::AutoUndo); }

QString historyWord(const Operation* op) { return op ? QString::fromLatin1(op->historyWord) : QString(); }

bool showsValue(const Operation* op) { return op && op->value != ValueShown::None; }

QString firstLine(shell::AppContext& ctx, const OperationRecord& record)
{
    const QString digits = QString::number(ctx.state.digitCount());
    if (record.abandoned)
        return shell::verdictText(engine::verdictOfAbandoned(*record.abandoned)) + QStringLiteral(" - no new number ") + historyWord(record.op) +
               QStringLiteral("; the number with ") + digits + QStringLiteral(" digits is unchanged");
    QString suffix = record.suffix;
    if (autoUndo(ctx))
        suffix = record.op && !record.op->autoUndoHint
                     ? QStringLiteral(", was calculated")
                     : QStringLiteral(", was calculated; disable Auto Undo to keep it in memory");
    return QStringLiteral("New number with ") + digits + QStringLiteral(" digits ") + historyWord(record.op) +
           record.note + suffix;
}

}  // namespace

void writeHistory(shell::AppContext& ctx, OperationRecord& record)
{
    ui::ResultsList& results = ctx.results;
    record.wait.remove(ctx);
    results.add(firstLine(ctx, record));
    if (!autoUndo(ctx))
        shell::showCurrentNumberStatus(ctx);
    results.add(shell::numberLine(ctx, ctx.state.currentNumber));
    if (showsValue(record.op))
        results.add(QStringLiteral("Value used ") + shell::latin1(record.valueView));
    results.scrollToEnd();
    if (record.op && record.op->searchesPrime())
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
