#include "primality/tester_process.h"

#include <QDir>
#include <QFile>

#include "engine/tester_output.h"
#include "engine/worker_run.h"
#include "storage/atomic_file.h"
#include "storage/number_files.h"
#include "ui/control_ids.h"

namespace primality {

namespace {

bool running = false;

QString workingDirectory() { return QDir::currentPath() + QLatin1Char('/'); }

std::string fileName(const QString& path) { return QFile::encodeName(path).toStdString(); }

}  // namespace

// Between two polls the window handles its events; the interactive run
// shows everything in its console, the hidden check only the progress
// ("...: 41.7% done, 1234 steps/s, 1m12s left") as percent and time left
// beside Is_P.
class TesterRun::Watch : public engine::TesterWatch {
public:
    Watch(TesterRun& run) : run_(run), ctx_(run.ctx_) {}

    void betweenPolls() override
    {
        if (!progress_.empty() && !run_.console_)
            ctx_.controls.setText(ui::ControlId::TesterProgress, QString::fromStdString(progress_));
        progress_.clear();
        ctx_.processPendingEvents();
        if (++passes_ > engine::kElapsedEveryCycles) {
            std::string seconds = std::to_string((ctx_.nowMs() - run_.startMs_) / 1000);
            ctx_.worker.showElapsed(engine::ElapsedDisplay::TesterRun, seconds.append(" s"));
            passes_ = 0;
            if (!run_.console_)
                ctx_.processPendingEvents();
        }
    }

    bool stopRequested() override { return ctx_.worker.stopTicked(); }
    bool endRequested() override { return run_.console_ && run_.console_->closedByUser(); }

    void standardOutput(std::string_view piece) override { toConsole(piece); }
    void standardError(std::string_view bytes) override { toConsole(bytes); }

    void errorLine(const std::string& line) override
    {
        if (run_.console_)
            return;
        if (std::optional<std::string> summary = engine::progressSummary(line))
            progress_ = std::move(*summary);
    }

private:
    void toConsole(std::string_view bytes)
    {
        if (run_.console_)
            run_.console_->append(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
    }

    TesterRun& run_;
    shell::AppContext& ctx_;
    int passes_ = 0;
    std::string progress_;  // the latest progress summary not yet shown
};

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
    process_.kill();
    running = false;
}

TesterRun::Start TesterRun::start(std::string_view switches)
{
    const QString directory = workingDirectory();
    const QString testerDirectory =
        ctx_.state.places.testerDirectory.isEmpty() ? directory : ctx_.state.places.testerDirectory;
    const std::optional<std::string> program = engine::findProgram(kTesterProgram, {fileName(testerDirectory)});
    if (!program) {
        ctx_.dialogs.message(QStringLiteral("Problem!"), QStringLiteral("pfgw64_133mm.exe not found in:\n") + testerDirectory);
        return Start::Missing;
    }
    const std::string numberFile = fileName(directory + QLatin1String(storage::kLastPrpFile));
    if (!process_.start(*program, engine::testerArguments(switches, numberFile), fileName(directory))) {
        ctx_.dialogs.message(QStringLiteral("Problem!"), QStringLiteral("Failed to launch PFGW!"));
        return Start::NotLaunched;
    }
    running = true;
    startMs_ = ctx_.nowMs();
    return Start::Started;
}

TesterRun::End TesterRun::follow()
{
    Watch watch(*this);
    const engine::TesterEnd end = process_.follow(watch);
    ended();
    switch (end) {
    case engine::TesterEnd::Finished:
        return End::Finished;
    case engine::TesterEnd::Stopped:
    case engine::TesterEnd::TimedOut:  // the window sets no time limit
        return End::Stopped;
    }
    return End::Stopped;
}

void TesterRun::ended()
{
    running = false;
    if (!console_)
        ctx_.controls.setText(ui::ControlId::TesterProgress, QString());
    if (console_)
        console_->markFinished();
}

}  // namespace primality
