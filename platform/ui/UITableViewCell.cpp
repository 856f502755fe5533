#include "ui/UITableViewCell.h"

#include "ui/TextLayout.h"

#include "ui/UIGraphics.h"

#include <algorithm>
#include <cmath>

#include <nlohmann/json.hpp>

RVX_DEFINE_CLASS(UITableViewCell, UIView)

namespace {

constexpr CGFloat kMargin = 10;
constexpr CGFloat kGlyphWidth = 20;
constexpr CGFloat kLabelGap = 10;
constexpr CGFloat kGroupRadius = 8;

UIColorRef detailColor(int style)
{
    if (style == UITableViewCellStyleValue1)
        return UIColor::colorWithRed(56 / 255.0, 84 / 255.0, 135 / 255.0, 1);
    if (style == UITableViewCellStyleValue2)
        return UIColor::colorWithRed(82 / 255.0, 102 / 255.0, 145 / 255.0, 1);
    return UIColor::grayColor();
}

} // namespace

UITableViewCell::UITableViewCell(runtime::Construction, int style, std::string reuseIdentifier)
    : UIView(CGRectMake(0, 0, 320, kDefaultHeight))
    , _style(style)
    , _reuseIdentifier(std::move(reuseIdentifier))
{
    setBackgroundColor(UIColor::whiteColor());
    _contentView = std::make_shared<UIView>(bounds());
    _textLabel = std::make_shared<UILabel>();
    _contentView->addSubview(_textLabel);
    if (_style != UITableViewCellStyleDefault) {
        _detailTextLabel = std::make_shared<UILabel>();
        _contentView->addSubview(_detailTextLabel);
    }
    resetLabels();
}

// The cell can be the content view's superview only once a shared pointer owns it.
void UITableViewCell::didConstruct()
{
    UIView::didConstruct();
    insertSubview(_contentView, 0);
    setNeedsLayout();
    layoutIfNeeded();
}

void UITableViewCell::resetLabels()
{
    _textLabel->setText({});
    _textLabel->setTextColor(UIColor::blackColor());
    _textLabel->setBackgroundColor(nullptr);
    _textLabel->setTextAlignment(UITextAlignmentLeft);
    _textLabel->setFont(_style == UITableViewCellStyleValue2 ? UIFont::boldSystemFontOfSize(15)
                                                               : UIFont::boldSystemFontOfSize(17));
    if (!_detailTextLabel)
        return;
    _detailTextLabel->setText({});
    _detailTextLabel->setTextColor(detailColor(_style));
    _detailTextLabel->setBackgroundColor(nullptr);
    bool small = _style == UITableViewCellStyleSubtitle;
    _detailTextLabel->setFont(UIFont::systemFontOfSize(small ? 14 : 17));
    _detailTextLabel->setTextAlignment(_style == UITableViewCellStyleValue1 ? UITextAlignmentRight
                                           : UITextAlignmentLeft);
}

void UITableViewCell::setAccessoryType(int type)
{
    if (type == _accessoryType)
        return;
    _accessoryType = type;
    setNeedsDisplay();
    setNeedsLayout();
    layoutIfNeeded();
}

void UITableViewCell::setAccessoryView(UIViewRef view)
{
    if (view == _accessoryView)
        return;
    if (_accessoryView)
        _accessoryView->removeFromSuperview();
    _accessoryView = std::move(view);
    if (_accessoryView)
        addSubview(_accessoryView);
    setNeedsLayout();
    layoutIfNeeded();
}

void UITableViewCell::setSelectionStyle(int style)
{
    if (style == _selectionStyle)
        return;
    _selectionStyle = style;
    setNeedsDisplay();
}

void UITableViewCell::setSelected(bool selected, bool)
{
    if (selected == _selected)
        return;
    _selected = selected;
    setNeedsDisplay();
}

void UITableViewCell::setHighlighted(bool highlighted, bool)
{
    if (highlighted == _highlighted)
        return;
    _highlighted = highlighted;
    setNeedsDisplay();
}

void UITableViewCell::prepareForReuse()
{
    setAccessoryType(UITableViewCellAccessoryNone);
    setAccessoryView(nullptr);
    setSelectionStyle(UITableViewCellSelectionStyleBlue);
    setSelected(false);
    setHighlighted(false);
    resetLabels();
}

