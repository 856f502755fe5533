// The About dialog (tag 1) and the Developer dialog behind it (tag 2).

#include "RuvexProController.h"

#include "shared/RVXLinks.h"
#include "shared/RVXSettings.h"

#include "foundation/NSString.h"

namespace {

enum AlertTag : int { AboutAlert = 1, DeveloperAlert = 2 };
enum DeveloperButton : int { WebsiteButton = 1, TwitterButton = 2, MoreButton = 3 };
constexpr int kAboutButton = 1;

void present(const UIAlertViewRef& alert, int tag)
{
    alert->setTag(tag);
    alert->show();
}

} // namespace

void RuvexProController::info()
{
    // The count as stored, in full: it grows past the 32-bit range, saturating only at 2^63 - 1.
    long long count = RVXSettings::longLongFor(RVXSettings::read(), RVXSettings::Keys::Count.name,
        RVXSettings::Keys::Count.fallback);
    auto delegate = std::static_pointer_cast<UIAlertViewDelegate>(selfAs<RuvexProController>());
    present(UIAlertView::initWithTitle("Ruvex Pro",
                NSString::format("Closes all background apps with one tap.\nUsed %lld times.", count),
                delegate, "OK", { "About" }),
        AboutAlert);
}

void RuvexProController::clickedButtonAtIndex(const UIAlertViewRef& alert, int index)
{
    if (!alert)
        return;
    if (alert->tag() == AboutAlert && index == kAboutButton) {
        auto delegate = std::static_pointer_cast<UIAlertViewDelegate>(selfAs<RuvexProController>());
        present(UIAlertView::initWithTitle(std::string("Developed by @") + RVXLinks::handle, std::nullopt,
                    delegate, "OK", { "Website", "Twitter", "More by this Developer" }),
            DeveloperAlert);
        return;
    }
    if (alert->tag() != DeveloperAlert)
        return;
    switch (index) {
    case WebsiteButton: RVXLinks::open(RVXLinks::website); break;
    case TwitterButton: RVXLinks::openTwitterProfile(); break;
    case MoreButton: RVXLinks::open(RVXLinks::moreApps); break;
    default: break;
    }
}
