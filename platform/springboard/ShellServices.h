#pragma once

// The home-screen shell's services that a widget calls, as abstract interfaces. The shell
// registers its implementations under the platform's names ("SBAppSwitcherModel", ...);
// a widget finds them by name and casts to these:
//
//     auto model = std::dynamic_pointer_cast<springboard::AppSwitcherModel>(
//         objc_getClass("SBAppSwitcherModel")->performSelector("sharedInstance"));

#include "foundation/PlistValue.h"
#include "runtime/NSObject.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>

class UIView;

namespace springboard {

// The app switcher's list.
class AppSwitcherModel : public NSObject {
public:
    ~AppSwitcherModel() override;
    // The bundle identifiers in the switcher, front first. Entries are property-list values,
    // so a list may hold something that is not a string.
    virtual NSArray identifiers() = 0;
    // Takes one entry off the list; the app is not closed.
    virtual void remove(std::string_view identifier) = 0;
};

// A view that carries an app icon, the argument of the close box handler. A view class
// that stands in for the shell's icon view implements it besides deriving UIView.
class IconHolder {
public:
    virtual ~IconHolder();
    virtual id icon() const = 0;
};

class AppSwitcherController : public NSObject {
public:
    ~AppSwitcherController() override;
    // Closes the app whose icon the view carries and removes it from the switcher. A view
    // that is not an IconHolder, or carries no icon, closes nothing.
    virtual void iconCloseBoxTapped(std::shared_ptr<UIView> iconView) = 0;
};

// An app's icon.
class ApplicationIcon : public NSObject {
public:
    ~ApplicationIcon() override;
    virtual std::string applicationBundleID() const = 0;
};

class IconModel : public NSObject {
public:
    ~IconModel() override;
    // The icon of the installed app with that bundle identifier (an ApplicationIcon), or nothing.
    virtual id applicationIconForDisplayIdentifier(std::string_view identifier) = 0;
};

class IconViewMap : public NSObject {
public:
    ~IconViewMap() override;
    // The map's icon model. Only a map whose class answers respondsToSelector("iconModel")
    // has one; others answer nothing.
    virtual std::shared_ptr<IconModel> iconModel() { return nullptr; }
};

// The Notification Center's list.
class BulletinListController : public NSObject {
public:
    ~BulletinListController() override;
    virtual bool listViewIsActive() = 0;
    virtual void hideListViewAnimated(bool animated) = 0;
};

} // namespace springboard
