// Digit statistics, SAVE/LOAD of a parameters file and the spreadsheet export,
// each against a bare baseline over the same bytes in the same process. The
// commands run through the real window (offscreen, dialogs answered by a
// script of this program); start-up is skipped, so no base.div is needed.
#include <unistd.h>

#include <QApplication>
#include <chrono>
#include <cstdio>
#include <functional>
#include <random>
#include <string>

#include "engine/digit_statistics.h"
#include "files/export_command.h"
#include "app/application.h"
#include "ui/control_ids.h"
#include "shell/number_display.h"

namespace {

// Answers every dialog the benchmarked commands show: the given path for file
// dialogs, Yes to replace and large-number questions, No to "Open now?".
class BenchDialogs : public ui::Dialogs {
public:
    QString path;
    void message(const QString& title, const QString& text) override
    {
        std::fprintf(stderr, "unexpected message %s: %s\n", qPrintable(title), qPrintable(text));
    }
    ui::Answer askYesNo(const QString&, const QString&) override { return ui::Answer::No; }
    ui::Answer askYesNoCancel(const QString&, const QString&) override { return ui::Answer::Yes; }
    QString saveFileName(const QString&, const QString&, const QString&) override { return path; }
    QString openFileName(const QString&, const QString&, const QString&) override { return path; }
    QString chooseDirectory(const QString&, const QString&) override { return {}; }
    std::optional<QString> inputText(const QString&, const QString&, const QString&) override { return std::nullopt; }
};

double secondsOf(const std::function<void()>& work, int repeats = 3)
{
    double best = 1e300;
    for (int i = 0; i < repeats; ++i) {
        auto start = std::chrono::steady_clock::now();
        work();
        std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        best = std::min(best, took.count());
    }
    return best;
}

void report(const char* what, double ours, double baseline, double target)
{
    std::printf("%-48s ours %8.3f s   baseline %8.3f s   ratio %6.2f   target < %.1f s %s\n", what, ours, baseline,
                ours / baseline, target, ours < target ? "(met)" : "(MISSED)");
}

std::string randomDigits(size_t count)
{
    std::mt19937_64 random(1959);
    std::string digits(count, '0');
    for (char& c : digits)
        c = static_cast<char>('0' + random() % 10);
    digits[0] = '7';
    return digits;
}

// The file in one read into a string of its size.
std::string readWhole(const char* path)
{
    std::FILE* file = std::fopen(path, "rb");
    std::fseek(file, 0, SEEK_END);
    std::string bytes(static_cast<size_t>(std::ftell(file)), '\0');
    std::fseek(file, 0, SEEK_SET);
    bytes.resize(std::fread(bytes.data(), 1, bytes.size(), file));
    std::fclose(file);
    return bytes;
}

void writeWhole(const char* path, const std::string& bytes)
{
    std::FILE* file = std::fopen(path, "wb");
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fflush(file);
    ::fsync(::fileno(file));
    std::fclose(file);
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication qt(argc, argv);
    BenchDialogs dialogs;
    shell::SystemClock clock;
    engine::SeededRandomSource random;
    app::Application app(dialogs, clock, random);
    shell::AppContext& ctx = app.context();

    const size_t kDigits = 10'000'000;
    std::printf("Quendrolt analysis and files benchmark (%zu-digit number)\n\n", kDigits);
    app.state().currentNumber = randomDigits(kDigits);
    shell::numberChanged(ctx, static_cast<int64_t>(kDigits));
    const std::string& number = app.state().currentNumber;

    // Digit statistics: a bare count of every digit, forwards and backwards,
    // against both scans, and
    // against the whole command with its lines.
    volatile int64_t sink = 0;
    const double countLoop = secondsOf([&] {
        int64_t count[10] = {};
        for (char c : number)
            ++count[static_cast<unsigned char>(c) - '0'];
        for (auto c = number.rbegin(); c != number.rend(); ++c)
            ++count[static_cast<unsigned char>(*c) - '0'];
        sink = sink + count[3];
    });
    const double scans = secondsOf([&] {
        const engine::Segment all{1, static_cast<int64_t>(kDigits)};
        sink = sink + engine::scanDigits(number, all, engine::ScanDirection::Forward).count[3] +
               engine::scanDigits(number, all, engine::ScanDirection::Backward).count[3];
    });
    const double statisticsCommand = secondsOf([&] { ctx.controls.click(ui::ControlId::DigitStatistics); });
    report("digit statistics: both scans", scans, countLoop, 0.5);
    report("digit statistics: \"< Digit Statistics\" command", statisticsCommand, countLoop, 0.5);

    // SAVE and LOAD of a parameters file holding the number, against writing
    // (with the same fsync) and reading the same bytes bare.
    const char* qdx = "bench.qdx";
    dialogs.path = QString::fromLatin1(qdx);
    const double save = secondsOf([&] { ctx.controls.click(ui::ControlId::SaveParameters); });
    const std::string fileBytes = readWhole(qdx);
    const double bareWrite = secondsOf([&] { writeWhole("bare.qdx", fileBytes); });
    const double bareRead = secondsOf([&] { sink = sink + static_cast<int64_t>(readWhole("bare.qdx").size()); });
    const double load = secondsOf([&] {
        app.state().currentNumber.clear();
        ctx.controls.click(ui::ControlId::LoadParameters);
    });
    if (app.state().currentNumber != number)
        std::printf("LOAD did not restore the number!\n");
    report("SAVE of a parameters file (10 MB number)", save, bareWrite, 1.5);
    report("LOAD of a parameters file (10 MB number)", load, bareRead, 1.5);

    // Export of 16,383 list lines of the usual kinds, against writing the same
    // line bytes with one fwrite.
    ctx.results.clear();
    ctx.results.suspendUpdates(true);
    std::string lineBytes;
    for (int i = 0; i < 16383; ++i) {
        QString line;
        switch (i % 4) {
        case 0: line = QStringLiteral("  %1%2%3%4%5").arg(i % 10).arg(i, 18).arg(i % 977, 10).arg(3, 10).arg(41, 10); break;
        case 1: line = QStringLiteral("Analyzing a number with %1 digits:").arg(i); break;
        case 2: line = QStringLiteral("Done in 0.125 s at 14:07 h - 12/06/2026"); break;
        default: line = QStringLiteral("Number > ") + QString(100, QLatin1Char('0' + i % 10)); break;
        }
        ctx.results.add(line);
        lineBytes += line.toLatin1().toStdString();
    }
    ctx.results.suspendUpdates(false);
    const double bareExport = secondsOf([&] { writeWhole("bare.xls", lineBytes); });
    const double exportCore =
        secondsOf([&] { sink = sink + files::exportResults(ctx.results, "core.xls", 16383).written; });
    dialogs.path = QStringLiteral("bench.xls");
    const double exportCommand = secondsOf([&] { ctx.controls.click(ui::ControlId::ExportToExcel); });
    report("export of 16,383 lines: record writer", exportCore, bareExport, 1.0);
    report("export of 16,383 lines: \"Export to Excel\" command", exportCommand, bareExport, 1.0);
    return 0;
}
