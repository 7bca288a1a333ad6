#include "files/export_command.h"

#include <QDesktopServices>
#include <QFile>
#include <QUrl>
#include <algorithm>

#include "storage/biff2_writer.h"
#include "storage/export_rules.h"
#include "files/save_dialog.h"
#include "ui/control_ids.h"
#include "shell/time_texts.h"

namespace files {

namespace {

using shell::AppContext;

constexpr int64_t kMostRows = 16383;

QString chooseExportPath(AppContext& ctx)
{
    const QString defaultName = QStringLiteral("Activity_") + shell::fileNameStamp(ctx.clock.localNow()) +
                                QStringLiteral("_") + QString::number(ctx.state.digitCount()) + QStringLiteral(".xls");
    return chooseFileToWrite(ctx, {QStringLiteral("Export to Excel ..."), defaultName,
                                   QStringLiteral("Excel (*.xls)|*.xls"), QStringLiteral(".xls")});
}

// The probe truncates nothing: an old file must stay whole until the new one
// has been written completely and takes its place.
bool canWrite(const QString& path)
{
    QFile probe(path);
    if (probe.exists())
        return probe.open(QIODevice::WriteOnly | QIODevice::Append);
    if (!probe.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return false;
    probe.remove();
    return true;
}

void exportToExcel(AppContext& ctx)
{
    const QString path = chooseExportPath(ctx);
    if (path.isEmpty())
        return;
    if (!canWrite(path)) {
        ctx.dialogs.message(QStringLiteral("Problem!"), QStringLiteral("The file is being used by another application!"));
        return;
    }

    const ExportOutcome outcome =
        exportResults(ctx.results, QFile::encodeName(path).toStdString(), ctx.state.limits[engine::LinesForExcel]);
    // The question that follows says "File created": it must not follow a
    // file that is missing records.
    if (!outcome.written) {
        ctx.dialogs.message(QStringLiteral("Problem!"),
                            QStringLiteral("The spreadsheet could not be written completely (is the disk full?):\r") +
                                path);
        return;
    }
    QString lastLine = outcome.lastLineTaken < 0 ? QString() : ctx.results.line(outcome.lastLineTaken);
    qsizetype blanks = 0;
    while (blanks < lastLine.size() && lastLine[blanks] == QLatin1Char(' '))
        ++blanks;
    lastLine.remove(0, blanks);
    if (ctx.dialogs.askYesNo(QStringLiteral("Success!"),
                             QStringLiteral("File created: ") + path + lastLine + QStringLiteral("Open now?")) ==
        ui::Answer::Yes)
        QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

}  // namespace

ExportOutcome exportResults(const ui::ResultsList& results, const std::string& path, int64_t maxRows)
{
    // A BIFF2 sheet has rows 0..16383; a larger limit read from a parameters
    // file must not wrap the 16-bit row numbers.
    maxRows = std::min<int64_t>(maxRows, kMostRows);
    const int count = results.count();
    const int first = count > maxRows ? static_cast<int>(count - maxRows) : 0;

    ExportOutcome outcome;
    storage::Biff2Writer writer;
    bool ok = writer.beginFile(path);
    ok = writer.printGridlines(false) && ok;
    ok = writer.columnWidth(0, 0, 122) && ok;
    ok = writer.columnWidth(1, 5, 11) && ok;
    ok = writer.label("Total digits", 0, 1, storage::cell::Heading) && ok;

    int64_t row = 1;
    for (int i = first; i < count; ++i) {
        outcome.lastLineTaken = i;
        const QByteArray line = results.line(i).toLatin1();
        const storage::ExportRow cells = storage::exportRow(std::string_view(line.constData(), static_cast<size_t>(line.size())));
        if (!cells.takesRow)
            continue;
        const auto r = static_cast<uint16_t>(row);
        for (const storage::ExportCell& c : cells.cells) {
            const auto column = static_cast<uint16_t>(c.column);
            ok = (c.isNumber ? writer.number(c.value, r, column, c.attributes)
                             : writer.label(c.text, r, column, c.attributes)) &&
                 ok;
        }
        if (++row > maxRows)
            break;
    }
    ok = writer.endFile() && ok;
    outcome.written = ok;
    return outcome;
}

void registerExportCommand(shell::Dispatcher& d) { d.on(ui::ControlId::ExportToExcel, exportToExcel); }

}  // namespace files
