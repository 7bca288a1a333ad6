// Calculator commands through the real window (offscreen) against the bare
// GMP calls they are made of: Multiply of two 1,000,000-digit numbers, NextP
// from a 1000-digit number, and MR / M<>D on a 10,000,000-digit memory.
#include <QApplication>
#include <QElapsedTimer>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <unistd.h>

#include "engine/decimal_text.h"
#include "engine/prime_search.h"
#include "shell/application.h"
#include "shell/control_ids.h"

namespace {

namespace id = shell::id;

// Every question is answered Yes; the benchmark asks nothing on purpose.
class YesDialogs : public ui::Dialogs {
public:
    void message(const QString& title, const QString& text) override
    {
        std::printf("unexpected message: %s: %s\n", qPrintable(title), qPrintable(text));
    }
    ui::Answer askYesNo(const QString&, const QString&) override { return ui::Answer::Yes; }
    ui::Answer askYesNoCancel(const QString&, const QString&) override { return ui::Answer::Yes; }
    QString saveFileName(const QString&, const QString&, const QString&) override { return {}; }
    QString openFileName(const QString&, const QString&, const QString&) override { return {}; }
    QString chooseDirectory(const QString&, const QString&) override { return {}; }
    std::optional<QString> inputText(const QString&, const QString&, const QString&) override { return {}; }
};

double secondsOf(const std::function<void()>& work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return static_cast<double>(timer.nsecsElapsed()) / 1e9;
}

// The machine is shared, so the baseline and our code run in turns and the
// best of each counts. The window first paints what the previous command
// left, as the event loop would between two clicks.
std::pair<double, double> bestInTurns(int rounds, const std::function<void()>& baseline,
                                      const std::function<void()>& ours)
{
    double bestBaseline = 1e300, bestOurs = 1e300;
    for (int i = 0; i < rounds; ++i) {
        bestBaseline = std::min(bestBaseline, secondsOf(baseline));
        QCoreApplication::processEvents();
        bestOurs = std::min(bestOurs, secondsOf(ours));
    }
    return {bestBaseline, bestOurs};
}

std::string randomDigits(gmp_randstate_t state, unsigned long digits)
{
    engine::BigInt bound, x;
    mpz_ui_pow_ui(bound.get(), 10, digits - 1);
    mpz_urandomm(x.get(), state, bound.get());
    mpz_add(x.get(), x.get(), bound.get());  // exactly `digits` digits
    return engine::toDecimal(x);
}

// Runs in a scratch directory; the test fixtures' divisor file is reused
// when it exists, so that start-up does not build one.
void enterScratchDirectory()
{
    namespace fs = std::filesystem;
    fs::path dir = fs::temp_directory_path() / ("quendrolt-bench-calculator-" + std::to_string(::getpid()));
    fs::create_directories(dir);
    fs::path shared = fs::temp_directory_path() / "quendrolt-test-fixtures" / "base.div";
    if (fs::exists(shared) && !fs::exists(dir / "base.div"))
        fs::create_symlink(shared, dir / "base.div");
    fs::current_path(dir);
}

struct Bench {
    shell::Application& app;
    gmp_randstate_t& random;

    shell::AppState& state() { return app.state(); }
    void click(int control) { app.context().controls.click(control); }
    void setNumber(const std::string& digits) { state().currentNumber = digits; }

    void multiply()
    {
        const std::string a = randomDigits(random, 1000000);
        engine::BigInt b;
        engine::setFromDecimal(b, randomDigits(random, 1000000));

        state().memory.set(b);
        click(id::MemoryOption);
        const auto [bare, command] = bestInTurns(
            5,
            [&] {
                engine::BigInt x, y, product;
                engine::setFromDecimal(x, a);
                y.set(b);
                mpz_mul(product.get(), x.get(), y.get());
                std::string text = engine::toDecimal(product);
            },
            [&] {
                setNumber(a);
                click(id::Multiply);
            });
        click(id::OperandOption);
        std::printf("Multiply 1,000,000 x 1,000,000 digits: bare GMP (set_str + mul + get_str) %.3f s, "
                    "calculator command %.3f s, ratio %.3f (overhead %.1f %%)\n",
                    bare, command, command / bare, 100.0 * (command / bare - 1));
    }

    void nextPrime()
    {
        const std::string start = randomDigits(random, 1000);
        std::string expected;
        auto nextPrimeBy = [&](void (*search)(engine::BigInt&)) {
            return [&, search] {
                engine::BigInt n;
                engine::setFromDecimal(n, start);
                search(n);
                expected = engine::toDecimal(n);
            };
        };
        auto command = [&] {
            setNumber(start);
            click(id::NextP);
        };
        auto bareSearch = [](engine::BigInt& n) { mpz_nextprime(n.get(), n.get()); };
        const auto [bare, commandVsBare] = bestInTurns(2, nextPrimeBy(bareSearch), command);
        const auto [search, commandVsSearch] = bestInTurns(2, nextPrimeBy(engine::nextPrime), command);
        const double commandTime = std::min(commandVsBare, commandVsSearch);
        const bool same = state().currentNumber == expected;
        std::printf("NextP from 1000 digits: mpz_nextprime %.3f s, generator's search %.3f s, calculator command %.3f s; "
                    "command / search %.3f, command / mpz_nextprime %.3f; same prime: %s\n",
                    bare, search, commandTime, commandTime / search, commandTime / bare, same ? "yes" : "NO");
    }

    void recallAndSwap()
    {
        engine::BigInt value;
        engine::setFromDecimal(value, randomDigits(random, 10000000));
        const double bareToText = secondsOf([&] { std::string text = engine::toDecimal(value); });
        state().memory.set(value);
        setNumber("12345");
        QCoreApplication::processEvents();
        const double recall = secondsOf([&] { click(id::MemoryRecall); });
        QCoreApplication::processEvents();
        const double swap = secondsOf([&] { click(id::MemorySwap); });
        std::printf("10,000,000-digit memory: bare mpz_get_str %.3f s; MR %.3f s (ratio %.3f); "
                    "M<>D of two 10,000,000-digit values %.3f s (ratio %.3f)\n",
                    bareToText, recall, recall / bareToText, swap, swap / bareToText);
    }
};

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication qt(argc, argv);
    enterScratchDirectory();
    YesDialogs dialogs;
    shell::SystemClock clock;
    shell::SeededRandomSource randomSource;
    shell::Application app(dialogs, clock, randomSource);
    app.start();

    gmp_randstate_t random;
    gmp_randinit_default(random);
    gmp_randseed_ui(random, 1959);
    Bench bench{app, random};
    bench.multiply();
    bench.nextPrime();
    bench.recallAndSwap();
    gmp_randclear(random);
    return 0;
}
