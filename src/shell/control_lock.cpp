#include "shell/control_lock.h"

#include "ui/control_ids.h"

namespace shell {

namespace {

constexpr int kLockedControls[] = {
    22, 23, 20,  35,  0,   66,  37,  24,  25,  36,  44,  42,  41,  46,  48,  69,  70,  71,  72,  84,  85,  86,  87,
    80, 76, 78,  79,  136, 73,  75,  74,  45,  77,  91,  83,  81,  82,  92,  93,  94,  95,  106, 100, 102, 105, 103,
    101, 99, 104, 118, 119, 143, 98, 96,  110, 97,  111, 131, 116, 117, 58,  65,  107, 88,  55,  28,  29,  34,  129,
    3,  4,  5,   6,   8,   9,   10,  11,  12,  13,  14,  15,  135, 134, 16,  17,  123, 113, 128, 127, 125};

// These follow the list's state after everything else is set.
constexpr int kFollowingControls[] = {33, 31, 19, 148, 149, 150, 146, 147};

}  // namespace

void setControlLock(AppContext& ctx, bool locked)
{
    ui::Controls& c = ctx.controls;
    for (int control : kLockedControls)
        c.setEnabled(control, !locked);
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
    for (int control : kFollowingControls)
        c.setEnabled(control, !locked);
}

}  // namespace shell
