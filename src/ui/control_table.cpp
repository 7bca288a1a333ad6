#include "ui/control_table.h"

#include <map>

namespace ui {

namespace {

using K = ControlKind;

ControlSpec button(int id, const char* caption, int x, int y, int w, int h)
{
    return {id, K::Button, caption, x, y, w, h};
}

ControlSpec check(int id, const char* caption, int x, int y, int w, int h)
{
    return {id, K::CheckBox, caption, x, y, w, h};
}

ControlSpec label(int id, const char* caption, int x, int y, int w, int h, Align align = Align::Left,
                  Colour colour = Colour::Default)
{
    return {id, K::Label, caption, x, y, w, h, align, colour};
}

ControlSpec edit(int id, int x, int y, int w, int h, bool digitsOnly, int maxLength = 0, const char* caption = "")
{
    ControlSpec spec{id, K::Edit, caption, x, y, w, h};
    spec.digitsOnly = digitsOnly;
    spec.maxLength = maxLength;
    return spec;
}

ControlSpec readOnlyEdit(int id, int x, int y, int w, int h, Colour colour = Colour::Default)
{
    ControlSpec spec{id, K::Edit, "", x, y, w, h, Align::Left, colour};
    spec.readOnly = true;
    return spec;
}

ControlSpec frame(int id, const char* caption, int x, int y, int w, int h) { return {id, K::Frame, caption, x, y, w, h}; }

ControlSpec dropDown(int id, int x, int y, int w, int h, bool fixedFont)
{
    ControlSpec spec{id, K::DropDown, "", x, y, w, h};
    spec.fixedFont = fixedFont;
    return spec;
}

std::vector<ControlSpec> buildTable()
{
    std::vector<ControlSpec> t;
    // Define parameters for Generation
    t.push_back(frame(1, " Define parameters for Generation ", 10, 3, 881, 113));
    t.push_back(label(2, "Valid final digits", 30, 22, 75, 20));
    const char* finals[] = {"1", "3", "7", "9"};
    for (int i = 0; i < 4; ++i)
        t.push_back(check(3 + i, finals[i], 110 + 30 * i, 20, 25, 20));
    t.push_back(label(7, "Valid starting digits", 240, 22, 90, 20));
    const char* starts[] = {"1", "2", "3", "4", "5", "6", "7", "8", "9", "0"};
    for (int i = 0; i < 10; ++i)
        t.push_back(check(8 + i, starts[i], 335 + 30 * i, 20, 25, 20));
    t.push_back(check(28, "Allow Returm", 670, 20, 80, 18));
    t.push_back(check(29, "on segment?", 755, 20, 80, 18));
    t.push_back(check(34, "Phi?", 843, 20, 40, 18));
    t.push_back(label(18, "Total digits", 30, 45, 55, 18));
    t.push_back(edit(19, 90, 43, 70, 20, true));
    t.push_back(button(20, "START Generation", 165, 41, 115, 26));
    t.push_back(check(53, " STOP", 285, 44, 50, 18));
    t.push_back(label(50, "0", 380, 45, 60, 14, Align::Right, Colour::Blue));
    t.push_back(label(52, "TOT", 447, 45, 23, 18));
    t.push_back(label(56, "0", 490, 45, 60, 14, Align::Right, Colour::Red));
    t.push_back(label(57, "Div1", 557, 45, 23, 14));
    t.push_back(label(59, "0", 585, 45, 65, 14, Align::Right));
    t.push_back(label(142, "QTY", 657, 45, 23, 14));
    t.push_back(label(137, "0", 490, 60, 60, 14, Align::Right, Colour::Red));
    t.push_back(label(139, "Div2", 557, 60, 23, 14));
    t.push_back(label(132, "s", 585, 60, 65, 14, Align::Right, Colour::Green));
    t.push_back(label(60, "PRP", 657, 60, 23, 14));
    t.push_back(label(138, "0", 490, 75, 60, 14, Align::Right, Colour::Red));
    t.push_back(label(140, "Div3", 557, 75, 23, 14));
    t.push_back(label(130, " s", 585, 75, 65, 14, Align::Right, Colour::Green));
    t.push_back(label(141, "P~N", 657, 75, 23, 14));
    t.push_back(label(145, " s", 585, 90, 65, 14, Align::Right, Colour::Green));
    t.push_back(label(144, "Is_P", 657, 90, 23, 14));
    t.push_back(label(32, "Segment", 692, 45, 45, 18));
    t.push_back(edit(33, 743, 44, 50, 18, true));
    t.push_back(label(30, "Block size", 802, 45, 50, 18));
    t.push_back(edit(31, 860, 45, 20, 18, true));
    t.push_back(dropDown(58, 710, 68, 170, 18, true));
    t.push_back(label(133, "Your signature:", 30, 72, 73, 18));
    t.push_back(edit(134, 110, 69, 250, 18, false, 60));
    t.push_back(button(148, "Paste", 365, 67, 40, 20));
    t.push_back(button(149, "Copy", 410, 67, 40, 20));
    t.push_back(button(150, "C", 455, 67, 30, 20));
    t.push_back(check(135, " Mersenne?", 30, 93, 75, 14));
    t.push_back(check(146, " Iconic with digit", 120, 93, 93, 14));
    t.push_back(edit(147, 215, 91, 15, 16, true, 1));
    t.push_back(check(143, " Load Previous Processing", 260, 93, 145, 14));

    // Calculations and analysis with the number stored in memory
    t.push_back(frame(67, " Calculations and analysis with the number stored in memory ", 10, 119, 881, 222));
    t.push_back(frame(114, " Current Number ", 175, 134, 706, 38));
    ControlSpec status = label(112, "", 180, 152, 700, 16, Align::Left, Colour::Blue);
    status.fixedFont = true;
    t.push_back(status);
    t.push_back(button(44, "Save NUMBER", 25, 145, 95, 25));
    t.push_back(button(104, "Is P?", 125, 145, 40, 25));
    t.push_back(button(123, "Load NUMBER", 25, 175, 95, 25));
    t.push_back(label(120, "Operand:", 126, 181, 65, 18, Align::Right));
    t.push_back(edit(68, 198, 178, 497, 20, true, 10000));
    t.push_back(readOnlyEdit(124, 198, 178, 497, 20, Colour::Red));
    t.push_back(button(73, "Paste", 700, 176, 45, 25));
    t.push_back(button(75, "Clear", 750, 176, 40, 25));
    t.push_back(button(74, "Copy", 795, 176, 40, 25));
    t.push_back(button(81, "1", 839, 179, 21, 20));
    t.push_back(button(82, "2", 861, 179, 20, 20));
    t.push_back(button(129, " Run> PRP/Pfgw", 25, 205, 95, 25));
    t.push_back(dropDown(136, 125, 207, 155, 20, false));
    const struct { int id; const char* caption; int x; } memoryRow[] = {
        {98, "MC", 295}, {96, "M", 335}, {97, "MR", 375}, {110, "M+", 415}, {111, "M-", 455}, {118, "C", 495}};
    for (const auto& b : memoryRow)
        t.push_back(button(b.id, b.caption, b.x, 205, 30, 25));
    t.push_back(button(119, "M<>D", 535, 205, 45, 25));
    t.push_back(label(121, "Calc with:", 590, 210, 47, 18));
    t.push_back({117, K::Option, " Operand", 640, 209, 63, 18});
    t.push_back({116, K::Option, " Memory [ M ]", 707, 209, 82, 18});
    t.push_back(button(100, "Help", 845, 205, 35, 25));
    t.push_back(frame(122, "", 20, 230, 110, 85));
    t.push_back(check(88, " Auto Undo", 145, 232, 80, 18));
    t.push_back(label(89, "Current digit count:", 30, 241, 90, 18));
    t.push_back(label(90, "", 27, 260, 90, 20, Align::Centre));
    t.push_back(button(80, "Undo last CALC", 143, 255, 89, 25));
    const struct { int id; const char* caption; int x; int w; } row1[] = {
        {69, "Add", 238, 35},      {70, "Subtract", 278, 55}, {92, "Reverse", 338, 55}, {71, "Divide", 398, 50},
        {72, "Multiply", 453, 55}, {76, "Power", 513, 50},    {77, "Root", 570, 42},    {79, "PrevP", 619, 45},
        {78, "NextP", 671, 45},    {102, "LCM", 722, 50},     {105, "Fact", 780, 42},   {131, "Logx(n)", 830, 50}};
    for (const auto& b : row1)
        t.push_back(button(b.id, b.caption, b.x, 235, b.w, 20));
    const struct { int id; const char* caption; int x; int w; } row2[] = {
        {84, "Mod", 238, 35},        {85, "GCD", 278, 55},          {99, "GCF M", 338, 55}, {86, "shift left", 398, 50},
        {87, "shift right", 453, 55}, {101, "Concat", 513, 50},     {93, "x 10", 570, 42},  {94, "/ 10", 619, 45},
        {95, "+UI", 671, 45},        {103, "Analyze", 722, 50},     {113, "RootRem", 780, 56}};
    for (const auto& b : row2)
        t.push_back(button(b.id, b.caption, b.x, 257, b.w, 20));
    t.push_back(button(91, "View", 30, 281, 40, 25));
    t.push_back(button(128, "Copy", 80, 281, 40, 25));
    t.push_back(label(40, "Your Number:", 145, 287, 66, 20));
    t.push_back(edit(39, 213, 285, 412, 20, true, 10000));
    t.push_back(button(42, "< Check", 630, 282, 50, 25));
    t.push_back(button(41, "Paste", 685, 282, 40, 25));
    t.push_back(button(45, "Copy", 730, 282, 40, 25));
    t.push_back(button(46, "C", 775, 282, 30, 25));
    t.push_back(button(127, "M", 810, 282, 30, 25));
    t.push_back(button(125, ">>D", 845, 282, 35, 25));

    // Other functions
    t.push_back(frame(38, " Other functions ", 10, 345, 881, 82));
    t.push_back(button(36, "Verify number from File", 20, 362, 125, 25));
    t.push_back(button(37, "Verify number ClipBoard", 153, 362, 130, 25));
    t.push_back(readOnlyEdit(51, 370, 363, 45, 18));
    t.push_back(dropDown(65, 442, 363, 85, 18, true));
    t.push_back(label(61, "Segment starting", 537, 367, 80, 18));
    t.push_back(edit(62, 620, 365, 65, 18, true, 0, "0"));
    t.push_back(label(63, "until", 690, 367, 22, 18));
    t.push_back(edit(64, 715, 365, 65, 18, true, 0, "0"));
    t.push_back(button(66, "< Digit Statistics", 790, 362, 90, 25));
    t.push_back(label(26, "Work directory", 22, 400, 72, 18));
    t.push_back(button(83, "SET", 95, 398, 40, 20));
    t.push_back(edit(27, 140, 398, 242, 20, false));
    t.push_back(label(43, "Parameters:", 390, 400, 60, 18, Align::Right));
    t.push_back(button(24, "SAVE", 453, 395, 45, 25));
    t.push_back(button(25, "LOAD", 503, 395, 45, 25));
    t.push_back(dropDown(107, 552, 398, 193, 19, true));
    t.push_back(edit(108, 750, 398, 80, 20, true));
    t.push_back(button(109, "Apply", 835, 395, 45, 25));

    // Outside the frames
    ControlSpec results{21, K::ListBox, "", 10, 434, 881, 221};
    results.fixedFont = true;
    t.push_back(results);
    t.push_back(button(48, "Clear results", 10, 660, 80, 25));
    t.push_back(button(22, "Copy ALL", 100, 660, 65, 25));
    t.push_back(button(54, "Copy Line", 175, 660, 65, 25));
    t.push_back(button(23, "Export to Excel", 250, 660, 90, 25));
    t.push_back(button(106, "User Manual", 530, 660, 80, 25));
    t.push_back(label(115, "Check for updates:", 625, 665, 90, 18));
    t.push_back({55, K::Link, "Website", 720, 665, 45, 18, Align::Left, Colour::Blue});
    t.push_back(button(35, "? About", 775, 660, 56, 25));
    t.push_back(button(0, "EXIT", 840, 660, 50, 25));
    return t;
}

std::map<int, std::vector<DropDownItem>> buildDropDowns()
{
    return {
        {58,
         {{"Level of 'Chaos'", 0},
          {"1-none", 1},
          {"2-low", 2},
          {"3-normal", 3},
          {"4-medium", 4},
          {"5-high", 5},
          {"6-maximum", 6}}},
        {65,
         {{"  Digits", 0},
          {"All", 999},
          {"Last 100", 100},
          {"Last 300", 300},
          {"Last 500", 500},
          {"1000...", 1000},
          {"10000...", 10000},
          {"20000...", 20000},
          {"50000...", 50000}}},
        {107,
         {{"Limits     > Caution! <", 0},
          {"Large numbers start", 2},
          {"Digits factorization", 3},
          {"Digits view number", 4},
          {"Limit 'NextP/PrevP'", 5},
          {"Lines for Excel", 6},
          {"Operating number", 7},
          {"History lines saved", 8},
          {"Limit digits generation", 9},
          {"Internal limit - minutes", 10}}},
        {136,
         {{"Trial division only ( fast )", 0},
          {"PRP test only ( no trial div )", 1},
          {"Trial + PRP ( complete )", 2},
          {"Trial only - extended to 10^9", 3},
          {"PRP multi-base 2+3+5", 4},
          {"PRP base 3 only", 5},
          {"PRP base 5 only", 6},
          {"PRP bases 2+3 sequential", 7},
          {"Mersenne LL test (deterministic)", 8},
          {"Factor deep scan to 10^9", 9}}},
    };
}

}  // namespace

const std::vector<ControlSpec>& controlTable()
{
    static const std::vector<ControlSpec> table = buildTable();
    return table;
}

const ControlSpec* findControl(int id)
{
    for (const ControlSpec& spec : controlTable())
        if (spec.id == id)
            return &spec;
    return nullptr;
}

const std::vector<DropDownItem>& dropDownItems(int id)
{
    static const std::map<int, std::vector<DropDownItem>> lists = buildDropDowns();
    static const std::vector<DropDownItem> none;
    auto it = lists.find(id);
    return it == lists.end() ? none : it->second;
}

int dropDownStartIndex(int id)
{
    switch (id) {
    case 58: return 4;
    case 136: return 1;
    default: return 0;
    }
}

}  // namespace ui
