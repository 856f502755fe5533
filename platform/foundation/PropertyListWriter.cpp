#include "foundation/PropertyList.h"

#include "foundation/AtomicFile.h"
#include "foundation/NSString.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <ctime>

namespace PropertyList {

namespace {

constexpr double referenceDateOffset = 978307200.0;

class XMLWriter {
public:
    bool write(const PlistValue& value, size_t level)
    {
        indent(level);
        switch (value.kind()) {
        case PlistValue::Kind::String:
            return element("string", *value.string());
        case PlistValue::Kind::Integer:
            _out += "<integer>" + std::to_string(*value.integer()) + "</integer>\n";
            return true;
        case PlistValue::Kind::Real:
            _out += "<real>" + real(*value.real()) + "</real>\n";
            return true;
        case PlistValue::Kind::Boolean:
            _out += *value.boolean() ? "<true/>\n" : "<false/>\n";
            return true;
        case PlistValue::Kind::Date:
            _out += "<date>" + date(value.date()->timeIntervalSinceReferenceDate()) + "</date>\n";
            return true;
        case PlistValue::Kind::Data:
            data(value.data()->bytes, level);
            return true;
        case PlistValue::Kind::Array:
            return array(*value.array(), level);
        case PlistValue::Kind::Dictionary:
            return dictionary(*value.dictionary(), level);
        }
        return false;
    }

    std::string take() { return std::move(_out); }

private:
    void indent(size_t level) { _out.append(level, '\t'); }

    bool element(const char* tag, const std::string& text)
    {
        if (!NSString::isValidUTF8(text))
            return false;
        _out += '<';
        _out += tag;
        _out += '>';
        for (char c : text) {
            if (uint8_t(c) < 0x20 && c != '\t' && c != '\n' && c != '\r')
                return false; // XML 1.0 cannot carry it, even escaped
            switch (c) {
            case '&': _out += "&amp;"; break;
            case '<': _out += "&lt;"; break;
            case '>': _out += "&gt;"; break;
            default: _out += c;
            }
        }
        _out += "</";
        _out += tag;
        _out += ">\n";
        return true;
    }

    static std::string real(double value)
    {
        if (std::isnan(value))
            return "nan";
        if (std::isinf(value))
            return value > 0 ? "+infinity" : "-infinity";
        char buffer[64];
        auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 17);
        return std::string(buffer, result.ptr);
    }

    static std::string date(double sinceReference)
    {
        time_t seconds = time_t(std::floor(sinceReference + referenceDateOffset));
        struct tm parts {};
        gmtime_r(&seconds, &parts);
        char buffer[32];
        strftime(buffer, sizeof buffer, "%Y-%m-%dT%H:%M:%SZ", &parts);
        return buffer;
    }

    void data(const std::vector<uint8_t>& bytes, size_t level)
    {
        std::string encoded = NSData { bytes }.base64EncodedString();
        _out += "<data>\n";
        constexpr size_t lineLength = 68;
        for (size_t i = 0; i < encoded.size(); i += lineLength) {
            indent(level);
            _out += encoded.substr(i, lineLength);
            _out += '\n';
        }
        indent(level);
        _out += "</data>\n";
    }

    bool array(const NSArray& items, size_t level)
    {
        if (items.count() == 0) {
            _out += "<array/>\n";
            return true;
        }
        _out += "<array>\n";
        for (auto& item : items) {
            if (!write(item, level + 1))
                return false;
        }
        indent(level);
        _out += "</array>\n";
        return true;
    }

    bool dictionary(const NSDictionary& items, size_t level)
    {
        if (items.count() == 0) {
            _out += "<dict/>\n";
            return true;
        }
        _out += "<dict>\n";
        for (auto& [key, item] : items) {
            indent(level + 1);
            if (!element("key", key) || !write(item, level + 1))
                return false;
        }
        indent(level);
        _out += "</dict>\n";
        return true;
    }

    std::string _out;
};

} // namespace

std::optional<std::string> xmlData(const PlistValue& value)
{
    XMLWriter writer;
    std::string header = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                         "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" \"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
                         "<plist version=\"1.0\">\n";
    if (!writer.write(value, 0))
        return std::nullopt;
    return header + writer.take() + "</plist>\n";
}

bool writeFile(const PlistValue& value, const std::string& hostPath, Atomically atomically)
{
    auto xml = xmlData(value);
    if (!xml) {
        errno = EILSEQ; // the caller's reason: text that the XML form cannot carry
        return false;
    }
    return atomically == Atomically::Yes ? AtomicFile::write(hostPath, *xml) : AtomicFile::writeInPlace(hostPath, *xml);
}

} // namespace PropertyList
