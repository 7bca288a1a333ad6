#include "primality/verify_commands.h"

#include <QClipboard>
#include <QGuiApplication>

#include "engine/decimal_text.h"
#include "engine/worker_run.h"
#include "shell/clipboard_paste.h"
#include "storage/whole_file.h"
#include "primality/primality_check.h"
#include "ui/control_ids.h"
#include "shell/control_lock.h"
#include "shell/number_display.h"

namespace primality {

namespace {

const QString kNoChecksNote = QStringLiteral(
    "Note: The program will not perform any of the above checks; if the file is not in the required format, "
    "uncontrollable issues may arise.");
const QString kParagraph = QStringLiteral("\r\r");

bool userConfirms(shell::AppContext& ctx, const QString& requirement, const QString& question)
{
    return ctx.dialogs.askYesNo(QStringLiteral("Attention!"),
                                requirement + kParagraph + kNoChecksNote + kParagraph + question) == ui::Answer::Yes;
}

// Reads the file off the window thread. Returns the digit count, 0 on any
// failure; on success, even without digits, the digits become the current number.
int64_t readNumberFileIntoCurrent(shell::AppContext& ctx, const QString& path)
{
    std::string digits;
    storage::FileReadStatus status = storage::FileReadStatus::CannotOpen;
    const std::string localPath = path.toStdString();
    ctx.processPendingEvents();
    engine::runThreaded(ctx.worker, [&] { status = storage::readDigitsOfFile(localPath, digits); });
    switch (status) {
    case storage::FileReadStatus::Read:
        break;
    case storage::FileReadStatus::CannotOpen:
    case storage::FileReadStatus::NotRegularFile:
        ctx.dialogs.message(QStringLiteral("Problem!"), QStringLiteral("File not found: ") + path);
        return 0;
    case storage::FileReadStatus::TooLarge:
    case storage::FileReadStatus::NoMemory:
        ctx.dialogs.message(QStringLiteral("Problem!"),
                            QStringLiteral("Not enough memory to read the file: ") + path);
        return 0;
    }
    ctx.processPendingEvents();
    ctx.state.currentNumber.swap(digits);
    return ctx.state.digitCount();
}

void bringInNumberFile(shell::AppContext& ctx, CheckMode mode)
{
    if (!userConfirms(ctx,
                      QStringLiteral("The number must be in a TXT file without spaces, CR, LF, or special characters, "
                                     "only consecutive digits from 0 to 9 within the file."),
                      QStringLiteral("Do you want to choose a file for processing now?")))
        return;
    const QString path = ctx.dialogs.openFileName(QStringLiteral("Locate the file with the number"), QString(),
                                                  QStringLiteral("File TXT (*.txt)|*.txt"));
    if (path.isEmpty())
        return;
    zeroCounterFields(ctx);
    const int64_t count = readNumberFileIntoCurrent(ctx, path);
    const int64_t startMs = ctx.nowMs();
    ctx.results.clearStartupNotes();
    if (count == 0) {
        shell::setControlLock(ctx, false);
        ctx.results.scrollToEnd();
        return;
    }
    const bool loadOnly = mode == CheckMode::LoadOnly;
    ctx.results.add((loadOnly ? QStringLiteral("Number from ") : QStringLiteral("Analyzing the number from ")) + path);
    ctx.results.scrollToEnd();
    shell::setControlLock(ctx, true);

    // Loading only shows the number: its binary form would never be used.
    engine::BigInt n;
    ctx.processPendingEvents();
    if (!loadOnly)
        engine::runThreaded(ctx.worker, [&] { engine::setFromDecimal(n, ctx.state.currentNumber); });
    ctx.processPendingEvents();

    ctx.results.add(QStringLiteral("Total digits: %1").arg(ctx.state.digitCount()));
    ctx.processPendingEvents();
    shell::numberChanged(ctx, ctx.state.digitCount());
    ctx.results.scrollToEnd();
    ctx.processPendingEvents();

    testAndReport(ctx, mode, n, startMs);

    ctx.processPendingEvents();
    shell::setControlLock(ctx, false);
    ctx.results.scrollToEnd();
}

}  // namespace

void checkTypedNumber(shell::AppContext& ctx)
{
    const QString typed = ctx.controls.text(ui::ControlId::YourNumber);
    ctx.results.clearStartupNotes();
    if (typed.isEmpty())
        return;
    ctx.state.currentNumber = shell::digitsOf(typed);
    checkCurrentNumber(ctx, CheckMode::Check);
}

void checkCurrentNumberCommand(shell::AppContext& ctx) { checkCurrentNumber(ctx, CheckMode::IsPrime); }

void verifyClipboardNumber(shell::AppContext& ctx)
{
    if (!userConfirms(ctx,
                      QStringLiteral("The number must be in CLIPBOARD without spaces, CR, LF, or special characters, "
                                     "only consecutive digits from 0 to 9 within the file."),
                      QStringLiteral("Do you have it in your clipboard right now?")))
        return;
    ctx.results.clearStartupNotes();
    const QString text = QGuiApplication::clipboard()->text();
    if (text.isEmpty())
        return;
    ctx.state.currentNumber = shell::digitsOf(text);
    checkCurrentNumber(ctx, CheckMode::Check);
}

void verifyNumberFile(shell::AppContext& ctx) { bringInNumberFile(ctx, CheckMode::Verify); }

void loadNumberFile(shell::AppContext& ctx) { bringInNumberFile(ctx, CheckMode::LoadOnly); }

}  // namespace primality
