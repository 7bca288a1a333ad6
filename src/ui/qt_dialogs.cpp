#include "ui/qt_dialogs.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace ui {

namespace {

// Messages are composed with CR line breaks; Qt breaks lines at LF.
QString displayText(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

// "Caption (*.ext)|*.ext" becomes Qt's "Caption (*.ext)".
QString qtFilter(const QString& filter) { return filter.section(QLatin1Char('|'), 0, 0); }

// Of Qt's many buttons only these are shown; closing a box is a Cancel.
Answer toAnswer(QMessageBox::StandardButton button)
{
    if (button == QMessageBox::Yes)
        return Answer::Yes;
    if (button == QMessageBox::No)
        return Answer::No;
    if (button == QMessageBox::Ok)
        return Answer::Ok;
    return Answer::Cancel;
}

}  // namespace

void QtDialogs::message(const QString& title, const QString& text)
{
    QMessageBox::information(parent_, title, displayText(text));
}

Answer QtDialogs::askYesNo(const QString& title, const QString& text)
{
    return toAnswer(QMessageBox::question(parent_, title, displayText(text), QMessageBox::Yes | QMessageBox::No));
}

Answer QtDialogs::askYesNoCancel(const QString& title, const QString& text)
{
    return toAnswer(QMessageBox::question(parent_, title, displayText(text),
                                          QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel));
}

QString QtDialogs::saveFileName(const QString& title, const QString& defaultName, const QString& filter)
{
    // The program asks its own replace question, so Qt's is switched off.
    return QFileDialog::getSaveFileName(parent_, title, defaultName, qtFilter(filter), nullptr,
                                        QFileDialog::DontConfirmOverwrite);
}

QString QtDialogs::openFileName(const QString& title, const QString& startDirectory, const QString& filter)
{
    return QFileDialog::getOpenFileName(parent_, title, startDirectory, qtFilter(filter));
}

QString QtDialogs::chooseDirectory(const QString& title, const QString& startDirectory)
{
    return QFileDialog::getExistingDirectory(parent_, title, startDirectory);
}

std::optional<QString> QtDialogs::inputText(const QString& title, const QString& prompt, const QString& defaultText)
{
    bool ok = false;
    QString text = QInputDialog::getText(parent_, title, displayText(prompt), QLineEdit::Normal, defaultText, &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

}  // namespace ui
