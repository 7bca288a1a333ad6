// TEMPORARY: stands in for the hidden tester run until the primality work
// provides src/primality/external_prp_check.cpp; delete this file then.
// Enough of the real behaviour for the generator and its tests: the missing
// tester message, the hidden run with STOP, the keyword lines.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QThread>

#include "files/number_files.h"
#include "primality/external_prp_check.h"
#include "shell/control_ids.h"

namespace primality {

namespace {

int verdictOf(const QString& line)
{
    int code = 5;
    for (const char* word : {"is 3-PRP!", "is 2-PRP!", "is 5-PRP!", "is PRP!"})
        if (line.contains(QLatin1String(word)))
            code = 1;
    if (line.contains(QLatin1String(" has no ")))
        code = 4;
    if (line.contains(QLatin1String("is composite")) || line.contains(QLatin1String(" has factors")))
        code = 3;
    return code;
}

bool isResultLine(const QString& line)
{
    for (const char* word : {"is 3-PRP!", "is 2-PRP!", "is 5-PRP!", "is PRP!", "is composite", "has no small factor",
                             "has factors"})
        if (line.contains(QLatin1String(word)))
            return true;
    return false;
}

void takeLines(QProcess& child, QString& resultLine)
{
    while (child.canReadLine()) {
        QString line = QString::fromLatin1(child.readLine()).remove(QLatin1Char('\r')).trimmed();
        if (!line.isEmpty() && isResultLine(line))
            resultLine = line;
    }
}

}  // namespace

int externalPrpCheck(shell::AppContext& ctx, const std::string& digits)
{
    QString directory = QDir::currentPath() + QLatin1Char('/');
    QString program = directory + QStringLiteral("pfgw64_133mm.exe");
    if (!QFile::exists(program)) {
        ctx.dialogs.message(QStringLiteral("Problem!"), QStringLiteral("pfgw64_133mm.exe not found in:\n") + directory);
        return 0;
    }
    QFile::remove(QStringLiteral("pfgw.ini"));
    QFile::remove(QStringLiteral("pfgw.out"));
    files::writeNumberFileAtomically(files::kLastPrpFile, digits);

    QProcess child;
    child.setWorkingDirectory(directory);
    child.start(program, {QStringLiteral("-k"), QStringLiteral("-T4"), QStringLiteral("-f0"),
                          directory + QLatin1String(files::kLastPrpFile)});
    if (!child.waitForStarted()) {
        ctx.dialogs.message(QStringLiteral("Problem!"), QStringLiteral("Failed to launch PFGW!"));
        return 0;
    }
    ++ctx.state.counters[4];
    ctx.controls.setText(shell::id::Qty, QString::number(ctx.state.counters[4]));

    QString resultLine;
    while (child.state() != QProcess::NotRunning) {
        ctx.processPendingEvents();
        child.waitForReadyRead(10);
        if (ctx.controls.checked(shell::id::Stop)) {
            child.kill();
            child.waitForFinished();
            return 7;
        }
        takeLines(child, resultLine);
    }
    child.waitForFinished();
    takeLines(child, resultLine);
    return verdictOf(resultLine);
}

}  // namespace primality