CGFloat UITableViewCell::accessoryWidth() const
{
    if (_accessoryView)
        return _accessoryView->frame().size.width + 2 * kMargin;
    if (_accessoryType == UITableViewCellAccessoryNone)
        return 0;
    return (_accessoryType == UITableViewCellAccessoryDetailDisclosureButton ? 29 : kGlyphWidth) + kMargin;
}

void UITableViewCell::layoutSubviews()
{
    CGSize size = bounds().size;
    CGFloat contentWidth = std::max<CGFloat>(0, size.width - accessoryWidth());
    _contentView->setFrame(CGRectMake(0, 0, contentWidth, size.height));
    if (_accessoryView) {
        CGSize own = _accessoryView->frame().size;
        _accessoryView->setFrame(CGRectMake(size.width - kMargin - own.width, (size.height - own.height) / 2,
            own.width, own.height));
    }
    CGFloat inner = std::max<CGFloat>(0, contentWidth - 2 * kMargin);
    switch (_style) {
    case UITableViewCellStyleValue1: {
        // The title takes what its text needs; the value the rest, right-aligned. When both
        // cannot fit, the value keeps up to 40 % of the room and the title is cut.
        CGFloat title = std::min(inner, NSString_UIStringDrawing::sizeWithFont(_textLabel->text(), _textLabel->font()).width);
        CGFloat value = 0;
        if (!_detailTextLabel->text().empty()) {
            CGFloat wanted = NSString_UIStringDrawing::sizeWithFont(_detailTextLabel->text(), _detailTextLabel->font()).width;
            value = std::max<CGFloat>(0, inner - title - kLabelGap);
            if (value < wanted) {
                value = std::min(wanted, std::max(value, std::floor(inner * 0.4f)));
                title = std::max<CGFloat>(0, std::min(title, inner - value - kLabelGap));
            }
        }
        _textLabel->setFrame(CGRectMake(kMargin, 0, title, size.height));
        _detailTextLabel->setFrame(CGRectMake(kMargin + inner - value, 0, value, size.height));
        break;
    }
    case UITableViewCellStyleValue2:
        _detailTextLabel->setFrame(CGRectMake(kMargin, 0, 67, size.height));
        _textLabel->setFrame(CGRectMake(kMargin + 73, 0, std::max<CGFloat>(0, inner - 73), size.height));
        break;
    case UITableViewCellStyleSubtitle:
        _textLabel->setFrame(CGRectMake(kMargin, 2, inner, size.height / 2));
        _detailTextLabel->setFrame(CGRectMake(kMargin, size.height / 2, inner, size.height / 2 - 2));
        break;
    default:
        _textLabel->setFrame(CGRectMake(kMargin, 0, inner, size.height));
        break;
    }
}

void UITableViewCell::setGroupPosition(UITableViewCellGroupPosition position)
{
    if (position == _groupPosition)
        return;
    if (_groupPosition == UITableViewCellGroupPosition::None) {
        _groupFill = backgroundColor() ? backgroundColor() : UIColor::whiteColor();
        setBackgroundColor(nullptr);
    } else if (position == UITableViewCellGroupPosition::None) {
        setBackgroundColor(_groupFill);
        _groupFill.reset();
    }
    _groupPosition = position;
    setNeedsDisplay();
}

void UITableViewCell::groupPath(cairo_t* cr) const
{
    CGRect box = CGRectInset(bounds(), 0.5, 0);
    double x = box.origin.x, y = box.origin.y, w = box.size.width, h = box.size.height;
    bool roundTop = _groupPosition == UITableViewCellGroupPosition::Single || _groupPosition == UITableViewCellGroupPosition::Top;
    bool roundBottom = _groupPosition == UITableViewCellGroupPosition::Single || _groupPosition == UITableViewCellGroupPosition::Bottom;
    double top = roundTop ? std::min<double>(kGroupRadius, h / 2) : 0;
    double bottom = roundBottom ? std::min<double>(kGroupRadius, h / 2) : 0;
    if (roundTop)
        y += 0.5, h -= 0.5;
    if (roundBottom)
        h -= 0.5;
    cairo_new_path(cr);
    cairo_move_to(cr, x, y + top);
    if (top > 0)
        cairo_arc(cr, x + top, y + top, top, M_PI, 3 * M_PI / 2);
    if (top > 0)
        cairo_arc(cr, x + w - top, y + top, top, -M_PI / 2, 0);
    else
        cairo_line_to(cr, x + w, y);
    if (bottom > 0)
        cairo_arc(cr, x + w - bottom, y + h - bottom, bottom, 0, M_PI / 2);
    else
        cairo_line_to(cr, x + w, y + h);
    if (bottom > 0)
        cairo_arc(cr, x + bottom, y + h - bottom, bottom, M_PI / 2, M_PI);
    else
        cairo_line_to(cr, x, y + h);
    cairo_close_path(cr);
}

