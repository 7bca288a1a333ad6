#include "cli/json_result.h"

#include <cmath>

#include "engine/decimal_views.h"

namespace cli {

std::string shownNumber(const std::string& digits, const OutputStyle& style)
{
    return style.shortView ? engine::headDotsTail(digits) : digits;
}

JsonResult::JsonResult(std::string_view command, const OutputStyle& style) : style_(style)
{
    object_["command"] = command;
}

Json JsonResult::shown(const std::string& digits)
{
    const bool cut = style_.shortView && digits.size() > engine::kFullViewLimit;
    shortened_ = shortened_ || cut;
    return cut ? engine::headDotsTail(digits) : digits;
}

JsonResult& JsonResult::number(const char* key, const std::string& digits)
{
    object_[key] = shown(digits);
    return *this;
}

JsonResult& JsonResult::field(const char* key, Json value)
{
    object_[key] = std::move(value);
    return *this;
}

void JsonResult::print(std::chrono::steady_clock::time_point start)
{
    object_["shortened"] = shortened_;
    object_["seconds"] = secondsSince(start);
    printJson(object_);
}

double secondsSince(std::chrono::steady_clock::time_point start)
{
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return std::round(seconds * 1000) / 1000;
}

}  // namespace cli
