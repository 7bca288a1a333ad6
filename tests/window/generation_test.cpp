// "START Generation" through the real window: the start checks, the mode
// boxes, each mode's waiting line and stopped end, the report lines, the
// resume file, the repaired dead ends, and one real generation.
#include <QTimer>
#include <deque>
#include <filesystem>
#include <fstream>
#include <functional>
#include <limits>
#include <random>
#include <sstream>

#include "engine/decimal_text.h"
#include "engine/divisor_test.h"
#include "engine/prime_search.h"
#include "storage/resume_file.h"
#include "ui/control_ids.h"
#include "support/window_fixture.h"

using namespace testing_support;
using ui::Answer;
namespace fs = std::filesystem;

namespace {

// Chosen values first, then the program's own seeded sequence.
class TestRandom : public engine::RandomSource {
public:
    int64_t draw(int64_t low, int64_t high) override
    {
        if (script.empty())
            return seeded_.draw(low, high);
        int64_t value = script.front();
        script.pop_front();
        return value;
    }
    std::deque<int64_t> script;

private:
    engine::SeededRandomSource seeded_;
};

// The draws that make buildRandomCandidate produce exactly `number`.
void appendDrawsFor(const std::string& number, std::deque<int64_t>& draws, const std::string& start = "123456789",
                    const std::string& finals = "1379")
{
    const size_t n = number.size();
    draws.push_back(static_cast<int64_t>(start.find(number.front())));
    std::string middle = number.substr(1, n - 2);
    size_t drawCount = n / 9 + (n % 9 ? 1 : 0);
    middle.resize(drawCount * 9, '0');
    for (size_t d = 0; d < drawCount; ++d)
        draws.push_back(std::stoll(middle.substr(d * 9, 9)));
    draws.push_back(static_cast<int64_t>(finals.find(number.back())));
}

std::string decimal(const engine::BigInt& x) { return engine::toDecimal(x); }

engine::BigInt power(unsigned long base, unsigned long exponent)
{
    engine::BigInt x;
    mpz_ui_pow_ui(x.get(), base, exponent);
    return x;
}

// An n-digit number (n >= 25) with the prime factor f and one large prime cofactor.
std::string withFactor(unsigned long f, unsigned long n)
{
    engine::BigInt m = power(10, n - 1);
    mpz_tdiv_q_ui(m.get(), m.get(), f);
    mpz_add_ui(m.get(), m.get(), 1000000);
    engine::nextPrime(m);
    mpz_mul_ui(m.get(), m.get(), f);
    return decimal(m);
}

std::string primeWithDigits(unsigned long n)
{
    engine::BigInt p = power(10, n - 1);
    mpz_mul_ui(p.get(), p.get(), 3);
    engine::nextPrime(p);
    return decimal(p);
}

const char* const kSleepingTester = "exec sleep 30\n";
const char* const kPrpTester = "echo \"N is 3-PRP! (0.0s+0.0s)\"\n";
const char* const kCompositeThenPrpTester =
    "if [ -f called ]; then echo \"N is 3-PRP! (0.0s+0.0s)\"; else touch called;"
    " echo \"N is composite: RES64: [0000000000000000] (0.0s+0.0s)\"; fi\n";

const QString kUserStopLine = "Generation was stopped by the user... the generated number may not be a prime number! (0)";
const QString kLargeStopLine = "14:05 h - Generation was stopped... the generated number may Not be a prime number! (0)";
const QString kWaitingSmall = "PLEASE WAIT... This process may take a few minutes! < ( Started at 14:05:09 h";
const QString kWaitingMedium = "PLEASE WAIT... This process may take a few minutes! <> ( Started at 14:05:09 h";
const QString kWaitingLarge = "PLEASE WAIT... Primality test running (large numbers may take hours) >";
const QString kTipLine = "Tip: Set 'Internal limit in minutes' to control waiting time. ( 14:05:09 h )";
const QString kNotFoundMessage =
    "Previous processing file not found:\r\rSearch_bitmap.bit\r\rInitial processing will be restarted.";

}  // namespace

class Generation : public WindowTest {
protected:
    // A fresh start whose random source the test can script.
    void useTestRandom()
    {
        app.reset();
        app = std::make_unique<app::Application>(dialogs, clock, testRandom);
        app->start();
    }

