// The close-all action: every app the switcher lists is closed as by its close badge, but
// the excluded ones and the one in front.

#include "RuvexProController.h"

#include "QXFakeIconView.h"
#include "RVXShell.h"

#include "shared/RVXSettings.h"

namespace {

constexpr std::string_view kNewsstand = "com.apple.newsstand";

} // namespace

void RuvexProController::kill()
{
    using namespace RVXSettings;
    id keep = self();
    // Locked, and a missing file is made, so that no run goes uncounted.
    incrementCount();

    auto model = RVXShell::switcherModel();
    auto switcher = RVXShell::switcherController();
    // A copy: closing apps changes the model's own list.
    const NSArray identifiers = model ? model->identifiers() : NSArray();
    const std::optional<std::string> front = RVXShell::frontMostApplicationIdentifier();
    const NSDictionary settings = read();
    auto fakeIcon = std::make_shared<QXFakeIconView>();
    auto icons = RVXShell::iconModel();

    for (const PlistValue& entry : identifiers) {
        const std::string* identifier = entry.string();
        if (!identifier || isExcluded(settings, *identifier) || (front && *front == *identifier))
            continue;
        if (*identifier == kNewsstand) {
            model->remove(*identifier);
            continue;
        }
        fakeIcon->setIcon(icons ? icons->applicationIconForDisplayIdentifier(*identifier) : nullptr);
        if (switcher)
            switcher->iconCloseBoxTapped(fakeIcon);
    }

    auto list = RVXShell::bulletinListController();
    if (list && list->listViewIsActive() && valueFor(settings, Keys::Dismiss))
        list->hideListViewAnimated(true);
}
