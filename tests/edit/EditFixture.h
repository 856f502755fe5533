#pragma once

// The label and font pane opened in the Settings host of a test device, with helpers to
// reach its controls, its colour overlay and its bar. The bundle exports no classes, so
// the pane and the picker are reached as the host reaches them: by class name and selector.

#include "prefs/PrefsFixture.h"

#include "ui/UIImageView.h"
#include "ui/UINavigationController.h"
#include "ui/UISlider.h"
#include "ui/UITextField.h"

#include <sys/stat.h>

class EditFixture : public PrefsFixture {
protected:
    void open() { openPane("Label & Font"); }
    PSListControllerRef pane()
    {
        auto shown = top();
        return shown && shown->className() == "RVXFontController" ? shown : nullptr;
    }
    void send(std::string_view selector, const id& argument = nullptr) { pane()->performSelector(std::string(selector), argument); }

    template<typename T>
    std::shared_ptr<T> controlIn(const UITableViewCellRef& shown)
    {
        if (!shown)
            return nullptr;
        for (const auto& view : shown->contentView()->subviews()) {
            if (auto control = std::dynamic_pointer_cast<T>(view))
                return control;
        }
        return nullptr;
    }
    UITextFieldRef labelField() { return controlIn<UITextField>(cell(0, 0)); }
    UISliderRef sizeSlider() { return controlIn<UISlider>(cell(2, 0)); }
    std::string sizeDetail() { return cell(2, 0)->detailTextLabel()->text(); }

    // Editing begins as a tap on the field begins it.
    void editLabel()
    {
        ASSERT_TRUE(labelField());
        ASSERT_TRUE(labelField()->becomeFirstResponder());
    }
    void type(std::string_view text) { ASSERT_TRUE(succeeded(host().typeText(text))); }

    // The frontmost colour picker over the pane.
    UIViewRef overlay()
    {
        if (!pane())
            return nullptr;
        const auto& subviews = pane()->view()->subviews();
        for (auto it = subviews.rbegin(); it != subviews.rend(); ++it) {
            if ((*it)->className() == "ColorPickerView")
                return *it;
        }
        return nullptr;
    }
    size_t overlays()
    {
        size_t found = 0;
        for (const auto& view : pane()->view()->subviews())
            found += view->className() == "ColorPickerView";
        return found;
    }
    static UIColorRef colorOf(const std::string& text)
    {
        auto color = RVXSettings::textColorOrWhite(text);
        return UIColor::colorWithHue(color.hue, color.saturation, color.brightness, color.alpha);
    }
    bool overlayShows(const std::string& text)
    {
        auto shown = std::dynamic_pointer_cast<UIColor>(overlay()->performSelector("getColorShown"));
        return shown && shown->isEqual(*colorOf(text));
    }
    // What the user picks on the map.
    void pick(const UIColorRef& color) { overlay()->performSelector("setColor:", color); }
    bool overlayIsLastSubview()
    {
        auto root = pane()->view();
        return !root->subviews().empty() && root->subviews().back() == overlay();
    }
    void openOverlay() { ASSERT_TRUE(succeeded(host().tapRowNamed("Font Color"))); }
    const UINavigationItemRef& item() { return pane()->navigationItem(); }
    UIButtonRef defaultButton() { return std::dynamic_pointer_cast<UIButton>(item()->titleView()); }
    void tapDefault() { ASSERT_TRUE(defaultButton()) << "no \"Default\" button"; defaultButton()->sendActionsForControlEvents(UIControlEventTouchUpInside); }
    void tapSave() { ASSERT_TRUE(succeeded(host().tapBarButton("right"))); }
    void tapCancel() { ASSERT_TRUE(succeeded(host().tapBarButton("left"))); }

    // The Font Color row's swatch, and whether it sits over the tiles.
    UIViewRef swatch()
    {
        auto accessory = cell(1, 0)->accessoryView();
        if (std::dynamic_pointer_cast<UIImageView>(accessory) && !accessory->subviews().empty())
            return accessory->subviews().front();
        return accessory;
    }
    bool swatchOverTiles() { return std::dynamic_pointer_cast<UIImageView>(cell(1, 0)->accessoryView()) != nullptr; }

    std::optional<std::string> stored(std::string_view key) { return RVXSettings::stringFor(settings(), key); }
    std::optional<bool> storedBool(std::string_view key)
    {
        auto settings = this->settings();
        auto value = settings.objectForKey(key);
        return value && value->boolean() ? std::optional(*value->boolean()) : std::nullopt;
    }

    // An atomic write replaces the file, so a new inode tells that a write happened.
    ino_t settingsInode()
    {
        struct stat info {};
        return stat(settingsHostPath().c_str(), &info) == 0 ? info.st_ino : 0;
    }
};
