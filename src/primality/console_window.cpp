#include "primality/console_window.h"

#include <QCloseEvent>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "ui/main_window.h"

namespace primality {

namespace {

constexpr int kKeptLines = 5000;  // progress lines pile up during long tests

}  // namespace

ConsoleWindow::ConsoleWindow(QWidget* parent) : QWidget(parent, Qt::Window), text_(new QPlainTextEdit(this))
{
    setObjectName(QStringLiteral("testerConsole"));
    setWindowTitle(QStringLiteral("pfgw64_133mm.exe"));
    setAttribute(Qt::WA_DeleteOnClose);
    text_->setReadOnly(true);
    text_->setFont(ui::fixedPitchFont());
    text_->setMaximumBlockCount(kKeptLines);
    text_->setLineWrapMode(QPlainTextEdit::NoWrap);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(text_);
    resize(640, 320);
}

void ConsoleWindow::append(const QByteArray& output)
{
    if (output.isEmpty())
        return;
    // Progress counters rewrite their line with a bare CR; here each update
    // gets a line of its own.
    QString text = QString::fromLatin1(output);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    text_->moveCursor(QTextCursor::End);
    text_->insertPlainText(text);
    text_->moveCursor(QTextCursor::End);
}

void ConsoleWindow::markFinished()
{
    finished_ = true;
    setWindowTitle(windowTitle() + QStringLiteral(" - finished"));
}

void ConsoleWindow::closeEvent(QCloseEvent* event)
{
    if (!finished_)
        closedByUser_ = true;
    event->accept();
}

}  // namespace primality
