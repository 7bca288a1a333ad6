#include "generator/generation_run.h"

#include <QString>
#include <string>

#include "engine/checked_integer.h"
#include "engine/decimal_text.h"
#include "engine/worker_run.h"
#include "storage/atomic_file.h"
#include "storage/number_files.h"
#include "generator/generation_inputs.h"
#include "generator/generation_mode.h"
#include "engine/iconic_candidate.h"
#include "storage/resume_file.h"
#include "engine/signature_block.h"
#include "generator/stage_allowance.h"
#include "primality/external_prp_check.h"
#include "primality/first_check.h"
#include "ui/control_ids.h"
#include "shell/control_lock.h"
#include "shell/number_display.h"
#include "shell/time_texts.h"

namespace generator {

namespace {

using engine::BigInt;
using engine::Outcome;

constexpr int64_t kSearchStageExtraMs = 2'000;

using engine::Verdict;

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

class GenerationRun {
public:
    GenerationRun(shell::AppContext& ctx, GenerationInputs inputs) : ctx_(ctx), inputs_(std::move(inputs)) {}

    void execute()
    {
        prepare();
        mode_ = chooseMode(inputs_.n, inputs_.iconic, ctx_.state.limits[shell::LargeNumbersStart]);
        if (mode_ == GenerationMode::Iconic && !iconicInputsAccepted(ctx_, inputs_)) {
            shell::setControlLock(ctx_, false);
            return;
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
        cleanUp();
    }

private:
    // ---- preparation and modes ----

    void prepare()
    {
        stageAllowanceMs_ = stageAllowanceMs(inputs_.n, ctx_.state.limits.internalTimeLimitMs());
        ctx_.state.runCounter = 0;
        ctx_.state.counters = {};
        ctx_.controls.setEnabled(ui::ControlId::Exit, false);
        startMs_ = ctx_.nowMs();
        primality::showDivisorHits(ctx_);
        ctx_.processPendingEvents();
        shell::setControlLock(ctx_, true);
        internalLimitMs_ = ctx_.state.limits.internalTimeLimitMs();
        ctx_.results.clearStartupNotes();
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
        engine::IconicCandidates iconic(inputs_.n, iconicDigit(inputs_), inputs_.digits.finalDigits);
        for (;;) {
            std::optional<std::string> candidate;
            while (!candidate) {
                duplicates_ = iconic.duplicates();
                if (iconic.exhausted())
                    return {EndKind::Stopped, QStringLiteral("because every tail has been tried")};
                candidate = iconic.next(ctx_.random);
            }
            setFromText(x_, std::move(*candidate));
            ctx_.processPendingEvents();
            countCandidate();
            if (rejectedByFirstCheck())
                continue;
            ctx_.processPendingEvents();
            countCandidate();  // a candidate that reaches the search counts twice
            std::optional<RunEnd> end = searchAndDecide(iconic.searchesDownwards());
            if (end)
                return *end;
        }
    }

    RunEnd runSmall()
    {
        startWaiting();
        for (;;) {
            std::string candidate = buildRandomCandidate();
            ctx_.processPendingEvents();
            setFromText(x_, std::move(candidate));
            countCandidate();
            if (rejectedByFirstCheck())
                continue;
            ctx_.processPendingEvents();
            std::optional<RunEnd> end = searchAndDecide(false);
            if (end)
                return *end;
        }
    }

    RunEnd runMedium()
    {
        storage::ResumeState resume;
        if (inputs_.resume)
            loadResumeState(resume);
        showCounters();
        ctx_.controls.setText(ui::ControlId::Qty, QString::number(ctx_.state.counters.externalChecks));
        ctx_.controls.setText(ui::ControlId::PrpElapsed, QString());
        ctx_.processPendingEvents();

        startWaiting();
        for (;;) {
            std::string candidate = buildRandomCandidate();
            ctx_.processPendingEvents();
            setFromText(x_, std::move(candidate));
            ctx_.processPendingEvents();
            countCandidate();
            if (rejectedByFirstCheck())
                continue;
            ctx_.processPendingEvents();
            primality::ExternalCheck check = primality::externalPrpCheck(ctx_, decimalText(x_));
            lastOutcomeCode_ = check.ran() ? static_cast<int>(check.verdict) : 0;
            ctx_.processPendingEvents();
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
        startLargeWaiting();
        if (std::optional<RunEnd> end = nextLargeCandidate(false, true))
            return *end;
        for (;;) {
            if (ctx_.controls.checked(ui::ControlId::Stop))
                return {EndKind::StoppedLarge, {}};
            countCandidate();
            ctx_.processPendingEvents();
            if (rejectedByFirstCheck()) {
                ctx_.processPendingEvents();
                if (std::optional<RunEnd> end = nextLargeCandidate(false, false))
                    return *end;
                showCounters();
                ctx_.processPendingEvents();
                continue;
            }
            primality::ExternalCheck check = primality::externalPrpCheck(ctx_, decimalText(x_));
            keepAsResult();
            if (!check.ran())
                return testerCouldNotRun();
            if (check.verdict == Verdict::IsComposite) {
                if (std::optional<RunEnd> end = nextLargeCandidate(true, false))
                    return *end;
                continue;
            }
            lastOutcomeCode_ = 0;
            return {EndKind::Found, {}};
        }
    }

    // ---- steps shared by the modes ----

    std::string buildRandomCandidate()
    {
        std::string block;
        QString signature = ctx_.controls.text(ui::ControlId::Signature);
        if (!ctx_.controls.checked(ui::ControlId::Mersenne) && engine::signatureFits(signature.size(), inputs_.n))
            block = engine::encodeSignature(std::u16string_view(reinterpret_cast<const char16_t*>(signature.utf16()),
                                                        static_cast<size_t>(signature.size())));
        std::string candidate;
        engine::runSizedWork(ctx_.worker, static_cast<uint64_t>(inputs_.n), [&] {
            candidate = engine::buildRandomCandidate(ctx_.random, inputs_.n, inputs_.digits, block);
        });
        return candidate;
    }

    void setFromText(TrackedNumber& number, std::string text)
    {
        engine::runSizedWork(ctx_.worker, text.size(), [&] { engine::setFromDecimal(number.value, text); });
        number.text = std::move(text);
        number.textCurrent = true;
    }

    const std::string& decimalText(TrackedNumber& number)
    {
        if (!number.textCurrent) {
            number.text = engine::runDecimalConversion(ctx_.worker, number.value);
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
        ctx_.controls.setText(ui::ControlId::Tot, QString::number(total_));
    }

    void showCounters()
    {
        ctx_.controls.setText(ui::ControlId::Tot, QString::number(total_));
        primality::showDivisorHits(ctx_);
    }

    bool rejectedByFirstCheck()
    {
        int level = primality::runFirstCheck(ctx_, x_.value);
        primality::showDivisorHits(ctx_);
        return level != 0;
    }

    // The prime search from the candidate. It starts 2 away so that a
    // candidate that is prime itself is found; an abandoned search leaves the
    // candidate in X, never a half-computed value.
    std::optional<RunEnd> searchAndDecide(bool downwards)
    {
        BigInt start;
        if (downwards)
            mpz_add_ui(start.get(), x_.value.get(), 2);
        else
            mpz_sub_ui(start.get(), x_.value.get(), 2);
        engine::RunLimits limits{internalLimitMs_, internalLimitMs_ + kSearchStageExtraMs};
        Outcome outcome = downwards ? engine::runPreviousPrime(ctx_.worker, start, limits)
                                    : engine::runNextPrime(ctx_.worker, start, limits);
        if (outcome == Outcome::Finished) {
            x_.value.swap(start);
            x_.valueChanged();
        }
        engine::countUp(ctx_.state.counters.externalChecks);
        ctx_.controls.setText(ui::ControlId::Qty, QString::number(ctx_.state.counters.externalChecks));
        lastOutcomeCode_ = outcome == Outcome::Finished ? 0 : static_cast<int>(engine::verdictOfAbandoned(outcome));
        ctx_.processPendingEvents();
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
        std::optional<storage::ResumeState> loaded = storage::loadResumeFile(storage::kResumeFile);
        if (!loaded) {
            ctx_.dialogs.message(QStringLiteral("Problem!"),
                                 QStringLiteral("Previous processing file not found:\r\r") + QLatin1String(storage::kResumeFile) +
                                     QStringLiteral("\r\rInitial processing will be restarted."));
            return;
        }
        resume = std::move(*loaded);
        const int fields[] = {ui::ControlId::Tot, ui::ControlId::Div1, ui::ControlId::Div2, ui::ControlId::Div3, ui::ControlId::Qty, ui::ControlId::PrpElapsed, ui::ControlId::NextPrevElapsed};
        for (size_t i = 0; i < resume.fieldTexts.size(); ++i)
            ctx_.controls.setText(fields[i], QString::fromStdString(resume.fieldTexts[i]));
        total_ = resume.total();
        ctx_.state.counters = resume.counters;
    }

    void saveResumeState(storage::ResumeState& resume)
    {
        const int fields[] = {ui::ControlId::Tot, ui::ControlId::Div1, ui::ControlId::Div2, ui::ControlId::Div3, ui::ControlId::Qty, ui::ControlId::PrpElapsed, ui::ControlId::NextPrevElapsed};
        for (size_t i = 0; i < resume.fieldTexts.size(); ++i)
            resume.fieldTexts[i] = ctx_.controls.text(fields[i]).toStdString();
        resume.counters = ctx_.state.counters;
        std::string error;
        if (!storage::saveResumeFile(storage::kResumeFile, resume, &error))
            ctx_.results.add(fileNotWrittenLine(storage::kResumeFile, error));
    }

    // ---- large-number mode candidates ----

    // The first candidate, a candidate after a first-check rejection, or one
    // after a composite verdict (which also shows the Mersenne exponent).
    // Returns the end of the run when the search for a Mersenne exponent did
    // not finish: 2^q-1 with a q that is not prime is never prime, so testing
    // it would only waste hours.
    std::optional<RunEnd> nextLargeCandidate(bool afterComposite, bool first)
    {
        bool mersenne = ctx_.controls.checked(ui::ControlId::Mersenne);
        if (!mersenne || first) {
            std::string candidate = buildRandomCandidate();
            ctx_.processPendingEvents();
            setFromText(x_, std::move(candidate));
        }
        if (!mersenne)
            return std::nullopt;
        if (first)
            y_.set(mpz_sizeinbase(x_.value.get(), 2));
        const engine::RunLimits limits{internalLimitMs_, stageAllowanceMs_};
        const Outcome outcome =
            first ? engine::runPreviousPrime(ctx_.worker, y_, limits) : engine::runNextPrime(ctx_.worker, y_, limits);
        if (outcome != Outcome::Finished)
            return exponentSearchEnd(outcome);
        unsigned long exponent = mpz_get_ui(y_.get());
        // A power of two is a single bit at any size: no worker needed.
        mpz_pow_ui(x_.value.get(), two_.get(), exponent);
        mpz_sub_ui(x_.value.get(), x_.value.get(), 1);
        x_.valueChanged();
        if (afterComposite)
            ctx_.controls.setText(ui::ControlId::PrpElapsed, QString::number(exponent));
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
        ctx_.results.startPleaseWait(QLatin1String(waitingText(mode_)), shell::clockTimeWithSeconds(ctx_.clock.localNow()));
        ctx_.processPendingEvents();
    }

    void startLargeWaiting()
    {
        QString time = shell::clockTimeWithSeconds(ctx_.clock.localNow());
        largeWaitingIndex_ = ctx_.results.count();
        ctx_.results.add(QLatin1String(waitingText(GenerationMode::Large)));
        ctx_.results.add(QStringLiteral("Tip: Set 'Internal limit in minutes' to control waiting time. ( ") + time +
                         QStringLiteral(" )"));
        ctx_.results.scrollToEnd();
        ctx_.processPendingEvents();
    }

    void removeWaitingLines()
    {
        if (mode_ != GenerationMode::Large) {
            ctx_.results.removePleaseWait();
            return;
        }
        ctx_.results.remove(largeWaitingIndex_ + 1);
        ctx_.results.remove(largeWaitingIndex_);
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
        return shell::clockPrefix(ctx_.clock.localNow()) +
               QStringLiteral("Generation was stopped... the generated number may Not be a prime number! (") +
               QString::number(duplicates_) + QStringLiteral(")");
    }

    void stoppedEnd(const QString& reason)
    {
        removeWaitingLines();
        finalText_ = decimalText(r_);
        ctx_.results.add(stoppedLine(reason));
        ctx_.controls.setChecked(ui::ControlId::Stop, false);
    }

    void foundEnd()
    {
        removeWaitingLines();
        finalText_ = decimalText(x_);
    }

    void stoppedLargeEnd()
    {
        removeWaitingLines();
        ctx_.results.add(stoppedNotPrimeLine());
        ctx_.results.addSeparator();
        ctx_.state.currentNumber = decimalText(r_);
        shell::showCurrentNumberStatus(ctx_);
    }

    void finish()
    {
        if (ctx_.controls.checked(ui::ControlId::Stop)) {
            finalText_ = decimalText(r_);
            ctx_.results.add(stoppedNotPrimeLine());
        }
        ctx_.state.currentNumber = std::move(finalText_);
        const std::string& number = ctx_.state.currentNumber;
        shell::showCurrentNumberStatus(ctx_);
        ctx_.results.add(shell::numberLine(ctx_, number));

        showCounters();
        ctx_.controls.setText(ui::ControlId::Qty, QString::number(ctx_.state.runCounter));
        const auto& hits = ctx_.state.counters;
        ctx_.results.add(QStringLiteral("A candidate with %1 digits was created in %2 / %3-%4-%5 / %6 attempt%7 - %8 ( "
                                        "And it's in memory )")
                             .arg(inputs_.n)
                             .arg(total_)
                             .arg(hits.d1Hits)
                             .arg(hits.d2Hits)
                             .arg(hits.d3Hits)
                             .arg(ctx_.state.runCounter)
                             .arg(total_ == 1 ? QString() : QStringLiteral("s"))
                             .arg(lastOutcomeCode_));
        ctx_.results.add(shell::completionLine(ctx_.nowMs() - startMs_, ctx_.clock.localNow()));
        ctx_.results.scrollToEnd();
        // Tens of MB with an fsync: written while the window keeps responding.
        bool written = false;
        std::string error;
        engine::runSizedWork(ctx_.worker, number.size(),
                             [&] { written = storage::writeFileAtomically(storage::kLastNumberFile, number, &error); });
        if (!written)
            ctx_.results.add(fileNotWrittenLine(storage::kLastNumberFile, error));
        ctx_.results.addSeparator();
        ctx_.results.scrollToEnd();
    }

    // A line in the list rather than a dialog: a run may end unattended, and
    // a dialog would hold the window until someone answers it.
    static QString fileNotWrittenLine(const char* file, const std::string& reason)
    {
        return QLatin1String(file) + QStringLiteral(" could not be written (") + QString::fromLocal8Bit(reason.c_str()) +
               QStringLiteral(") - the file from before is unchanged.");
    }

    void cleanUp()
    {
        shell::setControlLock(ctx_, false);
        shell::numberChanged(ctx_, ctx_.state.digitCount());
    }

    shell::AppContext& ctx_;
    GenerationInputs inputs_;
    GenerationMode mode_ = GenerationMode::Small;

    TrackedNumber x_;
    TrackedNumber r_{BigInt(0UL), "0", true};
    BigInt two_{2UL};
    BigInt y_;
    std::string finalText_;

    int64_t total_ = 0;
    int64_t duplicates_ = 0;
    // The code the report line of a found candidate ends with.
    int lastOutcomeCode_ = 0;
    int64_t startMs_ = 0;
    int64_t stageAllowanceMs_ = 0;
    int64_t internalLimitMs_ = 0;
    int largeWaitingIndex_ = 0;
};

}  // namespace

void startGeneration(shell::AppContext& ctx)
{
    std::optional<GenerationInputs> inputs = readCheckedInputs(ctx);
    if (!inputs)
        return;
    GenerationRun(ctx, std::move(*inputs)).execute();
}

}  // namespace generator
