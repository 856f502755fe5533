#pragma once

// A JSON value read from text: enough for the control replies and the view dumps.

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class JsonValue {
public:
    enum class Type { Null, Bool, Number, String, Array, Object };

    // Nothing for text that is not one whole JSON value (or nests deeper than 256).
    static std::optional<JsonValue> parse(std::string_view text);

    Type type() const { return _type; }
    bool isNull() const { return _type == Type::Null; }
    bool asBool(bool fallback = false) const { return _type == Type::Bool ? _bool : fallback; }
    double asNumber(double fallback = 0) const { return _type == Type::Number ? _number : fallback; }
    const std::string& asString() const { return _string; }
    const std::vector<JsonValue>& items() const { return _items; }
    // Members in the order written.
    const std::vector<std::pair<std::string, JsonValue>>& members() const { return _members; }

    // The member of an object, or a null value.
    const JsonValue& operator[](std::string_view key) const;
    bool has(std::string_view key) const;

    // The value as compact JSON text.
    std::string write() const;

private:
    friend class JsonReader;
    Type _type = Type::Null;
    bool _bool = false;
    double _number = 0;
    std::string _string;
    std::vector<JsonValue> _items;
    std::vector<std::pair<std::string, JsonValue>> _members;
};
