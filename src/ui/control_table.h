#pragma once
// Every control of the window: id, kind, caption, place and look. The window
// is built from this table; commands address controls by these ids.
#include <vector>

namespace ui {

enum class ControlKind { Button, CheckBox, Option, Label, Edit, DropDown, ListBox, Frame, Link };
enum class Align { Left, Right, Centre };
enum class Colour { Default, Blue, Red, Green };

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
};

const std::vector<ControlSpec>& controlTable();
const ControlSpec* findControl(int id);

// Items of the drop-down lists: caption and the value attached to it.
struct DropDownItem {
    const char* caption;
    int value;
};
const std::vector<DropDownItem>& dropDownItems(int id);
int dropDownStartIndex(int id);

constexpr int kWindowWidth = 902;
constexpr int kWindowHeight = 706;

}  // namespace ui
