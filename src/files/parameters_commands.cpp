#include "files/parameters_commands.h"

#include <algorithm>

#include <QFile>
#include <QFileInfo>

#include "shell/operand_row.h"
#include "engine/checked_integer.h"
#include "engine/decimal_text.h"
#include "engine/worker_run.h"
#include "storage/parameters_record.h"
#include "files/save_dialog.h"
#include "ui/control_ids.h"
#include "shell/number_display.h"
#include "shell/time_texts.h"

namespace files {

namespace {

// "1" or "0". (Built from a char: GCC 12 warns falsely on literal assignment here.)
std::string flagText(bool on) { return std::string(1, on ? '1' : '0'); }

using shell::AppContext;

constexpr size_t kLargeNumberDigits = 100000;
constexpr int kFinalDigitBoxes[] = {ui::ControlId::FinalDigit1, ui::ControlId::FinalDigit3, ui::ControlId::FinalDigit7, ui::ControlId::FinalDigit9};
constexpr int kSwitchLines[][2] = {{storage::qdx::AllowReturm, ui::ControlId::AllowReturm},
                                   {storage::qdx::OnSegment, ui::ControlId::OnSegment},
                                   {storage::qdx::Phi, ui::ControlId::Phi},
                                   {storage::qdx::Mersenne, ui::ControlId::Mersenne}};
constexpr int kTextLines[][2] = {{storage::qdx::TotalDigits, ui::ControlId::TotalDigits},   {storage::qdx::WorkDirectory, ui::ControlId::WorkDirectory},
                                 {storage::qdx::BlockSize, ui::ControlId::BlockSize},       {storage::qdx::Segment, ui::ControlId::Segment},
                                 {storage::qdx::SegmentStart, ui::ControlId::SegmentStart}, {storage::qdx::SegmentEnd, ui::ControlId::SegmentEnd},
                                 {storage::qdx::YourNumber, ui::ControlId::YourNumber},     {storage::qdx::Signature, ui::ControlId::Signature},
                                 {storage::qdx::IconicDigit, ui::ControlId::IconicDigit}};

std::string bytes(const QString& text) { return text.toLatin1().toStdString(); }
QString fromBytes(const std::string& text) { return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())); }
std::string localPath(const QString& path) { return QFile::encodeName(path).toStdString(); }

bool worthSaving(const std::string& number) { return !number.empty() && number != "0"; }

QString largeNumberNote(const char* what, size_t digits)
{
    return QString::fromLatin1(what) + shell::withThousands(static_cast<int64_t>(digits)) + QStringLiteral(" digits (") +
           shell::withThousands(static_cast<int64_t>(digits / 1000)) + QStringLiteral(" KB)\r");
}

QString chooseSavePath(AppContext& ctx)
{
    const QString defaultName = QString::fromStdString(ctx.state.workDirectoryChosen) + QStringLiteral("Quendrolt_") +
                                shell::fileNameStamp(ctx.clock.localNow()) + QStringLiteral(".qdx");
    return chooseFileToWrite(ctx, {QStringLiteral("Save as..."), defaultName, QStringLiteral("Quendrolt (*.qdx)|*.qdx"),
                                   QStringLiteral(".qdx")});
}

void recordControls(AppContext& ctx, storage::ParametersRecord& record)
{
    ui::Controls& c = ctx.controls;
    record.line[storage::qdx::Operand] = bytes(c.text(ui::ControlId::Operand));
    for (int entry = 1; entry <= shell::ParameterTable::kEntries; ++entry)
        record.tableEntry(entry) = ctx.state.parameterTable.entry(entry);
    for (const auto& [line, control] : kTextLines)
        record.line[static_cast<size_t>(line)] = bytes(c.text(control));
    record.line[storage::qdx::ChaosLevel] = std::to_string(c.selectedIndex(ui::ControlId::ChaosLevel));
    record.line[storage::qdx::TestMode] = std::to_string(c.selectedIndex(ui::ControlId::TestMode));
    record.line[storage::qdx::Iconic] = flagText(c.checked(ui::ControlId::Iconic));
    for (int i = 0; i < 4; ++i)
        record.line[static_cast<size_t>(storage::qdx::FirstFinalDigit + i)] = flagText(c.checked(kFinalDigitBoxes[i]));
    for (int i = 0; i < 10; ++i)
        record.line[static_cast<size_t>(storage::qdx::FirstStartDigit + i)] = flagText(c.checked(ui::ControlId::StartDigit1 + i));
    for (const auto& [line, control] : kSwitchLines)
        record.line[static_cast<size_t>(line)] = flagText(c.checked(control));
}

