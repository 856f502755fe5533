#include "RVXFontController.h"

#include "RVXPrefsExports.h"

#include "shared/RVXSettings.h"

#include "color/ColorPickerView.h"
#include "corefoundation/PerformRequest.h"

RVX_DEFINE_CLASS(RVXFontController, PSListController,
    cls.addMethod("relTable", runtime::method(&RVXFontController::relTable));
    cls.addMethod("savefield:", runtime::method(&RVXFontController::savefield));
    cls.addMethod("resign:", runtime::method(&RVXFontController::resign));
    cls.addMethod("slide:", runtime::method(&RVXFontController::slide));
    cls.addMethod("post", runtime::method(&RVXFontController::post));
    cls.addMethod("saveclosing:", runtime::method(&RVXFontController::saveclosing));
    cls.addMethod("switchHighlight:", runtime::method(&RVXFontController::switchHighlight));
    cls.addMethod("save", runtime::method(&RVXFontController::save));
    cls.addMethod("def", runtime::method(&RVXFontController::def));
    cls.addMethod("dismissColor", runtime::method(&RVXFontController::dismissColor)))

namespace {

// Stores "Family" "Helvetica" when the file has no "Family", under the file's lock; a file
// that is not a readable dictionary is kept aside and a fresh one holds the family. Answers
// whether the family was missing, so that the pane posts whatever the write then did.
bool storeFamilyIfMissing()
{
    bool missing = !RVXSettings::read().objectForKey(RVXSettings::Keys::Family.name);
    RVXSettings::changeWith([&](NSDictionary& settings) {
        if (settings.objectForKey(RVXSettings::Keys::Family.name))
            return false;
        settings.setObject(std::string(*RVXSettings::Keys::Family.fallback), RVXSettings::Keys::Family.name);
        missing = true;
        return true;
    });
    return missing;
}

} // namespace

const std::vector<PSSpecifierRef>& RVXFontController::specifiers()
{
    if (!_specifiers.empty())
        return _specifiers;
    if (storeFamilyIfMissing())
        ::post();
    _specifiers = loadSpecifiersFromPlistName("RVXFontController", self());
    return _specifiers;
}

void RVXFontController::viewWillAppear(bool animated)
{
    PSListController::viewWillAppear(animated);
    // Coming back from a font picker, the family and style rows show the new choice.
    if (isViewLoaded())
        table()->reloadSections({ 1 }, UITableViewRowAnimationNone);
}

void RVXFontController::willAnimateRotationToInterfaceOrientation(int, double duration)
{
    performSelectorAfterDelay(self(), "relTable", nullptr, duration);
}

void RVXFontController::relTable()
{
    table()->reloadData();
    // The reload puts the rows back in front; an overlay that shows stays over them.
    if (auto overlay = colorOverlay())
        view()->bringSubviewToFront(overlay);
}

void RVXFontController::resign(UITextFieldRef sender)
{
    if (sender)
        sender->resignFirstResponder();
}

void RVXFontController::post()
{
    ::post();
}
