#include "ui/controls.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>

#include "ui/link_label.h"

namespace ui {

QWidget* Controls::widget(int id) const
{
    auto it = widgets_.find(id);
    return it == widgets_.end() ? nullptr : it->second;
}

QString Controls::text(int id) const
{
    QWidget* w = widget(id);
    if (auto* edit = qobject_cast<QLineEdit*>(w))
        return edit->text();
    if (auto* label = qobject_cast<QLabel*>(w))
        return label->text();
    if (auto* button = qobject_cast<QAbstractButton*>(w))
        return button->text();
    if (auto* box = qobject_cast<QComboBox*>(w))
        return box->currentText();
    if (auto* group = qobject_cast<QGroupBox*>(w))
        return group->title();
    return {};
}

void Controls::setText(int id, const QString& text)
{
    QWidget* w = widget(id);
    if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        edit->setText(text);
        edit->setCursorPosition(0);
    } else if (auto* label = qobject_cast<QLabel*>(w)) {
        label->setText(text);
    } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        button->setText(text);
    } else if (auto* group = qobject_cast<QGroupBox*>(w)) {
        group->setTitle(text);
    }
}

bool Controls::checked(int id) const
{
    auto* button = qobject_cast<QAbstractButton*>(widget(id));
    return button && button->isChecked();
}

void Controls::setChecked(int id, bool on)
{
    if (auto* button = qobject_cast<QAbstractButton*>(widget(id))) {
        QSignalBlocker quiet(button);
        button->setChecked(on);
    }
}

bool Controls::enabled(int id) const
{
    QWidget* w = widget(id);
    return w && w->isEnabled();
}

void Controls::setEnabled(int id, bool on)
{
    if (QWidget* w = widget(id))
        w->setEnabled(on);
}

bool Controls::visible(int id) const
{
    QWidget* w = widget(id);
    return w && !w->isHidden();
}

void Controls::setVisible(int id, bool on)
{
    if (QWidget* w = widget(id))
        w->setHidden(!on);
}

int Controls::selectedIndex(int id) const
{
    auto* box = qobject_cast<QComboBox*>(widget(id));
    return box ? box->currentIndex() : -1;
}

void Controls::setSelectedIndex(int id, int index)
{
    if (auto* box = qobject_cast<QComboBox*>(widget(id))) {
        QSignalBlocker quiet(box);
        box->setCurrentIndex(index);
    }
}

int Controls::itemValue(int id, int index) const
{
    auto* box = qobject_cast<QComboBox*>(widget(id));
    return box ? box->itemData(index).toInt() : 0;
}

int Controls::itemCount(int id) const
{
    auto* box = qobject_cast<QComboBox*>(widget(id));
    return box ? box->count() : 0;
}

QString Controls::itemText(int id, int index) const
{
    auto* box = qobject_cast<QComboBox*>(widget(id));
    return box ? box->itemText(index) : QString();
}

void Controls::click(int id)
{
    QWidget* w = widget(id);
    if (!w || !w->isEnabled())
        return;
    if (auto* button = qobject_cast<QAbstractButton*>(w))
        button->click();
    else if (auto* link = qobject_cast<LinkLabel*>(w))
        emit link->clicked();
}

void Controls::choose(int id, int index)
{
    auto* box = qobject_cast<QComboBox*>(widget(id));
    if (!box || !box->isEnabled())
        return;
    {
        QSignalBlocker quiet(box);
        box->setCurrentIndex(index);
    }
    emit box->activated(index);
}

}  // namespace ui
