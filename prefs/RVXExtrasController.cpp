#include "RVXExtrasController.h"

RVX_DEFINE_CLASS(RVXExtrasController, PSListController)

const std::vector<PSSpecifierRef>& RVXExtrasController::specifiers()
{
    if (_specifiers.empty())
        _specifiers = loadSpecifiersFromPlistName("RVXExtrasController", self());
    return _specifiers;
}
