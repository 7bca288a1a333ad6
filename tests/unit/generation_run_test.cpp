// The generation run without a window: the modes, their counters and their
// ends, on a view that records what it is shown and work that answers as
// each case scripts it. Searches that finish are GMP's own.
#include "generator/generation_run.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <deque>
#include <filesystem>
#include <fstream>
#include <map>

#include "engine/decimal_text.h"
#include "engine/prime_search.h"
#include "support/fake_clock.h"

using namespace generator;
using engine::BigInt;
using engine::Outcome;
using engine::Verdict;
using Field = GenerationView::Field;
using Pause = GenerationView::Pause;

namespace {

class RecordingView : public GenerationView {
public:
    void begin() override {}
    void lock() override { locked = true; }
    void unlock() override { locked = false; }
    void showNumberFields() override {}
    void refuseIconic(engine::IconicRefusal) override { ADD_FAILURE() << "iconic refusal"; }
    void resumeFileMissing() override { ADD_FAILURE() << "resume file message"; }

    void addLine(const QString& line) override { lines << line; }
    void addSeparator() override { lines << QString(122, '-'); }
    void showWaiting(const QStringList& shown) override
    {
        waiting = shown;
        lines << shown;
    }
    void removeWaiting() override
    {
        for (const QString& line : waiting)
            lines.removeOne(line);
        waiting.clear();
    }
    void scrollToEnd() override {}

    void setField(Field field, const QString& text) override { fields[field] = text; }
    QString field(Field field) const override { return fields.count(field) ? fields.at(field) : QString(); }

    void processEvents(Pause point) override
    {
        if (stopAt && *stopAt == point)
            stop = true;
    }
    bool stopTicked() const override { return stop; }
    void untickStop() override { stop = false; }

    const std::string& keepAsCurrentNumber(std::string number) override
    {
        currentNumber = std::move(number);
        return currentNumber;
    }
    void addCurrentNumberLine() override { lines << "Number > " + QString::fromStdString(currentNumber); }

    QStringList lines;
    QStringList waiting;
    std::map<Field, QString> fields;
    std::optional<Pause> stopAt;  // STOP is ticked when the run pauses here
    bool stop = false;
    bool locked = false;
    std::string currentNumber;
};

class QuietHost : public engine::WorkerHost {
public:
    void processPendingEvents() override {}
    bool stopTicked() override { return false; }
    void showElapsed(engine::ElapsedDisplay, const std::string&) override {}
    void countRun() override {}
    int64_t nowMs() override { return 0; }
    void keepAwake(bool) override {}
};

// First-check levels, search outcomes and tester verdicts in order; once a
// script runs out: passes, finished searches, "It could be a prime".
class ScriptedWork : public GenerationWork {
public:
    explicit ScriptedWork(storage::RunCounters& counters) : counters_(counters) {}

    int firstCheck(const BigInt& x) override
    {
        checked.push_back(engine::toDecimal(x));
        const int level = take(levels, 0);
        if (level > 0)
            ++counters_.divisorHits(level);
        return level;
    }
    Outcome nextPrime(BigInt& n, engine::RunLimits) override { return search(n, "next"); }
    Outcome previousPrime(BigInt& n, engine::RunLimits) override { return search(n, "previous"); }
    primality::ExternalCheck externalCheck(const std::string& digits) override
    {
        tested.push_back(digits);
        primality::ExternalCheck check;
        check.verdict = take(verdicts, Verdict::CouldBePrime);
        ++counters_.externalChecks;
        return check;
    }
    int64_t workerRuns() const override { return static_cast<int64_t>(searches.size()); }
    engine::WorkerHost& host() override { return host_; }

    std::deque<int> levels;
    std::deque<Outcome> outcomes;
    std::deque<Verdict> verdicts;
    std::vector<std::string> checked;                           // every number the first check saw
    std::vector<std::pair<std::string, std::string>> searches;  // direction, start
    std::vector<std::string> tested;

private:
    template <typename T>
    static T take(std::deque<T>& script, T otherwise)
    {
        if (script.empty())
            return otherwise;
        T value = script.front();
        script.pop_front();
        return value;
    }

