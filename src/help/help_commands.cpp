#include "help/help_commands.h"

#include <QFile>

#include "help/about_text.h"
#include "help/help_text.h"
#include "shell/version.h"
#include "ui/control_ids.h"
#include "shell/window_commands.h"

namespace help {

namespace {

using shell::AppContext;

// The file from the help folder (the working directory unless installed),
// one list line per text line, with the list showing its first line.
void showTextFile(AppContext& ctx, const char* name)
{
    QFile file(ctx.state.places.helpDirectory + QString::fromLatin1(name));
    if (!file.open(QIODevice::ReadOnly)) {
        ctx.results.addSeparator();
        return;
    }
    ctx.results.clearStartupNotes();
    const QByteArray text = file.readAll();
    file.close();

    const int firstLine = ctx.results.count();
    ctx.results.suspendUpdates(true);
    for (std::string_view line : splitHelpText(std::string_view(text.constData(), static_cast<size_t>(text.size()))))
        ctx.results.add(QString::fromUtf8(line.data(), static_cast<qsizetype>(line.size())));
    ctx.results.addSeparator();
    ctx.results.suspendUpdates(false);
    ctx.results.scrollTo(firstLine);
}

void showAbout(AppContext& ctx)
{
    const std::string text = aboutText(freePhysicalMemoryBytes(), shell::kWebsiteAddress);
    ctx.dialogs.message(QStringLiteral("Quendrolt - version ") + QLatin1String(shell::kVersionText),
                        QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
}

}  // namespace

void registerHelpCommands(shell::Dispatcher& d)
{
    d.on(ui::ControlId::UserManual, [](AppContext& ctx) { showTextFile(ctx, kUserManualFile); });
    d.on(ui::ControlId::CalculatorHelp, [](AppContext& ctx) { showTextFile(ctx, kCalculatorHelpFile); });
    d.on(ui::ControlId::About, showAbout);
}

}  // namespace help
