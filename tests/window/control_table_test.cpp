// The window checked against the control table as written down by hand here,
// independently of the table the window is built from.
#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "support/window_fixture.h"

using namespace testing_support;

namespace {

// id kind caption x y w h   (kinds: B button, X check box, O option, T text,
// E edit, D drop-down, L list, F frame, K link). Captions as they stand after
// start-up; "|" separates fields.
const char* kExpected = R"(1|F| Define parameters for Generation |10|3|881|113
2|T|Valid final digits|30|22|75|20
3|X|1|110|20|25|20
4|X|3|140|20|25|20
5|X|7|170|20|25|20
6|X|9|200|20|25|20
7|T|Valid starting digits|240|22|90|20
8|X|1|335|20|25|20
9|X|2|365|20|25|20
10|X|3|395|20|25|20
11|X|4|425|20|25|20
12|X|5|455|20|25|20
13|X|6|485|20|25|20
14|X|7|515|20|25|20
15|X|8|545|20|25|20
16|X|9|575|20|25|20
17|X|0|605|20|25|20
28|X|Allow Returm|670|20|80|18
29|X|on segment?|755|20|80|18
34|X|Phi?|843|20|40|18
18|T|Total digits|30|45|55|18
19|E|1111|90|43|70|20
20|B|START Generation|165|41|115|26
53|X| STOP|285|44|50|18
50|T|0|380|45|60|14
52|T|TOT|447|45|23|18
56|T|0|490|45|60|14
57|T|Div1|557|45|23|14
59|T|0|585|45|65|14
142|T|QTY|657|45|23|14
137|T|0|490|60|60|14
139|T|Div2|557|60|23|14
132|T||585|60|65|14
60|T|PRP|657|60|23|14
138|T|0|490|75|60|14
140|T|Div3|557|75|23|14
130|T||585|75|65|14
141|T|P~N|657|75|23|14
145|T||585|90|65|14
144|T|Is_P|657|90|23|14
151|T||710|92|170|14
32|T|Segment|692|45|45|18
33|E||743|44|50|18
30|T|Block size|802|45|50|18
31|E||860|45|20|18
58|D|4-medium|710|68|170|18
133|T|Your signature:|30|72|73|18
134|E||110|69|250|18
148|B|Paste|365|67|40|20
149|B|Copy|410|67|40|20
150|B|C|455|67|30|20
135|X| Mersenne?|30|93|75|14
146|X| Iconic with digit|120|93|93|14
147|E||215|91|15|16
143|X| Load Previous Processing|260|93|145|14
67|F| Calculations and analysis with the number stored in memory |10|119|881|222
114|F| Current Number |175|134|706|38
112|T|0|180|152|700|16
44|B|Save NUMBER|25|145|95|25
104|B|Is P?|125|145|40|25
123|B|Load NUMBER|25|175|95|25
120|T|Operand:|126|181|65|18
68|E|2|198|178|497|20
124|E|0|198|178|497|20
73|B|Paste|700|176|45|25
75|B|Clear|750|176|40|25
74|B|Copy|795|176|40|25
81|B|1|839|179|21|20
82|B|2|861|179|20|20
129|B| Run> PRP/Pfgw|25|205|95|25
136|D|PRP test only ( no trial div )|125|207|155|20
98|B|MC|295|205|30|25
96|B|M|335|205|30|25
97|B|MR|375|205|30|25
110|B|M+|415|205|30|25
111|B|M-|455|205|30|25
118|B|C|495|205|30|25
119|B|M<>D|535|205|45|25
121|T|Calc with:|590|210|47|18
117|O| Operand|640|209|63|18
116|O| Memory [ M ]|707|209|82|18
100|B|Help|845|205|35|25
122|F||20|230|110|85
88|X| Auto Undo|145|232|80|18
89|T|Current digit count:|30|241|90|18
90|T|0|27|260|90|20
80|B|Undo last CALC|143|255|89|25
69|B|Add|238|235|35|20
70|B|Subtract|278|235|55|20
92|B|Reverse|338|235|55|20
71|B|Divide|398|235|50|20
72|B|Multiply|453|235|55|20
76|B|Power|513|235|50|20
77|B|Root|570|235|42|20
79|B|PrevP|619|235|45|20
78|B|NextP|671|235|45|20
102|B|LCM|722|235|50|20
105|B|Fact|780|235|42|20
131|B|Logx(n)|830|235|50|20
84|B|Mod|238|257|35|20
85|B|GCD|278|257|55|20
99|B|GCF M|338|257|55|20
86|B|shift left|398|257|50|20
87|B|shift right|453|257|55|20
101|B|Concat|513|257|50|20
93|B|x 10|570|257|42|20
94|B|÷ 10|619|257|45|20
95|B|+UI|671|257|45|20
103|B|Analyze|722|257|50|20
113|B|RootRem|780|257|56|20
91|B|View|30|281|40|25
128|B|Copy|80|281|40|25
40|T|Your Number:|145|287|66|20
39|E||213|285|412|20
42|B|< Check|630|282|50|25
41|B|Paste|685|282|40|25
45|B|Copy|730|282|40|25
46|B|C|775|282|30|25
127|B|M|810|282|30|25
125|B|>>D|845|282|35|25
38|F| Other functions |10|345|881|82
36|B|Verify number from File|20|362|125|25
37|B|Verify number ClipBoard|153|362|130|25
51|E|300000|370|363|45|18
65|D|  Digits|442|363|85|18
61|T|Segment starting|537|367|80|18
62|E|0|620|365|65|18
63|T|until|690|367|22|18
64|E|0|715|365|65|18
66|B|< Digit Statistics|790|362|90|25
26|T|Work directory|22|400|72|18
83|B|SET|95|398|40|20
27|E||140|398|242|20
43|T|Parameters:|390|400|60|18
24|B|SAVE|453|395|45|25
25|B|LOAD|503|395|45|25
107|D|Limits     > Caution! <|552|398|193|19
108|E||750|398|80|20
109|B|Apply|835|395|45|25
21|L||10|434|881|221
48|B|Clear results|10|660|80|25
22|B|Copy ALL|100|660|65|25
54|B|Copy Line|175|660|65|25
23|B|Export to Excel|250|660|90|25
106|B|User Manual|530|660|80|25
115|T|Check for updates:|625|665|90|18
55|K|Website|720|665|45|18
35|B|? About|775|660|56|25
0|B|EXIT|840|660|50|25)";

