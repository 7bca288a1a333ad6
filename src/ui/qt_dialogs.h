#pragma once
#include "ui/dialogs.h"

class QWidget;

namespace ui {

class QtDialogs : public Dialogs {
public:
    void setParent(QWidget* parent) { parent_ = parent; }
    void message(const QString& title, const QString& text) override;
    Answer askYesNo(const QString& title, const QString& text) override;
    Answer askYesNoCancel(const QString& title, const QString& text) override;
    QString saveFileName(const QString& title, const QString& defaultName, const QString& filter) override;
    QString openFileName(const QString& title, const QString& startDirectory, const QString& filter) override;
    QString chooseDirectory(const QString& title, const QString& startDirectory) override;
    std::optional<QString> inputText(const QString& title, const QString& prompt, const QString& defaultText) override;

private:
    QWidget* parent_ = nullptr;
};

}  // namespace ui
