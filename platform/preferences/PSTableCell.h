#pragma once

// The cell the host draws for a specifier. It holds its specifier and, for the rows with a
// control (switch, slider, text field), the control, whose changes it hands to the pane.

#include "preferences/PSSpecifier.h"
#include "ui/UISlider.h"
#include "ui/UISwitch.h"
#include "ui/UITableViewCell.h"
#include "ui/UITextField.h"

class PSListController;
class PSTableCell;
using PSTableCellRef = std::shared_ptr<PSTableCell>;

class PSTableCell : public UITableViewCell {
    RVX_OBJECT(PSTableCell)
public:
    // One reuse identifier per cell type: the cells of one kind carry the same control.
    static std::string reuseIdentifierForCellType(int cellType);

    explicit PSTableCell(runtime::Construction construction, int style = UITableViewCellStyleValue1,
        std::string reuseIdentifier = {});

    const PSSpecifierRef& specifier() const { return _specifier; }
    // Fills the cell for a specifier with the value the pane reads for it.
    void refreshCellContents(const PSSpecifierRef& specifier, PSListController& pane);

    const std::shared_ptr<UIControl>& control() const { return _control; }

    void prepareForReuse() override;
    void layoutSubviews() override;

private:
    void installSwitch(const std::optional<PlistValue>& value);
    void installSlider(const std::optional<PlistValue>& value);
    void installTextField(const std::optional<PlistValue>& value, bool secure);
    void removeControl();
    void layoutControl();
    void showSliderValue();

    // The actions of the controls.
    void switchChanged(std::shared_ptr<UISwitch> sender);
    void sliderChanged(std::shared_ptr<UISlider> sender);
    void textEnded(std::shared_ptr<UITextField> sender);

    PSSpecifierRef _specifier;
    std::weak_ptr<PSListController> _pane;
    std::shared_ptr<UIControl> _control;
};