bool hasKind(QWidget* w, char kind)
{
    switch (kind) {
    case 'B': return qobject_cast<QPushButton*>(w) != nullptr;
    case 'X': return qobject_cast<QCheckBox*>(w) != nullptr;
    case 'O': return qobject_cast<QRadioButton*>(w) != nullptr;
    case 'T': return qobject_cast<QLabel*>(w) != nullptr && QString(w->metaObject()->className()) == "QLabel";
    case 'K': return qobject_cast<QLabel*>(w) != nullptr && QString(w->metaObject()->className()) != "QLabel";
    case 'E': return qobject_cast<QLineEdit*>(w) != nullptr;
    case 'D': return qobject_cast<QComboBox*>(w) != nullptr;
    case 'L': return qobject_cast<QListWidget*>(w) != nullptr;
    case 'F': return qobject_cast<QGroupBox*>(w) != nullptr;
    }
    return false;
}

}  // namespace

class WindowLayout : public WindowTest {};

TEST_F(WindowLayout, every_control_has_its_id_kind_caption_and_geometry)
{
    ui::Controls& controls = app->context().controls;
    const QStringList rows = QString::fromUtf8(kExpected).split('\n');
    std::set<int> expectedIds;
    for (const QString& row : rows) {
        QStringList f = row.split('|');
        ASSERT_EQ(f.size(), 7) << row.toStdString();
        int id = f[0].toInt();
        expectedIds.insert(id);
        QWidget* w = controls.widget(id);
        ASSERT_NE(w, nullptr) << "missing control " << id;
        EXPECT_TRUE(hasKind(w, f[1][0].toLatin1())) << "kind of " << id;
        EXPECT_EQ(controls.text(id), f[2]) << "caption of " << id;
        EXPECT_EQ(w->geometry(), QRect(f[3].toInt(), f[4].toInt(), f[5].toInt(), f[6].toInt())) << "geometry of " << id;
    }
    EXPECT_EQ(controls.all().size(), expectedIds.size()) << "controls not in the table";
}

