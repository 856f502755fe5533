#include "preferences/PSSpecifier.h"

#include <array>

RVX_DEFINE_CLASS(PSSpecifier, NSObject)

namespace {

constexpr std::array<std::pair<std::string_view, int>, 15> kCellNames {{
    {"PSGroupCell", PSGroupCell}, {"PSLinkCell", PSLinkCell}, {"PSLinkListCell", PSLinkListCell},
    {"PSListItemCell", PSListItemCell}, {"PSTitleValueCell", PSTitleValueCell}, {"PSSliderCell", PSSliderCell},
    {"PSSwitchCell", PSSwitchCell}, {"PSStaticTextCell", PSStaticTextCell}, {"PSEditTextCell", PSEditTextCell},
    {"PSSegmentCell", PSSegmentCell}, {"PSGiantIconCell", PSGiantIconCell}, {"PSGiantCell", PSGiantCell},
    {"PSSecureEditTextCell", PSSecureEditTextCell}, {"PSButtonCell", PSButtonCell},
    {"PSEditTextViewCell", PSEditTextViewCell},
}};

bool isNumber(const PlistValue& value)
{
    return value.integer() || value.real() || value.boolean();
}

// Stored values come back from the file in whatever numeric form was written: 1, 1.0 and
// true name the same choice.
bool sameValue(const PlistValue& a, const PlistValue& b)
{
    if (isNumber(a) && isNumber(b))
        return a.doubleValue() == b.doubleValue();
    return a == b;
}

} // namespace

PSSpecifierRef PSSpecifier::preferenceSpecifierNamed(std::string name, const id& target, std::string set,
    std::string get, const Class* detail, int cell, const Class* edit)
{
    auto specifier = runtime::make<PSSpecifier>();
    specifier->_name = std::move(name);
    specifier->_target = target;
    specifier->_setter = std::move(set);
    specifier->_getter = std::move(get);
    specifier->_detail = detail;
    specifier->_cellType = cell;
    specifier->_edit = edit;
    return specifier;
}

PSSpecifierRef PSSpecifier::groupSpecifierWithName(std::string name)
{
    return preferenceSpecifierNamed(std::move(name), nullptr, {}, {}, nullptr, PSGroupCell, nullptr);
}

std::optional<int> PSSpecifier::cellTypeFromString(std::string_view name)
{
    for (auto [text, type] : kCellNames) {
        if (text == name)
            return type;
    }
    return std::nullopt;
}

std::string PSSpecifier::identifier() const
{
    std::string id = stringProperty("id");
    return id.empty() ? _name : id;
}

std::string PSSpecifier::stringProperty(std::string_view key) const
{
    const PlistValue* value = propertyForKey(key);
    return value && value->string() ? *value->string() : std::string();
}

bool PSSpecifier::boolProperty(std::string_view key, bool fallback) const
{
    const PlistValue* value = propertyForKey(key);
    return value ? value->boolValue().value_or(fallback) : fallback;
}

std::optional<double> PSSpecifier::numberProperty(std::string_view key) const
{
    const PlistValue* value = propertyForKey(key);
    return value ? value->doubleValue() : std::nullopt;
}

NSArray PSSpecifier::arrayProperty(std::string_view key) const
{
    const PlistValue* value = propertyForKey(key);
    return value && value->array() ? *value->array() : NSArray();
}

std::optional<size_t> PSSpecifier::indexOfValue(const PlistValue& value) const
{
    NSArray values = validValues();
    for (size_t i = 0; i < values.count(); ++i) {
        if (sameValue(values.objectAtIndex(i), value))
            return i;
    }
    return std::nullopt;
}

std::optional<std::string> PSSpecifier::titleForValue(const PlistValue& value) const
{
    NSArray titles = validTitles();
    std::optional<size_t> index = indexOfValue(value);
    if (!index || *index >= titles.count() || !titles.objectAtIndex(*index).string())
        return std::nullopt;
    return *titles.objectAtIndex(*index).string();
}
