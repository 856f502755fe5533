#include "foundation/NSURL.h"

#include <cctype>

RVX_DEFINE_CLASS(NSURL, NSObject)

namespace {

bool isAllowed(unsigned char c)
{
    if (c <= 0x20 || c >= 0x7F)
        return false;
    switch (c) {
    case '"': case '<': case '>': case '\\': case '^': case '`': case '{': case '|': case '}':
        return false;
    default:
        return true;
    }
}

bool validCharacters(std::string_view text)
{
    for (size_t i = 0; i < text.size(); ++i) {
        unsigned char c = (unsigned char)text[i];
        if (!isAllowed(c))
            return false;
        if (c == '%' && (i + 2 >= text.size() || !isxdigit((unsigned char)text[i + 1]) || !isxdigit((unsigned char)text[i + 2])))
            return false;
    }
    return true;
}

} // namespace

std::shared_ptr<NSURL> NSURL::URLWithString(std::string_view text)
{
    auto url = runtime::make<NSURL>();
    if (!url->parse(text))
        return nullptr;
    return url;
}

bool NSURL::parse(std::string_view text)
{
    if (text.empty() || !validCharacters(text))
        return false;
    _text = text;
    std::string_view rest = text;

    if (size_t hash = rest.find('#'); hash != std::string_view::npos) {
        _fragment = rest.substr(hash + 1);
        rest = rest.substr(0, hash);
    }
    if (size_t question = rest.find('?'); question != std::string_view::npos) {
        _query = rest.substr(question + 1);
        rest = rest.substr(0, question);
    }
    if (size_t colon = rest.find(':'); colon != std::string_view::npos && colon > 0 && isalpha((unsigned char)rest[0])) {
        std::string_view scheme = rest.substr(0, colon);
        bool valid = true;
        for (char c : scheme)
            valid = valid && (isalnum((unsigned char)c) || c == '+' || c == '-' || c == '.');
        if (valid) {
            _scheme = scheme;
            rest = rest.substr(colon + 1);
        }
    }
    if (rest.starts_with("//")) {
        rest.remove_prefix(2);
        size_t slash = rest.find('/');
        std::string_view authority = rest.substr(0, slash);
        rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash);
        if (size_t at = authority.rfind('@'); at != std::string_view::npos)
            authority = authority.substr(at + 1);
        std::string_view hostPart = authority;
        if (authority.starts_with('[')) {
            size_t close = authority.find(']');
            if (close == std::string_view::npos)
                return false;
            hostPart = authority.substr(1, close - 1);
            authority = authority.substr(close + 1);
        } else if (size_t colon = authority.rfind(':'); colon != std::string_view::npos) {
            hostPart = authority.substr(0, colon);
            authority = authority.substr(colon);
        } else {
            authority = {};
        }
        if (authority.starts_with(':')) {
            std::string_view digits = authority.substr(1);
            if (digits.size() > 5)
                return false;
            int port = 0;
            for (char c : digits) {
                if (!isdigit((unsigned char)c))
                    return false;
                port = port * 10 + (c - '0');
            }
            if (!digits.empty())
                _port = port;
        }
        _host = hostPart;
    }
    _path = rest;
    return true;
}
