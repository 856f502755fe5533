#include "RuvexProprefsListController.h"

#include "RVXOpenLinks.h"

#include "shared/RVXLinks.h"

RVX_DEFINE_CLASS(RuvexProprefsListController, PSListController,
    cls.addMethod("openDonationLink:", runtime::method(&RuvexProprefsListController::openDonationLink));
    cls.addMethod("openMore:", runtime::method(&RuvexProprefsListController::openMore)))

const std::vector<PSSpecifierRef>& RuvexProprefsListController::specifiers()
{
    if (_specifiers.empty())
        _specifiers = loadSpecifiersFromPlistName("RuvexProprefs", self());
    return _specifiers;
}

void RuvexProprefsListController::openDonationLink(PSSpecifierRef)
{
    RVXOpenLinks::open(RVXLinks::donate);
}

void RuvexProprefsListController::openMore(PSSpecifierRef)
{
    auto sheet = UIActionSheet::initWithTitle("Ruvex Pro by Vastelmark",
        selfAs<RuvexProprefsListController>(), "Cancel", std::nullopt,
        { "Website", "Twitter", "YouTube Channel", "More by this Developer" });
    sheet->showInView(view());
}

void RuvexProprefsListController::clickedButtonAtIndex(const UIActionSheetRef&, int index)
{
    switch (index) {
    case WebsiteButton: RVXOpenLinks::open(RVXLinks::website); break;
    case TwitterButton: RVXOpenLinks::openTwitterProfile(); break;
    case VideoButton: RVXOpenLinks::open(RVXLinks::videoChannel); break;
    case MoreButton: RVXOpenLinks::open(RVXLinks::moreApps); break;
    default: break;
    }
}
