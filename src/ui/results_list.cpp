#include "ui/results_list.h"

#include <QSignalBlocker>

namespace ui {

const QString& separatorLine()
{
    static const QString line(122, QLatin1Char('-'));
    return line;
}

QString ResultsList::line(int index) const
{
    QListWidgetItem* item = list_->item(index);
    return item ? item->text() : QString();
}

void ResultsList::add(const QString& line) { list_->addItem(line); }

void ResultsList::remove(int index)
{
    if (index < 0 || index >= list_->count())
        return;
    delete list_->takeItem(index);
    if (pleaseWait_ && *pleaseWait_ > index)
        --*pleaseWait_;
    else if (pleaseWait_ && *pleaseWait_ == index)
        pleaseWait_.reset();
}

void ResultsList::clear()
{
    list_->clear();
    pleaseWait_.reset();
}

void ResultsList::scrollToEnd()
{
    if (list_->count() == 0)
        return;
    QSignalBlocker quiet(list_);
    list_->setCurrentRow(list_->count() - 1);
    list_->scrollToBottom();
    list_->clearSelection();
}

void ResultsList::scrollTo(int index)
{
    if (index < 0 || index >= list_->count())
        return;
    QSignalBlocker quiet(list_);
    list_->setCurrentRow(index);
    list_->scrollToItem(list_->item(index), QAbstractItemView::PositionAtTop);
    list_->clearSelection();
}

bool ResultsList::showsStartupNotes() const
{
    return list_->count() >= 2 && line(1).trimmed() == QLatin1String("N O T E S");
}

void ResultsList::clearStartupNotes()
{
    if (!showsStartupNotes())
        return;
    clear();
    addSeparator();
}

void ResultsList::startPleaseWait(const QString& message, const QString& clockTime)
{
    add(message + QStringLiteral("( Started at ") + clockTime);
    pleaseWait_ = list_->count() - 1;
    scrollToEnd();
}

void ResultsList::removePleaseWait()
{
    if (!pleaseWait_)
        return;
    int index = *pleaseWait_;
    pleaseWait_.reset();
    if (index < list_->count())
        delete list_->takeItem(index);
}

int ResultsList::selectedRow() const
{
    QList<QListWidgetItem*> selected = list_->selectedItems();
    return selected.isEmpty() ? -1 : list_->row(selected.first());
}

QString ResultsList::selectedLine() const
{
    int row = selectedRow();
    return row < 0 ? QString() : line(row);
}

void ResultsList::suspendUpdates(bool suspended) { list_->setUpdatesEnabled(!suspended); }

}  // namespace ui
