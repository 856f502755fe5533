#include "RVXImageController.h"

#include "shared/RVXLinks.h"

RVX_DEFINE_CLASS(RVXImageController, PSListController,
    cls.addMethod("images:", runtime::method(&RVXImageController::images)))

const std::vector<PSSpecifierRef>& RVXImageController::specifiers()
{
    if (_specifiers.empty())
        _specifiers = loadSpecifiersFromPlistName("RVXImageController", self());
    return _specifiers;
}

void RVXImageController::images(PSSpecifierRef)
{
    RVXLinks::open(RVXLinks::backgroundHelp);
}
