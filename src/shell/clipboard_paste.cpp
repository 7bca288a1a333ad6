#include "shell/clipboard_paste.h"

#include <QClipboard>
#include <QGuiApplication>

#include "engine/signature_block.h"
#include "ui/control_ids.h"
#include "shell/time_texts.h"

namespace shell {

namespace {

constexpr size_t kSignatureLength = 60;

// The signature field takes what the signature block can carry: accented
// letters folded as the block folds them, then printable ASCII only.
std::string printableSignature(const QString& text)
{
    std::string kept;
    kept.reserve(static_cast<size_t>(text.size()));
    for (QChar unit : text) {
        char16_t code = engine::foldLatin1(unit.unicode());
        if (code >= 32 && code <= 126)
            kept.push_back(static_cast<char>(code));
    }
    return kept;
}

QString clipboardText() { return QGuiApplication::clipboard()->text(); }

}  // namespace

std::string digitsOf(const QString& text)
{
    std::string digits;
    digits.reserve(static_cast<size_t>(text.size()));
    for (QChar c : text)
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9'))
            digits.push_back(static_cast<char>(c.unicode()));
    return digits;
}

void pasteDigitsInto(shell::AppContext& ctx, int field)
{
    QString text = clipboardText();
    ctx.results.clearStartupNotes();
    if (text.isEmpty())
        return;
    std::string digits = digitsOf(text);
    const int64_t limit = ctx.state.limits[engine::OperatingNumber];
    if (static_cast<int64_t>(digits.size()) > limit) {
        ctx.controls.setText(field, QString());
        ctx.dialogs.message(QStringLiteral("Problem!"), QStringLiteral("Your number has more than ") +
                                                            shell::withThousands(limit) +
                                                            QStringLiteral(", which is the limit here."));
        return;
    }
    ctx.controls.setText(field, shell::latin1(digits));
}

void pasteSignature(shell::AppContext& ctx)
{
    QString text = clipboardText();
    if (text.isEmpty())
        return;
    ctx.results.clearStartupNotes();
    std::string cleaned = printableSignature(text);
    ctx.results.add(shell::latin1(cleaned) + QStringLiteral(" The signature was added."));
    ctx.results.addSeparator();
    ctx.results.scrollToEnd();
    ctx.controls.setText(ui::ControlId::Signature, shell::latin1(std::string_view(cleaned).substr(0, kSignatureLength)));
    if (cleaned.size() > kSignatureLength)
        ctx.dialogs.message(QStringLiteral("Problem!"), QStringLiteral("Only the first 60 characters were used."));
}

}  // namespace shell
