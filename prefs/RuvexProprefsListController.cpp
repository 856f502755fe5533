#include "RuvexProprefsListController.h"

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
    RVXLinks::open(RVXLinks::donate);
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
    case WebsiteButton: RVXLinks::open(RVXLinks::website); break;
    case TwitterButton: RVXLinks::openTwitterProfile(); break;
    case VideoButton: RVXLinks::open(RVXLinks::videoChannel); break;
    case MoreButton: RVXLinks::open(RVXLinks::moreApps); break;
    default: break;
    }
}
