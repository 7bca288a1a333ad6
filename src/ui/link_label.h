#pragma once
// A label that reacts to a click, for the web link.
#include <QLabel>
#include <QMouseEvent>

namespace ui {

class LinkLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

signals:
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override
    {
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
            emit clicked();
    }
};

}  // namespace ui
