#include "RVXFontStyle.h"

#include "RVXFontChoice.h"
#include "RVXPrefsExports.h"

#include "shared/RVXSettings.h"

#include "ui/UIFont.h"

RVX_DEFINE_CLASS(RVXFontStyle, PSListController)

namespace {

using RVXSettings::Keys::Family;
using RVXSettings::Keys::Style;

// The fonts of the family stored now; none without a stored family.
std::vector<std::string> storedFamilyFonts(const NSDictionary& settings)
{
    auto family = RVXSettings::stringFor(settings, Family.name);
    return family ? UIFont::fontNamesForFamilyName(*family) : std::vector<std::string>();
}

} // namespace

const std::vector<PSSpecifierRef>& RVXFontStyle::specifiers()
{
    if (_specifiers.empty())
        _specifiers = RVXFontChoice::specifiersForNames(storedFamilyFonts(RVXSettings::read()), self());
    return _specifiers;
}

UITableViewCellRef RVXFontStyle::cellForRowAtIndexPath(const UITableViewRef& tableView, const NSIndexPathRef& indexPath)
{
    auto settings = RVXSettings::read();
    return RVXFontChoice::cellForName(tableView, indexPath, storedFamilyFonts(settings),
        RVXSettings::stringFor(settings, Style.name));
}

void RVXFontStyle::didSelectRowAtIndexPath(const UITableViewRef& tableView, const NSIndexPathRef& indexPath)
{
    auto settings = RVXSettings::read();
    auto fonts = storedFamilyFonts(settings);
    auto tapped = tableView->cellForRowAtIndexPath(indexPath);
    auto style = tapped ? std::optional(tapped->textLabel()->text()) : RVXFontChoice::nameAtRow(fonts, indexPath);
    if (style && !style->empty()) {
        RVXFontChoice::moveCheckMark(tableView, fonts, RVXSettings::stringFor(settings, Style.name), indexPath);
        RVXSettings::changeOneKey(Style.name, *style);
        post();
    }
    tableView->deselectRowAtIndexPath(indexPath, true);
}
