#include "ui/UIButton.h"

#include "graphics/CairoPtr.h"
#include "ui/UIGraphics.h"

#include <algorithm>
#include <cmath>

#include <nlohmann/json.hpp>

RVX_DEFINE_CLASS(UIButton, UIControl)

namespace {

constexpr CGSize kInfoSize {18, 19};

bool isInfo(int type)
{
    return type == UIButtonTypeInfoLight || type == UIButtonTypeInfoDark || type == UIButtonTypeDetailDisclosure;
}

bool isBarItem(int type)
{
    return type == UIButtonTypeBorderedBarItem || type == UIButtonTypeDoneBarItem || type == UIButtonTypeBackBarItem;
}

// The bar buttons' chrome: a rounded (or, for back, left-pointed) outline in a gradient.
void barButtonPath(cairo_t* cr, CGRect r, bool pointed)
{
    double x = r.origin.x, y = r.origin.y, w = r.size.width, h = r.size.height, radius = 5;
    cairo_new_path(cr);
    cairo_arc(cr, x + w - radius, y + radius, radius, -M_PI / 2, 0);
    cairo_arc(cr, x + w - radius, y + h - radius, radius, 0, M_PI / 2);
    if (pointed) {
        double tip = std::min(11.0, w / 2);
        cairo_line_to(cr, x + tip, y + h);
        cairo_curve_to(cr, x + tip - 3, y + h, x + 1, y + h / 2 + 3, x, y + h / 2);
        cairo_curve_to(cr, x + 1, y + h / 2 - 3, x + tip - 3, y, x + tip, y);
    } else {
        cairo_arc(cr, x + radius, y + h - radius, radius, M_PI / 2, M_PI);
        cairo_arc(cr, x + radius, y + radius, radius, M_PI, 3 * M_PI / 2);
    }
    cairo_close_path(cr);
}

} // namespace

UIButton::UIButton(CGRect frame)
    : UIControl(frame)
    , _titleLabel(std::make_shared<UILabel>())
{
    _titleLabel->setBackgroundColor(nullptr);
    _titleLabel->setFont(UIFont::boldSystemFontOfSize(15));
    _titleLabel->setTextAlignment(UITextAlignmentCenter);
    _titleLabel->setLineBreakMode(UILineBreakModeMiddleTruncation);
    _titleColors[UIControlStateNormal] = UIColor::whiteColor();
}

UIButtonRef UIButton::buttonWithType(int type)
{
    auto button = runtime::make<UIButton>();
    button->_buttonType = type;
    if (isInfo(type)) {
        button->setFrame({CGPointZero, kInfoSize});
        button->_showsTouchWhenHighlighted = true;
    } else if (type == UIButtonTypeRoundedRect) {
        button->_titleColors[UIControlStateNormal] = UIColor::colorWithRed(0.22f, 0.33f, 0.53f, 1);
        button->_titleColors[UIControlStateHighlighted] = UIColor::whiteColor();
    } else if (isBarItem(type)) {
        button->_titleLabel->setFont(UIFont::boldSystemFontOfSize(12));
        button->_titleLabel->setLineBreakMode(UILineBreakModeTailTruncation);
        button->_titleShadowColors[UIControlStateNormal] = UIColor::colorWithWhite(0, 0.5);
        button->_titleLabel->setShadowOffset({0, -1});
    }
    return button;
}

template<typename T>
T UIButton::lookup(const std::map<unsigned, T>& table, unsigned state)
{
    if (auto it = table.find(state); it != table.end())
        return it->second;
    if (auto it = table.find(UIControlStateNormal); it != table.end())
        return it->second;
    return T {};
}

void UIButton::setTitle(std::string title, unsigned state)
{
    _titles[state] = std::move(title);
    setNeedsDisplay();
}

std::string UIButton::titleForState(unsigned state) const
{
    return lookup(_titles, state);
}

void UIButton::setTitleColor(UIColorRef color, unsigned state)
{
    if (color)
        _titleColors[state] = std::move(color);
    else if (state != UIControlStateNormal)
        _titleColors.erase(state);
    setNeedsDisplay();
}

UIColorRef UIButton::titleColorForState(unsigned state) const
{
    return lookup(_titleColors, state);
}

