#pragma once
// The results list (control 21) and the conventions every command writes by:
// separator line, start-up notes cleared at the first output, the PLEASE WAIT
// line, scrolling to the end.
#include <QListWidget>
#include <QString>
#include <optional>
#include <string_view>

namespace ui {

// 122 hyphens: closes every command's output.
const QString& separatorLine();

class ResultsList {
public:
    explicit ResultsList(QListWidget* list) : list_(list) {}

    int count() const { return list_->count(); }
    QString line(int index) const;
    void add(const QString& line);
    void addSeparator() { add(separatorLine()); }
    void remove(int index);
    void clear();

    // Selects the last line, then clears the selection: the list shows its end.
    void scrollToEnd();
    // Shows the line at index at the top, with no line selected.
    void scrollTo(int index);

    bool showsStartupNotes() const;
    // Clears the list and adds one separator when it still shows the notes.
    void clearStartupNotes();

    // The PLEASE WAIT line: message + "( Started at " + time; removed once.
    void startPleaseWait(const QString& message, const QString& clockTime);
    void removePleaseWait();
    std::optional<int> pleaseWaitIndex() const { return pleaseWait_; }

    int selectedRow() const;
    QString selectedLine() const;

    // Many lines at once (history of a parameters file) without a redraw per line.
    void suspendUpdates(bool suspended);

private:
    QListWidget* list_;
    std::optional<int> pleaseWait_;
};

}  // namespace ui
