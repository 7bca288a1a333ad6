#pragma once
// Every modal interaction goes through Dialogs: the window uses Qt's dialogs,
// tests a scripted stand-in that answers in order and records what was asked.
// Texts are passed exactly as composed (CR characters included); showing them
// is the implementation's business.
#include <QString>
#include <optional>

namespace ui {

enum class Answer { Ok, Yes, No, Cancel };

class Dialogs {
public:
    virtual ~Dialogs() = default;
    // Information with an OK button.
    virtual void message(const QString& title, const QString& text) = 0;
    [[nodiscard]] virtual Answer askYesNo(const QString& title, const QString& text) = 0;
    [[nodiscard]] virtual Answer askYesNoCancel(const QString& title, const QString& text) = 0;
    // File dialogs return the chosen path, or an empty text when cancelled.
    // Filters are written "Caption (*.ext)|*.ext".
    virtual QString saveFileName(const QString& title, const QString& defaultName, const QString& filter) = 0;
    virtual QString openFileName(const QString& title, const QString& startDirectory, const QString& filter) = 0;
    virtual QString chooseDirectory(const QString& title, const QString& startDirectory) = 0;
    // Input box: the typed text, or nothing when cancelled.
    [[nodiscard]] virtual std::optional<QString> inputText(const QString& title, const QString& prompt, const QString& defaultText) = 0;
};

}  // namespace ui
