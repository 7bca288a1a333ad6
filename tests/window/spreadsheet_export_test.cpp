// "Export to Excel" through the real window: the bytes, the cells, the
// dialogs, and an independent reader (python3-xlrd) reading the file back.
#include <QFile>
#include <QProcess>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>

#include "ui/control_ids.h"
#include "support/window_fixture.h"

using namespace testing_support;
using ui::Answer;

namespace {

std::string fileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream all;
    all << in.rdbuf();
    return all.str();
}

void add16(std::string& out, unsigned value)
{
    out += char(value & 0xFF);
    out += char((value >> 8) & 0xFF);
}

std::string record(unsigned id, const std::string& data)
{
    std::string out;
    add16(out, id);
    add16(out, static_cast<unsigned>(data.size()));
    return out + data;
}

// What an export of an empty list holds, built here from the format's own
// description rather than from the writer.
std::string emptyExportBytes()
{
    const char* formats[] = {"General", "0", "0.00", "#,##0", "#,##0.00",
                             "#,##0\\ \"$\";\\-#,##0\\ \"$\"", "#,##0\\ \"$\";[Red]\\-#,##0\\ \"$\"",
                             "#,##0.00\\ \"$\";\\-#,##0.00\\ \"$\"", "#,##0.00\\ \"$\";[Red]\\-#,##0.00\\ \"$\"",
                             "0%", "0.00%", "0.00E+00", "yyyy-mm-dd", "dd/\\ mmm\\ yy", "dd/\\ mmm", "mmm\\ yy",
                             "h:mm\\ AM/PM", "h:mm:ss\\ AM/PM", "hh:mm", "hh:mm:ss", "dd/mm/yy\\ hh:mm", "##0.0E+0",
                             "mm:ss", "@", "00", "000", "00000", "00"};
    std::string bytes = std::string("\x09\x00\x04\x00\x02\x00\x10\x00", 8);
    bytes += record(0x31, std::string("\xB4\x00\x00\x00\x0B", 5) + "Courier New");
    bytes += record(0x31, std::string("\xB4\x00\x01\x00\x0B", 5) + "Courier New");
    bytes += std::string("\x1F\x00\x02\x00\x1B\x00", 6);
    for (const char* f : formats)
        bytes += record(0x1E, std::string(1, char(std::strlen(f))) + f);
    bytes += std::string("\x2B\x00\x02\x00\x00\x00", 6);
    bytes += std::string("\x24\x00\x04\x00\x00\x00\x00\x7A", 8);
    bytes += std::string("\x24\x00\x04\x00\x01\x05\x00\x0B", 8);
    bytes += record(0x04, std::string("\x00\x00\x01\x00\x00\x40\x02\x0C", 8) + "Total digits");
    bytes += std::string("\x0A\x00\x00\x00", 4);
    return bytes;
}

struct Cell {
    bool isNumber = false;
    std::string text;
    double value = 0;
    std::string attributes;
};
using Sheet = std::map<std::pair<int, int>, Cell>;

unsigned get16(const std::string& b, size_t at) { return uint8_t(b[at]) | uint8_t(b[at + 1]) << 8; }

// The LABEL and NUMBER cells of a BIFF2 file, by (row, column).
Sheet readCells(const std::string& path)
{
    const std::string b = fileBytes(path);
    Sheet sheet;
    for (size_t at = 0; at + 4 <= b.size();) {
        const unsigned id = get16(b, at), length = get16(b, at + 2);
        const std::string data = b.substr(at + 4, length);
        at += 4 + length;
        if (id != 0x03 && id != 0x04)
            continue;
        Cell c;
        c.attributes = data.substr(4, 3);
        if (id == 0x04) {
            c.text = data.substr(8, uint8_t(data[7]));
        } else {
            c.isNumber = true;
            std::memcpy(&c.value, data.data() + 7, 8);
        }
        sheet[{int(get16(data, 0)), int(get16(data, 2))}] = c;
    }
    return sheet;
}

const std::string kHeading("\x00\x40\x02", 3), kText("\x00\x40\x01", 3), kStatistic("\x00\x5B\x03", 3),
    kCount("\x00\x41\x03", 3);

}  // namespace

class SpreadsheetExport : public WindowTest {
protected:
    void clearList()
    {
        dialogs.willAnswer(Answer::Yes);
        click(ui::ControlId::ClearResults);
    }
    void addLine(const QString& line) { app->context().results.add(line); }
    // Exports to path and declines "Open now?".
    void exportTo(const std::string& path)
    {
        dialogs.willChooseFile(QString::fromStdString(path));
        dialogs.willAnswer(Answer::No);
        click(ui::ControlId::ExportToExcel);
    }
};

