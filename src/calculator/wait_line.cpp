#include "calculator/wait_line.h"

namespace calculator {

void WaitLine::add(shell::AppContext& ctx, const QString& text)
{
    ctx.results.add(text);
    index_ = ctx.results.count() - 1;
    text_ = text;
    ctx.results.scrollToEnd();
}

void WaitLine::remove(shell::AppContext& ctx)
{
    // Only lines are added while an operation runs, so the position holds;
    // the text check guards against a list cleared in between.
    if (index_ >= 0 && ctx.results.line(index_) == text_)
        ctx.results.remove(index_);
    index_ = -1;
}

}  // namespace calculator
