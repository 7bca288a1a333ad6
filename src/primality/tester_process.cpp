#include "primality/tester_process.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <limits>

#include "engine/worker_run.h"
#include "storage/atomic_file.h"
#include "storage/number_files.h"
#include "engine/tester_output.h"
#include "ui/control_ids.h"

namespace primality {

namespace {

constexpr const char* kBaseSwitches = " -k -T4 ";
constexpr int kStartTimeoutMs = 30000;
constexpr int kKillWaitMs = 200;
// The output is read only for its result lines, which are short. A tester
// that floods its output, or prints bytes with no line end, must not make
// the window hold what it printed: a line is kept up to this many bytes
// (its tail, where a result would stand), and each polling pass reads at
// most a bounded amount so that the window keeps responding meanwhile.
constexpr qint64 kKeptLineBytes = 4096;
constexpr qint64 kBytesPerPass = 4 << 20;
constexpr int kRefillWaitMs = 1;

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

bool prepareTesterFiles(shell::AppContext& ctx, const std::string& digits)
{
    QFile::remove(QStringLiteral("pfgw.ini"));
    QFile::remove(QStringLiteral("pfgw.out"));
    bool written = false;
    std::string error;
    engine::runThreaded(ctx.worker, [&] { written = storage::writeFileAtomically(storage::kLastPrpFile, digits, &error); });
    // The tester would otherwise test the number an earlier run left there.
    if (!written)
        ctx.dialogs.message(QStringLiteral("Problem!"), QLatin1String(storage::kLastPrpFile) +
                                                            QStringLiteral(" could not be written in:\n") + workingDirectory() +
                                                            QStringLiteral("\n") + QString::fromLocal8Bit(error.c_str()));
    return written;
}

bool testerRunning() { return running; }

TesterRun::TesterRun(shell::AppContext& ctx, ConsoleWindow* console) : ctx_(ctx), console_(console) {}

TesterRun::~TesterRun()
{
    kill();
    running = false;
}

TesterRun::Start TesterRun::start(std::string_view switches)
{
    const QString directory = workingDirectory();
    const QString testerDirectory =
        ctx_.state.places.testerDirectory.isEmpty() ? directory : ctx_.state.places.testerDirectory;
    const QString program = testerDirectory + QLatin1String(kTesterProgram);
    if (!QFileInfo::exists(program)) {
        ctx_.dialogs.message(QStringLiteral("Problem!"), QStringLiteral("pfgw64_133mm.exe not found in:\n") + testerDirectory);
        return Start::Missing;
    }
    process_.setProgram(program);
    process_.setArguments(testerArguments(switches, directory + QLatin1String(storage::kLastPrpFile)));
    process_.setWorkingDirectory(directory);
    process_.start(QIODevice::ReadOnly);
    if (!process_.waitForStarted(kStartTimeoutMs)) {
        ctx_.dialogs.message(QStringLiteral("Problem!"), QStringLiteral("Failed to launch PFGW!"));
        return Start::NotLaunched;
    }
    running = true;
    startMs_ = ctx_.nowMs();
    return Start::Started;
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
            if (!console_)
                ctx_.controls.setText(ui::ControlId::TesterProgress, QString());
            if (console_)
                console_->markFinished();
            return End::Stopped;
        }
        if (console_ && console_->closedByUser())
            kill();
        passErrorOutputToConsole();
        showProgress();
        takeOutput(kBytesPerPass);
    }
    drainOutput();
    process_.close();
    running = false;
    if (!console_)
        ctx_.controls.setText(ui::ControlId::TesterProgress, QString());
    if (console_)
        console_->markFinished();
    return End::Finished;
}

// Takes what the tester printed, pulling it from the pipe as it goes: left in
// the pipe, a flood would only stall the tester, but left in QProcess's buffer
// it would grow without end.
void TesterRun::takeOutput(qint64 budget)
{
    qint64 taken = 0;
    while (taken < budget) {
        const bool pieceReady = process_.canReadLine() || process_.bytesAvailable() >= kKeptLineBytes;
        if (!pieceReady) {
            // A moment's wait lets a flooding tester refill its pipe, so that a
            // pass reads far more than one pipe's worth.
            if (!process_.waitForReadyRead(kRefillWaitMs))
                return;
            continue;
        }
        const QByteArray piece = process_.readLine(kKeptLineBytes);
        if (piece.isEmpty())
            return;
        taken += piece.size();
        takePiece(piece);
    }
}

void TesterRun::takePiece(const QByteArray& piece)
{
    if (console_ && partialLine_.size() < kKeptLineBytes)
        console_->append(piece);
    partialLine_ += piece;
    if (!partialLine_.endsWith('\n')) {
        if (partialLine_.size() > kKeptLineBytes)
            partialLine_ = partialLine_.right(kKeptLineBytes);
        return;
    }
    takeLine(partialLine_);
    partialLine_.clear();
}

void TesterRun::takeLine(const QByteArray& raw)
{
    std::string line = engine::cleanOutputLine(std::string_view(raw.constData(), static_cast<size_t>(raw.size())));
    if (!line.empty() && engine::isResultLine(line))
        resultLine_ = std::move(line);
}

// The hidden run has no console: its progress lines ("...: 41.7% done,
// 1234 steps/s, 1m12s left") show as percent and time left in the window.
// Only the end of standard error is kept, so a chatty tester costs nothing.
void TesterRun::showProgress()
{
    if (console_)
        return;
    errorTail_.append(process_.readAllStandardError());
    constexpr qsizetype kTailBytes = 4096;
    if (errorTail_.size() > kTailBytes)
        errorTail_.remove(0, errorTail_.size() - kTailBytes);
    const qsizetype end = errorTail_.lastIndexOf('\n');
    if (end < 0)
        return;
    const qsizetype begin = end == 0 ? 0 : errorTail_.lastIndexOf('\n', end - 1) + 1;
    std::optional<std::string> progress =
        engine::progressSummary(std::string_view(errorTail_.constData() + begin, static_cast<size_t>(end - begin)));
    errorTail_.remove(0, end + 1);
    if (progress)
        ctx_.controls.setText(ui::ControlId::TesterProgress, QString::fromStdString(*progress));
}

void TesterRun::passErrorOutputToConsole()
{
    if (console_)
        console_->append(process_.readAllStandardError());
}

// The tester has ended: what is left is what its pipe still held.
void TesterRun::drainOutput()
{
    passErrorOutputToConsole();
    takeOutput(std::numeric_limits<qint64>::max());
    const QByteArray rest = process_.readAll();  // a last line without its line end
    if (!rest.isEmpty())
        takePiece(rest);
    if (!partialLine_.isEmpty())
        takeLine(partialLine_);
    partialLine_.clear();
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