void recordHistory(AppContext& ctx, storage::ParametersRecord& record)
{
    const int count = ctx.results.count();
    const int64_t kept = ctx.state.limits[engine::HistoryLinesSaved];
    const int first = count > kept ? static_cast<int>(count - kept) : 0;
    ctx.results.suspendUpdates(true);
    record.history.reserve(static_cast<size_t>(count - first));
    for (int i = first; i < count; ++i)
        record.history.push_back(bytes(ctx.results.line(i)));
    ctx.results.suspendUpdates(false);
}

void saveParameters(AppContext& ctx)
{
    bool saveNumber = worthSaving(ctx.state.currentNumber);
    std::string memoryText = ctx.state.memory.isZero() ? std::string("0")
                                                       : engine::runDecimalConversion(ctx.worker, ctx.state.memory);
    bool saveMemory = worthSaving(memoryText);

    QString notice;
    if (saveNumber && ctx.state.currentNumber.size() > kLargeNumberDigits)
        notice += largeNumberNote("Number in memory: ", ctx.state.currentNumber.size());
    if (saveMemory && memoryText.size() > kLargeNumberDigits)
        notice += largeNumberNote("Calculator memory: ", memoryText.size());
    if (!notice.isEmpty()) {
        ui::Answer answer = ctx.dialogs.askYesNoCancel(
            QStringLiteral("Attention!"), QStringLiteral("Large numbers were detected:\r\r") + notice +
                                              QStringLiteral("\rSave them in the parameters file?"));
        if (answer == ui::Answer::Cancel)
            return;
        if (answer == ui::Answer::No)
            saveNumber = saveMemory = false;
    }

    const QString path = chooseSavePath(ctx);
    if (path.isEmpty())
        return;

    storage::ParametersRecord record;
    recordControls(ctx, record);
    recordHistory(ctx, record);
    record.line[storage::qdx::Memory] = saveMemory ? std::move(memoryText) : std::string("0");
    record.line[storage::qdx::CurrentNumber].assign(1, '0');
    // The current number can be tens of MB: it is lent to the record for the
    // write instead of copied.
    if (saveNumber)
        record.line[storage::qdx::CurrentNumber].swap(ctx.state.currentNumber);
    std::string error;
    bool written = false;
    const std::string target = localPath(path);
    // Large numbers make a file of tens of MB written with an fsync: the
    // window keeps responding meanwhile.
    const uint64_t size = record.line[storage::qdx::CurrentNumber].size() + record.line[storage::qdx::Memory].size();
    engine::runSizedWork(ctx.worker, size, [&] { written = storage::writeParametersFile(target, record, &error); });
    if (saveNumber)
        record.line[storage::qdx::CurrentNumber].swap(ctx.state.currentNumber);

    // SAVE is silent on success, so a failure must not be.
    if (!written)
        ctx.dialogs.message(QStringLiteral("Problem!"),
                            QStringLiteral("The parameters file could not be written:\r") + path + QStringLiteral("\r") +
                                QString::fromLocal8Bit(error.c_str()) +
                                QStringLiteral("\r\rA file that was there before is unchanged."));
}

void applyControls(AppContext& ctx, const storage::ParametersRecord& record)
{
    ui::Controls& c = ctx.controls;
    for (const auto& [line, control] : kTextLines)
        c.setText(control, fromBytes(record.line[static_cast<size_t>(line)]));
    const auto& lines = record.line;
    // A switch is on for any number but 0; only the sign of a value matters.
    auto on = [&](int line) { return engine::leadingIntegerClamped(lines[static_cast<size_t>(line)], {-1, 1}) != 0; };
    // An index the list does not have would leave it with no selection.
    for (const auto& [line, control] : {std::pair{storage::qdx::ChaosLevel, ui::ControlId::ChaosLevel}, std::pair{storage::qdx::TestMode, ui::ControlId::TestMode}})
        if (const std::optional<int64_t> index = engine::leadingIntegerIn(lines[static_cast<size_t>(line)], {0, c.itemCount(control) - 1}))
            c.setSelectedIndex(control, static_cast<int>(*index));
    c.setChecked(ui::ControlId::Iconic, on(storage::qdx::Iconic));
    for (int i = 0; i < 4; ++i)
        c.setChecked(kFinalDigitBoxes[i], on(storage::qdx::FirstFinalDigit + i));
    for (int i = 0; i < 10; ++i)
        c.setChecked(ui::ControlId::StartDigit1 + i, on(storage::qdx::FirstStartDigit + i));
    for (const auto& [line, control] : kSwitchLines)
        c.setChecked(control, on(line));
}

