#include "generator/generation_inputs.h"

#include <limits>
#include <span>
#include <string_view>

#include "engine/checked_integer.h"
#include "engine/signature_block.h"
#include "shell/time_texts.h"
#include "ui/control_ids.h"

namespace generator {

namespace {

void refuse(shell::AppContext& ctx, const QString& text) { ctx.dialogs.message(QStringLiteral("Problem!"), text); }

void resetCounterFields(ui::Controls& controls)
{
    using namespace ui::ControlId;
    for (int field : {Tot, Div1, Div2, Div3, Qty, NextPrevElapsed})
        controls.setText(field, QStringLiteral("0"));
}

int64_t readTotalDigits(const ui::Controls& controls)
{
    // Below 0 reads as 0, which the caller refuses as too few digits.
    return engine::leadingIntegerClamped(controls.text(ui::ControlId::TotalDigits).toStdString(),
                                         {0, std::numeric_limits<int64_t>::max()});
}

// The signature goes into random candidates only when its block fits.
std::string signatureBlock(const ui::Controls& controls, int64_t n)
{
    const QString signature = controls.text(ui::ControlId::Signature);
    if (!engine::signatureFits(signature.size(), n))
        return {};
    return engine::encodeSignature(
        std::u16string_view(reinterpret_cast<const char16_t*>(signature.utf16()), static_cast<size_t>(signature.size())));
}

// The ticked boxes' digits, in the order of the engine's digit order.
std::string readDigitBoxes(const ui::Controls& controls, std::span<const int> boxes, std::string_view order)
{
    std::string digits;
    for (size_t i = 0; i < boxes.size(); ++i)
        if (controls.checked(boxes[i]))
            digits += order[i];
    return digits;
}

std::string readFinalDigits(const ui::Controls& controls)
{
    using namespace ui::ControlId;
    constexpr int boxes[] = {FinalDigit1, FinalDigit3, FinalDigit7, FinalDigit9};
    static_assert(std::size(boxes) == engine::kFinalDigitOrder.size());
    return readDigitBoxes(controls, boxes, engine::kFinalDigitOrder);
}

std::string readStartDigits(const ui::Controls& controls)
{
    using namespace ui::ControlId;
    constexpr int boxes[] = {StartDigit1, StartDigit2, StartDigit3, StartDigit4, StartDigit5,
                             StartDigit6, StartDigit7, StartDigit8, StartDigit9, StartDigit0};
    static_assert(std::size(boxes) == engine::kStartDigitOrder.size());
    return readDigitBoxes(controls, boxes, engine::kStartDigitOrder);
}

}  // namespace

std::optional<GenerationSettings> readCheckedSettings(shell::AppContext& ctx)
{
    ui::Controls& controls = ctx.controls;
    GenerationSettings settings;
    settings.digits.finalDigits = readFinalDigits(controls);
    if (settings.digits.finalDigits.empty()) {
        refuse(ctx, QStringLiteral("At least one final digit must be defined!"));
        return std::nullopt;
    }
    settings.digits.startDigits = readStartDigits(controls);
    if (settings.digits.startDigits.empty()) {
        refuse(ctx, QStringLiteral("You need to define at least one initial digit!"));
        return std::nullopt;
    }
    resetCounterFields(controls);

    settings.n = readTotalDigits(controls);
    const int64_t mostDigits = ctx.state.limits[engine::LimitDigitsGeneration];
    if (settings.n > mostDigits) {
        refuse(ctx, QStringLiteral("This version is limited to numbers greater than ") + shell::withThousands(mostDigits) +
                        QStringLiteral(" digits!"));
        return std::nullopt;
    }
    if (settings.n < engine::kFewestCandidateDigits) {
        refuse(ctx, QStringLiteral("Please enter a higher number of digits."));
        return std::nullopt;
    }
    settings.iconic = controls.checked(ui::ControlId::Iconic);
    settings.iconicDigit = controls.text(ui::ControlId::IconicDigit).toStdString();
    settings.mersenne = controls.checked(ui::ControlId::Mersenne);
    settings.resume = controls.checked(ui::ControlId::LoadPrevious);
    settings.signatureBlock = signatureBlock(controls, settings.n);
    settings.largeNumbersStart = ctx.state.limits[engine::LargeNumbersStart];
    settings.internalLimitMs = ctx.state.limits.internalTimeLimitMs();
    return settings;
}

void showIconicRefusal(shell::AppContext& ctx, engine::IconicRefusal refusal)
{
    switch (refusal) {
    case engine::IconicRefusal::DigitCount:
        refuse(ctx, QStringLiteral("Iconic prime numbers between 10 and 10,000 digits!"));
        return;
    case engine::IconicRefusal::NoDigit:
        refuse(ctx, QStringLiteral("Specify which digit will be used in the iconic number!"));
        return;
    }
}

}  // namespace generator
