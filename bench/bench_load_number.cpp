// "Load NUMBER" of a 10,000,000-digit file through the real window
// (offscreen), against a bare read of the same file plus mpz_set_str in the
// same process. Also prints the longest pause of the window's event loop
// during the load, measured with a 5 ms timer.
#include <gmp.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "engine/decimal_text.h"
#include "app/application.h"
#include "ui/control_ids.h"

namespace fs = std::filesystem;

namespace {

constexpr size_t kDigits = 10000000;

// Answers the two questions of Load NUMBER: Yes, then the file.
class BenchDialogs : public ui::Dialogs {
public:
    explicit BenchDialogs(QString file) : file_(std::move(file)) {}
    void message(const QString& title, const QString& text) override
    {
        std::printf("unexpected message: %s: %s\n", qPrintable(title), qPrintable(text));
    }
    ui::Answer askYesNo(const QString&, const QString&) override { return ui::Answer::Yes; }
    ui::Answer askYesNoCancel(const QString&, const QString&) override { return ui::Answer::Cancel; }
    QString saveFileName(const QString&, const QString&, const QString&) override { return {}; }
    QString openFileName(const QString&, const QString&, const QString&) override { return file_; }
    QString chooseDirectory(const QString&, const QString&) override { return {}; }
    std::optional<QString> inputText(const QString&, const QString&, const QString&) override { return {}; }

private:
    QString file_;
};

double secondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void writeNumberFile(const std::string& path)
{
    std::mt19937_64 random(1959);
    std::string digits(kDigits, '0');
    for (char& c : digits)
        c = static_cast<char>('0' + random() % 10);
    digits[0] = '7';
    std::ofstream(path, std::ios::binary) << digits;
}

double bareReadAndConvert(const std::string& path)
{
    auto start = std::chrono::steady_clock::now();
    std::FILE* file = std::fopen(path.c_str(), "rb");
    std::vector<char> text(fs::file_size(path) + 1);
    size_t size = std::fread(text.data(), 1, text.size() - 1, file);
    std::fclose(file);
    text[size] = '\0';
    mpz_t n;
    mpz_init(n);
    mpz_set_str(n, text.data(), 10);
    double seconds = secondsSince(start);
    mpz_clear(n);
    return seconds;
}

// base.div of the test fixtures saves the start-up from building it.
void provideDivisorFile(const fs::path& dir)
{
    fs::path shared = fs::temp_directory_path() / "quendrolt-test-fixtures" / "base.div";
    if (fs::exists(shared))
        fs::create_symlink(shared, dir / "base.div");
}

}  // namespace

int main(int argc, char** argv)
{
    QApplication qt(argc, argv);
    const fs::path dir = fs::temp_directory_path() / ("quendrolt-bench-load-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    fs::current_path(dir);
    provideDivisorFile(dir);
    const std::string path = (dir / "number.txt").string();
    writeNumberFile(path);

    double bare = bareReadAndConvert(path);

    BenchDialogs dialogs(QString::fromStdString(path));
    shell::SystemClock clock;
    engine::SeededRandomSource random;
    app::Application app(dialogs, clock, random);
    app.start();

    QElapsedTimer sinceTick;
    qint64 longestPauseMs = 0;
    QTimer ticker;
    ticker.setInterval(5);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        longestPauseMs = std::max(longestPauseMs, sinceTick.restart());
    });
    ticker.start();
    sinceTick.start();

    auto start = std::chrono::steady_clock::now();
    app.context().controls.click(ui::ControlId::LoadNumber);
    double load = secondsSince(start);
    longestPauseMs = std::max(longestPauseMs, sinceTick.elapsed());
    ticker.stop();

    const ui::ResultsList& results = app.context().results;
    bool complete = app.state().currentNumber.size() == kDigits &&
                    results.line(results.count() - 2).startsWith(QStringLiteral("Done in "));
    std::printf("Load NUMBER of %zu digits, up to its last line: %.3f s (%s)\n", kDigits, load,
                complete ? "complete" : "INCOMPLETE");
    std::printf("bare read + mpz_set_str of the same file:      %.3f s\n", bare);
    std::printf("ratio Load NUMBER / bare read + mpz_set_str:    %.3f\n", load / bare);
    std::printf("longest pause of the window's event loop:       %lld ms\n", static_cast<long long>(longestPauseMs));
    // Load NUMBER shows the number and never needs its binary form; the
    // verifying commands convert it as well. What that adds:
    auto convertStart = std::chrono::steady_clock::now();
    engine::BigInt n;
    engine::setFromDecimal(n, app.state().currentNumber);
    std::printf("conversion the verifying commands add:         %.3f s\n", secondsSince(convertStart));
    std::printf("target: under 1.5 s, window responsive: %s\n", load < 1.5 && longestPauseMs < 250 ? "met" : "NOT met");

    fs::current_path(fs::temp_directory_path());
    fs::remove_all(dir);
    return complete ? 0 : 1;
}
