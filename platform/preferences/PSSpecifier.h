#pragma once

// One row of a preference pane: a title, a cell type and the properties a specifier plist
// gives the row ("key", "defaults", "default", "PostNotification", "action", "detail",
// "validTitles", ...), which the host reads to draw the row, store its value and act on taps.

#include "foundation/PlistValue.h"
#include "runtime/NSObject.h"

#include <optional>
#include <string>

enum PSCellType : int {
    PSGroupCell = 0,
    PSLinkCell = 1,
    PSLinkListCell = 2,
    PSListItemCell = 3,
    PSTitleValueCell = 4,
    PSSliderCell = 5,
    PSSwitchCell = 6,
    PSStaticTextCell = 7,
    PSEditTextCell = 8,
    PSSegmentCell = 9,
    PSGiantIconCell = 10,
    PSGiantCell = 11,
    PSSecureEditTextCell = 12,
    PSButtonCell = 13,
    PSEditTextViewCell = 14,
};

class PSSpecifier;
using PSSpecifierRef = std::shared_ptr<PSSpecifier>;

class PSSpecifier : public NSObject {
    RVX_OBJECT(PSSpecifier)
public:
    PSSpecifier() = default;

    // Setter and getter are selector names, detail and edit pane classes; empty and nothing
    // stand for none.
    static PSSpecifierRef preferenceSpecifierNamed(std::string name, const id& target, std::string set,
        std::string get, const Class* detail, int cell, const Class* edit);
    static PSSpecifierRef groupSpecifierWithName(std::string name);
    // The cell type a plist names ("PSSwitchCell"), or nothing for an unknown name.
    static std::optional<int> cellTypeFromString(std::string_view name);

    const std::string& name() const { return _name; }
    void setName(std::string name) { _name = std::move(name); }
    // The "id" property, else the name.
    std::string identifier() const;
    int cellType() const { return _cellType; }
    void setCellType(int type) { _cellType = type; }
    id target() const { return _target.lock(); }
    void setTarget(const id& target) { _target = target; }
    const std::string& setter() const { return _setter; }
    const std::string& getter() const { return _getter; }
    const Class* detailControllerClass() const { return _detail; }
    void setDetailControllerClass(const Class* detail) { _detail = detail; }
    const Class* editPaneClass() const { return _edit; }

    const NSDictionary& properties() const { return _properties; }
    void setProperties(NSDictionary properties) { _properties = std::move(properties); }
    const PlistValue* propertyForKey(std::string_view key) const { return _properties.objectForKey(key); }
    void setProperty(PlistValue value, std::string_view key) { _properties.setObject(std::move(value), key); }
    void removePropertyForKey(std::string_view key) { _properties.removeObjectForKey(key); }

    // A string property, or "" when missing or not a string.
    std::string stringProperty(std::string_view key) const;
    // A boolean property through the platform's coercion; `fallback` when missing.
    bool boolProperty(std::string_view key, bool fallback = false) const;
    std::optional<double> numberProperty(std::string_view key) const;
    // An array property, or an empty one.
    NSArray arrayProperty(std::string_view key) const;

    // The common properties by name.
    std::string key() const { return stringProperty("key"); }
    std::string defaults() const { return stringProperty("defaults"); }
    const PlistValue* defaultValue() const { return propertyForKey("default"); }
    std::string postNotification() const { return stringProperty("PostNotification"); }
    std::string action() const { return stringProperty("action"); }
    std::string footerText() const { return stringProperty("footerText"); }
    std::string placeholder() const { return stringProperty("placeholder"); }
    NSArray validTitles() const { return arrayProperty("validTitles"); }
    NSArray validValues() const { return arrayProperty("validValues"); }

    // Where a value stands in validValues (1, 1.0 and true are one value), or nothing.
    std::optional<size_t> indexOfValue(const PlistValue& value) const;
    // The title validTitles gives for a value of validValues, or nothing.
    std::optional<std::string> titleForValue(const PlistValue& value) const;

private:
    std::string _name;
    int _cellType = PSListItemCell;
    std::weak_ptr<NSObject> _target;
    std::string _setter;
    std::string _getter;
    const Class* _detail = nullptr;
    const Class* _edit = nullptr;
    NSDictionary _properties;
};