TEST_F(SpreadsheetExport, an_empty_list_gives_the_fixed_records_and_the_heading_byte_for_byte)
{
    clearList();
    const std::string path = workFile("empty.xls");
    exportTo(path);
    EXPECT_EQ(fileBytes(path), emptyExportBytes());

    const DialogCall& save = dialogs.calls[1];
    EXPECT_EQ(save.title, "Export to Excel ...");
    EXPECT_EQ(save.text, "Activity_06_12_2026_14_05h_0.xls");
    EXPECT_EQ(save.extra, "Excel (*.xls)|*.xls");
    EXPECT_EQ(dialogs.last().title, "Success!");
    EXPECT_EQ(dialogs.last().text, "File created: " + QString::fromStdString(path) + "Open now?");
}

TEST_F(SpreadsheetExport, a_statistics_table_becomes_numbers_under_headings)
{
    setCurrentNumber("1123581321");
    clearList();
    click(ui::ControlId::DigitStatistics);
    const std::string path = workFile("stats.xls");
    exportTo(path);
    EXPECT_EQ(dialogs.last().text, "File created: " + QString::fromStdString(path) + QString(122, '-') + "Open now?");

    const Sheet sheet = readCells(path);
    EXPECT_EQ(sheet.at({1, 0}).text, "Number > 1123581321");
    EXPECT_EQ(sheet.at({2, 0}).text, "Total digits: 10");
    EXPECT_EQ(sheet.at({2, 1}).value, 10);
    EXPECT_EQ(sheet.at({2, 1}).attributes, kCount);
    EXPECT_EQ(sheet.at({3, 1}).text, "Segment analyzed from digit 1 to 10 (9)");
    EXPECT_EQ(sheet.at({4, 2}).text, "How many");
    EXPECT_EQ(sheet.at({4, 2}).attributes, kHeading);
    const double digitOne[] = {1, 4, 0, 0, 3};
    for (int column = 1; column <= 5; ++column) {
        EXPECT_EQ(sheet.at({6, column}).value, digitOne[column - 1]) << "column " << column;
        EXPECT_EQ(sheet.at({6, column}).attributes, kStatistic);
    }
    EXPECT_EQ(sheet.at({15, 0}).text, "Total");
    EXPECT_EQ(sheet.at({15, 1}).value, 10);
    EXPECT_EQ(sheet.at({16, 1}).text.substr(0, 15), "This statistic,") << "the empty line took no row";
    EXPECT_EQ(sheet.at({16, 1}).text.size(), 100u);
    EXPECT_EQ(sheet.at({17, 1}).text.substr(0, 8), "patterns");
    EXPECT_EQ(sheet.count({30, 0}), 0u) << "the closing separator is an empty row";
    EXPECT_EQ(sheet.rbegin()->first.first, 29) << "the reverse row of digit 9";
}

TEST_F(SpreadsheetExport, analysis_and_completion_lines_keep_their_numbers_and_lose_at_and_dash)
{
    clearList();
    addLine("Analyzing a number with 1000 digits:");
    addLine("Done in 0.125 s at 14:07 h - 12/06/2026");
    addLine("");
    addLine("14:07 h - started");
    const std::string path = workFile("lines.xls");
    exportTo(path);
    const Sheet sheet = readCells(path);
    EXPECT_EQ(sheet.at({1, 0}).text, "Analyzing a number with 1000 digits:");
    EXPECT_EQ(sheet.at({1, 1}).value, 1000);
    EXPECT_EQ(sheet.at({1, 1}).attributes, kCount);
    EXPECT_EQ(sheet.at({2, 0}).text, "Done in 0.125 s 14:07 h 12/06/2026");
    EXPECT_EQ(sheet.at({2, 0}).attributes, kText);
    EXPECT_EQ(sheet.at({3, 1}).value, 14) << "the empty line took no row";
    EXPECT_EQ(sheet.at({3, 2}).value, 0);
}

TEST_F(SpreadsheetExport, twenty_thousand_lines_export_the_last_16383_from_line_3617)
{
    clearList();
    app->context().results.suspendUpdates(true);
    for (int i = 0; i < 20000; ++i)
        addLine(QStringLiteral("line %1").arg(i));
    app->context().results.suspendUpdates(false);
    const std::string path = workFile("long.xls");
    exportTo(path);
    const Sheet sheet = readCells(path);
    EXPECT_EQ(sheet.at({1, 0}).text, "line 3617");
    EXPECT_EQ(sheet.at({16383, 0}).text, "line 19999");
    EXPECT_EQ(sheet.rbegin()->first.first, 16383) << "no row above 16,383";
    EXPECT_EQ(sheet.size(), 16384u);
}

