#include "Json.h"

#include <nlohmann/json.hpp>

#include <cctype>
#include <cmath>
#include <cstdio>

namespace ruvex {

namespace {

std::string number(double value)
{
    if (!std::isfinite(value))
        return "null";
    char text[32];
    std::snprintf(text, sizeof text, "%.17g", value);
    return text;
}

bool needsQuotes(std::string_view text)
{
    if (text.empty())
        return true;
    for (unsigned char c : text) {
        if (!(std::isalnum(c) || c == '.' || c == '_' || c == '-' || c == '/'))
            return true;
    }
    return false;
}

// Quoted in the ASCII property-list form, so that the text reads back as it was: the usual
// backslash escapes, other control characters as \Uxxxx, the rest as UTF-8.
std::string defaultsString(std::string_view text)
{
    if (!needsQuotes(text))
        return std::string(text);
    std::string out = "\"";
    for (unsigned char c : text) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\t': out += "\\t"; break;
        case '\r': out += "\\r"; break;
        default:
            if (c < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\U%04x", c);
                out += escaped;
            } else {
                out += char(c);
            }
        }
    }
    return out + "\"";
}

} // namespace

json::Value jsonFromPlist(const PlistValue& value)
{
    switch (value.kind()) {
    case PlistValue::Kind::String: return *value.string();
    case PlistValue::Kind::Integer: return *value.integer();
    case PlistValue::Kind::Real: return json::number(*value.real());
    case PlistValue::Kind::Boolean: return *value.boolean();
    case PlistValue::Kind::Date: return json::number(value.date()->timeIntervalSinceReferenceDate());
    case PlistValue::Kind::Data: return value.data()->base64EncodedString();
    case PlistValue::Kind::Array: {
        json::Value items = json::Value::array();
        for (const PlistValue& item : *value.array())
            items.push_back(jsonFromPlist(item));
        return items;
    }
    case PlistValue::Kind::Dictionary: {
        json::Value members = json::Value::object();
        for (const auto& [key, item] : *value.dictionary())
            members[key] = jsonFromPlist(item);
        return members;
    }
    }
    return nullptr;
}

std::string defaultsText(const PlistValue& value, int indent)
{
    std::string pad(size_t(indent + 4), ' ');
    std::string closePad(size_t(indent), ' ');
    switch (value.kind()) {
    case PlistValue::Kind::String: return defaultsString(*value.string());
    case PlistValue::Kind::Integer: return std::to_string(*value.integer());
    case PlistValue::Kind::Real: {
        char text[32];
        std::snprintf(text, sizeof text, "%.17g", *value.real());
        return text;
    }
    case PlistValue::Kind::Boolean: return *value.boolean() ? "1" : "0";
    case PlistValue::Kind::Date: return number(value.date()->timeIntervalSinceReferenceDate());
    case PlistValue::Kind::Data: {
        std::string hex = "<";
        for (uint8_t byte : value.data()->bytes) {
            char pair[3];
            std::snprintf(pair, sizeof pair, "%02x", byte);
            hex += pair;
        }
        return hex + ">";
    }
    case PlistValue::Kind::Array: {
        std::string out = "(\n";
        size_t left = value.array()->count();
        for (const PlistValue& item : *value.array())
            out += pad + defaultsText(item, indent + 4) + (--left ? ",\n" : "\n");
        return out + closePad + ")";
    }
    case PlistValue::Kind::Dictionary: {
        std::string out = "{\n";
        for (const auto& [key, item] : *value.dictionary())
            out += pad + defaultsString(key) + " = " + defaultsText(item, indent + 4) + ";\n";
        return out + closePad + "}";
    }
    }
    return "";
}

} // namespace ruvex
