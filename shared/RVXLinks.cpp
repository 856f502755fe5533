#include "shared/RVXLinks.h"

#include "foundation/NSURL.h"
#include "ui/UIApplication.h"

namespace RVXLinks {

void open(const char* address)
{
    UIApplication::sharedApplication()->openURL(NSURL::URLWithString(address));
}

void openTwitterProfile()
{
    auto application = UIApplication::sharedApplication();
    for (const char* address : twitterApps) {
        auto url = NSURL::URLWithString(address);
        if (url && application->canOpenURL(url)) {
            application->openURL(url);
            return;
        }
    }
    open(twitterWeb);
}

} // namespace RVXLinks
