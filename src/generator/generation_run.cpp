#include "generator/generation_run.h"

#include <optional>
#include <utility>

#include "engine/checked_integer.h"
#include "engine/decimal_text.h"
#include "generator/stage_allowance.h"
#include "shell/time_texts.h"
#include "storage/atomic_file.h"

namespace generator {

namespace {

using engine::BigInt;
using engine::GenerationMode;
using engine::Outcome;
using engine::Verdict;
using Field = GenerationView::Field;
using Pause = GenerationView::Pause;

constexpr int64_t kSearchStageExtraMs = 2'000;

// The resume file keeps the counter fields' texts in the order of Field.
constexpr Field kResumeFields[] = {Field::Tot, Field::Div1, Field::Div2, Field::Div3, Field::Qty, Field::Prp, Field::NextPrev};
static_assert(std::size(kResumeFields) == std::tuple_size_v<decltype(storage::ResumeState::fieldTexts)>);

const char* waitingText(GenerationMode mode)
{
    switch (mode) {
    case GenerationMode::Iconic:
        return "PLEASE WAIT... This process may take a few minutes! = ";
    case GenerationMode::Small:
        return "PLEASE WAIT... This process may take a few minutes! < ";
    case GenerationMode::Medium:
        return "PLEASE WAIT... This process may take a few minutes! <> ";
    case GenerationMode::Large:
        break;
    }
    return "PLEASE WAIT... Primality test running (large numbers may take hours) >";
}

// A big number and, while it still matches, its decimal text: the text of a
// number of millions of digits is costly to make, so it is made only once.
struct TrackedNumber {
    BigInt value;
    std::string text;
    bool textCurrent = false;

    void valueChanged() { textCurrent = false; }
};

enum class EndKind { Found, Stopped, StoppedLarge };

struct RunEnd {
    EndKind kind = EndKind::Found;
    QString reason;  // of a stopped end
};

QString stopReason(Outcome outcome)
{
    return outcome == Outcome::Timeout ? QStringLiteral("due to the time limit") : QStringLiteral("by the user");
}

// A line in the list rather than a dialog: a run may end unattended, and a
// dialog would hold the window until someone answers it.
QString fileNotWrittenLine(const std::string& file, const std::string& reason)
{
    return QString::fromStdString(file) + QStringLiteral(" could not be written (") + QString::fromLocal8Bit(reason.c_str()) +
           QStringLiteral(") - the file from before is unchanged.");
}

class GenerationRun {
public:
    GenerationRun(GenerationView& view, GenerationWork& work, GenerationServices services, const GenerationSettings& settings)
        : view_(view),
          work_(work),
          clock_(services.clock),
          random_(services.random),
          counters_(services.counters),
          settings_(settings),
          mode_(engine::chooseMode(settings.n, settings.iconic, settings.largeNumbersStart))
    {
    }

    void execute()
    {
        prepare();
        if (mode_ == GenerationMode::Iconic) {
            if (std::optional<engine::IconicRefusal> refusal = engine::iconicRefusal(settings_.n, settings_.iconicDigit)) {
                view_.refuseIconic(*refusal);
                view_.unlock();
                return;
            }
        }
        RunEnd end = runMode();
        if (end.kind == EndKind::StoppedLarge) {
            stoppedLargeEnd();
        } else {
            if (end.kind == EndKind::Stopped)
                stoppedEnd(end.reason);
            else
                foundEnd();
            finish();
        }
        view_.unlock();
        view_.showNumberFields();
    }

private:
    // ---- preparation and modes ----

    void prepare()
    {
        stageAllowanceMs_ = stageAllowanceMs(settings_.n, settings_.internalLimitMs);
        counters_ = {};
        view_.begin();
        startMs_ = clock_.monotonicMs();
        showDivisorHits();
        view_.processEvents(Pause::Prepared);
        view_.lock();
    }

    RunEnd runMode()
    {
        switch (mode_) {
        case GenerationMode::Iconic:
            return runIconic();
        case GenerationMode::Small:
            return runSmall();
        case GenerationMode::Medium:
            return runMedium();
        case GenerationMode::Large:
            break;
        }
        return runLarge();
    }

    RunEnd runIconic()
    {
        startWaiting();
        engine::CandidateSource source =
            engine::CandidateSource::iconic(settings_.n, settings_.iconicDigit.at(0), settings_.digits.finalDigits);
        for (;;) {
            std::optional<std::string> candidate = source.next(random_);
            duplicates_ = source.duplicates();
            if (!candidate)
                return {EndKind::Stopped, QStringLiteral("because every tail has been tried")};
            setFromText(x_, std::move(*candidate));
            view_.processEvents(Pause::CandidateSet);
            countCandidate();
            if (rejectedByFirstCheck())
                continue;
            view_.processEvents(Pause::FirstCheckPassed);
            countCandidate();  // a candidate that reaches the search counts twice
            if (std::optional<RunEnd> end = searchAndDecide(source.searchesDownwards()))
                return *end;
        }
    }