TEST_F(WindowLayout, window_is_fixed_size_titled_and_starts_in_its_initial_state)
{
    ui::MainWindow& w = app->window();
    EXPECT_EQ(w.windowTitle(), "Quendrolt - version 0.96 beta");
    EXPECT_EQ(w.size(), QSize(902, 706));
    EXPECT_EQ(w.minimumSize(), w.maximumSize());
    EXPECT_FALSE(w.windowFlags() & Qt::WindowMaximizeButtonHint);

    for (int box : {3, 4, 5, 6, 8, 9, 10, 11, 12, 13, 14, 15, 16})
        EXPECT_TRUE(checked(box)) << box;
    for (int box : {17, 28, 29, 34, 53, 88, 135, 143, 146, 116})
        EXPECT_FALSE(checked(box)) << box;
    EXPECT_TRUE(checked(117));
    EXPECT_TRUE(visible(68));
    EXPECT_FALSE(visible(124));
    EXPECT_FALSE(enabled(109)) << "Apply";
    EXPECT_FALSE(enabled(53)) << "STOP is usable only while locked";
}

TEST_F(WindowLayout, drop_down_lists_hold_their_items_and_values)
{
    ui::Controls& c = app->context().controls;
    struct Item { int list; int index; const char* caption; int value; };
    for (Item item : {Item{58, 0, "Level of 'Chaos'", 0}, Item{58, 6, "6-maximum", 6}, Item{65, 1, "All", 999},
                      Item{65, 8, "50000...", 50000}, Item{107, 1, "Large numbers start", 2},
                      Item{107, 9, "Internal limit - minutes", 10}, Item{136, 0, "Trial division only ( fast )", 0},
                      Item{136, 9, "Factor deep scan to 10^9", 9}}) {
        EXPECT_EQ(c.itemText(item.list, item.index), item.caption);
        EXPECT_EQ(c.itemValue(item.list, item.index), item.value) << item.caption;
    }
    EXPECT_EQ(c.itemCount(58), 7);
    EXPECT_EQ(c.itemCount(65), 9);
    EXPECT_EQ(c.itemCount(107), 10);
    EXPECT_EQ(c.itemCount(136), 10);
}

TEST_F(WindowLayout, fonts_and_colours_follow_the_table)
{
    ui::Controls& c = app->context().controls;
    for (int id : {21, 58, 65, 107, 112})
        EXPECT_TRUE(QFontInfo(c.widget(id)->font()).fixedPitch()) << id;
    EXPECT_FALSE(QFontInfo(c.widget(20)->font()).fixedPitch());
    auto textColour = [&](int id) { return c.widget(id)->palette().color(QPalette::WindowText); };
    EXPECT_EQ(textColour(50), QColor(0, 0, 255));
    EXPECT_EQ(textColour(112), QColor(0, 0, 255));
    EXPECT_EQ(textColour(55), QColor(0, 0, 255));
    for (int red : {56, 137, 138})
        EXPECT_EQ(textColour(red), QColor(255, 0, 0)) << red;
    EXPECT_EQ(c.widget(124)->palette().color(QPalette::Text), QColor(255, 0, 0));
    for (int green : {130, 132, 145})
        EXPECT_EQ(textColour(green), QColor(0, 128, 0)) << green;
}

TEST_F(WindowLayout, edits_refuse_letters_and_text_beyond_their_limits)
{
    ui::Controls& c = app->context().controls;
    auto* yourNumber = qobject_cast<QLineEdit*>(c.widget(39));
    yourNumber->clear();
    QTest::keyClicks(yourNumber, "12a3b");
    EXPECT_EQ(yourNumber->text(), "123");
    struct Limit { int id; int max; };
    for (Limit l : {Limit{39, 10000}, Limit{68, 10000}, Limit{134, 60}, Limit{147, 1}})
        EXPECT_EQ(qobject_cast<QLineEdit*>(c.widget(l.id))->maxLength(), l.max) << l.id;
    auto* signature = qobject_cast<QLineEdit*>(c.widget(134));
    QTest::keyClicks(signature, "Ab c!");
    EXPECT_EQ(signature->text(), "Ab c!") << "the signature takes any character";
}

TEST_F(WindowLayout, start_up_notes_have_notes_on_their_second_line)
{
    QStringList all = lines();
    ASSERT_GE(all.size(), 3);
    EXPECT_EQ(all[0], QString(122, '-'));
    EXPECT_EQ(all[1].trimmed(), "N O T E S");
    EXPECT_EQ(all[1], QString(55, ' ') + "N O T E S");
    EXPECT_EQ(all.last(), QString(122, '-'));
}
