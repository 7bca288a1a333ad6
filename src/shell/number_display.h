#pragma once
// The refreshes that follow a change of the current number, and the
// "Number > " line.
#include <QString>
#include <string_view>

#include "shell/app_context.h"

namespace shell {

// "until" = digit count, "Segment starting" = 1, digit view "All", digit count shown.
void numberChanged(AppContext& ctx, int64_t digitCount);

// Short view at the given width; a decoded signature goes into "Your signature:".
QString shortViewText(AppContext& ctx, std::string_view number, int width);

// "Number > " + short view at width 113.
QString numberLine(AppContext& ctx, std::string_view number);

// Status line of the current number: its short view at width 99.
void showCurrentNumberStatus(AppContext& ctx);

}  // namespace shell
