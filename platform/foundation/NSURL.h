#pragma once

// An address as the platform's URLWithString: reads it: nothing for text that is not a
// valid address (empty, or holding blanks, non-ASCII or other characters an address cannot
// carry unescaped, or a broken %-escape).

#include "runtime/NSObject.h"

#include <memory>
#include <string>
#include <string_view>

class NSURL : public NSObject {
    RVX_OBJECT(NSURL)
public:
    static std::shared_ptr<NSURL> URLWithString(std::string_view text);

    NSURL() = default;

    const std::string& absoluteString() const { return _text; }
    const std::string& scheme() const { return _scheme; }
    const std::string& host() const { return _host; }
    int port() const { return _port; } // -1 when none is given
    const std::string& path() const { return _path; }
    const std::string& query() const { return _query; }
    const std::string& fragment() const { return _fragment; }

private:
    bool parse(std::string_view text);

    std::string _text;
    std::string _scheme;
    std::string _host;
    int _port = -1;
    std::string _path;
    std::string _query;
    std::string _fragment;
};
