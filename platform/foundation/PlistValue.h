#pragma once

// Property-list values: the one value type that a property list holds, and the array and
// dictionary made of it. The three are defined together because each contains the others.
// They are plain values (copying copies the content), unlike the reference-counted objects
// of the runtime; wrap one in a PlistObject to pass it where an `id` is expected.

#include "runtime/NSObject.h"

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

class PlistValue;

// A point in time, counted in seconds from 2001-01-01 00:00:00 UTC.
class NSDate {
public:
    static NSDate date();
    static NSDate dateWithTimeIntervalSinceReferenceDate(double seconds) { return NSDate(seconds); }

    double timeIntervalSinceReferenceDate() const { return _seconds; }
    bool operator==(const NSDate&) const = default;

private:
    explicit NSDate(double seconds) : _seconds(seconds) { }
    double _seconds;
};

struct NSData {
    std::vector<uint8_t> bytes;
    bool operator==(const NSData&) const = default;

    // The bytes in base64 on one line, padded with "=".
    std::string base64EncodedString() const;
};

class NSArray {
public:
    NSArray() = default;
    NSArray(std::initializer_list<PlistValue> items);

    // Defined below PlistValue: clang instantiates these vector members where they are
    // written, and the element type must be complete by then.
    size_t count() const;
    const PlistValue& objectAtIndex(size_t index) const;
    void addObject(PlistValue value);
    void removeObjectAtIndex(size_t index);

    auto begin() const { return _items.begin(); }
    auto end() const { return _items.end(); }
    bool operator==(const NSArray&) const;

private:
    std::vector<PlistValue> _items;
};

// A dictionary keyed by string. Iteration runs in key order, which is also the order in
// which a written property list lists the keys.
class NSDictionary {
public:
    using Storage = std::map<std::string, PlistValue, std::less<>>;

    NSDictionary() = default;
    NSDictionary(std::initializer_list<std::pair<const std::string, PlistValue>> items);

    // Reads a property list whose root is a dictionary from a phone path (resolved under
    // the device root). Nothing for a missing, unreadable or unparsable file, or another root.
    static std::optional<NSDictionary> dictionaryWithContentsOfFile(std::string_view phonePath);
    // The same from a host path inside the device: no link on the way, the file's own
    // included, may lead the read out of the device.
    static std::optional<NSDictionary> dictionaryBeneathDeviceRoot(const std::string& hostPath);
    // Writes the dictionary as an XML property list to a phone path. Atomically: through a
    // temporary file in the same directory renamed over the target. False when the write
    // fails or a string is not valid UTF-8; the old file is then untouched.
    bool writeToFile(std::string_view phonePath, bool atomically) const;

    size_t count() const { return _items.size(); }
    // The value for key, or nothing. The pointer stays valid until the dictionary changes.
    const PlistValue* objectForKey(std::string_view key) const;
    void setObject(PlistValue value, std::string_view key);
    void removeObjectForKey(std::string_view key);
    std::vector<std::string> allKeys() const;

    auto begin() const { return _items.begin(); }
    auto end() const { return _items.end(); }
    bool operator==(const NSDictionary&) const;

private:
    Storage _items;
};

class PlistValue {
public:
    enum class Kind { String, Integer, Real, Boolean, Date, Data, Array, Dictionary };

    PlistValue() : _value(std::string()) { }
    PlistValue(std::string value) : _value(std::move(value)) { }
    PlistValue(std::string_view value) : _value(std::string(value)) { }
    PlistValue(const char* value) : _value(std::string(value)) { }
    PlistValue(int value) : _value(int64_t(value)) { }
    PlistValue(long value) : _value(int64_t(value)) { }
    PlistValue(long long value) : _value(int64_t(value)) { }
    PlistValue(double value) : _value(value) { }
    PlistValue(float value) : _value(double(value)) { }
    PlistValue(bool value) : _value(value) { }
    PlistValue(NSDate value) : _value(value) { }
    PlistValue(NSData value) : _value(std::move(value)) { }
    PlistValue(NSArray value) : _value(std::move(value)) { }
    PlistValue(NSDictionary value) : _value(std::move(value)) { }

    Kind kind() const { return Kind(_value.index()); }

    // Each answers the content when the value is of that kind, else nothing.
    const std::string* string() const { return std::get_if<std::string>(&_value); }
    const int64_t* integer() const { return std::get_if<int64_t>(&_value); }
    const double* real() const { return std::get_if<double>(&_value); }
    const bool* boolean() const { return std::get_if<bool>(&_value); }
    const NSDate* date() const { return std::get_if<NSDate>(&_value); }
    const NSData* data() const { return std::get_if<NSData>(&_value); }
    const NSArray* array() const { return std::get_if<NSArray>(&_value); }
    const NSDictionary* dictionary() const { return std::get_if<NSDictionary>(&_value); }
    NSArray* array() { return std::get_if<NSArray>(&_value); }
    NSDictionary* dictionary() { return std::get_if<NSDictionary>(&_value); }

    // The platform's coercions. Strings are read as text, numbers and booleans as numbers;
    // a date, data, an array or a dictionary has no such value and answers nothing.
    std::optional<bool> boolValue() const;
    std::optional<int> intValue() const;
    std::optional<long long> longLongValue() const;
    std::optional<float> floatValue() const;
    std::optional<double> doubleValue() const;

    bool operator==(const PlistValue&) const = default;

private:
    std::variant<std::string, int64_t, double, bool, NSDate, NSData, NSArray, NSDictionary> _value;
};

inline size_t NSArray::count() const { return _items.size(); }
inline const PlistValue& NSArray::objectAtIndex(size_t index) const { return _items.at(index); }

// A property-list value as an object of the runtime, for selector arguments and results.
class PlistObject : public NSObject {
    RVX_OBJECT(PlistObject)
public:
    PlistObject() = default;
    explicit PlistObject(PlistValue value) : _value(std::move(value)) { }
    static std::shared_ptr<PlistObject> with(PlistValue value) { return runtime::make<PlistObject>(std::move(value)); }

    const PlistValue& value() const { return _value; }

private:
    PlistValue _value;
};
