#pragma once

// Builds a host's success reply: {"ok":true, fields..., "text":..., fields after}.

#include "foundation/Json.h"

#include <nlohmann/json.hpp>

#include <string>

class ControlReply {
public:
    ControlReply() { _json["ok"] = true; }

    json::Value& json() { return _json; }
    json::Value& operator[](const char* key) { return _json[key]; }
    // A member written after "text" (a view dump, which a person reads past).
    ControlReply& after(const char* key, json::Value value)
    {
        _after[key] = std::move(value);
        return *this;
    }
    // The reply with the line a person reads.
    json::Value finish(const std::string& text)
    {
        _json["text"] = text;
        for (auto& [key, value] : _after.items())
            _json[key] = std::move(value);
        return std::move(_json);
    }

private:
    json::Value _json = json::Value::object();
    json::Value _after = json::Value::object();
};
