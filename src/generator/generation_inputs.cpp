#include "generator/generation_inputs.h"

#include <limits>

#include "engine/checked_integer.h"
#include "ui/control_ids.h"
#include "shell/time_texts.h"

namespace generator {

namespace {

constexpr int64_t kFewestDigits = 3;
constexpr int64_t kFewestIconicDigits = 10;
constexpr int64_t kMostIconicDigits = 10'000;

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

}  // namespace

std::string readFinalDigits(const ui::Controls& controls)
{
    using namespace ui::ControlId;
    std::string digits;
    const std::pair<int, char> boxes[] = {{FinalDigit1, '1'}, {FinalDigit3, '3'}, {FinalDigit7, '7'}, {FinalDigit9, '9'}};
    for (auto [box, digit] : boxes)
        if (controls.checked(box))
            digits += digit;
    return digits;
}

std::string readStartDigits(const ui::Controls& controls)
{
    std::string digits;
    for (int i = 0; i < 9; ++i)
        if (controls.checked(ui::ControlId::StartDigit1 + i))
            digits += static_cast<char>('1' + i);
    if (controls.checked(ui::ControlId::StartDigit0))
        digits += '0';
    return digits;
}

std::optional<GenerationInputs> readCheckedInputs(shell::AppContext& ctx)
{
    ui::Controls& controls = ctx.controls;
    GenerationInputs inputs;
    inputs.digits.finalDigits = readFinalDigits(controls);
    if (inputs.digits.finalDigits.empty()) {
        refuse(ctx, QStringLiteral("At least one final digit must be defined!"));
        return std::nullopt;
    }
    inputs.digits.startDigits = readStartDigits(controls);
    if (inputs.digits.startDigits.empty()) {
        refuse(ctx, QStringLiteral("You need to define at least one initial digit!"));
        return std::nullopt;
    }
    resetCounterFields(controls);

    inputs.n = readTotalDigits(controls);
    const int64_t mostDigits = ctx.state.limits[shell::LimitDigitsGeneration];
    if (inputs.n > mostDigits) {
        refuse(ctx, QStringLiteral("This version is limited to numbers greater than ") + shell::withThousands(mostDigits) +
                        QStringLiteral(" digits!"));
        return std::nullopt;
    }
    if (inputs.n < kFewestDigits) {
        refuse(ctx, QStringLiteral("Please enter a higher number of digits."));
        return std::nullopt;
    }
    inputs.iconic = controls.checked(ui::ControlId::Iconic);
    inputs.iconicCharacter = controls.text(ui::ControlId::IconicDigit);
    inputs.resume = controls.checked(ui::ControlId::LoadPrevious);
    return inputs;
}

bool iconicInputsAccepted(shell::AppContext& ctx, const GenerationInputs& inputs)
{
    if (inputs.n < kFewestIconicDigits || inputs.n > kMostIconicDigits) {
        refuse(ctx, QStringLiteral("Iconic prime numbers between 10 and 10,000 digits!"));
        return false;
    }
    const QString& character = inputs.iconicCharacter;
    bool isDigit = character.size() == 1 && character[0] >= QLatin1Char('0') && character[0] <= QLatin1Char('9');
    if (!isDigit) {
        refuse(ctx, QStringLiteral("Specify which digit will be used in the iconic number!"));
        return false;
    }
    return true;
}

}  // namespace generator