    RunEnd runSmall()
    {
        startWaiting();
        engine::CandidateSource source = randomCandidates();
        for (;;) {
            std::string candidate = buildCandidate(source);
            view_.processEvents(Pause::CandidateBuilt);
            setFromText(x_, std::move(candidate));
            countCandidate();
            if (rejectedByFirstCheck())
                continue;
            view_.processEvents(Pause::FirstCheckPassed);
            if (std::optional<RunEnd> end = searchAndDecide(false))
                return *end;
        }
    }

    RunEnd runMedium()
    {
        storage::ResumeState resume;
        if (settings_.resume)
            loadResumeState(resume);
        showCounters();
        view_.setField(Field::Qty, QString::number(counters_.externalChecks));
        view_.setField(Field::Prp, QString());
        view_.processEvents(Pause::CountersShown);

        startWaiting();
        engine::CandidateSource source = randomCandidates();
        for (;;) {
            std::string candidate = buildCandidate(source);
            view_.processEvents(Pause::CandidateBuilt);
            setFromText(x_, std::move(candidate));
            view_.processEvents(Pause::CandidateSet);
            countCandidate();
            if (rejectedByFirstCheck())
                continue;
            view_.processEvents(Pause::FirstCheckPassed);
            primality::ExternalCheck check = work_.externalCheck(decimalText(x_));
            lastOutcomeCode_ = check.ran() ? static_cast<int>(check.verdict) : 0;
            view_.processEvents(Pause::Tested);
            keepAsResult();
            if (!check.ran())
                return testerCouldNotRun();
            if (check.verdict == Verdict::Stopped) {
                saveResumeState(resume);
                return {EndKind::Stopped, stopReason(Outcome::Stopped)};
            }
            if (check.verdict == Verdict::CouldBePrime)
                return {EndKind::Found, {}};
        }
    }

    RunEnd runLarge()
    {
        startWaiting();
        engine::CandidateSource source = randomCandidates();
        if (std::optional<RunEnd> end = nextLargeCandidate(source, LargeStep::First))
            return *end;
        for (;;) {
            if (view_.stopTicked())
                return {EndKind::StoppedLarge, {}};
            countCandidate();
            view_.processEvents(Pause::CandidateCounted);
            if (rejectedByFirstCheck()) {
                view_.processEvents(Pause::FirstCheckRejected);
                if (std::optional<RunEnd> end = nextLargeCandidate(source, LargeStep::AfterRejection))
                    return *end;
                showCounters();
                view_.processEvents(Pause::NextCandidateShown);
                continue;
            }
            primality::ExternalCheck check = work_.externalCheck(decimalText(x_));
            keepAsResult();
            if (!check.ran())
                return testerCouldNotRun();
            if (check.verdict == Verdict::IsComposite) {
                if (std::optional<RunEnd> end = nextLargeCandidate(source, LargeStep::AfterComposite))
                    return *end;
                continue;
            }
            lastOutcomeCode_ = 0;
            return {EndKind::Found, {}};
        }
    }

    // ---- steps shared by the modes ----

    engine::CandidateSource randomCandidates() const
    {
        return engine::CandidateSource::random(settings_.n, settings_.digits,
                                               settings_.mersenne ? std::string() : settings_.signatureBlock);
    }

    std::string buildCandidate(engine::CandidateSource& source)
    {
        std::string candidate;
        engine::runSizedWork(work_.host(), static_cast<uint64_t>(settings_.n), [&] { candidate = *source.next(random_); });
        return candidate;
    }

    void setFromText(TrackedNumber& number, std::string text)
    {
        engine::runSizedWork(work_.host(), text.size(), [&] { engine::setFromDecimal(number.value, text); });
        number.text = std::move(text);
        number.textCurrent = true;
    }

    const std::string& decimalText(TrackedNumber& number)
    {
        if (!number.textCurrent) {
            number.text = engine::runDecimalConversion(work_.host(), number.value);
            number.textCurrent = true;
        }
        return number.text;
    }

    // R = X: what a stop reports.
    void keepAsResult()
    {
        r_.value.set(x_.value);
        r_.textCurrent = x_.textCurrent;
        if (x_.textCurrent)
            r_.text = x_.text;
    }

    void countCandidate()
    {
        engine::countUp(total_);
        view_.setField(Field::Tot, QString::number(total_));
    }

