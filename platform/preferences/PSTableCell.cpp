#include "preferences/PSTableCell.h"

#include "preferences/PSListController.h"

#include <cmath>
#include <cstdio>

RVX_DEFINE_CLASS(PSTableCell, UITableViewCell,
    cls.addMethod("switchChanged:", runtime::method(&PSTableCell::switchChanged));
    cls.addMethod("sliderChanged:", runtime::method(&PSTableCell::sliderChanged));
    cls.addMethod("textEnded:", runtime::method(&PSTableCell::textEnded)))

namespace {

std::string textOf(const std::optional<PlistValue>& value)
{
    if (!value)
        return {};
    if (const std::string* text = value->string())
        return *text;
    if (const bool* flag = value->boolean())
        return *flag ? "YES" : "NO";
    if (const int64_t* number = value->integer())
        return std::to_string(*number);
    if (const double* real = value->real()) {
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "%g", *real);
        return buffer;
    }
    return {};
}

} // namespace

std::string PSTableCell::reuseIdentifierForCellType(int cellType)
{
    return "PSTableCell-" + std::to_string(cellType);
}

PSTableCell::PSTableCell(runtime::Construction construction, int style, std::string reuseIdentifier)
    : UITableViewCell(construction, style, std::move(reuseIdentifier))
{
}

void PSTableCell::refreshCellContents(const PSSpecifierRef& specifier, PSListController& pane)
{
    removeControl();
    _specifier = specifier;
    _pane = pane.selfAs<PSListController>();
    textLabel()->setText(specifier->name());
    std::optional<PlistValue> value = pane.readPreferenceValue(specifier);
    switch (specifier->cellType()) {
    case PSSwitchCell:
        setSelectionStyle(UITableViewCellSelectionStyleNone);
        installSwitch(value);
        break;
    case PSSliderCell:
        setSelectionStyle(UITableViewCellSelectionStyleNone);
        textLabel()->setText({});
        installSlider(value);
        break;
    case PSEditTextCell:
    case PSSecureEditTextCell:
    case PSEditTextViewCell:
        setSelectionStyle(UITableViewCellSelectionStyleNone);
        installTextField(value, specifier->cellType() == PSSecureEditTextCell);
        break;
    case PSLinkCell:
        setAccessoryType(UITableViewCellAccessoryDisclosureIndicator);
        break;
    case PSLinkListCell:
    case PSSegmentCell:
        setAccessoryType(UITableViewCellAccessoryDisclosureIndicator);
        if (detailTextLabel())
            detailTextLabel()->setText(value ? specifier->titleForValue(*value).value_or(textOf(value)) : std::string());
        break;
    case PSButtonCell:
        textLabel()->setTextColor(UIColor::colorWithRed(0.2, 0.31, 0.52, 1));
        break;
    case PSTitleValueCell:
        setSelectionStyle(UITableViewCellSelectionStyleNone);
        if (detailTextLabel())
            detailTextLabel()->setText(textOf(value));
        break;
    case PSStaticTextCell:
        setSelectionStyle(UITableViewCellSelectionStyleNone);
        break;
    default:
        break;
    }
    setNeedsLayout();
    layoutIfNeeded();
}

void PSTableCell::installSwitch(const std::optional<PlistValue>& value)
{
    auto toggle = std::make_shared<UISwitch>();
    toggle->setOn(value && value->boolValue().value_or(false));
    toggle->addTarget(self(), "switchChanged:", UIControlEventValueChanged);
    _control = toggle;
    setAccessoryView(toggle);
}

void PSTableCell::installSlider(const std::optional<PlistValue>& value)
{
    auto slider = std::make_shared<UISlider>(CGRectMake(0, 0, 100, UISlider::kDefaultHeight));
    slider->setMaximumValue(float(_specifier->numberProperty("max").value_or(1)));
    slider->setMinimumValue(float(_specifier->numberProperty("min").value_or(0)));
    slider->setValue(value ? value->floatValue().value_or(0) : 0);
    slider->addTarget(self(), "sliderChanged:", UIControlEventValueChanged);
    _control = slider;
    contentView()->addSubview(slider);
    showSliderValue();
}

