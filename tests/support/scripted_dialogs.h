#pragma once
// Dialogs answered from a script, in order, recording every question. A
// dialog with no scripted reply, or a reply of another kind, is recorded as
// unexpected and the window fixture fails the test.
#include <deque>
#include <vector>

#include "ui/dialogs.h"

namespace testing_support {

struct DialogCall {
    QString kind;  // "message", "yesno", "yesnocancel", "save", "open", "directory", "input"
    QString title;
    QString text;  // message text, prompt, or default name / start directory
    QString extra; // filter of file dialogs, default text of input boxes
};

class ScriptedDialogs : public ui::Dialogs {
public:
    // Replies, consumed in order.
    void willAnswer(ui::Answer answer);  // message (Ok), yes/no, yes/no/cancel
    void willChooseFile(const QString& path);  // save, open or directory; empty = cancel
    void willType(const QString& text);
    void willCancelInput();

    std::vector<DialogCall> calls;
    std::vector<DialogCall> unexpected;
    size_t pendingReplies() const { return replies_.size(); }
    const DialogCall& last() const { return calls.back(); }

    void message(const QString& title, const QString& text) override;
    ui::Answer askYesNo(const QString& title, const QString& text) override;
    ui::Answer askYesNoCancel(const QString& title, const QString& text) override;
    QString saveFileName(const QString& title, const QString& defaultName, const QString& filter) override;
    QString openFileName(const QString& title, const QString& startDirectory, const QString& filter) override;
    QString chooseDirectory(const QString& title, const QString& startDirectory) override;
    std::optional<QString> inputText(const QString& title, const QString& prompt, const QString& defaultText) override;

private:
    enum class ReplyKind { Answer, File, Text, CancelText };
    struct Reply {
        ReplyKind kind;
        ui::Answer answer = ui::Answer::Cancel;
        QString text;
    };
    bool take(ReplyKind kind, const DialogCall& call, Reply& reply);
    std::deque<Reply> replies_;
};

}  // namespace testing_support
