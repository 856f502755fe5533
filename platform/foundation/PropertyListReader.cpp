#include "foundation/PropertyList.h"

#include "foundation/NSString.h"
#include "foundation/Posix.h"
#include "foundation/PropertyListText.h"

#include <plist/plist.h>

#include <algorithm>
#include <cstdlib>
#include <climits>
#include <memory>

namespace PropertyList {

namespace {

struct PlistFree {
    void operator()(plist_t node) const { plist_free(node); }
};
using PlistHandle = std::unique_ptr<void, PlistFree>;

// The text of one <integer> element in canonical decimal, as the platform reads it:
// decimal even with leading zeros, signed, saturating at the 64-bit bounds. Nothing when
// the text is not an integer.
std::optional<std::string> canonicalInteger(std::string_view text)
{
    auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; };
    while (!text.empty() && isSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isSpace(text.back()))
        text.remove_suffix(1);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty())
        return std::nullopt;
    // Accumulate toward the sign's bound so that the minimum itself is reachable.
    long long value = 0;
    bool saturated = false;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        int digit = c - '0';
        if (saturated)
            continue;
        if (negative ? value < (LLONG_MIN + digit) / 10 : value > (LLONG_MAX - digit) / 10) {
            value = negative ? LLONG_MIN : LLONG_MAX;
            saturated = true;
        } else {
            value = negative ? value * 10 - digit : value * 10 + digit;
        }
    }
    return std::to_string(value);
}

// libplist reads <integer> text as C does (a leading zero means octal); rewrite every
// integer in decimal first. Nothing when an integer is malformed.
std::optional<std::string> withDecimalIntegers(std::string_view xml)
{
    static constexpr std::string_view open = "<integer>";
    static constexpr std::string_view close = "</integer>";
    std::string result;
    size_t copied = 0;
    size_t at = 0;
    while ((at = xml.find(open, at)) != std::string_view::npos) {
        size_t start = at + open.size();
        size_t end = xml.find(close, start);
        if (end == std::string_view::npos)
            return std::nullopt;
        auto number = canonicalInteger(xml.substr(start, end - start));
        if (!number)
            return std::nullopt;
        result.append(xml.substr(copied, start - copied));
        result += *number;
        copied = end;
        at = end + close.size();
    }
    if (copied == 0)
        return std::string(xml);
    result.append(xml.substr(copied));
    return result;
}

std::optional<PlistValue> convert(plist_t node)
{
    switch (plist_get_node_type(node)) {
    case PLIST_BOOLEAN: {
        uint8_t value = 0;
        plist_get_bool_val(node, &value);
        return PlistValue(value != 0);
    }
    case PLIST_UINT:
    case PLIST_UID: {
        // libplist has no signed type: a negative integer arrives as its two's complement.
        uint64_t value = 0;
        if (plist_get_node_type(node) == PLIST_UINT)
            plist_get_uint_val(node, &value);
        else
            plist_get_uid_val(node, &value);
        return PlistValue(int64_t(value));
    }
    case PLIST_REAL: {
        double value = 0;
        plist_get_real_val(node, &value);
        return PlistValue(value);
    }
    case PLIST_STRING:
    case PLIST_KEY: {
        uint64_t length = 0;
        const char* text = plist_get_string_ptr(node, &length);
        return PlistValue(writableText(std::string_view(text ? text : "", text ? size_t(length) : 0)));
    }
    case PLIST_DATE: {
        int32_t seconds = 0, micros = 0;
        plist_get_date_val(node, &seconds, &micros);
        return PlistValue(NSDate::dateWithTimeIntervalSinceReferenceDate(seconds + micros / 1e6));
    }
    case PLIST_DATA: {
        uint64_t length = 0;
        const char* bytes = plist_get_data_ptr(node, &length);
        NSData data;
        if (bytes)
            data.bytes.assign(bytes, bytes + length);
        return PlistValue(std::move(data));
    }
    case PLIST_ARRAY: {
        NSArray array;
        uint32_t count = plist_array_get_size(node);
        for (uint32_t i = 0; i < count; ++i) {
            if (auto item = convert(plist_array_get_item(node, i)))
                array.addObject(std::move(*item));
        }
        return PlistValue(std::move(array));
    }
    case PLIST_DICT: {
        NSDictionary dictionary;
        plist_dict_iter iter = nullptr;
        plist_dict_new_iter(node, &iter);
        for (;;) {
            char* key = nullptr;
            plist_t item = nullptr;
            plist_dict_next_item(node, iter, &key, &item);
            if (!item) {
                free(key);
                break;
            }
            if (auto value = convert(item))
                dictionary.setObject(std::move(*value), writableText(key ? key : ""));
            free(key);
        }
        free(iter);
        return PlistValue(std::move(dictionary));
    }
    default:
        return std::nullopt;
    }
}


// XML opens with a declaration, a doctype, a comment or the plist element, after white space.
bool looksLikeXML(std::string_view bytes)
{
    size_t at = bytes.find_first_not_of(" \t\r\n");
    if (at == std::string_view::npos)
        return false;
    std::string_view rest = bytes.substr(at);
    return rest.starts_with("<?") || rest.starts_with("<!") || rest.starts_with("<plist");
}

} // namespace

std::string writableText(std::string_view text)
{
    auto carried = [](uint8_t c) { return c >= 0x20 || c == '\t' || c == '\n' || c == '\r'; };
    if (NSString::isValidUTF8(text) && std::all_of(text.begin(), text.end(), [&](char c) { return carried(uint8_t(c)); }))
        return std::string(text);
    std::string out;
    size_t at = 0;
    while (at < text.size()) {
        uint8_t c = uint8_t(text[at]);
        size_t length = c < 0x80 ? 1 : (c & 0xE0) == 0xC0 ? 2 : (c & 0xF0) == 0xE0 ? 3 : (c & 0xF8) == 0xF0 ? 4 : 0;
        if (length > 0 && at + length <= text.size() && NSString::isValidUTF8(text.substr(at, length))
            && (length > 1 || carried(c))) {
            out.append(text.substr(at, length));
            at += length;
        } else {
            out += "\xEF\xBF\xBD";
            ++at;
        }
    }
    return out;
}

std::optional<PlistValue> parse(std::string_view bytes)
{
    if (bytes.size() > maximumSize)
        return std::nullopt;
    if (bytes.starts_with("\xEF\xBB\xBF"))
        bytes.remove_prefix(3);
    if (!bytes.starts_with("bplist") && !looksLikeXML(bytes))
        return parseOpenStep(bytes);
    std::string text;
    if (bytes.starts_with("bplist")) {
        if (!binaryWithinBounds(bytes))
            return std::nullopt;
        text = bytes;
    } else {
        if (!xmlWithinBounds(bytes))
            return std::nullopt;
        auto decimal = withDecimalIntegers(bytes);
        if (!decimal)
            return std::nullopt;
        text = std::move(*decimal);
    }
    plist_t root = nullptr;
    plist_from_memory(text.data(), uint32_t(text.size()), &root);
    if (!root)
        return std::nullopt;
    PlistHandle handle(root);
    return convert(root);
}

std::optional<PlistValue> readFile(const std::string& hostPath)
{
    Result<std::string> bytes = posix::readRegularFile(hostPath, maximumSize);
    if (!bytes)
        return std::nullopt;
    return parse(*bytes);
}

} // namespace PropertyList