void PSTableCell::installTextField(const std::optional<PlistValue>& value, bool secure)
{
    auto field = std::make_shared<UITextField>();
    field->setText(textOf(value));
    field->setPlaceholder(_specifier->placeholder());
    field->setSecureTextEntry(secure);
    field->setTextColor(UIColor::colorWithRed(56 / 255.0, 84 / 255.0, 135 / 255.0, 1));
    field->setAutocorrectionType(UITextAutocorrectionTypeNo);
    field->setAutocapitalizationType(UITextAutocapitalizationTypeNone);
    field->setReturnKeyType(UIReturnKeyDone);
    field->addTarget(self(), "textEnded:", UIControlEventEditingDidEnd);
    // Listening for the return key makes it end the editing.
    field->addTarget(self(), "textEnded:", UIControlEventEditingDidEndOnExit);
    _control = field;
    contentView()->addSubview(field);
}

void PSTableCell::removeControl()
{
    if (!_control)
        return;
    if (auto field = std::dynamic_pointer_cast<UITextField>(_control))
        field->removeTarget(self(), {}, UIControlEventAllEvents);
    if (_control == accessoryView())
        setAccessoryView(nullptr);
    _control->removeFromSuperview();
    _control.reset();
}

void PSTableCell::prepareForReuse()
{
    removeControl();
    _specifier.reset();
    UITableViewCell::prepareForReuse();
}

void PSTableCell::layoutSubviews()
{
    UITableViewCell::layoutSubviews();
    layoutControl();
}

void PSTableCell::layoutControl()
{
    if (!_control || _control == accessoryView())
        return;
    CGSize content = contentView()->bounds().size;
    if (std::dynamic_pointer_cast<UISlider>(_control)) {
        CGFloat valueWidth = _specifier && _specifier->boolProperty("showValue") ? 50 : 0;
        _control->setFrame(CGRectMake(10, (content.height - UISlider::kDefaultHeight) / 2,
            std::max<CGFloat>(0, content.width - 20 - valueWidth), UISlider::kDefaultHeight));
        if (detailTextLabel())
            detailTextLabel()->setFrame(CGRectMake(content.width - 10 - valueWidth, 0, valueWidth, content.height));
    } else {
        CGFloat left = _specifier && !_specifier->name().empty() ? std::floor(content.width * 0.4) : 10;
        _control->setFrame(CGRectMake(left, 11, std::max<CGFloat>(0, content.width - left - 10), 22));
        textLabel()->setFrame(CGRectMake(10, 0, std::max<CGFloat>(0, left - 15), content.height));
    }
}

void PSTableCell::showSliderValue()
{
    auto slider = std::dynamic_pointer_cast<UISlider>(_control);
    if (!slider || !detailTextLabel())
        return;
    if (!_specifier->boolProperty("showValue")) {
        detailTextLabel()->setText({});
        return;
    }
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.1f", double(slider->value()));
    detailTextLabel()->setText(buffer);
}

void PSTableCell::switchChanged(std::shared_ptr<UISwitch> sender)
{
    auto pane = _pane.lock();
    if (sender && pane && _specifier)
        pane->setPreferenceValue(PlistValue(sender->isOn()), _specifier);
}

// Each step of a drag stores the value and posts, as every host-drawn row does after its
// write, so that observers follow the finger (they coalesce what arrives together).
void PSTableCell::sliderChanged(std::shared_ptr<UISlider> sender)
{
    auto pane = _pane.lock();
    if (!sender || !pane || !_specifier)
        return;
    pane->setPreferenceValue(PlistValue(double(sender->value())), _specifier);
    showSliderValue();
}

// The text is stored when editing ends (the return key, a tap elsewhere, leaving the pane),
// and only when it differs from what is stored.
void PSTableCell::textEnded(std::shared_ptr<UITextField> sender)
{
    auto pane = _pane.lock();
    if (!sender || !pane || !_specifier)
        return;
    std::optional<PlistValue> stored = pane->readPreferenceValue(_specifier);
    if (stored && stored->string() && *stored->string() == sender->text())
        return;
    pane->setPreferenceValue(PlistValue(sender->text()), _specifier);
}