void UIButton::setTitleShadowColor(UIColorRef color, unsigned state)
{
    if (color)
        _titleShadowColors[state] = std::move(color);
    else
        _titleShadowColors.erase(state);
    setNeedsDisplay();
}

UIColorRef UIButton::titleShadowColorForState(unsigned state) const
{
    return lookup(_titleShadowColors, state);
}

void UIButton::setImage(UIImageRef image, unsigned state)
{
    _images[state] = std::move(image);
    setNeedsDisplay();
}

UIImageRef UIButton::imageForState(unsigned state) const
{
    return lookup(_images, state);
}

void UIButton::setBackgroundImage(UIImageRef image, unsigned state)
{
    _backgroundImages[state] = std::move(image);
    setNeedsDisplay();
}

UIImageRef UIButton::backgroundImageForState(unsigned state) const
{
    return lookup(_backgroundImages, state);
}

void UIButton::setShowsTouchWhenHighlighted(bool shows)
{
    if (shows == _showsTouchWhenHighlighted)
        return;
    _showsTouchWhenHighlighted = shows;
    setNeedsDisplay();
}

CGSize UIButton::sizeThatFits(CGSize) const
{
    if (isInfo(_buttonType))
        return kInfoSize;
    CGSize size {};
    if (UIImageRef background = backgroundImageForState(state()))
        size = background->size();
    CGSize content = NSString_UIStringDrawing::sizeWithFont(currentTitle(), _titleLabel->font());
    if (UIImageRef image = imageForState(state())) {
        content.width += image->size().width;
        content.height = std::max(content.height, image->size().height);
    }
    if (isBarItem(_buttonType)) {
        CGFloat margins = _buttonType == UIButtonTypeBackBarItem ? 19 : 16;
        content = {content.width + margins, std::max<CGFloat>(30, content.height)};
    }
    return {std::max(size.width, content.width), std::max(size.height, content.height)};
}

void UIButton::drawRect(CGRect)
{
    CGContextRef context = UIGraphicsGetCurrentContext();
    if (!context)
        return;
    Painter& painter = context->painter();
    drawChrome(painter);
    if (UIImageRef background = backgroundImageForState(state()))
        background->drawInRect(painter, bounds());
    CGRect box = contentRect();
    std::string title = currentTitle();
    UIImageRef image = imageForState(state());
    CGSize imageSize = image ? image->size() : CGSizeZero;
    // Image and title sit side by side, the pair centred; a title too long for the room
    // left beside the image is broken by the title label's mode.
    CGFloat room = std::max<CGFloat>(0, box.size.width - imageSize.width);
    CGSize titleSize = NSString_UIStringDrawing::sizeWithFont(title, _titleLabel->font());
    titleSize.width = std::min(titleSize.width, room);
    CGFloat contentWidth = imageSize.width + (title.empty() ? 0 : titleSize.width);
    CGFloat x = box.origin.x + (box.size.width - contentWidth) / 2;
    if (image) {
        image->drawInRect(painter, CGRectMake(x, box.origin.y + (box.size.height - imageSize.height) / 2, imageSize.width,
            imageSize.height));
        x += imageSize.width;
    }
    if (UIColorRef color = currentTitleColor(); color && !title.empty()) {
        auto saved = painter.save();
        painter.clipToRect(bounds());
        _titleLabel->drawTextInRect(painter, CGRectMake(x, box.origin.y, titleSize.width, box.size.height), title, color,
            titleShadowColorForState(state()));
    }
    if (isInfo(_buttonType))
        drawInfoGlyph(painter);
    if (_showsTouchWhenHighlighted && isHighlighted())
        drawGlow(painter);
}

