#pragma once

// Builds a host's success reply: {"ok":true, fields..., "text":...}.

#include "ui/JsonWriter.h"

#include <string>

class ControlReply {
public:
    ControlReply() { _json.beginObject().field("ok", true); }

    JsonWriter& json() { return _json; }
    // A member whose value is JSON text already (a view dump).
    ControlReply& raw(std::string_view key, const std::string& jsonText)
    {
        _raw += "," + JsonWriter::quoted(key) + ":" + jsonText;
        return *this;
    }
    // The reply with the line a person reads.
    std::string finish(const std::string& text)
    {
        _json.field("text", text).endObject();
        std::string reply = _json.text();
        reply.insert(reply.size() - 1, _raw);
        return reply;
    }

private:
    JsonWriter _json;
    std::string _raw;
};
