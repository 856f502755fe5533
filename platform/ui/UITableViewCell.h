#pragma once

// A table row: a content view holding the text label (and, by style, a detail label), an
// accessory at the right (a glyph or a view of the caller's), and the selection look.
//
//   style     textLabel          detailTextLabel
//   Default   left, bold         none
//   Value1    left               right-aligned, grey-blue
//   Value2    right of a column  blue, small, on the left
//   Subtitle  top line           second line, grey, small

#include "ui/UILabel.h"

enum UITableViewCellStyle : int {
    UITableViewCellStyleDefault = 0,
    UITableViewCellStyleValue1 = 1,
    UITableViewCellStyleValue2 = 2,
    UITableViewCellStyleSubtitle = 3,
};

enum UITableViewCellAccessoryType : int {
    UITableViewCellAccessoryNone = 0,
    UITableViewCellAccessoryDisclosureIndicator = 1,
    UITableViewCellAccessoryDetailDisclosureButton = 2,
    UITableViewCellAccessoryCheckmark = 3,
};

// Where a grouped table's row lies in its section, which shapes its rounded corners.
enum class UITableViewCellGroupPosition : int { None, Single, Top, Middle, Bottom };

enum UITableViewCellSelectionStyle : int {
    UITableViewCellSelectionStyleNone = 0,
    UITableViewCellSelectionStyleBlue = 1,
    UITableViewCellSelectionStyleGray = 2,
};

class UITableViewCell;
using UITableViewCellRef = std::shared_ptr<UITableViewCell>;

class UITableViewCell : public UIView {
    RVX_OBJECT(UITableViewCell)
public:
    static constexpr CGFloat kDefaultHeight = 44;

    // Made by runtime::make only: the content view joins the cell in didConstruct().
    explicit UITableViewCell(runtime::Construction, int style = UITableViewCellStyleDefault,
        std::string reuseIdentifier = {});
    static UITableViewCellRef initWithStyle(int style, std::string reuseIdentifier)
    {
        return runtime::make<UITableViewCell>(style, std::move(reuseIdentifier));
    }

    int style() const { return _style; }
    const std::string& reuseIdentifier() const { return _reuseIdentifier; }

    const UIViewRef& contentView() const { return _contentView; }
    const UILabelRef& textLabel() const { return _textLabel; }
    // Nothing for the Default style, as on the platform.
    const UILabelRef& detailTextLabel() const { return _detailTextLabel; }

    int accessoryType() const { return _accessoryType; }
    void setAccessoryType(int type);
    // A view of the caller's shown instead of the accessory glyph.
    const UIViewRef& accessoryView() const { return _accessoryView; }
    void setAccessoryView(UIViewRef view);

    int selectionStyle() const { return _selectionStyle; }
    void setSelectionStyle(int style);
    bool isSelected() const { return _selected; }
    void setSelected(bool selected, bool animated = false);
    bool isHighlighted() const { return _highlighted; }
    void setHighlighted(bool highlighted, bool animated = false);

    // Called by the table when it hands the cell out of its reuse queue: clears what one row
    // gave it (texts, fonts, colours, accessory, selection) so that the next row starts plain.
    // Views the caller put into the content view stay; their owner takes them away.
    virtual void prepareForReuse();

    void layoutSubviews() override;
    void drawRect(CGRect rect) override;
    void describe(json::Value& fields) const override;

    // The width the accessory takes from the content view, padding included.
    CGFloat accessoryWidth() const;

    // Set by a grouped table: the cell draws its part of the rounded group, filled with the
    // background colour it had, and its own view background stays clear.
    void setGroupPosition(UITableViewCellGroupPosition position);
    UITableViewCellGroupPosition groupPosition() const { return _groupPosition; }

protected:
    void didConstruct() override;

private:
    void resetLabels();
    void drawAccessoryGlyph(Painter& painter) const;
    void groupPath(cairo_t* cr) const;

    int _style;
    std::string _reuseIdentifier;
    UIViewRef _contentView;
    UILabelRef _textLabel;
    UILabelRef _detailTextLabel;
    int _accessoryType = UITableViewCellAccessoryNone;
    UIViewRef _accessoryView;
    int _selectionStyle = UITableViewCellSelectionStyleBlue;
    bool _selected = false;
    bool _highlighted = false;
    UITableViewCellGroupPosition _groupPosition = UITableViewCellGroupPosition::None;
    UIColorRef _groupFill;
};
