#include "foundation/PlistValue.h"

#include "foundation/NSString.h"

#include <chrono>
#include <climits>
#include <cmath>

RVX_DEFINE_CLASS(PlistObject, NSObject)

namespace {

// Seconds between 1970-01-01 and 2001-01-01, both UTC.
constexpr double referenceDateOffset = 978307200.0;

// A C cast of a real to an integer, saturating as the phone's processor does; NaN gives 0.
template<typename Int>
Int saturatingCast(double value)
{
    if (std::isnan(value))
        return 0;
    if (value >= double(std::numeric_limits<Int>::max()))
        return std::numeric_limits<Int>::max();
    if (value <= double(std::numeric_limits<Int>::min()))
        return std::numeric_limits<Int>::min();
    return Int(value);
}

template<typename Int>
Int clampInteger(int64_t value)
{
    if (value > std::numeric_limits<Int>::max())
        return std::numeric_limits<Int>::max();
    if (value < std::numeric_limits<Int>::min())
        return std::numeric_limits<Int>::min();
    return Int(value);
}

} // namespace

NSDate NSDate::date()
{
    auto now = std::chrono::system_clock::now().time_since_epoch();
    return NSDate(std::chrono::duration<double>(now).count() - referenceDateOffset);
}

NSArray::NSArray(std::initializer_list<PlistValue> items)
    : _items(items)
{
}

void NSArray::addObject(PlistValue value)
{
    _items.push_back(std::move(value));
}

void NSArray::removeObjectAtIndex(size_t index)
{
    if (index < _items.size())
        _items.erase(_items.begin() + ptrdiff_t(index));
}

bool NSArray::operator==(const NSArray& other) const
{
    return _items == other._items;
}

NSDictionary::NSDictionary(std::initializer_list<std::pair<const std::string, PlistValue>> items)
    : _items(items)
{
}

const PlistValue* NSDictionary::objectForKey(std::string_view key) const
{
    auto it = _items.find(key);
    return it == _items.end() ? nullptr : &it->second;
}

void NSDictionary::setObject(PlistValue value, std::string_view key)
{
    auto it = _items.find(key);
    if (it != _items.end())
        it->second = std::move(value);
    else
        _items.emplace(std::string(key), std::move(value));
}

void NSDictionary::removeObjectForKey(std::string_view key)
{
    auto it = _items.find(key);
    if (it != _items.end())
        _items.erase(it);
}

std::vector<std::string> NSDictionary::allKeys() const
{
    std::vector<std::string> keys;
    keys.reserve(_items.size());
    for (auto& [key, value] : _items)
        keys.push_back(key);
    return keys;
}

bool NSDictionary::operator==(const NSDictionary& other) const
{
    return _items == other._items;
}

std::optional<bool> PlistValue::boolValue() const
{
    if (auto* text = string())
        return NSString::boolValue(*text);
    if (auto* number = integer())
        return *number != 0;
    if (auto* number = real())
        return *number != 0.0;
    if (auto* flag = boolean())
        return *flag;
    return std::nullopt;
}

std::optional<long long> PlistValue::longLongValue() const
{
    if (auto* text = string())
        return NSString::longLongValue(*text);
    if (auto* number = integer())
        return *number;
    if (auto* number = real())
        return saturatingCast<long long>(*number);
    if (auto* flag = boolean())
        return *flag ? 1 : 0;
    return std::nullopt;
}

std::optional<int> PlistValue::intValue() const
{
    if (auto* text = string())
        return NSString::intValue(*text);
    if (auto* number = integer())
        return clampInteger<int>(*number);
    if (auto* number = real())
        return saturatingCast<int>(*number);
    if (auto* flag = boolean())
        return *flag ? 1 : 0;
    return std::nullopt;
}

std::optional<double> PlistValue::doubleValue() const
{
    if (auto* text = string())
        return NSString::doubleValue(*text);
    if (auto* number = integer())
        return double(*number);
    if (auto* number = real())
        return *number;
    if (auto* flag = boolean())
        return *flag ? 1.0 : 0.0;
    return std::nullopt;
}

std::optional<float> PlistValue::floatValue() const
{
    if (auto value = doubleValue())
        return float(*value);
    return std::nullopt;
}

std::string NSData::base64EncodedString() const
{
    static constexpr char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string encoded;
    for (size_t i = 0; i < bytes.size(); i += 3) {
        uint32_t chunk = uint32_t(bytes[i]) << 16;
        if (i + 1 < bytes.size())
            chunk |= uint32_t(bytes[i + 1]) << 8;
        if (i + 2 < bytes.size())
            chunk |= bytes[i + 2];
        encoded += alphabet[(chunk >> 18) & 63];
        encoded += alphabet[(chunk >> 12) & 63];
        encoded += i + 1 < bytes.size() ? alphabet[(chunk >> 6) & 63] : '=';
        encoded += i + 2 < bytes.size() ? alphabet[chunk & 63] : '=';
    }
    return encoded;
}