void UIButton::drawChrome(Painter& painter) const
{
    CGRect box = bounds();
    if (_buttonType == UIButtonTypeRoundedRect) {
        bool lit = isHighlighted();
        painter.fillRoundedRect(box, 9, lit ? RGBA {0.2f, 0.4f, 0.9f, 1} : RGBA {1, 1, 1, 1});
        painter.strokeInside(box, 9, 1, RGBA {0.6f, 0.6f, 0.6f, 1});
    } else if (isBarItem(_buttonType)) {
        cairo_t* cr = painter.cairo();
        auto saved = painter.save();
        bool done = _buttonType == UIButtonTypeDoneBarItem;
        double dim = isHighlighted() ? 0.75 : 1;
        RGBA top = done ? RGBA {0.35f, 0.55f, 0.93f, 1} : RGBA {0.55f, 0.63f, 0.75f, 1};
        RGBA bottom = done ? RGBA {0.12f, 0.33f, 0.8f, 1} : RGBA {0.3f, 0.4f, 0.56f, 1};
        CGRect shape = CGRectInset(box, 0.5, 0.5);
        barButtonPath(cr, shape, _buttonType == UIButtonTypeBackBarItem);
        CairoPatternPtr fill(cairo_pattern_create_linear(0, shape.origin.y, 0, CGRectGetMaxY(shape)));
        cairo_pattern_add_color_stop_rgba(fill.get(), 0, top[0] * dim, top[1] * dim, top[2] * dim, 1);
        cairo_pattern_add_color_stop_rgba(fill.get(), 0.5, (top[0] + bottom[0]) / 2 * dim,
            (top[1] + bottom[1]) / 2 * dim, (top[2] + bottom[2]) / 2 * dim, 1);
        cairo_pattern_add_color_stop_rgba(fill.get(), 0.5, bottom[0] * dim, bottom[1] * dim, bottom[2] * dim, 1);
        cairo_pattern_add_color_stop_rgba(fill.get(), 1, bottom[0] * dim * 1.05, bottom[1] * dim * 1.05,
            bottom[2] * dim * 1.05, 1);
        cairo_set_source(cr, fill.get());
        cairo_fill_preserve(cr);
        cairo_set_source_rgba(cr, 0.12, 0.16, 0.24, 0.9);
        cairo_set_line_width(cr, 1);
        cairo_stroke(cr);
    }
}

CGRect UIButton::contentRect() const
{
    CGRect box = bounds();
    if (_buttonType == UIButtonTypeBackBarItem)
        return CGRectMake(13, 0, std::max<CGFloat>(0, box.size.width - 19), box.size.height);
    if (isBarItem(_buttonType))
        return CGRectInset(box, std::min<CGFloat>(8, box.size.width / 2), 0);
    return box;
}

void UIButton::drawInfoGlyph(Painter& painter) const
{
    CGRect box = bounds();
    bool light = _buttonType != UIButtonTypeInfoDark;
    RGBA ink = light ? RGBA {1, 1, 1, 1} : RGBA {0.3f, 0.3f, 0.3f, 1};
    double cx = CGRectGetMidX(box), cy = CGRectGetMidY(box);
    cairo_t* cr = painter.cairo();
    auto saved = painter.save();
    cairo_set_source_rgba(cr, ink[0], ink[1], ink[2], ink[3]);
    cairo_set_line_width(cr, 1.5);
    cairo_new_path(cr);
    cairo_arc(cr, cx, cy, 8, 0, 2 * M_PI);
    cairo_stroke(cr);
    TextLayout glyph("i", *UIFont::boldSystemFontOfSize(12), {16, 16, 1, UILineBreakModeClip, UITextAlignmentCenter});
    glyph.draw(painter, CGRectMake(CGFloat(cx - 8), CGFloat(cy - glyph.size().height / 2), 16, 16), ink);
}

void UIButton::drawGlow(Painter& painter) const
{
    CGRect box = bounds();
    double cx = CGRectGetMidX(box), cy = CGRectGetMidY(box);
    double radius = 20;
    CairoPatternPtr glow(cairo_pattern_create_radial(cx, cy, 0, cx, cy, radius));
    cairo_pattern_add_color_stop_rgba(glow.get(), 0, 1, 1, 1, 0.9);
    cairo_pattern_add_color_stop_rgba(glow.get(), 1, 1, 1, 1, 0);
    cairo_t* cr = painter.cairo();
    auto saved = painter.save();
    cairo_set_source(cr, glow.get());
    cairo_arc(cr, cx, cy, radius, 0, 2 * M_PI);
    cairo_fill(cr);
}

void UIButton::describe(json::Value& fields) const
{
    UIControl::describe(fields);
    fields["buttonType"] = _buttonType;
    fields["title"] = currentTitle();
    fields["titleColor"] = colorValue(currentTitleColor());
    fields["font"] = _titleLabel->font()->fontName();
    fields["fontSize"] = json::readable(_titleLabel->font()->pointSize());
    fields["glow"] = _showsTouchWhenHighlighted;
}
