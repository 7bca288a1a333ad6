// SAVE and LOAD of the parameters file through the real window.
#include <fstream>
#include <sstream>

#include "engine/decimal_text.h"
#include "ui/control_ids.h"
#include "support/window_fixture.h"

using namespace testing_support;
using ui::Answer;

namespace {

std::string fileContents(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream all;
    all << in.rdbuf();
    return all.str();
}

std::vector<std::string> fileLines(const std::string& path)
{
    std::vector<std::string> out;
    const std::string text = fileContents(path);
    size_t begin = 0;
    for (size_t at; (at = text.find("\r\n", begin)) != std::string::npos; begin = at + 2)
        out.push_back(text.substr(begin, at - begin));
    EXPECT_EQ(begin, text.size()) << "every line ends in CR LF";
    return out;
}

// A whole record as SAVE writes it, with chosen lines replaced.
std::string recordText(const std::map<int, std::string>& replaced)
{
    std::string text;
    for (int n = 1; n <= 85; ++n) {
        auto it = replaced.find(n);
        std::string line = it != replaced.end() ? it->second : "0";
        if (it == replaced.end() && n >= 5 && n <= 13)
            line = std::to_string(engine::limitSpec(n - 4).startValue);
        text += line + "\r\n";
    }
    return text;
}

}  // namespace

class ParametersFile : public WindowTest {
protected:
    void addListLines(int count)
    {
        for (int i = 0; i < count; ++i)
            app->context().results.add(QStringLiteral("history line %1").arg(i));
    }
    void setMemory(const char* digits) { ASSERT_TRUE(engine::setFromDecimal(app->state().memory, digits)); }
    std::string memory() { return engine::toDecimal(app->state().memory); }
    int selected(int control) { return app->context().controls.selectedIndex(control); }
    void select(int control, int index) { app->context().controls.setSelectedIndex(control, index); }
    void save(const std::string& path)
    {
        dialogs.willChooseFile(QString::fromStdString(path));
        click(ui::ControlId::SaveParameters);
    }
    void load(const std::string& path)
    {
        dialogs.willChooseFile(QString::fromStdString(path));
        click(ui::ControlId::LoadParameters);
    }
};

