#pragma once

// The root pane of the bundle: rows from the "RuvexProprefs" plist, the donation link and
// the sheet of links to the maker.

#include "preferences/PSListController.h"
#include "ui/UIActionSheet.h"

class RuvexProprefsListController : public PSListController, public UIActionSheetDelegate {
    RVX_OBJECT(RuvexProprefsListController)
public:
    // The links sheet's buttons; the cancel button comes last.
    enum SheetButton : int { WebsiteButton = 0, TwitterButton = 1, VideoButton = 2, MoreButton = 3, CancelButton = 4 };

    RuvexProprefsListController() = default;

    const std::vector<PSSpecifierRef>& specifiers() override;

    void openDonationLink(PSSpecifierRef specifier);
    void openMore(PSSpecifierRef specifier);
    void clickedButtonAtIndex(const UIActionSheetRef& sheet, int index) override;
};
