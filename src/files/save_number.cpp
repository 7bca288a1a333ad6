#include "files/save_number.h"

#include <QClipboard>
#include <QFileInfo>
#include <QGuiApplication>

#include "engine/worker_run.h"
#include "storage/atomic_file.h"
#include "storage/number_files.h"
#include "files/save_dialog.h"
#include "shell/window_commands.h"
#include "shell/time_texts.h"

namespace files {

namespace {

const QString kProblem = QStringLiteral("Problem!");

QString defaultFileName(shell::AppContext& ctx)
{
    return QString::fromStdString(ctx.state.workDirectoryChosen) + QStringLiteral("Number_") +
           shell::fileNameStamp(ctx.clock.localNow()) + QStringLiteral("_") +
           QString::number(ctx.state.digitCount()) + QStringLiteral(".txt");
}

QString chooseTarget(shell::AppContext& ctx)
{
    return chooseFileToWrite(ctx, {QStringLiteral("Save the number to a file..."), defaultFileName(ctx),
                                   QStringLiteral("TXT (*.txt)|*.txt"), QString()});
}

}  // namespace

void saveNumber(shell::AppContext& ctx)
{
    if (ctx.state.currentNumber.empty()) {
        ctx.dialogs.message(kProblem, QStringLiteral("There is currently no number generated in memory!"));
        return;
    }
    QString path = chooseTarget(ctx);
    if (path.isEmpty())
        return;
    bool written = false;
    const std::string target = path.toStdString();
    engine::runThreaded(ctx.worker, [&] { written = storage::writeFileAtomically(target, ctx.state.currentNumber); });
    if (!written) {
        ctx.dialogs.message(kProblem, QStringLiteral("The file is being used by another application!"));
        return;
    }
    ctx.results.add(shell::clockPrefix(ctx.clock.localNow()) + QStringLiteral("number saved in ") +
                    QFileInfo(path).absoluteFilePath());
    ctx.results.addSeparator();
    ctx.results.scrollToEnd();
}

void copyCurrentNumber(shell::AppContext& ctx)
{
    if (!shell::currentNumberViewable(ctx))
        return;
    QGuiApplication::clipboard()->setText(shell::latin1(ctx.state.currentNumber));
    ctx.results.add(QStringLiteral("Number with %1 digits copied to the clipboard.").arg(ctx.state.digitCount()));
    ctx.results.addSeparator();
    ctx.results.scrollToEnd();
}

}  // namespace files
