#include "cli/json_text.h"

#include <cstdio>

namespace cli {

std::string jsonString(std::string_view text)
{
    std::string out = "\"";
    for (char c : text) {
        unsigned char u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (u < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", u);
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string jsonArray(const std::vector<std::string>& jsonValues)
{
    std::string out = "[";
    for (size_t i = 0; i < jsonValues.size(); ++i)
        out += (i ? "," : "") + jsonValues[i];
    return out + "]";
}

void JsonObject::key(std::string_view name)
{
    if (!body_.empty())
        body_ += ',';
    body_ += jsonString(name) + ':';
}

JsonObject& JsonObject::add(std::string_view name, std::string_view text)
{
    key(name);
    body_ += jsonString(text);
    return *this;
}

JsonObject& JsonObject::add(std::string_view name, int64_t value)
{
    key(name);
    body_ += std::to_string(value);
    return *this;
}

JsonObject& JsonObject::add(std::string_view name, bool value)
{
    key(name);
    body_ += value ? "true" : "false";
    return *this;
}

JsonObject& JsonObject::add(std::string_view name, double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", value);
    key(name);
    body_ += text;
    return *this;
}

JsonObject& JsonObject::addRaw(std::string_view name, std::string_view json)
{
    key(name);
    body_ += json;
    return *this;
}

}  // namespace cli
