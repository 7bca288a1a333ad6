#include "support/scripted_dialogs.h"

namespace testing_support {

void ScriptedDialogs::willAnswer(ui::Answer answer) { replies_.push_back({ReplyKind::Answer, answer, {}}); }
void ScriptedDialogs::willChooseFile(const QString& path) { replies_.push_back({ReplyKind::File, ui::Answer::Ok, path}); }
void ScriptedDialogs::willType(const QString& text) { replies_.push_back({ReplyKind::Text, ui::Answer::Ok, text}); }
void ScriptedDialogs::willCancelInput() { replies_.push_back({ReplyKind::CancelText, ui::Answer::Cancel, {}}); }

bool ScriptedDialogs::take(ReplyKind kind, const DialogCall& call, Reply& reply)
{
    calls.push_back(call);
    bool inputKind = kind == ReplyKind::Text;
    bool matches = !replies_.empty() &&
                   (replies_.front().kind == kind || (inputKind && replies_.front().kind == ReplyKind::CancelText));
    if (!matches) {
        unexpected.push_back(call);
        return false;
    }
    reply = replies_.front();
    replies_.pop_front();
    return true;
}

void ScriptedDialogs::message(const QString& title, const QString& text)
{
    Reply reply;
    take(ReplyKind::Answer, {"message", title, text, {}}, reply);
}

ui::Answer ScriptedDialogs::askYesNo(const QString& title, const QString& text)
{
    Reply reply;
    return take(ReplyKind::Answer, {"yesno", title, text, {}}, reply) ? reply.answer : ui::Answer::No;
}

ui::Answer ScriptedDialogs::askYesNoCancel(const QString& title, const QString& text)
{
    Reply reply;
    return take(ReplyKind::Answer, {"yesnocancel", title, text, {}}, reply) ? reply.answer : ui::Answer::Cancel;
}

QString ScriptedDialogs::saveFileName(const QString& title, const QString& defaultName, const QString& filter)
{
    Reply reply;
    return take(ReplyKind::File, {"save", title, defaultName, filter}, reply) ? reply.text : QString();
}

QString ScriptedDialogs::openFileName(const QString& title, const QString& startDirectory, const QString& filter)
{
    Reply reply;
    return take(ReplyKind::File, {"open", title, startDirectory, filter}, reply) ? reply.text : QString();
}

QString ScriptedDialogs::chooseDirectory(const QString& title, const QString& startDirectory)
{
    Reply reply;
    return take(ReplyKind::File, {"directory", title, startDirectory, {}}, reply) ? reply.text : QString();
}

std::optional<QString> ScriptedDialogs::inputText(const QString& title, const QString& prompt, const QString& defaultText)
{
    Reply reply;
    if (!take(ReplyKind::Text, {"input", title, prompt, defaultText}, reply) || reply.kind == ReplyKind::CancelText)
        return std::nullopt;
    return reply.text;
}

}  // namespace testing_support