    Outcome search(BigInt& n, const char* direction)
    {
        searches.emplace_back(direction, engine::toDecimal(n));
        const Outcome outcome = take(outcomes, Outcome::Finished);
        if (outcome == Outcome::Finished) {
            if (std::string(direction) == "next")
                mpz_nextprime(n.get(), n.get());
            else
                engine::previousPrime(n);
        }
        return outcome;
    }

    storage::RunCounters& counters_;
    QuietHost host_;
};

class GenerationRunTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir_ = std::filesystem::temp_directory_path() / ("quendrolt-run-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir_);
        settings.digits = {"123456789", "1379"};
        settings.largeNumbersStart = 7000;
        settings.internalLimitMs = 60'000;
        settings.resumeFile = (dir_ / "Search_bitmap.bit").string();
        settings.lastNumberFile = (dir_ / "last_number.txt").string();
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    void run() { runGeneration(view, work, {clock, random, counters}, settings); }

    QString reportLine() const
    {
        for (const QString& line : view.lines)
            if (line.startsWith("A candidate with "))
                return line;
        return {};
    }
    std::string lastNumberFile() const
    {
        std::ifstream in(settings.lastNumberFile, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    GenerationSettings settings;
    RecordingView view;
    storage::RunCounters counters;
    ScriptedWork work{counters};
    testing_support::FakeClock clock;
    engine::SeededRandomSource random;

private:
    std::filesystem::path dir_;
};

std::string nextPrimeFrom(const std::string& start)
{
    BigInt n;
    EXPECT_TRUE(engine::setFromDecimal(n, start));
    mpz_nextprime(n.get(), n.get());
    return engine::toDecimal(n);
}

std::string plus(const std::string& number, long delta)
{
    BigInt n;
    EXPECT_TRUE(engine::setFromDecimal(n, number));
    if (delta < 0)
        mpz_sub_ui(n.get(), n.get(), static_cast<unsigned long>(-delta));
    else
        mpz_add_ui(n.get(), n.get(), static_cast<unsigned long>(delta));
    return engine::toDecimal(n);
}

}  // namespace

TEST_F(GenerationRunTest, small_run_counts_rejected_candidates_and_reports_the_prime_searched_from_the_last)
{
    settings.n = 30;
    work.levels = {1, 2, 0};
    run();

    ASSERT_EQ(work.checked.size(), 3u);
    const std::string candidate = work.checked[2];
    ASSERT_EQ(work.searches.size(), 1u);
    EXPECT_EQ(work.searches[0], std::make_pair(std::string("next"), plus(candidate, -2)))
        << "the search starts 2 below the candidate, so a prime candidate is found itself";
    const std::string prime = nextPrimeFrom(plus(candidate, -2));
    EXPECT_EQ(view.currentNumber, prime);
    EXPECT_EQ(lastNumberFile(), prime);
    EXPECT_EQ(view.fields[Field::Tot], "3");
    EXPECT_EQ(view.fields[Field::Div1], "1");
    EXPECT_EQ(view.fields[Field::Div2], "1");
    EXPECT_EQ(view.fields[Field::Qty], "1") << "the attempts at the end";
    ASSERT_GE(view.lines.size(), 4);
    EXPECT_EQ(view.lines[0], "Number > " + QString::fromStdString(prime)) << "the waiting line is gone";
    EXPECT_EQ(view.lines[1], "A candidate with 30 digits was created in 3 / 1-1-0 / 1 attempts - 0 ( And it's in memory )");
    EXPECT_TRUE(view.lines[2].startsWith("Done in "));
    EXPECT_EQ(view.lines.last(), QString(122, '-'));
    EXPECT_FALSE(view.locked);
}

TEST_F(GenerationRunTest, iconic_run_of_nines_searches_down_from_two_above_and_counts_the_candidate_twice)
{
    settings.n = 12;
    settings.iconic = true;
    settings.iconicDigit = "9";
    run();

    ASSERT_EQ(work.checked.size(), 1u);
    const std::string candidate = work.checked[0];
    EXPECT_EQ(candidate.substr(0, 7), "9999999");
    ASSERT_EQ(work.searches.size(), 1u);
    EXPECT_EQ(work.searches[0], std::make_pair(std::string("previous"), plus(candidate, 2)));
    EXPECT_EQ(view.fields[Field::Tot], "2");
    EXPECT_TRUE(reportLine().startsWith("A candidate with 12 digits was created in 2 / 0-0-0 / 1 attempt")) << reportLine().toStdString();
}

// 2^q-1 with a q that is not prime is never prime: a search for q that did
// not finish, first or after a composite verdict, ends the run there.
TEST_F(GenerationRunTest, mersenne_exponent_search_that_does_not_finish_ends_the_run)
{
    const QString timeLimitLine =
        "Generation was stopped due to the time limit... the generated number may not be a prime number! (0)";
    const QString cannotFinishLine =
        "Generation was stopped because the prime search could not finish... the generated number may not be a prime "
        "number! (0)";
    const QString stoppedLargeLine = "14:05 h - Generation was stopped... the generated number may Not be a prime number! (0)";
    struct Case {
        const char* name;
        std::deque<Outcome> outcomes;  // of the exponent searches
        size_t testsMade;
        QString endLine;
        bool reports;
    };
    const Case cases[] = {
        {"first search, time limit", {Outcome::Timeout}, 0, timeLimitLine, true},
        {"first search, STOP", {Outcome::Stopped}, 0, stoppedLargeLine, false},
        {"search after a composite, time limit", {Outcome::Finished, Outcome::Timeout}, 1, timeLimitLine, true},
        {"search after a composite, stage bound", {Outcome::Finished, Outcome::NotDone}, 1, cannotFinishLine, true},
        {"search after a composite, worker failed", {Outcome::Finished, Outcome::Failed}, 1, cannotFinishLine, true},
    };
    settings.n = 78'000;
    settings.mersenne = true;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingView view;
        storage::RunCounters counters;
        ScriptedWork work(counters);
        work.outcomes = c.outcomes;
        work.verdicts = {Verdict::IsComposite};
        runGeneration(view, work, {clock, random, counters}, settings);
        auto reportLine = [&] {
            for (const QString& line : view.lines)
                if (line.startsWith("A candidate with "))
                    return line;
            return QString();
        };

        EXPECT_EQ(work.searches.size(), c.outcomes.size());
        EXPECT_EQ(work.tested.size(), c.testsMade) << "no test of 2^q-1 with the q left by the search";
        EXPECT_TRUE(view.lines.contains(c.endLine)) << view.lines.join('\n').toStdString();
        EXPECT_EQ(!reportLine().isEmpty(), c.reports);
        if (c.reports) {
            const char* end = c.endLine == timeLimitLine ? " - 6 ( And it's in memory )" : " - 5 ( And it's in memory )";
            EXPECT_TRUE(reportLine().endsWith(end)) << reportLine().toStdString();
        }
        EXPECT_FALSE(view.locked);
    }
}

// STOP is seen before each large candidate: a run still rejecting candidates
// ends with nothing tested, so the number reported is 0.
TEST_F(GenerationRunTest, stop_while_large_candidates_are_rejected_ends_before_the_next_one)
{
    settings.n = 78'000;
    work.levels = {3, 3, 3};
    view.stopAt = Pause::FirstCheckRejected;
    run();

    EXPECT_EQ(work.checked.size(), 1u);
    EXPECT_TRUE(work.tested.empty());
    EXPECT_TRUE(view.lines.contains("14:05 h - Generation was stopped... the generated number may Not be a prime number! (0)"));
    EXPECT_EQ(reportLine(), "");
    EXPECT_EQ(view.currentNumber, "0");
    EXPECT_EQ(view.fields[Field::Div3], "1");
    EXPECT_TRUE(view.waiting.isEmpty());
}