    void generate(int64_t n)
    {
        setText(ui::ControlId::TotalDigits, QString::number(n));
        click(ui::ControlId::StartGeneration);
    }

    void installFakeTester(const char* body)
    {
        fs::path tester = workDir() / "pfgw64_133mm.exe";
        std::ofstream(tester) << "#!/bin/sh\n" << body;
        fs::permissions(tester, fs::perms::owner_all);
    }

    // Runs action once, while the run processes events, when condition holds.
    void during(std::function<bool()> condition, std::function<void()> action)
    {
        auto timer = std::make_unique<QTimer>();
        QTimer* t = timer.get();
        QObject::connect(t, &QTimer::timeout, [t, condition, action] {
            if (condition()) {
                t->stop();
                action();
            }
        });
        t->start(2);
        timers_.push_back(std::move(timer));
    }

    // Keeps the waiting lines as they were shown and ticks STOP.
    void stopOnceWaiting()
    {
        during([this] { return firstLineStarting("PLEASE WAIT").has_value(); },
               [this] {
                   int at = *firstLineStarting("PLEASE WAIT");
                   waitingLines = {lines()[at], at + 1 < lines().size() ? lines()[at + 1] : QString()};
                   tick(ui::ControlId::Stop, true);
               });
    }

    std::optional<int> firstLineStarting(const QString& prefix) const
    {
        QStringList all = lines();
        for (int i = 0; i < all.size(); ++i)
            if (all[i].startsWith(prefix))
                return i;
        return std::nullopt;
    }

    // The report line of the latest run.
    QString reportLine() const
    {
        QStringList all = lines();
        for (int i = all.size() - 1; i >= 0; --i)
            if (all[i].startsWith("A candidate with "))
                return all[i];
        return QString();
    }

    std::string fileText(const std::string& name) const
    {
        std::ifstream in(workFile(name), std::ios::binary);
        std::ostringstream all;
        all << in.rdbuf();
        return all.str();
    }

    TestRandom testRandom;
    QStringList waitingLines;

private:
    std::vector<std::unique_ptr<QTimer>> timers_;
};

