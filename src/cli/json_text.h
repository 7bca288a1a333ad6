#pragma once
// A flat JSON object built field by field: all the command-line program's
// --json output is one such object, or one per line for --count.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace cli {

class JsonObject {
public:
    JsonObject& add(std::string_view key, std::string_view text);
    JsonObject& add(std::string_view key, const char* text) { return add(key, std::string_view(text)); }
    JsonObject& add(std::string_view key, int64_t value);
    JsonObject& add(std::string_view key, bool value);
    JsonObject& add(std::string_view key, double value);
    // value is already JSON (an array or object).
    JsonObject& addRaw(std::string_view key, std::string_view json);
    std::string text() const { return "{" + body_ + "}"; }

private:
    void key(std::string_view name);
    std::string body_;
};

std::string jsonString(std::string_view text);
std::string jsonArray(const std::vector<std::string>& jsonValues);

}  // namespace cli
