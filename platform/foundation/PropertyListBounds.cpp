#include "foundation/PropertyList.h"

#include <cstring>
#include <vector>

namespace PropertyList {

namespace {

constexpr uint64_t maximumSharedExpansion = 64 * 1024;

// Skips a construct that starts at `at` with `open` and ends with `close`; answers the
// position after it, or npos when it does not end.
size_t skipConstruct(std::string_view xml, size_t at, std::string_view close)
{
    size_t end = xml.find(close, at);
    return end == std::string_view::npos ? end : end + close.size();
}

uint64_t readBigEndian(std::string_view bytes, size_t at, size_t width)
{
    uint64_t value = 0;
    for (size_t i = 0; i < width; ++i)
        value = (value << 8) | uint8_t(bytes[at + i]);
    return value;
}

class BinaryLayout {
public:
    explicit BinaryLayout(std::string_view bytes) : _bytes(bytes) { }

    bool readTrailer()
    {
        if (_bytes.size() < 8 + 32)
            return false;
        size_t trailer = _bytes.size() - 32;
        _offsetSize = uint8_t(_bytes[trailer + 6]);
        _refSize = uint8_t(_bytes[trailer + 7]);
        _objectCount = readBigEndian(_bytes, trailer + 8, 8);
        _topObject = readBigEndian(_bytes, trailer + 16, 8);
        _tableOffset = readBigEndian(_bytes, trailer + 24, 8);
        if (_offsetSize < 1 || _offsetSize > 8 || _refSize < 1 || _refSize > 8)
            return false;
        if (_objectCount == 0 || _objectCount > maximumNodes || _topObject >= _objectCount)
            return false;
        return _tableOffset >= 8 && _tableOffset <= trailer && (trailer - _tableOffset) / _offsetSize >= _objectCount;
    }

    // The count of an object's items from its marker, or from the integer after it when the
    // marker's low nibble is 0xF; `at` moves past what was read. False when malformed.
    bool readCount(uint8_t marker, uint64_t& at, uint64_t& count) const
    {
        count = marker & 0x0F;
        ++at;
        if (count != 0x0F)
            return true;
        if (at >= _tableOffset)
            return false;
        uint8_t intMarker = uint8_t(_bytes[at]);
        if ((intMarker >> 4) != 0x1 || (intMarker & 0x0F) > 3)
            return false;
        size_t width = size_t(1) << (intMarker & 0x0F);
        if (at + 1 + width > _tableOffset)
            return false;
        count = readBigEndian(_bytes, size_t(at + 1), width);
        at += 1 + width;
        return true;
    }

    // A dictionary key must be a string without a NUL: libplist aborts the process on a
    // UTF-16 key holding one, and a key cut short at it would not be the key written.
    bool isSafeKey(uint64_t object) const
    {
        uint64_t at = readBigEndian(_bytes, size_t(_tableOffset + object * _offsetSize), _offsetSize);
        if (at < 8 || at >= _tableOffset)
            return false;
        uint8_t marker = uint8_t(_bytes[at]);
        uint8_t type = marker >> 4;
        if (type != 0x5 && type != 0x6)
            return false;
        uint64_t count = 0;
        if (!readCount(marker, at, count))
            return false;
        size_t unit = type == 0x6 ? 2 : 1;
        if (count > (_tableOffset - at) / unit)
            return false;
        for (uint64_t i = 0; i < count; ++i) {
            if (readBigEndian(_bytes, size_t(at + i * unit), unit) == 0)
                return false;
        }
        return true;
    }

    // The objects a container refers to; false when the object is malformed.
    bool children(uint64_t object, std::vector<uint64_t>& refs) const
    {
        refs.clear();
        uint64_t at = readBigEndian(_bytes, size_t(_tableOffset + object * _offsetSize), _offsetSize);
        if (at < 8 || at >= _tableOffset)
            return false;
        uint8_t marker = uint8_t(_bytes[at]);
        uint8_t type = marker >> 4;
        if (type != 0xA && type != 0xC && type != 0xD)
            return true;
        uint64_t count = 0;
        if (!readCount(marker, at, count))
            return false;
        if (type == 0xD)
            count *= 2;
        if (count > (_tableOffset - at) / _refSize)
            return false;
        refs.reserve(size_t(count));
        for (uint64_t i = 0; i < count; ++i) {
            uint64_t ref = readBigEndian(_bytes, size_t(at + i * _refSize), _refSize);
            if (ref >= _objectCount)
                return false;
            if (type == 0xD && i < count / 2 && !isSafeKey(ref))
                return false;
            refs.push_back(ref);
        }
        return true;
    }

