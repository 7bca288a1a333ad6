#include "primality/tester_process.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include "engine/worker_run.h"
#include "storage/atomic_file.h"
#include "storage/number_files.h"
#include "primality/tester_output.h"
#include "ui/control_ids.h"

namespace primality {

namespace {

constexpr const char* kBaseSwitches = " -k -T4 ";
constexpr int kStartTimeoutMs = 30000;
constexpr int kKillWaitMs = 200;

bool running = false;

QString workingDirectory() { return QDir::currentPath() + QLatin1Char('/'); }

void appendWords(QStringList& words, std::string_view text)
{
    for (const QString& word : QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()))
                                   .split(QLatin1Char(' '), Qt::SkipEmptyParts))
        words << word;
}

}  // namespace

QStringList testerArguments(std::string_view switches, const QString& numberFile)
{
    QStringList words;
    appendWords(words, kBaseSwitches);
    appendWords(words, switches);
    words << numberFile;
    return words;
}

void prepareTesterFiles(shell::AppContext& ctx, const std::string& digits)
{
    QFile::remove(QStringLiteral("pfgw.ini"));
    QFile::remove(QStringLiteral("pfgw.out"));
    engine::runThreaded(ctx.worker, [&] { storage::writeFileAtomically(storage::kLastPrpFile, digits); });
}

bool testerRunning() { return running; }

TesterRun::TesterRun(shell::AppContext& ctx, ConsoleWindow* console) : ctx_(ctx), console_(console) {}

TesterRun::~TesterRun()
{
    kill();
    running = false;
}

bool TesterRun::start(std::string_view switches)
{
    const QString directory = workingDirectory();
    const QString program = directory + QLatin1String(kTesterProgram);
    if (!QFileInfo::exists(program)) {
        ctx_.dialogs.message(QStringLiteral("Problem!"), QStringLiteral("pfgw64_133mm.exe not found in:\n") + directory);
        return false;
    }
    process_.setProgram(program);
    process_.setArguments(testerArguments(switches, directory + QLatin1String(storage::kLastPrpFile)));
    process_.setWorkingDirectory(directory);
    if (!console_)
        process_.setStandardErrorFile(QProcess::nullDevice());
    process_.start(QIODevice::ReadOnly);
    if (!process_.waitForStarted(kStartTimeoutMs)) {
        ctx_.dialogs.message(QStringLiteral("Problem!"), QStringLiteral("Failed to launch PFGW!"));
        return false;
    }
    running = true;
    startMs_ = ctx_.nowMs();
    return true;
}

TesterRun::End TesterRun::follow()
{
    int passes = 0;
    while (process_.state() != QProcess::NotRunning) {
        ctx_.processPendingEvents();
        QThread::msleep(engine::kPollPeriodMs);
        if (++passes > engine::kElapsedEveryCycles) {
            std::string seconds = std::to_string((ctx_.nowMs() - startMs_) / 1000);
            ctx_.worker.showElapsed(engine::ElapsedDisplay::TesterRun, seconds.append(" s"));
            passes = 0;
            if (!console_)
                ctx_.processPendingEvents();
        }
        if (ctx_.worker.stopTicked()) {
            kill();
            if (console_)
                console_->markFinished();
            return End::Stopped;
        }
        if (console_ && console_->closedByUser())
            kill();
        passErrorOutputToConsole();
        if (process_.canReadLine())
            takeLine(process_.readLine());
    }
    drainOutput();
    process_.close();
    running = false;
    if (console_)
        console_->markFinished();
    return End::Finished;
}

void TesterRun::takeLine(const QByteArray& raw)
{
    if (console_)
        console_->append(raw);
    std::string line = cleanOutputLine(std::string_view(raw.constData(), static_cast<size_t>(raw.size())));
    if (!line.empty() && isResultLine(line))
        resultLine_ = std::move(line);
}

void TesterRun::passErrorOutputToConsole()
{
    if (console_)
        console_->append(process_.readAllStandardError());
}

void TesterRun::drainOutput()
{
    passErrorOutputToConsole();
    while (process_.canReadLine())
        takeLine(process_.readLine());
    QByteArray rest = process_.readAll();  // a last line without its line end
    if (!rest.isEmpty())
        takeLine(rest);
}

void TesterRun::kill()
{
    if (process_.state() != QProcess::NotRunning) {
        process_.kill();
        process_.waitForFinished(kKillWaitMs);
    }
    process_.close();
    running = false;
}

}  // namespace primality
