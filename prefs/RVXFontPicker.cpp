#include "RVXFontPicker.h"

#include "RVXFontChoice.h"
#include "RVXPrefsExports.h"

#include "shared/RVXSettings.h"

#include "ui/UIFont.h"

#include <algorithm>

RVX_DEFINE_CLASS(RVXFontPicker, PSListController)

namespace {

using RVXSettings::Keys::Family;
using RVXSettings::Keys::Style;

// The stored style stays when it belongs to the new family; otherwise the family's default
// style replaces it. A family without fonts leaves no style, so the family names the font.
void storeFamily(NSDictionary& settings, const std::string& family)
{
    settings.setObject(family, Family.name);
    auto fonts = UIFont::fontNamesForFamilyName(family);
    auto style = RVXSettings::stringFor(settings, Style.name);
    if (style && std::find(fonts.begin(), fonts.end(), *style) != fonts.end())
        return;
    settings.removeObjectForKey(Style.name);
    if (auto fallback = RVXFontChoice::defaultStyle(fonts))
        settings.setObject(*fallback, Style.name);
}

} // namespace

const std::vector<PSSpecifierRef>& RVXFontPicker::specifiers()
{
    if (_specifiers.empty())
        _specifiers = RVXFontChoice::specifiersForNames(UIFont::familyNames(), self());
    return _specifiers;
}

UITableViewCellRef RVXFontPicker::cellForRowAtIndexPath(const UITableViewRef& tableView, const NSIndexPathRef& indexPath)
{
    return RVXFontChoice::cellForName(tableView, indexPath, UIFont::familyNames(),
        RVXSettings::stringFor(RVXSettings::read(), Family.name));
}

void RVXFontPicker::didSelectRowAtIndexPath(const UITableViewRef& tableView, const NSIndexPathRef& indexPath)
{
    auto families = UIFont::familyNames();
    auto tapped = tableView->cellForRowAtIndexPath(indexPath);
    auto family = tapped ? std::optional(tapped->textLabel()->text()) : RVXFontChoice::nameAtRow(families, indexPath);
    if (family && !family->empty()) {
        RVXFontChoice::moveCheckMark(tableView, families,
            RVXSettings::stringFor(RVXSettings::read(), Family.name), indexPath);
        RVXSettings::changeWith([&](NSDictionary& settings) {
            storeFamily(settings, *family);
            return true;
        });
        post();
    }
    tableView->deselectRowAtIndexPath(indexPath, true);
}