void applyHistory(AppContext& ctx, const storage::ParametersRecord& record)
{
    ctx.results.suspendUpdates(true);
    ctx.results.clear();
    for (const std::string& line : record.history)
        ctx.results.add(fromBytes(line));
    ctx.results.suspendUpdates(false);
    ctx.results.scrollToEnd();
}

// A damaged or hand-edited file must not leave a Limit at 0 or below (an
// internal limit of 0 would time every run out at once): such a value falls
// back to its start-up value, and the list says so.
void applyLimits(AppContext& ctx)
{
    shell::AppState& state = ctx.state;
    bool replacedAny = false;
    for (int entry = 1; entry <= engine::kLimitCount; ++entry) {
        std::string& text = state.parameterTable.limitText(entry);
        if (const std::optional<int64_t> value = usableLimitValue(text)) {
            state.limits[entry] = *value;
            continue;
        }
        const engine::LimitSpec& spec = engine::limitSpec(entry);
        ctx.results.add(QStringLiteral("LOAD: '") + QString::fromLatin1(spec.name) + QStringLiteral("' read as '") +
                        fromBytes(text) + QStringLiteral("' is not a positive whole number; its start-up value ") +
                        QString::number(spec.startValue) + QStringLiteral(" is used."));
        state.limits[entry] = spec.startValue;
        text = std::to_string(spec.startValue);
        replacedAny = true;
    }
    if (replacedAny) {
        ctx.results.addSeparator();
        ctx.results.scrollToEnd();
    }
}

void loadParameters(AppContext& ctx)
{
    const QString path =
        ctx.dialogs.openFileName(QStringLiteral("Locate the file with parameters."),
                                 QString::fromStdString(ctx.state.workDirectoryChosen),
                                 QStringLiteral("Quendrolt QDX (*.qdx)|*.qdx"));
    if (path.isEmpty())
        return;
    storage::ParametersRecord record;
    storage::ReadResult read = storage::ReadResult::Read;
    const std::string source = localPath(path);
    const uint64_t size = static_cast<uint64_t>(std::max<qint64>(QFileInfo(path).size(), 0));
    engine::runSizedWork(ctx.worker, size, [&] { read = storage::readParametersFile(source, record); });
    if (read != storage::ReadResult::Read)
        return;

    applyControls(ctx, record);
    applyHistory(ctx, record);
    ctx.processPendingEvents();

    shell::AppState& state = ctx.state;
    for (int entry = 1; entry <= shell::ParameterTable::kEntries; ++entry)
        state.parameterTable.entry(entry) = record.tableEntry(entry);
    ctx.controls.setText(ui::ControlId::WorkDirectory, fromBytes(state.parameterTable.workDirectory()));
    applyLimits(ctx);

    state.currentNumber = std::move(record.line[storage::qdx::CurrentNumber]);
    // A hand-edited file may hold the number in groups of digits: it is kept
    // as the digits every reader of decimal text takes from it.
    if (state.currentNumber.find_first_of(" \t") != std::string::npos)
        if (std::optional<std::string> digits = engine::readDecimalText(state.currentNumber))
            state.currentNumber = std::move(*digits);
    shell::showCurrentNumberStatus(ctx);
    ctx.controls.setText(ui::ControlId::DigitCountDisplay, shell::withThousands(state.digitCount()));
    ctx.controls.setText(ui::ControlId::Operand, fromBytes(record.line[storage::qdx::Operand]));
    ctx.controls.setVisible(ui::ControlId::Signature, !ctx.controls.checked(ui::ControlId::Mersenne));

    const std::string& memoryText = record.line[storage::qdx::Memory];
    if (worthSaving(memoryText)) {
        engine::BigInt loaded;
        bool valid = false;
        engine::runThreaded(ctx.worker, [&] { valid = engine::setFromDecimal(loaded, memoryText); });
        if (valid) {
            state.memory.swap(loaded);
            shell::refreshOperandDisplay(ctx);
        }
    }
}

}  // namespace

std::optional<int64_t> usableLimitValue(const std::string& text)
{
    // Fifteen digits at most: every Limit is later multiplied into
    // milliseconds or digit counts, which must stay far from overflowing.
    constexpr engine::IntegerRange kUsableLimits{1, 999'999'999'999'999};
    return engine::wholeIntegerIn(text, kUsableLimits);
}

void registerParametersCommands(shell::Dispatcher& d)
{
    d.on(ui::ControlId::SaveParameters, saveParameters);
    d.on(ui::ControlId::LoadParameters, loadParameters);
}

}  // namespace files
