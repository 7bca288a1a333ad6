#pragma once
// The tester's console during an interactive run: a small window of our own,
// not modal, showing the tester's output as it comes. Closing it ends the
// tester; the runner then reports the closed console.
#include <QWidget>

class QPlainTextEdit;

namespace primality {

class ConsoleWindow : public QWidget {
    Q_OBJECT
public:
    explicit ConsoleWindow(QWidget* parent);

    void append(const QByteArray& output);
    void markFinished();
    bool closedByUser() const { return closedByUser_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QPlainTextEdit* text_;
    bool finished_ = false;
    bool closedByUser_ = false;
};

}  // namespace primality
