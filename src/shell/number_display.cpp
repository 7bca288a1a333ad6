#include "shell/number_display.h"

#include "ui/control_ids.h"
#include "shell/time_texts.h"
#include "ui/short_view.h"

namespace shell {

void numberChanged(AppContext& ctx, int64_t digitCount)
{
    ctx.controls.setText(ui::ControlId::SegmentEnd, QString::number(digitCount));
    ctx.controls.setText(ui::ControlId::SegmentStart, QStringLiteral("1"));
    ctx.controls.setSelectedIndex(ui::ControlId::DigitView, 1);
    ctx.controls.setText(ui::ControlId::DigitCountDisplay, withThousands(digitCount));
}

QString shortViewText(AppContext& ctx, std::string_view number, int width)
{
    ui::ShortView view = ui::shortView(number, width);
    if (!view.signature.empty())
        ctx.controls.setText(ui::ControlId::Signature, latin1(view.signature));
    return latin1(view.text);
}

QString numberLine(AppContext& ctx, std::string_view number)
{
    return QStringLiteral("Number > ") + shortViewText(ctx, number, ui::kListViewWidth);
}

void showCurrentNumberStatus(AppContext& ctx)
{
    ctx.controls.setText(ui::ControlId::StatusLine, shortViewText(ctx, ctx.state.currentNumber, ui::kStatusViewWidth));
}

}  // namespace shell
