#include "analysis/digit_commands.h"

#include "engine/checked_integer.h"
#include "engine/digit_positions.h"
#include "engine/digit_statistics.h"
#include "engine/decimal_text.h"
#include "ui/control_ids.h"
#include "shell/number_display.h"
#include "shell/time_texts.h"

namespace analysis {

namespace {

using shell::AppContext;
using shell::latin1;

// Segment ends as typed or loaded, held well inside int64_t so that the
// lengths and differences worked out from them stay exact.
constexpr engine::IntegerRange kSegmentEnds{-1'000'000'000'000'000, 1'000'000'000'000'000};
// "How many positions": 0 and anything beyond 1000 mean 1000.
constexpr engine::IntegerRange kPositionCounts{0, engine::kMaxPositionsShown + 1};

int64_t segmentEnd(AppContext& ctx, int id)
{
    return engine::leadingIntegerClamped(ctx.controls.text(id).toStdString(), kSegmentEnds);
}

// The digit asked for, or nothing for an answer that is not one of 0..9.
std::optional<int64_t> askedDigit(const QString& answer) { return engine::wholeIntegerIn(answer.toStdString(), {0, 9}); }

void addTable(AppContext& ctx, const engine::DigitTable& table, int64_t end)
{
    ctx.results.add(latin1(engine::digitTableHeader()));
    for (const std::string& row : engine::digitTableRows(table, end))
        ctx.results.add(latin1(row));
}

void digitStatistics(AppContext& ctx)
{
    const std::string& number = ctx.state.currentNumber;
    if (number.empty())
        return;
    // A segment typed beyond the number is scanned, and reported, as the part
    // that lies inside it.
    const engine::Segment segment = engine::clampSegment(segmentEnd(ctx, ui::ControlId::SegmentStart),
                                         segmentEnd(ctx, ui::ControlId::SegmentEnd), ctx.state.digitCount());
    const int64_t started = ctx.nowMs();
    const engine::DigitTable forward = engine::scanDigits(number, segment, engine::ScanDirection::Forward);

    ctx.results.clearStartupNotes();
    ctx.results.add(shell::numberLine(ctx, number));
    ctx.results.add(QStringLiteral("Total digits: ") + QString::number(number.size()));
    ctx.results.add(latin1(engine::segmentLine(segment)));
    addTable(ctx, forward, segment.end);
    ctx.results.add(latin1(engine::digitTotalLine(forward)));
    ctx.results.add(QString());
    ctx.results.add(QStringLiteral("This statistic, once we have a number,is useless; it's only useful for observing and "
                                   "discovering anomalous"));
    ctx.results.add(QStringLiteral("patterns that were forced. It's only used during the program's creation of the "
                                   "number. Done in ") +
                    shell::elapsedSeconds(ctx.nowMs() - started) + QStringLiteral(" s"));
    ctx.results.add(QString());

    const engine::DigitTable backward = engine::scanDigits(number, segment, engine::ScanDirection::Backward);
    ctx.results.add(QStringLiteral("Segment analyzed from digit %1 to %2 (Reverse direction)")
                        .arg(segment.end)
                        .arg(segment.start));
    addTable(ctx, backward, segment.end);
    ctx.results.addSeparator();
    ctx.results.scrollToEnd();
}

void analyzePositions(AppContext& ctx)
{
    const std::string& number = ctx.state.currentNumber;
    if (number.empty()) {
        ctx.dialogs.message(QStringLiteral("Problem!"),
                            QStringLiteral("You need to have a number stored in the program's memory."));
        return;
    }
    const QString title = QStringLiteral("Analyze digit positions");
    std::optional<QString> digitAnswer =
        ctx.dialogs.inputText(title, QStringLiteral("Which digit to analyze? (0-9 or ALL):"), QStringLiteral("ALL"));
    if (!digitAnswer || digitAnswer->isEmpty())
        return;
    const bool allDigits = digitAnswer->trimmed().toUpper() == QLatin1String("ALL");
    const std::optional<int64_t> digit = askedDigit(*digitAnswer);
    if (!allDigits && !digit) {
        ctx.dialogs.message(QStringLiteral("Problem!"), QStringLiteral("The digit to analyze is one of 0-9 or ALL, not \"") +
                                                            *digitAnswer + QStringLiteral("\"."));
        return;
    }
    std::optional<QString> limitAnswer = ctx.dialogs.inputText(
        title, QStringLiteral("How many positions to show?\r(max 1000, 0 = use statistics result):"),
        QStringLiteral("50"));
    if (!limitAnswer || limitAnswer->isEmpty())
        return;
    const int64_t limit = engine::leadingIntegerClamped(limitAnswer->toStdString(), kPositionCounts);

    const int64_t started = ctx.nowMs();
    ctx.results.clearStartupNotes();
    ctx.results.add(QStringLiteral("Analyzing positions in ") + QString::number(number.size()) +
                    QStringLiteral(" digits on first/last ") + *limitAnswer);
    ctx.processPendingEvents();

    if (allDigits) {
        for (int d = 0; d <= 9; ++d)
            ctx.results.add(latin1(engine::digitPositionLine(number, d, limit)));
    } else {
        ctx.results.add(latin1(engine::digitPositionLine(number, *digit, limit)));
    }

    ctx.results.add(QStringLiteral("Done in ") + shell::elapsedSeconds(ctx.nowMs() - started) + QStringLiteral(" s"));
    ctx.results.scrollToEnd();
    ctx.results.addSeparator();
    ctx.results.scrollToEnd();
}

}  // namespace

void registerDigitCommands(shell::Dispatcher& d)
{
    d.on(ui::ControlId::DigitStatistics, digitStatistics);
    d.on(ui::ControlId::Analyze, analyzePositions);
}

}  // namespace analysis
