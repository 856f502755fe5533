#include "preferences/SpecifierPlist.h"

namespace specifier_plist {

PSSpecifierRef specifierFromRow(const NSDictionary& row, const id& target)
{
    auto specifier = runtime::make<PSSpecifier>();
    specifier->setProperties(row);
    specifier->setName(specifier->stringProperty("label"));
    specifier->setCellType(PSSpecifier::cellTypeFromString(specifier->stringProperty("cell")).value_or(PSListItemCell));
    specifier->setTarget(target);
    std::string detail = specifier->stringProperty("detail");
    if (!detail.empty())
        specifier->setDetailControllerClass(objc_getClass(detail));
    return specifier;
}

std::vector<PSSpecifierRef> specifiersFromItems(const NSArray& items, const id& target)
{
    std::vector<PSSpecifierRef> specifiers;
    for (const PlistValue& item : items) {
        if (const NSDictionary* row = item.dictionary())
            specifiers.push_back(specifierFromRow(*row, target));
    }
    return specifiers;
}

std::optional<SpecifierPlist> fromDictionary(const NSDictionary& plist, const id& target)
{
    const PlistValue* items = plist.objectForKey("items");
    if (!items || !items->array())
        return std::nullopt;
    SpecifierPlist result;
    if (const PlistValue* title = plist.objectForKey("title"); title && title->string())
        result.title = *title->string();
    result.specifiers = specifiersFromItems(*items->array(), target);
    return result;
}

std::optional<SpecifierPlist> load(std::string_view phonePath, const id& target)
{
    std::optional<NSDictionary> plist = NSDictionary::dictionaryWithContentsOfFile(phonePath);
    if (!plist)
        return std::nullopt;
    return fromDictionary(*plist, target);
}

} // namespace specifier_plist
