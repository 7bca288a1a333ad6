#pragma once
// One run of the probable-prime tester as a child process, shared by the
// interactive run and the hidden check: finding the program, its arguments,
// starting it in the working directory, following its output every 10 ms
// while the window keeps handling events, and STOP.
#include <QPointer>
#include <QProcess>
#include <QStringList>
#include <string>
#include <string_view>

#include "primality/console_window.h"
#include "shell/app_context.h"
#include "storage/number_files.h"

namespace primality {

using storage::kTesterProgram;

// The base switches " -k -T4 ", then the given switches, each as a word of
// its own, then the number file as one last word: a path with blanks stays
// whole without any quoting.
QStringList testerArguments(std::string_view switches, const QString& numberFile);

// Removes the tester's pfgw.ini and pfgw.out and writes digits to
// last_PRP.txt, all in the working directory. The writing of a number of
// millions of digits runs off the window thread. When last_PRP.txt cannot be
// written, says so in a message and returns false.
[[nodiscard]] bool prepareTesterFiles(shell::AppContext& ctx, const std::string& digits);

// True while a tester child exists (there is never more than one).
bool testerRunning();

class TesterRun {
public:
    enum class End { Finished, Stopped };
    enum class Start { Started, Missing, NotLaunched };

    // console: where the output goes as it comes; null for the hidden check.
    TesterRun(shell::AppContext& ctx, ConsoleWindow* console);
    ~TesterRun();
    TesterRun(const TesterRun&) = delete;
    TesterRun& operator=(const TesterRun&) = delete;

    // Finds and starts the tester on last_PRP.txt. When it is missing or does
    // not start, shows the message and says which.
    [[nodiscard]] Start start(std::string_view switches);
    // Until the tester ends, or STOP is ticked (the tester is then killed).
    [[nodiscard]] End follow();

    // The last output line that carried a recognised keyword; empty if none.
    const std::string& resultLine() const { return resultLine_; }
    int64_t startMs() const { return startMs_; }

private:
    void takeOutput(qint64 budget);
    void takePiece(const QByteArray& piece);
    void takeLine(const QByteArray& raw);
    void showProgress();
    void passErrorOutputToConsole();
    void drainOutput();
    void kill();

    shell::AppContext& ctx_;
    QPointer<ConsoleWindow> console_;
    QProcess process_;
    std::string resultLine_;
    QByteArray errorTail_;  // the end of the hidden run's standard error
    QByteArray partialLine_;  // the line being read; only its tail once it is long
    int64_t startMs_ = 0;
};

}  // namespace primality
