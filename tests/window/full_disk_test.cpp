// Every file the window writes, written onto a full disk: the file from
// before stays as it was and the user is told, by a message where the user
// just asked for the file, by a line in the list where a run goes on
// unattended.
#include <QTimer>
#include <cstring>
#include <fstream>
#include <functional>

#include "storage/resume_file.h"
#include "ui/control_ids.h"
#include "support/fake_tester.h"
#include "support/file_size_limit.h"
#include "support/window_fixture.h"

using namespace testing_support;
using ui::Answer;

namespace {

const QString kSeparator(122, '-');
const QString kTooLarge = QString::fromLocal8Bit(std::strerror(EFBIG));

QString notWrittenLine(const char* file)
{
    return QLatin1String(file) + " could not be written (" + kTooLarge + ") - the file from before is unchanged.";
}

}  // namespace

class FullDisk : public WindowTest {
protected:
    std::string writeOld(const std::string& name)
    {
        std::ofstream(workFile(name), std::ios::binary) << "old";
        return workFile(name);
    }

    void chooseExisting(const std::string& path)
    {
        dialogs.willChooseFile(QString::fromStdString(path));
        dialogs.willAnswer(Answer::Yes);  // replace it
    }

    void generate(int64_t digits)
    {
        setText(ui::ControlId::TotalDigits, QString::number(digits));
        click(ui::ControlId::StartGeneration);
    }

    // Ticks STOP once condition holds while a command processes events.
    void stopWhen(std::function<bool()> condition)
    {
        QObject::connect(&stopTimer_, &QTimer::timeout, [this, condition] {
            if (condition()) {
                stopTimer_.stop();
                tick(ui::ControlId::Stop, true);
            }
        });
        stopTimer_.start(2);
    }

private:
    QTimer stopTimer_;
};

TEST_F(FullDisk, save_number_keeps_the_old_file_and_shows_its_message)
{
    const std::string path = writeOld("number.txt");
    setCurrentNumber(std::string(2'000'000, '7'));
    chooseExisting(path);
    dialogs.willAnswer(Answer::Ok);
    {
        FileSizeLimit fullDisk(1 << 20);
        click(ui::ControlId::SaveNumber);
    }
    EXPECT_EQ(dialogs.last().title, "Problem!");
    EXPECT_EQ(dialogs.last().text, "The file is being used by another application!");
    EXPECT_EQ(readWholeFile(path), "old");
    EXPECT_FALSE(lastLine(1).contains("number saved in"));
}

TEST_F(FullDisk, save_of_the_parameters_keeps_the_old_file_and_says_why)
{
    const std::string path = writeOld("p.qdx");
    for (int i = 0; i < 500; ++i)
        app->context().results.add(QStringLiteral("history line %1 of a long session").arg(i));
    chooseExisting(path);
    dialogs.willAnswer(Answer::Ok);
    {
        FileSizeLimit fullDisk(4096);
        click(ui::ControlId::SaveParameters);
    }
    EXPECT_EQ(dialogs.last().title, "Problem!");
    EXPECT_EQ(dialogs.last().text, "The parameters file could not be written:\r" + QString::fromStdString(path) + "\r" +
                                       kTooLarge + "\r\rA file that was there before is unchanged.");
    EXPECT_EQ(readWholeFile(path), "old");
}

TEST_F(FullDisk, export_keeps_the_old_spreadsheet_and_does_not_say_file_created)
{
    const std::string path = writeOld("results.xls");
    for (int i = 0; i < 2000; ++i)
        app->context().results.add(QStringLiteral("line %1 of the results list").arg(i));
    chooseExisting(path);
    dialogs.willAnswer(Answer::Ok);
    {
        FileSizeLimit fullDisk(16 << 10);
        click(ui::ControlId::ExportToExcel);
    }
    EXPECT_EQ(dialogs.last().title, "Problem!");
    EXPECT_EQ(dialogs.last().text,
              "The spreadsheet could not be written completely (is the disk full?):\r" + QString::fromStdString(path));
    EXPECT_EQ(readWholeFile(path), "old");
}

TEST_F(FullDisk, generated_number_stays_in_memory_and_the_list_says_last_number_was_not_written)
{
    const std::string path = writeOld("last_number.txt");
    {
        FileSizeLimit fullDisk(1000);
        generate(1111);
    }
    EXPECT_EQ(currentNumber().size(), 1111u);
    EXPECT_EQ(lastLine(1), notWrittenLine("last_number.txt")) << lines().join("\n").toStdString();
    EXPECT_EQ(lastLine(), kSeparator);
    EXPECT_EQ(readWholeFile(path), "old");
}

TEST_F(FullDisk, stopped_search_keeps_the_old_resume_file_and_says_so)
{
    const std::string path = writeOld("Search_bitmap.bit");
    installFakeTester(workFile("pfgw64_133mm.exe"), "exec sleep 30");
    stopWhen([this] { return text(ui::ControlId::Qty) == "1"; });
    {
        // Room for last_PRP.txt, not for the resume file.
        FileSizeLimit fullDisk(64 << 10);
        generate(7001);
    }
    EXPECT_TRUE(hasLine(notWrittenLine("Search_bitmap.bit"))) << lines().join("\n").toStdString();
    EXPECT_TRUE(hasLine("Generation was stopped by the user... the generated number may not be a prime number! (0)"));
    EXPECT_EQ(readWholeFile(path), "old");
}

TEST_F(FullDisk, the_tester_never_runs_on_the_number_an_earlier_run_left_in_last_prp)
{
    const std::string path = writeOld("last_PRP.txt");
    installFakeTester(workFile("pfgw64_133mm.exe"), "echo 'N is 3-PRP! (0.0s+0.0s)'");
    const QString message = "last_PRP.txt could not be written in:\n" + QString::fromStdString(workDir().string()) +
                            "/\n" + kTooLarge;

    dialogs.willAnswer(Answer::Ok);
    {
        FileSizeLimit fullDisk(4096);
        generate(7001);
    }
    EXPECT_EQ(dialogs.last().text, message);
    EXPECT_TRUE(hasLine("Generation was stopped because the external PRP program could not run... the generated "
                        "number may not be a prime number! (0)"))
        << lines().join("\n").toStdString();

    dialogs.willAnswer(Answer::Ok);
    {
        FileSizeLimit fullDisk(4096);
        click(ui::ControlId::RunPrp);
    }
    EXPECT_EQ(dialogs.last().text, message);
    EXPECT_FALSE(std::filesystem::exists(workFile("tester_args.txt"))) << "the tester was started";
    EXPECT_EQ(readWholeFile(path), "old");
    EXPECT_TRUE(enabled(ui::ControlId::RunPrp));
}

// A damaged base.div is built again at start-up; on a full disk the new one
// cannot replace it.
class StartOnFullDisk : public FullDisk {
protected:
    void prepareWorkDir() override { std::ofstream("base.div") << "123\n456"; }
    void SetUp() override
    {
        FileSizeLimit fullDisk(1 << 20);
        FullDisk::SetUp();
    }
};

TEST_F(StartOnFullDisk, base_div_keeps_the_damaged_file_and_one_line_says_it_could_not_be_written)
{
    EXPECT_EQ(readWholeFile(workFile("base.div")), "123\n456");
    int mentions = 0;
    for (const QString& line : lines())
        mentions += line.startsWith("base.div could not be written in ");
    EXPECT_EQ(mentions, 1) << lines().join("\n").toStdString();
}
