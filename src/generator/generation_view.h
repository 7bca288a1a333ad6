#pragma once
// What a generation run needs of the window, in two parts: the view, where
// its lines and counters are shown, and the work, the long steps the window
// runs as worker runs and tester runs. The run itself (generation_run.*)
// holds the algorithm and knows nothing of controls; tests give it fakes.
#include <QString>
#include <QStringList>
#include <string>

#include "engine/big_integer.h"
#include "engine/generation_rules.h"
#include "engine/worker_run.h"
#include "primality/external_prp_check.h"

namespace generator {

class GenerationView {
public:
    // The counter fields, in the order the resume file keeps their texts.
    enum class Field { Tot, Div1, Div2, Div3, Qty, Prp, NextPrev };
    // Where the run lets the window process its pending events, which is
    // also where a ticked STOP comes in.
    enum class Pause {
        Prepared,            // counters shown, before the lock
        Waiting,             // the waiting line shown
        CountersShown,       // the counters (perhaps from the resume file) shown
        CandidateBuilt,      // a new candidate text is ready
        CandidateSet,        // the working number holds it
        CandidateCounted,    // TOT shows it
        FirstCheckPassed,    // the divisor hits shown
        FirstCheckRejected,  // before the next large candidate
        NextCandidateShown,  // a large run shows its next candidate's counters
        Searched,            // a prime search ended
        Tested,              // a tester check ended
    };

    virtual ~GenerationView() = default;

    // EXIT disabled and the run counter reset, when the run is prepared.
    virtual void begin() = 0;
    // The control lock taken and the start-up notes cleared.
    virtual void lock() = 0;
    virtual void unlock() = 0;
    // The fields that follow the current number ("until", digit count, ...).
    virtual void showNumberFields() = 0;
    virtual void refuseIconic(engine::IconicRefusal refusal) = 0;
    // "Previous processing file not found:" ...
    virtual void resumeFileMissing() = 0;

    virtual void addLine(const QString& line) = 0;
    virtual void addSeparator() = 0;
    // Lines that stay until removeWaiting(); the list shows its end.
    virtual void showWaiting(const QStringList& lines) = 0;
    virtual void removeWaiting() = 0;
    virtual void scrollToEnd() = 0;

    virtual void setField(Field field, const QString& text) = 0;
    virtual QString field(Field field) const = 0;

    virtual void processEvents(Pause point) = 0;
    virtual bool stopTicked() const = 0;
    virtual void untickStop() = 0;

    // The number becomes the current number and its status line shows it;
    // returns where the text is kept now.
    virtual const std::string& keepAsCurrentNumber(std::string number) = 0;
    // "Number > " + the current number's short view.
    virtual void addCurrentNumberLine() = 0;
};

class GenerationWork {
public:
    virtual ~GenerationWork() = default;

    // The first check (a common factor with D1, D2, D3): 0 when x passes,
    // else the level 1..3 of the product that shares a factor with it, whose
    // hit counter it raises.
    [[nodiscard]] virtual int firstCheck(const engine::BigInt& x) = 0;
    // The searches set n to the prime found when they finish.
    [[nodiscard]] virtual engine::Outcome nextPrime(engine::BigInt& n, engine::RunLimits limits) = 0;
    [[nodiscard]] virtual engine::Outcome previousPrime(engine::BigInt& n, engine::RunLimits limits) = 0;
    // The hidden tester run on the digits; counts itself as an external check.
    [[nodiscard]] virtual primality::ExternalCheck externalCheck(const std::string& digits) = 0;
    // Worker runs made since the run began: the attempts of its report.
    virtual int64_t workerRuns() const = 0;
    // Where the run's own conversions and file writes wait.
    virtual engine::WorkerHost& host() = 0;
};

}  // namespace generator