TEST_F(ParametersFile, save_then_load_restores_every_control_memory_operand_and_the_last_500_history_lines)
{
    const std::map<int, QString> texts = {{ui::ControlId::TotalDigits, "2222"}, {ui::ControlId::BlockSize, "7"},   {ui::ControlId::Segment, "33"},
                                          {ui::ControlId::SegmentStart, "2"},   {ui::ControlId::SegmentEnd, "6"}, {ui::ControlId::YourNumber, "12345"},
                                          {ui::ControlId::Signature, "Sig"},    {ui::ControlId::IconicDigit, "7"}, {ui::ControlId::Operand, "424242"}};
    const std::map<int, bool> boxes = {{ui::ControlId::FinalDigit1, false}, {ui::ControlId::FinalDigit3, true},  {ui::ControlId::FinalDigit7, false}, {ui::ControlId::FinalDigit9, true},  {ui::ControlId::StartDigit1, false}, {ui::ControlId::StartDigit2, true},
                                       {ui::ControlId::StartDigit3, true}, {ui::ControlId::StartDigit4, false}, {ui::ControlId::StartDigit5, true}, {ui::ControlId::StartDigit6, true}, {ui::ControlId::StartDigit7, false}, {ui::ControlId::StartDigit8, true},
                                       {ui::ControlId::StartDigit9, true}, {ui::ControlId::StartDigit0, true},  {ui::ControlId::AllowReturm, true}, {ui::ControlId::OnSegment, true}, {ui::ControlId::Phi, true},  {ui::ControlId::Mersenne, true},
                                       {ui::ControlId::Iconic, true}};
    for (const auto& [control, value] : texts)
        setText(control, value);
    for (const auto& [control, on] : boxes)
        tick(control, on);
    select(ui::ControlId::ChaosLevel, 3);
    select(ui::ControlId::TestMode, 5);
    app->state().parameterTable.entry(1) = "/data/numbers/";
    app->state().parameterTable.entry(20) = "kept entry";
    app->state().currentNumber = "1234567";
    setMemory("98765432109876543210");
    app->context().results.clear();
    addListLines(600);

    const std::string path = workFile("all.qdx");
    save(path);
    EXPECT_EQ(dialogs.calls[0].kind, "save");
    EXPECT_EQ(dialogs.calls[0].title, "Save as...");
    EXPECT_EQ(dialogs.calls[0].text, "Quendrolt_06_12_2026_14_05h.qdx");
    EXPECT_EQ(dialogs.calls[0].extra, "Quendrolt (*.qdx)|*.qdx");

    const std::vector<std::string> written = fileLines(path);
    ASSERT_EQ(written.size(), 85u + 500u);
    EXPECT_EQ(written[0], "1234567");
    EXPECT_EQ(written[2], "98765432109876543210");
    EXPECT_EQ(written[84], "500");
    EXPECT_EQ(written[85], "history line 100") << "the oldest of the last 500 lines";

    // Everything changed, then loaded back.
    for (const auto& [control, value] : texts)
        setText(control, "x");
    for (const auto& [control, on] : boxes)
        tick(control, !on);
    select(ui::ControlId::ChaosLevel, 0);
    select(ui::ControlId::TestMode, 0);
    app->state().parameterTable.entry(1) = "";
    app->state().parameterTable.entry(20) = "";
    app->state().currentNumber = "5";
    setMemory("3");
    app->context().results.clear();
    load(path);

    EXPECT_EQ(dialogs.last().kind, "open");
    EXPECT_EQ(dialogs.last().title, "Locate the file with parameters.");
    EXPECT_EQ(dialogs.last().extra, "Quendrolt QDX (*.qdx)|*.qdx");
    for (const auto& [control, value] : texts)
        EXPECT_EQ(text(control), value) << "control " << control;
    for (const auto& [control, on] : boxes)
        EXPECT_EQ(checked(control), on) << "box " << control;
    EXPECT_EQ(selected(ui::ControlId::ChaosLevel), 3);
    EXPECT_EQ(selected(ui::ControlId::TestMode), 5);
    EXPECT_EQ(app->state().parameterTable.entry(20), "kept entry");
    EXPECT_EQ(text(ui::ControlId::WorkDirectory), "/data/numbers/") << "the work directory comes from the table";
    EXPECT_EQ(currentNumber(), "1234567");
    EXPECT_EQ(text(ui::ControlId::DigitCountDisplay), "7");
    EXPECT_EQ(text(ui::ControlId::StatusLine), "1234567");
    EXPECT_EQ(memory(), "98765432109876543210");
    EXPECT_FALSE(visible(ui::ControlId::Signature)) << "Mersenne ticked hides the signature";
    const QStringList restored = lines();
    ASSERT_EQ(restored.size(), 500);
    EXPECT_EQ(restored.first(), "history line 100");
    EXPECT_EQ(restored.last(), "history line 599");
}

TEST_F(ParametersFile, nothing_to_save_writes_zeros_and_an_empty_history_and_loads_without_touching_memory)
{
    dialogs.willAnswer(Answer::Yes);
    click(ui::ControlId::ClearResults);
    ASSERT_EQ(lines().size(), 0);
    const std::string path = workFile("empty.qdx");
    save(path);
    const std::vector<std::string> written = fileLines(path);
    ASSERT_EQ(written.size(), 85u);
    EXPECT_EQ(written[0], "0");
    EXPECT_EQ(written[2], "0");
    EXPECT_EQ(written[84], "0");

    setMemory("77");
    load(path);
    EXPECT_EQ(currentNumber(), "0");
    EXPECT_EQ(memory(), "77");
    EXPECT_EQ(lines().size(), 0);
}

TEST_F(ParametersFile, a_large_number_is_left_out_when_the_user_answers_no)
{
    app->state().currentNumber = std::string(100001, '9');
    dialogs.willAnswer(Answer::No);
    const std::string path = workFile("large.qdx");
    save(path);
    EXPECT_EQ(dialogs.calls[0].title, "Attention!");
    EXPECT_EQ(dialogs.calls[0].text, "Large numbers were detected:\r\rNumber in memory: 100,001 digits (100 KB)\r\r"
                                     "Save them in the parameters file?");
    const std::vector<std::string> written = fileLines(path);
    ASSERT_GE(written.size(), 85u);
    EXPECT_EQ(written[0], "0");
    EXPECT_EQ(written[1], "2") << "the rest is still written";
    EXPECT_EQ(currentNumber().size(), 100001u) << "the number stays in the program";
}