TEST_F(SpreadsheetExport, a_name_typed_in_capitals_gets_the_lower_case_extension)
{
    dialogs.willChooseFile(QString::fromStdString(workFile("report.XLS")));
    dialogs.willAnswer(Answer::No);
    click(ui::ControlId::ExportToExcel);
    EXPECT_TRUE(std::filesystem::exists(workFile("report.XLS.xls")));
    EXPECT_FALSE(std::filesystem::exists(workFile("report.XLS")));
}

TEST_F(SpreadsheetExport, no_to_replace_shows_the_dialog_again_and_cancel_writes_nothing)
{
    std::ofstream(workFile("old.xls")) << "previous";
    dialogs.willChooseFile(QString::fromStdString(workFile("old.xls")));
    dialogs.willAnswer(Answer::No);
    dialogs.willChooseFile(QString::fromStdString(workFile("old.xls")));
    dialogs.willAnswer(Answer::Cancel);
    click(ui::ControlId::ExportToExcel);
    EXPECT_EQ(dialogs.calls.size(), 4u);
    EXPECT_EQ(dialogs.calls[1].title, "The file already exists!");
    EXPECT_EQ(dialogs.calls[2].kind, "save");
    EXPECT_EQ(fileBytes(workFile("old.xls")), "previous");
}

TEST_F(SpreadsheetExport, a_file_that_cannot_be_created_is_refused)
{
    dialogs.willChooseFile(QString::fromStdString(workFile("missing-directory/x.xls")));
    dialogs.willAnswer(Answer::Ok);
    click(ui::ControlId::ExportToExcel);
    EXPECT_EQ(dialogs.last().title, "Problem!");
    EXPECT_EQ(dialogs.last().text, "The file is being used by another application!");
}

TEST_F(SpreadsheetExport, xlrd_reads_the_same_cells_back)
{
    const QString python = QFile::exists("/usr/bin/python3") ? QStringLiteral("/usr/bin/python3") : QStringLiteral("python3");
    QProcess probe;
    probe.start(python, {"-c", "import xlrd"});
    if (!probe.waitForFinished(20000) || probe.exitStatus() != QProcess::NormalExit || probe.exitCode() != 0)
        GTEST_SKIP() << "python3 with xlrd is not installed";

    setCurrentNumber("1123581321");
    clearList();
    click(ui::ControlId::DigitStatistics);
    addLine("Analyzing a number with 1000 digits:");
    addLine("Done in 0.125 s at 14:07 h - 12/06/2026");
    const std::string path = workFile("xlrd.xls");
    exportTo(path);

    const char* script =
        "import sys, os, xlrd\n"
        "book = xlrd.open_workbook(sys.argv[1], encoding_override='cp1252', logfile=open(os.devnull, 'w'))\n"
        "sheet = book.sheet_by_index(0)\n"
        "for r in range(sheet.nrows):\n"
        "    for c in range(sheet.ncols):\n"
        "        cell = sheet.cell(r, c)\n"
        "        if cell.ctype == xlrd.XL_CELL_TEXT:\n"
        "            print('%d\\t%d\\tT\\t%s' % (r, c, cell.value))\n"
        "        elif cell.ctype == xlrd.XL_CELL_NUMBER:\n"
        "            print('%d\\t%d\\tN\\t%r' % (r, c, cell.value))\n";
    QProcess reader;
    reader.start(python, {"-c", script, QString::fromStdString(path)});
    ASSERT_TRUE(reader.waitForFinished(20000));
    ASSERT_EQ(reader.exitCode(), 0) << reader.readAllStandardError().toStdString();

    QStringList fromXlrd = QString::fromUtf8(reader.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    QStringList ours;
    for (const auto& [place, cell] : readCells(path))
        ours << QStringLiteral("%1\t%2\t%3\t%4")
                    .arg(place.first)
                    .arg(place.second)
                    .arg(cell.isNumber ? "N" : "T")
                    .arg(cell.isNumber ? QString::number(cell.value, 'f', 1) : QString::fromStdString(cell.text));
    EXPECT_EQ(fromXlrd, ours);
    EXPECT_TRUE(fromXlrd.contains("0\t1\tT\tTotal digits"));
    EXPECT_TRUE(fromXlrd.contains("6\t2\tN\t4.0"));
}