    void showDivisorHits()
    {
        view_.setField(Field::Div1, QString::number(counters_.d1Hits));
        view_.setField(Field::Div2, QString::number(counters_.d2Hits));
        view_.setField(Field::Div3, QString::number(counters_.d3Hits));
    }

    void showCounters()
    {
        view_.setField(Field::Tot, QString::number(total_));
        showDivisorHits();
    }

    bool rejectedByFirstCheck()
    {
        const int level = work_.firstCheck(x_.value);
        showDivisorHits();
        return level != 0;
    }

    // The prime search from the candidate. An abandoned search leaves the
    // candidate in X, never a half-computed value.
    std::optional<RunEnd> searchAndDecide(bool downwards)
    {
        BigInt start;
        engine::setSearchStart(start, x_.value, downwards);
        const engine::RunLimits limits{settings_.internalLimitMs, settings_.internalLimitMs + kSearchStageExtraMs};
        const Outcome outcome = downwards ? work_.previousPrime(start, limits) : work_.nextPrime(start, limits);
        if (outcome == Outcome::Finished) {
            x_.value.swap(start);
            x_.valueChanged();
        }
        engine::countUp(counters_.externalChecks);
        view_.setField(Field::Qty, QString::number(counters_.externalChecks));
        lastOutcomeCode_ = outcome == Outcome::Finished ? 0 : static_cast<int>(engine::verdictOfAbandoned(outcome));
        view_.processEvents(Pause::Searched);
        keepAsResult();

        switch (outcome) {
        case Outcome::Finished:
            return RunEnd{EndKind::Found, {}};
        case Outcome::NotDone:
            return std::nullopt;
        case Outcome::Timeout:
        case Outcome::Stopped:
            return RunEnd{EndKind::Stopped, stopReason(outcome)};
        case Outcome::Failed:
            break;
        }
        return RunEnd{EndKind::Stopped, QStringLiteral("because the prime search could not finish")};
    }

    // The tester has shown its message once; every further candidate would
    // only show it again.
    RunEnd testerCouldNotRun() { return {EndKind::Stopped, QStringLiteral("because the external PRP program could not run")}; }

    // ---- resume file ----

    void loadResumeState(storage::ResumeState& resume)
    {
        std::optional<storage::ResumeState> loaded = storage::loadResumeFile(settings_.resumeFile);
        if (!loaded) {
            view_.resumeFileMissing();
            return;
        }
        resume = std::move(*loaded);
        for (size_t i = 0; i < resume.fieldTexts.size(); ++i)
            view_.setField(kResumeFields[i], QString::fromStdString(resume.fieldTexts[i]));
        total_ = resume.total();
        counters_ = resume.counters;
    }

    void saveResumeState(storage::ResumeState& resume)
    {
        for (size_t i = 0; i < resume.fieldTexts.size(); ++i)
            resume.fieldTexts[i] = view_.field(kResumeFields[i]).toStdString();
        resume.counters = counters_;
        std::string error;
        if (!storage::saveResumeFile(settings_.resumeFile, resume, &error))
            view_.addLine(fileNotWrittenLine(settings_.resumeFile, error));
    }

    // ---- large-number mode candidates ----

    enum class LargeStep { First, AfterRejection, AfterComposite };

    // The first candidate, or the next one after a first-check rejection or a
    // composite verdict. Returns the end of the run when the search for a
    // Mersenne exponent did not finish: 2^q-1 with a q that is not prime is
    // never prime, so testing it would only waste hours.
    std::optional<RunEnd> nextLargeCandidate(engine::CandidateSource& source, LargeStep step)
    {
        if (!settings_.mersenne || step == LargeStep::First) {
            std::string candidate = buildCandidate(source);
            view_.processEvents(Pause::CandidateBuilt);
            setFromText(x_, std::move(candidate));
        }
        if (!settings_.mersenne)
            return std::nullopt;
        const engine::RunLimits limits{settings_.internalLimitMs, stageAllowanceMs_};
        Outcome outcome = Outcome::Finished;
        if (step == LargeStep::First) {
            y_.set(mpz_sizeinbase(x_.value.get(), 2));
            outcome = work_.previousPrime(y_, limits);
        } else {
            outcome = work_.nextPrime(y_, limits);
        }
        if (outcome != Outcome::Finished)
            return exponentSearchEnd(outcome);
        const unsigned long exponent = mpz_get_ui(y_.get());
        // A power of two is a single bit at any size: no worker needed.
        mpz_ui_pow_ui(x_.value.get(), 2, exponent);
        mpz_sub_ui(x_.value.get(), x_.value.get(), 1);
        x_.valueChanged();
        if (step == LargeStep::AfterComposite)
            view_.setField(Field::Prp, QString::number(exponent));
        return std::nullopt;
    }