TEST_F(ParametersFile, cancel_of_the_large_number_question_writes_nothing)
{
    app->state().currentNumber = std::string(100001, '9');
    dialogs.willAnswer(Answer::Cancel);
    click(ui::ControlId::SaveParameters);
    EXPECT_EQ(dialogs.calls.size(), 1u);
}

TEST_F(ParametersFile, the_extension_is_added_and_no_to_replace_asks_for_another_name)
{
    std::ofstream(workFile("old.qdx")) << "previous";
    dialogs.willChooseFile(QString::fromStdString(workFile("old")));
    dialogs.willAnswer(Answer::No);
    dialogs.willChooseFile(QString::fromStdString(workFile("new")));
    click(ui::ControlId::SaveParameters);
    EXPECT_EQ(dialogs.calls[1].title, "The file already exists!");
    EXPECT_EQ(dialogs.calls[1].text, "Do you want to replace the existing one?");
    EXPECT_EQ(fileContents(workFile("old.qdx")), "previous");
    EXPECT_EQ(fileLines(workFile("new.qdx"))[1], "2");
}

TEST_F(ParametersFile, a_file_that_cannot_be_written_is_reported)
{
    const std::string path = workFile("missing-directory/p.qdx");
    dialogs.willChooseFile(QString::fromStdString(path));
    dialogs.willAnswer(Answer::Ok);
    click(ui::ControlId::SaveParameters);
    EXPECT_EQ(dialogs.last().title, "Problem!");
    EXPECT_TRUE(dialogs.last().text.startsWith("The parameters file could not be written:\r" + QString::fromStdString(path)));
}

TEST_F(ParametersFile, a_loaded_internal_limit_of_60_minutes_is_3600000_ms_and_a_factorization_limit_of_60_stays)
{
    std::ofstream(workFile("limits.qdx"), std::ios::binary) << recordText({{13, "60"}, {6, "60"}});
    load(workFile("limits.qdx"));
    EXPECT_EQ(app->state().limits.internalTimeLimitMs(), 3600000);
    EXPECT_EQ(app->state().limits[engine::DigitsFactorization], 60);
    EXPECT_FALSE(hasLine(QStringLiteral("LOAD: 'Digits factorization' read as '60' is not a positive whole number; its "
                                        "start-up value 50 is used.")));
}

TEST_F(ParametersFile, limits_of_zero_negative_or_no_number_fall_back_to_their_start_up_values_with_a_line_each)
{
    std::ofstream(workFile("damaged.qdx"), std::ios::binary) << recordText({{5, "0"}, {6, "-5"}, {7, "abc"}, {13, "60"}});
    load(workFile("damaged.qdx"));
    const shell::AppState& state = app->state();
    EXPECT_EQ(state.limits[engine::LargeNumbersStart], 7000);
    EXPECT_EQ(state.limits[engine::DigitsFactorization], 50);
    EXPECT_EQ(state.limits[engine::DigitsViewNumber], 3000);
    EXPECT_EQ(state.limits[engine::InternalLimitMinutes], 60);
    EXPECT_EQ(state.parameterTable.entry(2), "7000") << "a later SAVE writes the usable value";
    const QStringList expected = {
        "LOAD: 'Large numbers start' read as '0' is not a positive whole number; its start-up value 7000 is used.",
        "LOAD: 'Digits factorization' read as '-5' is not a positive whole number; its start-up value 50 is used.",
        "LOAD: 'Digits view number' read as 'abc' is not a positive whole number; its start-up value 3000 is used.",
        QString(122, '-')};
    EXPECT_EQ(lines(), expected);
}

