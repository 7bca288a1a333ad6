#pragma once
// The one way commands reach the window's controls: by control id. Commands
// read their inputs here when they run, as the user left them.
#include <QString>
#include <QWidget>
#include <map>

namespace ui {

class Controls {
public:
    void add(int id, QWidget* widget) { widgets_[id] = widget; }
    QWidget* widget(int id) const;
    bool has(int id) const { return widgets_.count(id) != 0; }
    const std::map<int, QWidget*>& all() const { return widgets_; }

    QString text(int id) const;
    void setText(int id, const QString& text);
    bool checked(int id) const;
    void setChecked(int id, bool on);
    bool enabled(int id) const;
    void setEnabled(int id, bool on);
    bool visible(int id) const;  // not hidden; true also before the window is shown
    void setVisible(int id, bool on);

    // Drop-down lists.
    int selectedIndex(int id) const;
    void setSelectedIndex(int id, int index);
    int itemValue(int id, int index) const;
    int itemCount(int id) const;
    QString itemText(int id, int index) const;

    // What a user does: press a button, tick a box, pick a list entry.
    // These go through the same signals as real input.
    void click(int id);
    void choose(int id, int index);

private:
    std::map<int, QWidget*> widgets_;
};

}  // namespace ui
