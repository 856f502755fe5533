#pragma once

// The label and font pane: the label text, the text colour, the font family and style and
// the font size. The plist gives only the table's shape (groups of 1, 3 and 1 rows); the
// pane draws every cell itself from the Settings file, read afresh for each cell.
//
//   section  row  shows
//   0        0    "Label": the label field (tag 99), editable in place
//   1        0    "Font Color": the colour swatch, over the tiles when a colour is stored
//   1        1    "Font Family": the stored family, drawn in it
//   1        2+   "Font Style": the stored style (else "Default"), drawn in it
//   2+       any  the size slider and the stored size as a whole number
//
// Opening the pane stores "Family" "Helvetica" when it is missing and announces it.

#include "preferences/PSListController.h"
#include "ui/UISlider.h"
#include "ui/UISwitch.h"
#include "ui/UITextField.h"

class ColorPickerView;

class RVXFontController : public PSListController {
    RVX_OBJECT(RVXFontController)
public:
    static constexpr int kLabelFieldTag = 99;

    RVXFontController() = default;

    const std::vector<PSSpecifierRef>& specifiers() override;
    UITableViewCellRef cellForRowAtIndexPath(const UITableViewRef& tableView, const NSIndexPathRef& indexPath) override;
    void willDisplayCell(const UITableViewRef& tableView, const UITableViewCellRef& cell, const NSIndexPathRef& indexPath) override;
    void didSelectRowAtIndexPath(const UITableViewRef& tableView, const NSIndexPathRef& indexPath) override;

    void viewWillAppear(bool animated) override;
    void willAnimateRotationToInterfaceOrientation(int orientation, double duration) override;
    // Reloads the whole table, so the controls are made again at the new width.
    void relTable();

    // The controls' actions, sent by name.
    void savefield(UITextFieldRef sender);
    void resign(UITextFieldRef sender);
    void slide(UISliderRef sender);
    void post();
    void saveclosing(UITextFieldRef sender);
    void switchHighlight(UISwitchRef sender);
    // The colour overlay's Save, "Default" and Cancel.
    void save();
    void def();
    void dismissColor();

    // The colour overlay while it is open or sliding out: the root view's last subview,
    // when that is a colour picker.
    std::shared_ptr<ColorPickerView> colorOverlay();

private:
    void configureLabelSection(const UITableViewCellRef& cell, int row);
    void configureColorRow(const UITableViewCellRef& cell, const NSDictionary& settings);
    void configureFamilyRow(const UITableViewCellRef& cell, const NSDictionary& settings);
    void configureStyleRow(const UITableViewCellRef& cell, const NSDictionary& settings);
    void configureSizeRow(const UITableViewCellRef& cell, const NSDictionary& settings);
    void addLabelField(const UITableViewCellRef& cell);
    void addSizeSlider(const UITableViewCellRef& cell);

    // The locked change-one-key write, then the settings-changed notification.
    void store(std::string_view key, PlistValue value);
    void openColorOverlay();
    // Open: the overlay is there and the bar still carries its items.
    bool isColorOverlayOpen();
    void closeColorOverlay(const std::shared_ptr<ColorPickerView>& overlay);
};