    // STOP ends the large-number mode its own way; a time limit as in the
    // other modes' searches.
    RunEnd exponentSearchEnd(Outcome outcome)
    {
        lastOutcomeCode_ = static_cast<int>(engine::verdictOfAbandoned(outcome));
        switch (outcome) {
        case Outcome::Stopped:
            return {EndKind::StoppedLarge, {}};
        case Outcome::Timeout:
            return {EndKind::Stopped, stopReason(outcome)};
        case Outcome::Finished:
        case Outcome::NotDone:
        case Outcome::Failed:
            break;
        }
        return {EndKind::Stopped, QStringLiteral("because the prime search could not finish")};
    }

    // ---- waiting lines ----

    void startWaiting()
    {
        const QString text = QLatin1String(waitingText(mode_));
        if (mode_ == GenerationMode::Large) {
            view_.showWaiting({text, QStringLiteral("Tip: Set 'Internal limit in minutes' to control waiting time. ( ") +
                                         shell::clockTimeWithSeconds(clock_.localNow()) + QStringLiteral(" )")});
        } else {
            view_.showWaiting({text + QStringLiteral("( Started at ") + shell::clockTimeWithSeconds(clock_.localNow())});
        }
        view_.processEvents(Pause::Waiting);
    }

    // ---- ends ----

    QString stoppedLine(const QString& reason) const
    {
        return QStringLiteral("Generation was stopped ") + reason +
               QStringLiteral("... the generated number may not be a prime number! (") + QString::number(duplicates_) +
               QStringLiteral(")");
    }

    QString stoppedNotPrimeLine() const
    {
        return shell::clockPrefix(clock_.localNow()) +
               QStringLiteral("Generation was stopped... the generated number may Not be a prime number! (") +
               QString::number(duplicates_) + QStringLiteral(")");
    }

    void stoppedEnd(const QString& reason)
    {
        view_.removeWaiting();
        finalText_ = decimalText(r_);
        view_.addLine(stoppedLine(reason));
        view_.untickStop();
    }

    void foundEnd()
    {
        view_.removeWaiting();
        finalText_ = decimalText(x_);
    }

    void stoppedLargeEnd()
    {
        view_.removeWaiting();
        view_.addLine(stoppedNotPrimeLine());
        view_.addSeparator();
        view_.keepAsCurrentNumber(decimalText(r_));
    }

    void finish()
    {
        if (view_.stopTicked()) {
            finalText_ = decimalText(r_);
            view_.addLine(stoppedNotPrimeLine());
        }
        const std::string& number = view_.keepAsCurrentNumber(std::move(finalText_));
        view_.addCurrentNumberLine();

        showCounters();
        const int64_t attempts = work_.workerRuns();
        view_.setField(Field::Qty, QString::number(attempts));
        view_.addLine(QStringLiteral("A candidate with %1 digits was created in %2 / %3-%4-%5 / %6 attempt%7 - %8 ( "
                                     "And it's in memory )")
                          .arg(settings_.n)
                          .arg(total_)
                          .arg(counters_.d1Hits)
                          .arg(counters_.d2Hits)
                          .arg(counters_.d3Hits)
                          .arg(attempts)
                          .arg(total_ == 1 ? QString() : QStringLiteral("s"))
                          .arg(lastOutcomeCode_));
        view_.addLine(shell::completionLine(clock_.monotonicMs() - startMs_, clock_.localNow()));
        view_.scrollToEnd();
        // Tens of MB with an fsync: written while the window keeps responding.
        bool written = false;
        std::string error;
        engine::runSizedWork(work_.host(), number.size(), [&] {
            written = storage::writeFileAtomically(settings_.lastNumberFile, number, &error);
        });
        if (!written)
            view_.addLine(fileNotWrittenLine(settings_.lastNumberFile, error));
        view_.addSeparator();
        view_.scrollToEnd();
    }

    GenerationView& view_;
    GenerationWork& work_;
    shell::Clock& clock_;
    engine::RandomSource& random_;
    storage::RunCounters& counters_;
    const GenerationSettings& settings_;
    const GenerationMode mode_;

    TrackedNumber x_;
    TrackedNumber r_{BigInt(0UL), "0", true};
    BigInt y_;
    std::string finalText_;

    int64_t total_ = 0;
    int64_t duplicates_ = 0;
    // The code the report line of a found candidate ends with.
    int lastOutcomeCode_ = 0;
    int64_t startMs_ = 0;
    int64_t stageAllowanceMs_ = 0;
};

}  // namespace

void runGeneration(GenerationView& view, GenerationWork& work, GenerationServices services,
                   const GenerationSettings& settings)
{
    GenerationRun(view, work, services, settings).execute();
}

}  // namespace generator
