#include "shell/limits_commands.h"

#include "engine/checked_integer.h"
#include "engine/decimal_text.h"
#include "ui/control_ids.h"
#include "shell/time_texts.h"

namespace shell {

namespace {

void limitChosen(AppContext& ctx)
{
    int entry = ctx.controls.selectedIndex(ui::ControlId::LimitsList);
    if (entry <= 0) {
        ctx.controls.setEnabled(ui::ControlId::Apply, false);
        ctx.controls.setText(ui::ControlId::LimitsValue, QString());
        return;
    }
    ctx.controls.setText(ui::ControlId::LimitsValue, QString::number(ctx.state.limits[entry]));
    ctx.controls.setEnabled(ui::ControlId::Apply, true);
}

void applyLimit(AppContext& ctx)
{
    int entry = ctx.controls.selectedIndex(ui::ControlId::LimitsList);
    if (entry <= 0 || entry > engine::kLimitCount)
        return;
    const engine::LimitSpec& spec = engine::limitSpec(entry);
    std::string typed = engine::removeAll(ctx.controls.text(ui::ControlId::LimitsValue).toStdString(), " ");
    const std::optional<int64_t> typedValue = engine::leadingIntegerIn(typed, {spec.lowest, spec.highest});
    int64_t value = typedValue.value_or(spec.resetValue);
    const int64_t outOfRangeBound = typedValue ? 0 : spec.shownBound;

    ctx.results.clearStartupNotes();
    ctx.controls.setText(ui::ControlId::LimitsValue, QString::number(value));
    ctx.state.parameterTable.entry(ctx.controls.itemValue(ui::ControlId::LimitsList, entry)) = std::to_string(value);
    ctx.state.limits[entry] = value;
    ctx.controls.setEnabled(ui::ControlId::Apply, false);
    ctx.controls.setText(ui::ControlId::LimitsValue, QString());
    ctx.controls.setSelectedIndex(ui::ControlId::LimitsList, 0);

    QString changed, outOfRange, reminder;
    if (outOfRangeBound == 0) {
        changed = QString::fromLatin1(spec.name) + QStringLiteral(" has been changed to ") + withThousands(value) +
                  QStringLiteral("\r\r");
        reminder = QStringLiteral(">>> Remember to save these settings to your\r         parameter file (.qdx) using the "
                                  "SAVE button.");
    } else {
        outOfRange = QStringLiteral("Value out of range - reset To Default: ") + withThousands(value) +
                     QStringLiteral("\r\rThe current limit is: ") + withThousands(outOfRangeBound);
    }
    ctx.dialogs.message(QStringLiteral("Success!"), changed + outOfRange + reminder);

    QString changedLine = QString(changed).remove(QStringLiteral("\r\r"));
    if (!changedLine.isEmpty()) {
        ctx.results.add(changedLine);
        ctx.results.addSeparator();
        ctx.results.scrollToEnd();
    }
}

}  // namespace

void registerLimitsCommands(Dispatcher& d)
{
    d.on(ui::ControlId::LimitsList, limitChosen);
    d.on(ui::ControlId::Apply, applyLimit);
}

}  // namespace shell