TEST_F(Generation, start_checks_refuse_in_their_order_with_their_messages)
{
    struct Case {
        const char* name;
        std::function<void()> setUp;
        QString digits;
        QString message;
    };
    const Case cases[] = {
        {"no final digit", [this] { for (int box : {ui::ControlId::FinalDigit1, ui::ControlId::FinalDigit3, ui::ControlId::FinalDigit7, ui::ControlId::FinalDigit9}) tick(box, false); }, "1111",
         "At least one final digit must be defined!"},
        {"no start digit", [this] { for (int box = ui::ControlId::StartDigit1; box <= ui::ControlId::StartDigit0; ++box) tick(box, false); }, "1111",
         "You need to define at least one initial digit!"},
        {"two digits", [] {}, "2", "Please enter a higher number of digits."},
        {"empty", [] {}, "", "Please enter a higher number of digits."},
        {"no number", [] {}, "abc", "Please enter a higher number of digits."},
        {"beyond the limit", [] {}, "78000001", "This version is limited to numbers greater than 78,000,000 digits!"},
        {"iconic below 10", [this] { tick(ui::ControlId::Iconic, true); setText(ui::ControlId::IconicDigit, "1"); }, "9",
         "Iconic prime numbers between 10 and 10,000 digits!"},
        {"iconic above 10,000", [this] { tick(ui::ControlId::Iconic, true); setText(ui::ControlId::IconicDigit, "1"); }, "10001",
         "Iconic prime numbers between 10 and 10,000 digits!"},
        {"iconic size checks come after the general ones", [this] { tick(ui::ControlId::Iconic, true); }, "2",
         "Please enter a higher number of digits."},
        {"iconic without a digit", [this] { tick(ui::ControlId::Iconic, true); }, "100",
         "Specify which digit will be used in the iconic number!"},
        {"iconic with a letter", [this] { tick(ui::ControlId::Iconic, true); setText(ui::ControlId::IconicDigit, "x"); }, "100",
         "Specify which digit will be used in the iconic number!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();
        dialogs = ScriptedDialogs();
        SetUp();
        c.setUp();
        setText(ui::ControlId::Tot, "5");
        dialogs.willAnswer(Answer::Ok);
        setText(ui::ControlId::TotalDigits, c.digits);
        click(ui::ControlId::StartGeneration);
        ASSERT_EQ(dialogs.calls.size(), 1u);
        EXPECT_EQ(dialogs.last().title, "Problem!");
        EXPECT_EQ(dialogs.last().text, c.message);
        EXPECT_TRUE(enabled(ui::ControlId::StartGeneration)) << "the lock is released";
        EXPECT_TRUE(enabled(ui::ControlId::Exit));
        EXPECT_FALSE(enabled(ui::ControlId::Stop));
        bool countersReset = c.message != "At least one final digit must be defined!" &&
                             c.message != "You need to define at least one initial digit!";
        EXPECT_EQ(text(ui::ControlId::Tot), countersReset ? "0" : "5");
        EXPECT_EQ(firstLineStarting("A candidate"), std::nullopt);
    }
}

TEST_F(Generation, mode_boxes_hide_the_controls_that_do_not_apply_and_show_them_again)
{
    const std::vector<int> hiddenByIconic = {ui::ControlId::Signature, ui::ControlId::Mersenne, ui::ControlId::SignaturePaste, ui::ControlId::SignatureCopy,
                                             ui::ControlId::SignatureClear};
    const std::vector<int> hiddenByMersenne = {ui::ControlId::Signature, ui::ControlId::IconicDigit, ui::ControlId::Iconic, ui::ControlId::SignaturePaste,
                                               ui::ControlId::SignatureCopy, ui::ControlId::SignatureClear};
    setText(ui::ControlId::Signature, "Ana");
    click(ui::ControlId::Iconic);
    for (int control : hiddenByIconic)
        EXPECT_FALSE(visible(control)) << control;
    EXPECT_TRUE(visible(ui::ControlId::IconicDigit));
    click(ui::ControlId::Iconic);
    for (int control : hiddenByIconic)
        EXPECT_TRUE(visible(control)) << control;

    click(ui::ControlId::Mersenne);
    for (int control : hiddenByMersenne)
        EXPECT_FALSE(visible(control)) << control;
    click(ui::ControlId::Mersenne);
    for (int control : hiddenByMersenne)
        EXPECT_TRUE(visible(control)) << control;
    EXPECT_EQ(text(ui::ControlId::Signature), "Ana");
    EXPECT_FALSE(checked(ui::ControlId::Mersenne));
}

TEST_F(Generation, small_run_reports_candidates_divisor_hits_and_attempts)
{
    const std::string prime = primeWithDigits(30);
    struct Case {
        std::vector<std::string> candidates;
        QString report;
    };
    const Case cases[] = {
        {{prime}, "A candidate with 30 digits was created in 1 / 0-0-0 / 1 attempt - 0 ( And it's in memory )"},
        {{withFactor(7, 30), withFactor(11, 30), withFactor(13, 30), withFactor(5000011, 30), prime},
         "A candidate with 30 digits was created in 5 / 3-1-0 / 1 attempts - 0 ( And it's in memory )"},
    };
    for (const Case& c : cases) {
        TearDown();
        dialogs = ScriptedDialogs();
        SetUp();
        useTestRandom();
        for (const std::string& candidate : c.candidates)
            appendDrawsFor(candidate, testRandom.script);

        generate(30);
        EXPECT_EQ(reportLine(), c.report);
        QStringList all = lines();
        ASSERT_GE(all.size(), 4);
        EXPECT_EQ(all[all.size() - 4], "Number > " + QString::fromStdString(prime));
        EXPECT_EQ(all[all.size() - 3], c.report);
        EXPECT_TRUE(all[all.size() - 2].startsWith("Done in ")) << all[all.size() - 2].toStdString();
        EXPECT_TRUE(all[all.size() - 2].endsWith(" s at 14:05 h - 12/06/2026"));
        EXPECT_EQ(all[all.size() - 1], QString(122, '-'));
        EXPECT_EQ(firstLineStarting("PLEASE WAIT"), std::nullopt);
        EXPECT_EQ(currentNumber(), prime);
        EXPECT_EQ(fileText("last_number.txt"), prime);
        EXPECT_EQ(text(ui::ControlId::StatusLine), QString::fromStdString(prime));
        EXPECT_EQ(text(ui::ControlId::Tot), QString::number(c.candidates.size()));
        EXPECT_EQ(text(ui::ControlId::Qty), "1");
        EXPECT_EQ(text(ui::ControlId::DigitCountDisplay), "30");
        EXPECT_EQ(text(ui::ControlId::SegmentEnd), "30");
        EXPECT_TRUE(enabled(ui::ControlId::StartGeneration));
        EXPECT_FALSE(enabled(ui::ControlId::Stop));
    }
}

TEST_F(Generation, digit_count_chooses_the_mode_and_stop_ends_each_one)
{
    struct Case {
        int64_t n;
        QStringList waiting;
        QStringList endLines;
        bool reportsNumber;
        bool writesResumeFile;
    };
    const Case cases[] = {
        {7000, {kWaitingSmall}, {kUserStopLine}, true, false},
        {7001, {kWaitingMedium}, {kUserStopLine}, true, true},
        {77999, {kWaitingMedium}, {kUserStopLine}, true, true},
        {78000, {kWaitingLarge, kTipLine}, {kLargeStopLine, QString(122, '-')}, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.n);
        TearDown();
        dialogs = ScriptedDialogs();
        SetUp();
        installFakeTester(kSleepingTester);
        stopOnceWaiting();
        generate(c.n);

        EXPECT_EQ(waitingLines.mid(0, c.waiting.size()), c.waiting);
        for (const QString& waiting : c.waiting)
            EXPECT_FALSE(hasLine(waiting)) << "waiting lines are removed";
        std::optional<int> end = firstLineStarting(c.endLines.front());
        ASSERT_TRUE(end.has_value()) << lines().join("\n").toStdString();
        EXPECT_EQ(lines().mid(*end, c.endLines.size()), c.endLines);
        EXPECT_EQ(fs::exists(workFile("Search_bitmap.bit")), c.writesResumeFile);
        EXPECT_FALSE(checked(ui::ControlId::Stop));
        EXPECT_TRUE(enabled(ui::ControlId::Exit));
        if (c.reportsNumber) {
            // The search or test was abandoned: the number reported is the
            // candidate itself, as drawn.
            EXPECT_EQ(currentNumber().size(), static_cast<size_t>(c.n));
            EXPECT_NE(std::string("1379").find(currentNumber().back()), std::string::npos);
            EXPECT_TRUE(reportLine().endsWith(" - 7 ( And it's in memory )")) << reportLine().toStdString();
            EXPECT_EQ(fileText("last_number.txt"), currentNumber());
        } else {
            // Stopped before any test: nothing was tested, so R is still 0.
            EXPECT_EQ(currentNumber(), "0");
            EXPECT_EQ(text(ui::ControlId::DigitCountDisplay), "1");
            EXPECT_EQ(reportLine(), "");
            EXPECT_FALSE(fs::exists(workFile("last_number.txt")));
        }
    }
}

TEST_F(Generation, stop_in_the_iconic_mode_reports_the_candidate_it_was_searching_from)
{
    tick(ui::ControlId::Iconic, true);
    setText(ui::ControlId::IconicDigit, "9");
    stopOnceWaiting();
    generate(2000);
    EXPECT_EQ(waitingLines.front(), "PLEASE WAIT... This process may take a few minutes! = ( Started at 14:05:09 h");
    EXPECT_TRUE(hasLine(kUserStopLine));
    ASSERT_EQ(currentNumber().size(), 2000u);
    EXPECT_EQ(currentNumber().substr(0, 2000 - 4), std::string(1996, '9'));
    // The rejected candidates count once, the one searched from twice.
    int rejected = text(ui::ControlId::Div1).toInt() + text(ui::ControlId::Div2).toInt() + text(ui::ControlId::Div3).toInt();
    EXPECT_EQ(text(ui::ControlId::Tot).toInt(), rejected + 2);
    EXPECT_TRUE(reportLine().contains(" - 7 ( And it's in memory )"));
}

TEST_F(Generation, time_limit_ends_a_search_as_stopped_due_to_the_time_limit)
{
    during([this] { return firstLineStarting("PLEASE WAIT").has_value(); }, [] {});
    auto advancing = std::make_unique<QTimer>();
    QObject::connect(advancing.get(), &QTimer::timeout, [this] { clock.advance(1'000'000'000); });
    advancing->start(5);
    generate(3000);
    advancing->stop();
    EXPECT_TRUE(hasLine("Generation was stopped due to the time limit... the generated number may not be a prime number! (0)"))
        << lines().join("\n").toStdString();
    EXPECT_TRUE(reportLine().endsWith(" - 6 ( And it's in memory )"));
    EXPECT_EQ(currentNumber().size(), 3000u);
}

TEST_F(Generation, every_iconic_tail_tried_ends_the_run_as_stopped)
{
    // 3333333333x1 for x = 1..9: nine tails, each rejected by the first check.
    tick(ui::ControlId::Iconic, true);
    setText(ui::ControlId::IconicDigit, "3");
    for (int box : {ui::ControlId::FinalDigit3, ui::ControlId::FinalDigit7, ui::ControlId::FinalDigit9})
        tick(box, false);
    generate(12);
    std::optional<int> at = firstLineStarting("Generation was stopped because every tail has been tried");
    ASSERT_TRUE(at.has_value()) << lines().join("\n").toStdString();
    EXPECT_TRUE(lines()[*at].startsWith(
        "Generation was stopped because every tail has been tried... the generated number may not be a prime number! ("));
    EXPECT_EQ(text(ui::ControlId::Tot), "9");
    EXPECT_EQ(text(ui::ControlId::Div1).toInt() + text(ui::ControlId::Div2).toInt() + text(ui::ControlId::Div3).toInt(), 9);
    EXPECT_TRUE(reportLine().startsWith("A candidate with 12 digits was created in 9 / "));
    EXPECT_TRUE(enabled(ui::ControlId::StartGeneration));
}

TEST_F(Generation, missing_tester_ends_the_run_after_its_first_message)
{
    for (int64_t n : {7001, 78000}) {
        SCOPED_TRACE(n);
        TearDown();
        dialogs = ScriptedDialogs();
        SetUp();
        dialogs.willAnswer(Answer::Ok);
        generate(n);
        ASSERT_EQ(dialogs.calls.size(), 1u);
        EXPECT_EQ(dialogs.last().text, "pfgw64_133mm.exe not found in:\n" + QString::fromStdString(workDir().string()) + "/");
        EXPECT_TRUE(hasLine("Generation was stopped because the external PRP program could not run... the generated "
                            "number may not be a prime number! (0)"))
            << lines().join("\n").toStdString();
        EXPECT_EQ(currentNumber().size(), static_cast<size_t>(n));
        EXPECT_TRUE(enabled(ui::ControlId::StartGeneration));
    }
}

TEST_F(Generation, stopped_medium_run_saves_its_counters_and_a_resumed_run_continues_them)
{
    installFakeTester(kSleepingTester);
    during([this] { return text(ui::ControlId::Qty) == "1"; }, [this] { tick(ui::ControlId::Stop, true); });
    generate(7001);
    ASSERT_TRUE(hasLine(kUserStopLine));
    std::optional<storage::ResumeState> saved = storage::loadResumeFile(workFile("Search_bitmap.bit"));
    ASSERT_TRUE(saved);
    const int64_t stoppedTotal = saved->total();
    EXPECT_GE(stoppedTotal, 1);
    EXPECT_EQ(saved->fieldTexts[0], std::to_string(stoppedTotal));
    EXPECT_EQ(saved->fieldTexts[1], std::to_string(saved->counters.d1Hits));
    EXPECT_EQ(saved->fieldTexts[4], "1") << "QTY shows the external check";
    EXPECT_EQ(saved->counters.externalChecks, 1);
    EXPECT_EQ(saved->counters.d1Hits + saved->counters.d2Hits + saved->counters.d3Hits, stoppedTotal - 1)
        << "every candidate but the last was rejected";
    EXPECT_EQ(saved->bitmap, std::vector<uint8_t>(storage::kResumeBitmapBytes, 0));

    installFakeTester(kPrpTester);
    tick(ui::ControlId::LoadPrevious, true);
    generate(7001);
    QString report = reportLine();
    QStringList parts = report.split(" / ");
    ASSERT_EQ(parts.size(), 3) << report.toStdString();
    EXPECT_GT(parts[0].section(' ', -1).toLongLong(), stoppedTotal) << "TOT continues from the saved run";
    EXPECT_TRUE(parts[2].startsWith("0 attempts - 1 ( And it's in memory )")) << report.toStdString();
    EXPECT_EQ(text(ui::ControlId::Qty), "0") << "QTY returns to the run counter";
    EXPECT_EQ(currentNumber().size(), 7001u);
    EXPECT_EQ(fileText("last_PRP.txt"), currentNumber());
}

TEST_F(Generation, resume_file_that_is_missing_or_short_restarts_with_a_message)
{
    struct Case {
        std::optional<size_t> fileBytes;
        bool message;
    };
    const Case cases[] = {{std::nullopt, true}, {storage::kResumeBitmapBytes - 1, true}, {storage::kResumeBitmapBytes, false}};
    for (const Case& c : cases) {
        TearDown();
        dialogs = ScriptedDialogs();
        SetUp();
        installFakeTester(kPrpTester);
        if (c.fileBytes)
            std::ofstream(workFile("Search_bitmap.bit"), std::ios::binary) << std::string(*c.fileBytes, '\0');
        tick(ui::ControlId::LoadPrevious, true);
        if (c.message)
            dialogs.willAnswer(Answer::Ok);
        generate(7001);
        ASSERT_EQ(dialogs.calls.size(), c.message ? 1u : 0u);
        if (c.message) {
            EXPECT_EQ(dialogs.last().title, "Problem!");
            EXPECT_EQ(dialogs.last().text, kNotFoundMessage);
        }
        EXPECT_TRUE(reportLine().startsWith("A candidate with 7001 digits was created in ")) << reportLine().toStdString();
    }
}

// TOT and QTY count on from the resume file: counts at the end of the
// integers would wrap to negative ones on the next candidate.
TEST_F(Generation, resume_file_with_counts_beyond_any_run_restarts_with_a_message)
{
    storage::ResumeState saved;
    saved.fieldTexts = {"9223372036854775807", "0", "0", "0", "9223372036854775807", "", ""};
    saved.counters = {0, 0, 0, 0, std::numeric_limits<int64_t>::max()};
    ASSERT_TRUE(storage::saveResumeFile(workFile("Search_bitmap.bit"), saved));
    installFakeTester(kPrpTester);
    tick(ui::ControlId::LoadPrevious, true);
    dialogs.willAnswer(Answer::Ok);
    generate(7001);
    ASSERT_EQ(dialogs.calls.size(), 1u);
    EXPECT_EQ(dialogs.last().text, kNotFoundMessage);
    EXPECT_FALSE(text(ui::ControlId::Tot).startsWith('-')) << text(ui::ControlId::Tot).toStdString();
    EXPECT_FALSE(text(ui::ControlId::Qty).startsWith('-')) << text(ui::ControlId::Qty).toStdString();
    EXPECT_TRUE(reportLine().startsWith("A candidate with 7001 digits was created in ")) << reportLine().toStdString();
}

TEST_F(Generation, mersenne_run_tests_two_to_a_prime_exponent_minus_one)
{
    useTestRandom();
    // The random candidate 10^77999 + 1 fixes the bit length the exponent comes from.
    std::string start = "1" + std::string(77998, '0') + "1";
    appendDrawsFor(start, testRandom.script);
    installFakeTester(kCompositeThenPrpTester);
    tick(ui::ControlId::Mersenne, true);
    generate(78000);

    engine::BigInt x;
    engine::setFromDecimal(x, start);
    engine::BigInt q(static_cast<unsigned long>(mpz_sizeinbase(x.get(), 2)));
    engine::previousPrime(q);
    const engine::DivisorProducts& divisors = app->state().divisors;
    auto mersenne = [](const engine::BigInt& exponent) {
        engine::BigInt m = power(2, mpz_get_ui(exponent.get()));
        mpz_sub_ui(m.get(), m.get(), 1);
        return m;
    };
    auto skipRejected = [&] {
        while (engine::firstCheck(mersenne(q), divisors) != 0)
            engine::nextPrime(q);
    };
    skipRejected();
    engine::nextPrime(q);  // the composite verdict moves on
    EXPECT_EQ(text(ui::ControlId::PrpElapsed), QString::fromStdString(decimal(q)));
    skipRejected();

    EXPECT_EQ(currentNumber(), decimal(mersenne(q)));
    EXPECT_TRUE(reportLine().startsWith("A candidate with 78000 digits was created in ")) << reportLine().toStdString();
    EXPECT_TRUE(reportLine().endsWith(" - 0 ( And it's in memory )"));
}

// 2^q-1 with a q that is not prime is never prime: a search for q that did
// not finish ends the run instead of testing such a number for hours.
TEST_F(Generation, mersenne_exponent_search_ended_by_the_time_limit_ends_the_run)
{
    installFakeTester(kSleepingTester);
    tick(ui::ControlId::Mersenne, true);
    clock.advanceOnEveryRead(1'000'000'000'000);
    // Only a safety net for a run that goes on: it must not be needed.
    during([this] { return text(ui::ControlId::Tot) == "3"; }, [this] { tick(ui::ControlId::Stop, true); });
    generate(78000);

    EXPECT_TRUE(hasLine("Generation was stopped due to the time limit... the generated number may not be a prime number! (0)"))
        << lines().join("\n").toStdString();
    EXPECT_EQ(text(ui::ControlId::Tot), "0") << "no candidate was tested";
    EXPECT_FALSE(fs::exists(workFile("last_PRP.txt"))) << "the tester never ran";
    EXPECT_TRUE(reportLine().endsWith(" - 6 ( And it's in memory )")) << reportLine().toStdString();
    EXPECT_FALSE(hasLine(kWaitingLarge));
    EXPECT_TRUE(enabled(ui::ControlId::StartGeneration));
}

TEST_F(Generation, default_generation_leaves_a_probable_prime_of_1111_digits_in_last_number)
{
    click(ui::ControlId::StartGeneration);
    std::string digits = fileText("last_number.txt");
    ASSERT_EQ(digits.size(), 1111u);
    engine::BigInt n;
    ASSERT_TRUE(engine::setFromDecimal(n, digits));
    EXPECT_GT(mpz_probab_prime_p(n.get(), 25), 0);
    EXPECT_EQ(currentNumber(), digits);
    EXPECT_TRUE(reportLine().startsWith("A candidate with 1111 digits was created in "));
    EXPECT_TRUE(reportLine().endsWith(" attempts - 0 ( And it's in memory )") ||
                reportLine().endsWith(" attempt - 0 ( And it's in memory )"));
}

TEST_F(Generation, stop_during_a_large_numbers_test_reports_the_tested_candidate_with_the_not_wording)
{
    installFakeTester(kSleepingTester);
    during([this] { return text(ui::ControlId::Qty) == "1"; }, [this] { tick(ui::ControlId::Stop, true); });
    generate(78000);
    std::optional<int> at = firstLineStarting(kLargeStopLine);
    ASSERT_TRUE(at.has_value()) << lines().join("\n").toStdString();
    QStringList all = lines();
    ASSERT_GE(all.size(), *at + 5);
    EXPECT_TRUE(all[*at + 1].startsWith("Number > "));
    EXPECT_TRUE(all[*at + 2].startsWith("A candidate with 78000 digits was created in "));
    EXPECT_TRUE(all[*at + 2].contains(" / 0 attempt")) << "only worker runs are attempts";
    EXPECT_TRUE(all[*at + 2].endsWith(" - 0 ( And it's in memory )")) << all[*at + 2].toStdString();
    EXPECT_TRUE(all[*at + 3].startsWith("Done in "));
    EXPECT_EQ(currentNumber().size(), 78000u);
    EXPECT_EQ(fileText("last_PRP.txt"), currentNumber()) << "the number reported is the one under test";
    EXPECT_EQ(fileText("last_number.txt"), currentNumber());
    EXPECT_FALSE(hasLine(kWaitingLarge));
    EXPECT_FALSE(hasLine(kTipLine));
}
