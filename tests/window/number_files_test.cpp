// Save NUMBER, Copy and the three Paste buttons through the real window.
#include <QClipboard>
#include <QFileInfo>
#include <QGuiApplication>

#include "ui/control_ids.h"
#include "support/fake_tester.h"
#include "support/window_fixture.h"

using namespace testing_support;
using ui::Answer;

class NumberFiles : public WindowTest {
protected:
    static void putOnClipboard(const QString& text) { QGuiApplication::clipboard()->setText(text); }
};

TEST_F(NumberFiles, save_number_writes_the_digits_only_under_the_proposed_name)
{
    setCurrentNumber("1234567");
    const std::string path = workFile("saved.txt");
    dialogs.willChooseFile(QString::fromStdString(path));
    click(ui::ControlId::SaveNumber);

    ASSERT_EQ(dialogs.calls.size(), 1u);
    EXPECT_EQ(dialogs.last().kind, "save");
    EXPECT_EQ(dialogs.last().title, "Save the number to a file...");
    EXPECT_EQ(dialogs.last().text, "Number_06_12_2026_14_05h_7.txt");
    EXPECT_EQ(dialogs.last().extra, "TXT (*.txt)|*.txt");
    EXPECT_EQ(readWholeFile(path), "1234567");
    EXPECT_EQ(lastLine(1), "14:05 h - number saved in " + QFileInfo(QString::fromStdString(path)).absoluteFilePath());
    EXPECT_EQ(lastLine(), QString(122, '-'));
}

TEST_F(NumberFiles, save_number_asks_before_replacing_and_no_asks_for_another_name)
{
    setCurrentNumber("42");
    const QString existing = QString::fromStdString(workFile("existing.txt"));
    std::ofstream(existing.toStdString()) << "old";

    dialogs.willChooseFile(existing);
    dialogs.willAnswer(Answer::No);
    dialogs.willChooseFile(QString::fromStdString(workFile("other.txt")));
    click(ui::ControlId::SaveNumber);
    EXPECT_EQ(dialogs.calls[1].title, "The file already exists!");
    EXPECT_EQ(dialogs.calls[1].text, "Do you want to replace the existing one?");
    EXPECT_EQ(readWholeFile(existing.toStdString()), "old");
    EXPECT_EQ(readWholeFile(workFile("other.txt")), "42");

    dialogs.willChooseFile(existing);
    dialogs.willAnswer(Answer::Cancel);
    click(ui::ControlId::SaveNumber);
    EXPECT_EQ(readWholeFile(existing.toStdString()), "old");

    dialogs.willChooseFile(existing);
    dialogs.willAnswer(Answer::Yes);
    click(ui::ControlId::SaveNumber);
    EXPECT_EQ(readWholeFile(existing.toStdString()), "42");
}

TEST_F(NumberFiles, save_number_refuses_without_a_number_and_reports_an_unwritable_file)
{
    dialogs.willAnswer(Answer::Ok);
    click(ui::ControlId::SaveNumber);
    EXPECT_EQ(dialogs.last().text, "There is currently no number generated in memory!");

    setCurrentNumber("42");
    dialogs.willChooseFile(QString::fromStdString(workFile("no such directory/number.txt")));
    dialogs.willAnswer(Answer::Ok);
    click(ui::ControlId::SaveNumber);
    EXPECT_EQ(dialogs.last().title, "Problem!");
    EXPECT_EQ(dialogs.last().text, "The file is being used by another application!");
}

TEST_F(NumberFiles, paste_puts_the_digits_into_the_field_and_refuses_above_the_operating_limit)
{
    for (int field : {ui::ControlId::YourNumber, ui::ControlId::Operand}) {
        const int button = field == ui::ControlId::YourNumber ? ui::ControlId::YourNumberPaste : ui::ControlId::OperandPaste;
        putOnClipboard("12 345\r\n");
        click(button);
        EXPECT_EQ(text(field), "12345") << field;

        putOnClipboard(QString(10000, '9'));
        click(button);
        EXPECT_EQ(text(field).size(), 10000) << field;

        putOnClipboard(QString(10001, '9'));
        dialogs.willAnswer(Answer::Ok);
        click(button);
        EXPECT_EQ(text(field), "") << field;
        EXPECT_EQ(dialogs.last().title, "Problem!");
        EXPECT_EQ(dialogs.last().text, "Your number has more than 10,000, which is the limit here.");
    }
}

TEST_F(NumberFiles, paste_signature_folds_accents_and_keeps_sixty_characters)
{
    putOnClipboard(QStringLiteral("\u00C7a va\t\u20AC"));
    click(ui::ControlId::SignaturePaste);
    EXPECT_EQ(text(ui::ControlId::Signature), "Ca va");
    EXPECT_EQ(lastLine(1), "Ca va The signature was added.");
    EXPECT_FALSE(hasLine("N O T E S")) << "the start-up notes are cleared";

    putOnClipboard(QString(61, 'x'));
    dialogs.willAnswer(Answer::Ok);
    click(ui::ControlId::SignaturePaste);
    EXPECT_EQ(text(ui::ControlId::Signature), QString(60, 'x'));
    EXPECT_EQ(dialogs.last().text, "Only the first 60 characters were used.");
}

TEST_F(NumberFiles, copy_puts_the_number_on_the_clipboard_within_the_view_limit)
{
    putOnClipboard("unchanged");
    setCurrentNumber(std::string(3001, '5'));
    dialogs.willAnswer(Answer::Ok);
    click(ui::ControlId::CopyNumber);
    EXPECT_TRUE(dialogs.last().text.startsWith("The number has more than 3,000 digits"));
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "unchanged");

    setCurrentNumber(std::string(3000, '5'));
    click(ui::ControlId::CopyNumber);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QString(3000, '5'));
    EXPECT_EQ(lastLine(1), "Number with 3000 digits copied to the clipboard.");
}
