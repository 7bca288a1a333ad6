#pragma once
// Every control of the window: id, kind, caption, place and look. The window
// is built from this table; commands address controls by these ids.
#include <vector>

namespace ui {

enum class ControlKind { Button, CheckBox, Option, Label, Edit, DropDown, ListBox, Frame, Link };
enum class Align { Left, Right, Centre };
enum class Colour { Default, Blue, Red, Green };
// What the control lock of a long command does to a control: nothing, or
// disable it with the command controls, or disable it last, after the Limits
// list has been reset.
enum class Locking { Never, WithCommands, Last };

struct ControlSpec {
    int id;
    ControlKind kind;
    const char* caption;
    int x, y, width, height;
    Align align = Align::Left;
    Colour colour = Colour::Default;
    bool digitsOnly = false;
    int maxLength = 0;  // 0: no limit of its own
    bool readOnly = false;
    bool fixedFont = false;  // the fixed-pitch font of the list and status line
    Locking locking = Locking::Never;
};

const std::vector<ControlSpec>& controlTable();
const ControlSpec* findControl(int id);

// The drop-down lists: their items (caption and the value attached to it)
// and the item selected at start-up.
struct DropDownItem {
    const char* caption;
    int value;
};
struct DropDownList {
    int id;
    int startIndex;
    std::vector<DropDownItem> items;
};
const std::vector<DropDownList>& dropDownLists();

constexpr int kWindowWidth = 902;
constexpr int kWindowHeight = 706;

}  // namespace ui