void UITableViewCell::drawRect(CGRect)
{
    CGContextRef context = UIGraphicsGetCurrentContext();
    if (!context)
        return;
    // Texts may have changed since the last layout; the labels' frames follow them.
    layoutSubviews();
    Painter& painter = context->painter();
    bool lit = (_selected || _highlighted) && _selectionStyle != UITableViewCellSelectionStyleNone;
    RGBA selection = _selectionStyle == UITableViewCellSelectionStyleGray ? RGBA {0.75f, 0.75f, 0.75f, 1}
                                                                          : RGBA {0.02f, 0.45f, 0.9f, 1};
    RGBA line {0.67f, 0.67f, 0.67f, 1};
    if (_groupPosition != UITableViewCellGroupPosition::None) {
        cairo_t* cr = painter.cairo();
        auto saved = painter.save();
        groupPath(cr);
        RGBA fill = lit ? selection : _groupFill->paint();
        cairo_set_source_rgba(cr, fill[0], fill[1], fill[2], fill[3]);
        cairo_fill_preserve(cr);
        cairo_set_source_rgba(cr, line[0], line[1], line[2], line[3]);
        cairo_set_line_width(cr, 1);
        cairo_stroke(cr);
    } else {
        if (lit)
            painter.fillRect(bounds(), selection);
        // The separator along the bottom edge.
        painter.fillRect(CGRectMake(0, bounds().size.height - 1, bounds().size.width, 1), line);
    }
    if (!_accessoryView)
        drawAccessoryGlyph(painter);
}

void UITableViewCell::drawAccessoryGlyph(Painter& painter) const
{
    if (_accessoryType == UITableViewCellAccessoryNone)
        return;
    cairo_t* cr = painter.cairo();
    auto saved = painter.save();
    CGFloat cx = bounds().size.width - kMargin - kGlyphWidth / 2;
    CGFloat cy = bounds().size.height / 2;
    if (_accessoryType == UITableViewCellAccessoryDetailDisclosureButton) {
        cairo_arc(cr, cx - 4, cy, 11, 0, 6.2832);
        cairo_set_source_rgba(cr, 0.14, 0.44, 0.85, 1);
        cairo_fill(cr);
        cairo_set_source_rgba(cr, 1, 1, 1, 1);
        cairo_move_to(cr, cx - 6, cy - 5);
        cairo_line_to(cr, cx - 1, cy);
        cairo_line_to(cr, cx - 6, cy + 5);
    } else if (_accessoryType == UITableViewCellAccessoryCheckmark) {
        cairo_set_source_rgba(cr, 0.2, 0.31, 0.52, 1);
        cairo_move_to(cr, cx - 7, cy);
        cairo_line_to(cr, cx - 2, cy + 6);
        cairo_line_to(cr, cx + 7, cy - 7);
    } else {
        cairo_set_source_rgba(cr, 0.5, 0.5, 0.5, 1);
        cairo_move_to(cr, cx - 3, cy - 6);
        cairo_line_to(cr, cx + 3, cy);
        cairo_line_to(cr, cx - 3, cy + 6);
    }
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);
}

void UITableViewCell::describe(json::Value& fields) const
{
    UIView::describe(fields);
    fields["style"] = _style;
    fields["reuseIdentifier"] = _reuseIdentifier;
    fields["accessoryType"] = _accessoryType;
    fields["selectionStyle"] = _selectionStyle;
    fields["selected"] = _selected;
}
