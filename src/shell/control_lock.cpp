#include "shell/control_lock.h"

#include "ui/control_ids.h"
#include "ui/control_table.h"

namespace shell {

namespace {

// Which controls lock is a column of the control table.
void setLockedEnabled(ui::Controls& c, ui::Locking group, bool on)
{
    for (const ui::ControlSpec& spec : ui::controlTable())
        if (spec.locking == group)
            c.setEnabled(spec.id, on);
}

}  // namespace

void setControlLock(AppContext& ctx, bool locked)
{
    ui::Controls& c = ctx.controls;
    setLockedEnabled(c, ui::Locking::WithCommands, !locked);
    c.setChecked(ui::ControlId::Stop, false);
    c.setEnabled(ui::ControlId::Stop, locked);
    if (locked) {
        c.setText(ui::ControlId::NextPrevElapsed, QString());
        c.setText(ui::ControlId::PrpElapsed, QString());
    }
    c.setEnabled(ui::ControlId::CopyLine, false);
    c.setEnabled(ui::ControlId::Apply, false);
    c.setSelectedIndex(ui::ControlId::LimitsList, 0);
    c.setText(ui::ControlId::LimitsValue, QString());
    // These follow the list's state after everything else is set.
    setLockedEnabled(c, ui::Locking::Last, !locked);
}

}  // namespace shell