TEST_F(ParametersFile, a_cut_file_loads_what_it_holds_and_empties_the_rest)
{
    tick(ui::ControlId::FinalDigit1, true);
    setText(ui::ControlId::TotalDigits, "1111");
    std::ofstream(workFile("cut.qdx"), std::ios::binary) << "98765\r\n77\r\n0\r\n";
    load(workFile("cut.qdx"));
    EXPECT_EQ(currentNumber(), "98765");
    EXPECT_EQ(text(ui::ControlId::Operand), "77");
    EXPECT_EQ(text(ui::ControlId::TotalDigits), "");
    EXPECT_FALSE(checked(ui::ControlId::FinalDigit1));
    for (int entry = 1; entry <= engine::kLimitCount; ++entry)
        EXPECT_EQ(app->state().limits[entry], engine::limitSpec(entry).startValue) << "Limits entry " << entry;
    EXPECT_EQ(lines().size(), 10) << "one line for each of the nine missing Limits, then the separator";
}

TEST_F(ParametersFile, cancelled_dialogs_change_nothing)
{
    dialogs.willChooseFile("");
    click(ui::ControlId::SaveParameters);
    const int before = lines().size();
    dialogs.willChooseFile("");
    click(ui::ControlId::LoadParameters);
    dialogs.willChooseFile(QString::fromStdString(workFile("does-not-exist.qdx")));
    click(ui::ControlId::LoadParameters);
    EXPECT_EQ(lines().size(), before);
}

// LOAD puts any text into the segment fields; an end far below the start
// arrives saturated and must still be an empty segment for the statistics.
TEST_F(ParametersFile, a_loaded_segment_end_beyond_every_integer_gives_an_empty_segment)
{
    std::ofstream(workFile("segment.qdx"), std::ios::binary)
        << recordText({{1, "1123581321"}, {59, "3"}, {60, "-99999999999999999999"}});
    load(workFile("segment.qdx"));
    ASSERT_EQ(currentNumber(), "1123581321");
    click(ui::ControlId::DigitStatistics);
    EXPECT_TRUE(hasLine("Total               0")) << lines().join("\n").toStdString();
    EXPECT_FALSE(hasLine("Total              10"));
}

// A hand-edited file may keep the number in groups of digits: it is read as
// its digits, as the calculator and every other reader read it.
TEST_F(ParametersFile, a_loaded_number_written_in_groups_reads_as_its_digits)
{
    std::ofstream(workFile("groups.qdx"), std::ios::binary) << recordText({{1, "12 345 678"}});
    load(workFile("groups.qdx"));
    EXPECT_EQ(currentNumber(), "12345678");
    EXPECT_EQ(text(ui::ControlId::DigitCountDisplay), "8");
}

// Any positive 15-digit Limit loads; in milliseconds the largest internal
// limit would pass the end of int64_t and time every run out at once.
TEST_F(ParametersFile, the_largest_loadable_internal_limit_stays_a_long_positive_time)
{
    std::ofstream(workFile("long.qdx"), std::ios::binary) << recordText({{13, "999999999999999"}});
    load(workFile("long.qdx"));
    EXPECT_EQ(app->state().limits[engine::InternalLimitMinutes], 999999999999999);
    constexpr int64_t kTenThousandYearsMs = int64_t{10'000} * 365 * 24 * 3600 * 1000;
    EXPECT_GT(app->state().limits.internalTimeLimitMs(), kTenThousandYearsMs);
}

// A file found by fuzzing: bytes above 127, and tabs on both sides of a CR at
// the end of the memory line. Saving what was loaded and loading that again
// is a fixed point: the second SAVE writes the same bytes as the first.
TEST_F(ParametersFile, load_save_load_save_of_a_foreign_file_writes_the_same_file_twice)
{
    const std::string foreign = "9\xac\xac\xac\xac" "8760\r\n77" + std::string(15, '\t') + "\xac" "8760\r\n77" +
                                std::string(26, '\t') + "\r" + std::string(15, '\t');
    std::ofstream(workFile("foreign.qdx"), std::ios::binary) << foreign;
    load(workFile("foreign.qdx"));
    save(workFile("first.qdx"));
    load(workFile("first.qdx"));
    save(workFile("second.qdx"));
    EXPECT_EQ(fileContents(workFile("second.qdx")), fileContents(workFile("first.qdx")));
    EXPECT_EQ(memory(), "77") << "the memory line is 77 and blanks";
}