    // Walks the graph once from the top object, memoising each object's depth and expanded
    // size, so that shared objects cost nothing extra and a cycle is found.
    bool withinBounds() const
    {
        enum : uint8_t { Unvisited, Open, Done };
        std::vector<uint8_t> state(size_t(_objectCount), Unvisited);
        std::vector<uint32_t> depth(size_t(_objectCount), 0);
        std::vector<uint32_t> nodes(size_t(_objectCount), 0);
        struct Frame {
            uint64_t object;
            std::vector<uint64_t> refs;
            size_t next = 0;
        };
        std::vector<Frame> stack;
        stack.push_back({ _topObject, {} });
        if (!children(_topObject, stack.back().refs))
            return false;
        state[size_t(_topObject)] = Open;
        while (!stack.empty()) {
            Frame& frame = stack.back();
            if (frame.next < frame.refs.size()) {
                uint64_t child = frame.refs[frame.next++];
                if (state[size_t(child)] == Open)
                    return false;
                if (state[size_t(child)] == Done)
                    continue;
                if (stack.size() >= maximumDepth)
                    return false;
                Frame next { child, {} };
                if (!children(child, next.refs))
                    return false;
                state[size_t(child)] = Open;
                stack.push_back(std::move(next));
                continue;
            }
            uint64_t total = 1;
            uint32_t deepest = 0;
            for (uint64_t child : frame.refs) {
                total += nodes[size_t(child)];
                deepest = std::max(deepest, depth[size_t(child)]);
            }
            // Shared objects may repeat a subtree many times over; what a few hundred bytes
            // can expand to is bounded, beyond the objects the file really holds.
            if (total > maximumNodes || total > _objectCount + maximumSharedExpansion || deepest + 1 > maximumDepth)
                return false;
            nodes[size_t(frame.object)] = uint32_t(total);
            depth[size_t(frame.object)] = deepest + 1;
            state[size_t(frame.object)] = Done;
            stack.pop_back();
        }
        return true;
    }

private:
    std::string_view _bytes;
    size_t _offsetSize = 0;
    size_t _refSize = 0;
    uint64_t _objectCount = 0;
    uint64_t _topObject = 0;
    uint64_t _tableOffset = 0;
};

} // namespace

bool xmlWithinBounds(std::string_view xml)
{
    size_t depth = 0;
    size_t elements = 0;
    size_t at = 0;
    while ((at = xml.find('<', at)) != std::string_view::npos) {
        std::string_view rest = xml.substr(at);
        if (rest.starts_with("<!--"))
            at = skipConstruct(xml, at + 4, "-->");
        else if (rest.starts_with("<![CDATA["))
            at = skipConstruct(xml, at + 9, "]]>");
        else if (rest.starts_with("<?"))
            at = skipConstruct(xml, at + 2, "?>");
        else if (rest.starts_with("<!"))
            at = skipConstruct(xml, at + 2, ">");
        else {
            size_t end = xml.find('>', at);
            if (end == std::string_view::npos)
                return true; // unterminated: the parser refuses it
            if (xml[at + 1] == '/') {
                if (depth > 0)
                    --depth;
            } else if (xml[end - 1] != '/') {
                if (++depth > maximumDepth + 1) // the <plist> element itself is one level
                    return false;
            }
            if (++elements > maximumNodes)
                return false;
            at = end + 1;
        }
        if (at == std::string_view::npos)
            return true;
    }
    return true;
}

bool binaryWithinBounds(std::string_view bytes)
{
    BinaryLayout layout(bytes);
    return layout.readTrailer() && layout.withinBounds();
}

} // namespace PropertyList
