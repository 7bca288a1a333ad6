#pragma once
// The one window: every control of the control table at its place, raising
// one signal per control event. What the events do is the dispatcher's job.
#include <QWidget>
#include <functional>

#include "ui/controls.h"
#include "ui/results_list.h"

class QListWidget;

namespace ui {

class MainWindow : public QWidget {
    Q_OBJECT
public:
    MainWindow();

    Controls& controls() { return controls_; }
    ResultsList& results() { return results_; }
    QListWidget* resultsWidget() const { return list_; }

    // Places the window in the middle of the primary screen's free area.
    // Window managers that place windows themselves may override it.
    void centreOnPrimaryScreen();

    // Asked when the user closes the window; returning false keeps it open.
    void setCloseHandler(std::function<bool()> handler) { closeHandler_ = std::move(handler); }

signals:
    void controlEvent(int id);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* createControl(const struct ControlSpec& spec);
    void fillDropDowns();

    Controls controls_;
    QListWidget* list_ = nullptr;
    ResultsList results_{nullptr};
    std::function<bool()> closeHandler_;
};

// Fixed-pitch font of the results list, the status line and three lists.
QFont fixedPitchFont();
// The font of every other control.
QFont controlFont();

}  // namespace ui
