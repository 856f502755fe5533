#include "ui/UITextField.h"

#include "ui/TextLayout.h"
#include "ui/UIGraphics.h"
#include "foundation/NSString.h"
#include "ui/UITouch.h"

#include <nlohmann/json.hpp>

RVX_DEFINE_CLASS(UITextField, UIControl)

namespace {

std::weak_ptr<UITextField>& editingField()
{
    static std::weak_ptr<UITextField> field;
    return field;
}

// The length of the UTF-8 sequence that starts with `lead` (1 for a stray byte).
size_t sequenceLength(unsigned char lead)
{
    if (lead >= 0xF0 && lead < 0xF8)
        return 4;
    if (lead >= 0xE0)
        return lead < 0xF0 ? 3 : 1;
    if (lead >= 0xC0)
        return 2;
    return 1;
}

} // namespace

UITextField::UITextField(CGRect frame)
    : UIControl(frame)
    , _font(UIFont::systemFontOfSize(17))
    , _textColor(UIColor::blackColor())
{
}

void UITextField::setText(std::string text)
{
    if (text == _text)
        return;
    _text = std::move(text);
    setNeedsDisplay();
}

void UITextField::setPlaceholder(std::string placeholder)
{
    _placeholder = std::move(placeholder);
    setNeedsDisplay();
}

void UITextField::setFont(UIFontRef font)
{
    _font = font ? std::move(font) : UIFont::systemFontOfSize(17);
    setNeedsDisplay();
}

void UITextField::setTextColor(UIColorRef color)
{
    _textColor = color ? std::move(color) : UIColor::blackColor();
    setNeedsDisplay();
}

void UITextField::setTextAlignment(int alignment)
{
    _textAlignment = alignment;
    setNeedsDisplay();
}

void UITextField::setSecureTextEntry(bool secure)
{
    _secureTextEntry = secure;
    setNeedsDisplay();
}

UITextFieldRef UITextField::currentEditingField()
{
    return editingField().lock();
}

bool UITextField::becomeFirstResponder()
{
    if (_editing)
        return true;
    if (!isEnabled())
        return false;
    id keep = self();
    if (auto other = editingField().lock())
        other->resignFirstResponder();
    _editing = true;
    editingField() = selfAs<UITextField>();
    setNeedsDisplay();
    sendActionsForControlEvents(UIControlEventEditingDidBegin);
    return _editing;
}

bool UITextField::resignFirstResponder()
{
    if (!_editing)
        return true;
    id keep = self();
    _editing = false;
    if (editingField().lock().get() == this)
        editingField().reset();
    setNeedsDisplay();
    sendActionsForControlEvents(UIControlEventEditingDidEnd);
    return true;
}

void UITextField::beginIfNeeded()
{
    if (!_editing)
        becomeFirstResponder();
}

void UITextField::changeText(std::string text)
{
    _text = std::move(text);
    setNeedsDisplay();
    sendActionsForControlEvents(UIControlEventEditingChanged);
}

size_t UITextField::characterCount(std::string_view text)
{
    size_t characters = 0;
    for (unsigned char byte : text)
        characters += (byte & 0xC0) != 0x80;
    return characters;
}

UITextInputRefusal UITextField::refusalForInsertion(std::string_view text) const
{
    for (unsigned char byte : text)
        if (byte < 0x20 || byte == 0x7F)
            return UITextInputRefusal::ControlCharacter;
    if (!NSString::isValidUTF8(text))
        return UITextInputRefusal::InvalidUTF8;
    if (characterCount(_text) + characterCount(text) > kMaximumLength)
        return UITextInputRefusal::TooLong;
    return UITextInputRefusal::None;
}

bool UITextField::readyToInsert(std::string_view text)
{
    if (refusalForInsertion(text) != UITextInputRefusal::None)
        return false;
    beginIfNeeded();
    return _editing;
}

bool UITextField::insertText(std::string_view text)
{
    id keep = self();
    if (!readyToInsert(text))
        return false;
    size_t at = 0;
    while (at < text.size()) {
        size_t length = std::min(sequenceLength(static_cast<unsigned char>(text[at])), text.size() - at);
        changeText(_text + std::string(text.substr(at, length)));
        at += length;
    }
    return true;
}

bool UITextField::paste(std::string_view text)
{
    id keep = self();
    if (!readyToInsert(text))
        return false;
    if (!text.empty())
        changeText(_text + std::string(text));
    return true;
}

void UITextField::deleteBackward()
{
    id keep = self();
    beginIfNeeded();
    if (!_editing || _text.empty())
        return;
    // Back over continuation bytes to the start of the last character.
    size_t at = _text.size() - 1;
    while (at > 0 && (static_cast<unsigned char>(_text[at]) & 0xC0) == 0x80)
        --at;
    changeText(_text.substr(0, at));
}

void UITextField::clear()
{
    id keep = self();
    beginIfNeeded();
    if (_editing && !_text.empty())
        changeText({});
}

void UITextField::pressReturn()
{
    id keep = self();
    if (!_editing)
        return;
    sendActionsForControlEvents(UIControlEventEditingDidEndOnExit);
    if (_editing && (allControlEvents() & UIControlEventEditingDidEndOnExit))
        resignFirstResponder();
}

void UITextField::touchesEnded(const UITouchSet& touches, const UIEventRef& event)
{
    id keep = self();
    bool inside = !touches.empty() && isTracking()
        && CGRectContainsPoint(bounds(), touches.front()->locationInView(this));
    UIControl::touchesEnded(touches, event);
    if (inside)
        becomeFirstResponder();
}

std::string UITextField::shownText() const
{
    if (!_secureTextEntry)
        return _text;
    std::string dots;
    for (size_t at = 0; at < _text.size(); at += sequenceLength(static_cast<unsigned char>(_text[at])))
        dots += "\u2022";
    return dots;
}

void UITextField::drawRect(CGRect)
{
    CGContextRef context = UIGraphicsGetCurrentContext();
    if (!context)
        return;
    Painter& painter = context->painter();
    auto saved = painter.save();
    painter.clipToRect(bounds());
    // One line that runs on past the bounds (clipped), centred vertically, as the field draws.
    TextLayout::Bounds one {bounds().size.width, 0, 1, UILineBreakModeClip, _textAlignment};
    bool placeholder = _text.empty();
    TextLayout layout(placeholder ? _placeholder : shownText(), *_font, one);
    CGRect line = bounds();
    line.origin.y += (line.size.height - layout.size().height) / 2;
    layout.draw(painter, line, placeholder ? RGBA {0.7f, 0.7f, 0.7f, 1} : _textColor->paint());
    if (_editing) {
        // The caret after the text.
        CGSize size = placeholder ? CGSizeZero : layout.size();
        CGFloat width = bounds().size.width;
        CGFloat x = _textAlignment == UITextAlignmentRight ? width - 1
            : _textAlignment == UITextAlignmentCenter       ? (width + size.width) / 2
                                                            : std::min(size.width, width - 2);
        painter.fillRect(CGRectMake(x, 2, 2, std::max<CGFloat>(0, bounds().size.height - 4)), {0.26f, 0.42f, 0.95f, 1});
    }
}

void UITextField::describe(json::Value& fields) const
{
    UIControl::describe(fields);
    fields["text"] = shownText();
    fields["placeholder"] = _placeholder;
    fields["font"] = _font->fontName();
    fields["fontSize"] = json::readable(_font->pointSize());
    fields["textColor"] = colorValue(_textColor);
    fields["alignment"] = _textAlignment;
    fields["secure"] = _secureTextEntry;
    fields["editing"] = _editing;
}
