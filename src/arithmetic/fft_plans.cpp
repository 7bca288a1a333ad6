#include "arithmetic/fft_plans.h"

#include <algorithm>
#include <map>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>

#include "arithmetic/fft_wisdom.h"

namespace arithmetic::fft {

namespace {

std::mutex& plannerMutex()
{
    static std::mutex mutex;
    return mutex;
}

Planning planningSetting = Planning::Measure;
WisdomStore* wisdomStore = nullptr;
bool wisdomLoaded = false;

// Plans are never destroyed: they are few and instances on other threads
// may be executing them.
std::map<size_t, std::unique_ptr<ComplexTransforms>>& planCache()
{
    static std::map<size_t, std::unique_ptr<ComplexTransforms>> cache;
    return cache;
}

void loadWisdomOnce()
{
    if (wisdomLoaded || !wisdomStore)
        return;
    wisdomLoaded = true;
    std::string text = wisdomStore->load();
    if (!text.empty() && !addWisdomText(text))
        wisdomStore->rejected();  // plans are measured again, and the store rewritten
}

// Without a store a process measures its plans again on every run: then
// short lengths are estimated (measuring them would cost more than the run
// saves) and long ones measured within a time limit, which keeps most of
// the gain (the planner tries the likely algorithms first). FFTW cannot
// look up the wisdom of a plan whose measurement hit its time limit, so
// with a store plans are measured in full, once: 0.3 s for both of length
// 512, 8 s at 92,160 (a million digits), 18 s at 884,736.
constexpr size_t kMeasuredWithoutStoreFrom = 16384;

double timeLimitWithoutStore(size_t length) { return std::clamp(static_cast<double>(length) / 50000.0, 0.2, 8.0); }

// A plan from wisdom when there is some, else measured (the caller then
// saves the wisdom) or estimated.
fftw_plan makePlan(size_t length, int sign, bool& measured)
{
    const int n = static_cast<int>(length);
    AlignedArray<fftw_complex> data(length);
    fftw_complex* in = data.data();
    fftw_complex* target = data.data();
    const bool keep = wisdomStore != nullptr;
    if (planningSetting == Planning::Estimate || length < (keep ? kMeasuredFromLength : kMeasuredWithoutStoreFrom))
        return fftw_plan_dft_1d(n, in, target, sign, FFTW_ESTIMATE);
    if (keep) {
        if (fftw_plan plan = fftw_plan_dft_1d(n, in, target, sign, FFTW_MEASURE | FFTW_WISDOM_ONLY))
            return plan;
        measured = true;
        return fftw_plan_dft_1d(n, in, target, sign, FFTW_MEASURE);
    }
    fftw_set_timelimit(timeLimitWithoutStore(length));
    fftw_plan plan = fftw_plan_dft_1d(n, in, target, sign, FFTW_MEASURE);
    fftw_set_timelimit(FFTW_NO_TIMELIMIT);
    return plan;
}

}  // namespace

void setPlanning(Planning planning)
{
    std::lock_guard<std::mutex> lock(plannerMutex());
    planningSetting = planning;
}

void setWisdomStore(WisdomStore* store)
{
    std::lock_guard<std::mutex> lock(plannerMutex());
    wisdomStore = store;
    wisdomLoaded = false;
}

const ComplexTransforms& complexTransforms(size_t length)
{
    std::lock_guard<std::mutex> lock(plannerMutex());  // the FFTW planner is not thread-safe
    auto& slot = planCache()[length];
    if (slot)
        return *slot;
    loadWisdomOnce();
    auto transforms = std::make_unique<ComplexTransforms>();
    transforms->length = length;
    bool measured = false;
    transforms->forwardPlan = makePlan(length, FFTW_FORWARD, measured);
    transforms->backwardPlan = makePlan(length, FFTW_BACKWARD, measured);
    if (!transforms->forwardPlan || !transforms->backwardPlan) {
        for (fftw_plan plan : {transforms->forwardPlan, transforms->backwardPlan})
            if (plan)
                fftw_destroy_plan(plan);
        planCache().erase(length);
        throw std::runtime_error("FFTW cannot plan a transform of length " + std::to_string(length));
    }
    if (measured && wisdomStore)
        wisdomStore->save(wisdomText());
    slot = std::move(transforms);
    return *slot;
}

}  // namespace arithmetic::fft
