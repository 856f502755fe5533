#include "ui/UIButton.h"

#include "graphics/CairoPtr.h"
#include "ui/UIGraphics.h"

#include <algorithm>
#include <cmath>

RVX_DEFINE_CLASS(UIButton, UIControl)

namespace {

constexpr CGSize kInfoSize {18, 19};

bool isInfo(int type)
{
    return type == UIButtonTypeInfoLight || type == UIButtonTypeInfoDark || type == UIButtonTypeDetailDisclosure;
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
    auto button = std::make_shared<UIButton>();
    button->_buttonType = type;
    if (isInfo(type)) {
        button->setFrame({CGPointZero, kInfoSize});
        button->_showsTouchWhenHighlighted = true;
    } else if (type == UIButtonTypeRoundedRect) {
        button->_titleColors[UIControlStateNormal] = UIColor::colorWithRed(0.22f, 0.33f, 0.53f, 1);
        button->_titleColors[UIControlStateHighlighted] = UIColor::whiteColor();
    } else if (type == UIButtonTypeBorderedBarItem) {
        button->_titleLabel->setFont(UIFont::boldSystemFontOfSize(12));
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
    if (_buttonType == UIButtonTypeBorderedBarItem)
        content = {content.width + 20, std::max<CGFloat>(30, content.height)};
    return {std::max(size.width, content.width), std::max(size.height, content.height)};
}

void UIButton::drawRect(CGRect)
{
    CGContextRef context = UIGraphicsGetCurrentContext();
    if (!context)
        return;
    Painter& painter = context->painter();
    CGRect box = bounds();
    drawChrome(painter);
    if (UIImageRef background = backgroundImageForState(state()))
        background->drawInRect(painter, box);
    std::string title = currentTitle();
    UIImageRef image = imageForState(state());
    CGSize imageSize = image ? image->size() : CGSizeZero;
    // Image and title sit side by side, the pair centred; a title too long for the room
    // left beside the image is broken by the title label's mode.
    CGFloat room = std::max<CGFloat>(0, box.size.width - imageSize.width);
    CGSize titleSize = NSString_UIStringDrawing::sizeWithFont(title, _titleLabel->font());
    titleSize.width = std::min(titleSize.width, room);
    CGFloat contentWidth = imageSize.width + (title.empty() ? 0 : titleSize.width);
    CGFloat x = (box.size.width - contentWidth) / 2;
    if (image) {
        image->drawInRect(painter, CGRectMake(x, (box.size.height - imageSize.height) / 2, imageSize.width,
            imageSize.height));
        x += imageSize.width;
    }
    if (UIColorRef color = currentTitleColor(); color && !title.empty()) {
        auto saved = painter.save();
        painter.clipToRect(box);
        _titleLabel->drawTextInRect(painter, CGRectMake(x, 0, titleSize.width, box.size.height), title, color,
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
    } else if (_buttonType == UIButtonTypeBorderedBarItem) {
        float shade = isHighlighted() ? 0.25f : 0.4f;
        painter.fillRoundedRect(box, 5, RGBA {shade, shade + 0.05f, shade + 0.15f, 1});
        painter.strokeInside(box, 5, 1, RGBA {0.1f, 0.1f, 0.15f, 1});
    }
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

void UIButton::describe(JsonWriter& json) const
{
    UIControl::describe(json);
    json.field("buttonType", _buttonType);
    json.field("title", currentTitle());
    writeColor(json, "titleColor", currentTitleColor());
    json.field("font", _titleLabel->font()->fontName());
    json.field("fontSize", double(_titleLabel->font()->pointSize()));
    json.field("glow", _showsTouchWhenHighlighted);
}
