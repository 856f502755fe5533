// The label and font pane's editing half: row taps, the label field, the size slider and
// the handlers no row of the pane sends. Every change is stored at once.

#include "RVXFontController.h"

#include "RVXFontPicker.h"
#include "RVXFontStyle.h"
#include "RVXPrefsExports.h"

#include "shared/RVXSettings.h"

namespace {

using namespace RVXSettings::Keys;

enum Section : int { LabelSection = 0, FontSection = 1, SizeSection = 2 };
enum FontRow : int { ColorRow = 0, FamilyRow = 1 };

} // namespace

// The notification goes out whatever the write answered, so that observers reread.
void RVXFontController::store(std::string_view key, PlistValue value)
{
    RVXSettings::changeOneKey(key, std::move(value));
    ::post();
}

void RVXFontController::didSelectRowAtIndexPath(const UITableViewRef& tableView, const NSIndexPathRef& indexPath)
{
    id keep = self();
    tableView->deselectRowAtIndexPath(indexPath, true);
    if (!indexPath || indexPath->section() != FontSection)
        return;
    if (indexPath->row() == ColorRow)
        openColorOverlay();
    else if (indexPath->row() == FamilyRow)
        pushController(runtime::make<RVXFontPicker>());
    else
        pushController(runtime::make<RVXFontStyle>());
}

void RVXFontController::savefield(UITextFieldRef sender)
{
    if (sender)
        store(Label.name, sender->text());
}

void RVXFontController::slide(UISliderRef sender)
{
    if (!sender)
        return;
    // The lift posts once (post), so that the widget restyles once per drag.
    float size = sender->value();
    RVXSettings::changeOneKey(Size.name, size);
    auto shown = table()->cellForRowAtIndexPath(NSIndexPath::indexPathForRow(0, SizeSection));
    if (shown && shown->detailTextLabel())
        shown->detailTextLabel()->setText(std::to_string(int(size)));
}

void RVXFontController::saveclosing(UITextFieldRef sender)
{
    if (sender)
        store(Closing.name, sender->text());
}

void RVXFontController::switchHighlight(UISwitchRef sender)
{
    if (sender)
        store(Highlight.name, sender->isOn());
}
