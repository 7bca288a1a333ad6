#include "shell/window_commands.h"

#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QUrl>

#include "ui/control_ids.h"
#include "shell/time_texts.h"

namespace shell {

namespace {

constexpr int kViewLineWidth = 122;

void setClipboard(const QString& text) { QGuiApplication::clipboard()->setText(text); }

void exitProgram(AppContext& ctx)
{
    ctx.state.quitRequested = true;
    QCoreApplication::exit(0);
}

void copyAll(AppContext& ctx)
{
    QString text;
    for (int i = 0; i < ctx.results.count(); ++i) {
        text += ctx.results.line(i);
        text += QStringLiteral("\r\n");
    }
    setClipboard(text);
}

void copyLine(AppContext& ctx) { setClipboard(ctx.results.selectedLine()); }

void clearResults(AppContext& ctx)
{
    if (ctx.dialogs.askYesNo(QStringLiteral("Attention!"), QStringLiteral("Do you want To clear the activity logs?")) !=
        ui::Answer::Yes)
        return;
    ctx.results.clear();
    for (int counter : {ui::ControlId::Tot, ui::ControlId::Div1, ui::ControlId::Div2, ui::ControlId::Div3, ui::ControlId::Qty})
        ctx.controls.setText(counter, QStringLiteral("0"));
}

void lineSelected(AppContext& ctx) { ctx.controls.setEnabled(ui::ControlId::CopyLine, true); }

void copyField(AppContext& ctx, int field) { setClipboard(ctx.controls.text(field).trimmed()); }

void chooseWorkDirectory(AppContext& ctx)
{
    const std::string& stored = ctx.state.parameterTable.workDirectory();
    QString start = stored.empty() ? QDir::homePath() : QString::fromStdString(stored);
    QString chosen = ctx.dialogs.chooseDirectory(
        QStringLiteral("Define in which directory the generated files will be saved..."), start);
    if (chosen.isEmpty())
        return;
    // Stored with its separator, so that default file names built from it
    // land inside the directory.
    if (!chosen.endsWith(QLatin1Char('/')))
        chosen += QLatin1Char('/');
    std::string directory = chosen.toStdString();
    if (directory == stored)
        return;
    ctx.state.parameterTable.workDirectory() = directory;
    ctx.state.workDirectoryChosen = directory;
    ctx.controls.setText(ui::ControlId::WorkDirectory, chosen);
}

void viewNumber(AppContext& ctx)
{
    if (!currentNumberViewable(ctx))
        return;
    const std::string& number = ctx.state.currentNumber;
    ctx.results.clearStartupNotes();
    ctx.results.add(QStringLiteral("Number in memory with %1 digits:").arg(number.size()));
    for (size_t at = 0; at < number.size(); at += kViewLineWidth)
        ctx.results.add(latin1(std::string_view(number).substr(at, kViewLineWidth)));
    ctx.results.addSeparator();
    ctx.results.scrollToEnd();
}

void digitViewChosen(AppContext& ctx)
{
    const int64_t count = ctx.state.digitCount();
    if (count == 0) {
        ctx.controls.setSelectedIndex(ui::ControlId::DigitView, 0);
        return;
    }
    int item = ctx.controls.selectedIndex(ui::ControlId::DigitView);
    int64_t start = 1;
    if (item != 1) {
        int64_t wanted = ctx.controls.itemValue(ui::ControlId::DigitView, item);
        if (count >= wanted)
            start = count - wanted + 1;
        else
            ctx.controls.setSelectedIndex(ui::ControlId::DigitView, 0);
    }
    ctx.controls.setText(ui::ControlId::SegmentStart, QString::number(start));
    ctx.controls.setText(ui::ControlId::SegmentEnd, QString::number(count));
}

void openWebsite(AppContext&) { QDesktopServices::openUrl(QUrl(QString::fromLatin1(kWebsiteAddress))); }

}  // namespace

bool currentNumberViewable(AppContext& ctx)
{
    const int64_t digits = ctx.state.digitCount();
    const int64_t limit = ctx.state.limits[engine::DigitsViewNumber];
    if (digits == 0) {
        ctx.dialogs.message(QStringLiteral("Problem!"), QStringLiteral("There is currently no number generated in memory!"));
        return false;
    }
    if (digits > limit) {
        ctx.dialogs.message(QStringLiteral("Problem!"),
                            QStringLiteral("The number has more than ") + withThousands(limit) +
                                QStringLiteral(" digits; to view it completely, save it via the 'Save NUMBER' "
                                               "button and open it via Notepad."));
        return false;
    }
    return true;
}

void registerWindowCommands(Dispatcher& d)
{
    d.on(ui::ControlId::Exit, exitProgram);
    d.on(ui::ControlId::CopyAll, copyAll);
    d.on(ui::ControlId::CopyLine, copyLine);
    d.on(ui::ControlId::ClearResults, clearResults);
    d.on(ui::ControlId::ResultsList, lineSelected);
    d.on(ui::ControlId::YourNumberCopy, [](AppContext& ctx) { copyField(ctx, ui::ControlId::YourNumber); });
    d.on(ui::ControlId::OperandCopy, [](AppContext& ctx) { copyField(ctx, ui::ControlId::Operand); });
    d.on(ui::ControlId::SignatureCopy, [](AppContext& ctx) { copyField(ctx, ui::ControlId::Signature); });
    d.on(ui::ControlId::YourNumberClear, [](AppContext& ctx) { ctx.controls.setText(ui::ControlId::YourNumber, QString()); });
    d.on(ui::ControlId::SignatureClear, [](AppContext& ctx) { ctx.controls.setText(ui::ControlId::Signature, QString()); });
    d.on(ui::ControlId::OperandClear, [](AppContext& ctx) { ctx.controls.setText(ui::ControlId::Operand, QStringLiteral("0")); });
    d.on(ui::ControlId::OperandOne, [](AppContext& ctx) { ctx.controls.setText(ui::ControlId::Operand, QStringLiteral("1")); });
    d.on(ui::ControlId::OperandTwo, [](AppContext& ctx) { ctx.controls.setText(ui::ControlId::Operand, QStringLiteral("2")); });
    d.on(ui::ControlId::SetWorkDirectory, chooseWorkDirectory);
    d.on(ui::ControlId::View, viewNumber);
    d.on(ui::ControlId::DigitView, digitViewChosen);
    d.on(ui::ControlId::Website, openWebsite);
}

}  // namespace shell
