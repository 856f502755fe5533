// The label and font pane's cells and the controls they carry.

#include "RVXFontController.h"

#include "shared/RVXSettings.h"

#include "ui/UIFont.h"
#include "ui/UIImageView.h"

namespace {

using namespace RVXSettings::Keys;

constexpr const char* kCellIdentifier = "Cell";
constexpr CGFloat kFontSize = 17;
constexpr const char* kTilesImage = "/Library/PreferenceBundles/ruvexcfPrefs.bundle/TilesPreview.png";
constexpr CGRect kSwatchFrame { { 0, 0 }, { 80, 30 } };
constexpr CGFloat kSwatchCornerRadius = 6;

enum Section : int { LabelSection = 0, FontSection = 1, SizeSection = 2 };
enum FontRow : int { ColorRow = 0, FamilyRow = 1, StyleRow = 2 };

bool isPaneControl(const UIView& view)
{
    return view.tag() == RVXFontController::kLabelFieldTag || view.isKindOfClass(UISlider::classObject());
}

// Every row starts without the label field and the slider: the cell may have shown the
// Label or the Size row before, and only those rows add them back.
void removePaneControls(const UITableViewCellRef& cell)
{
    auto subviews = cell->contentView()->subviews();
    for (const auto& view : subviews) {
        if (isPaneControl(*view))
            view->removeFromSuperview();
    }
}

void setDetail(const UITableViewCellRef& cell, std::string text, UIFontRef font = nullptr)
{
    if (const auto& detail = cell->detailTextLabel()) {
        detail->setText(std::move(text));
        detail->setFont(std::move(font));
    }
}

UIViewRef makeSwatch(UIColorRef color)
{
    auto swatch = std::make_shared<UIView>(kSwatchFrame);
    swatch->setBackgroundColor(std::move(color));
    swatch->layer()->setCornerRadius(kSwatchCornerRadius);
    swatch->layer()->setBorderColor(UIColor::blackColor()->CGColor());
    swatch->layer()->setBorderWidth(0.75);
    return swatch;
}

// The tiles show through a colour that is not opaque.
UIViewRef makeTilesBackdrop(const UIViewRef& swatch)
{
    auto backdrop = std::make_shared<UIImageView>(swatch->frame());
    backdrop->setImage(UIImage::imageWithContentsOfFile(kTilesImage));
    backdrop->layer()->setCornerRadius(kSwatchCornerRadius);
    backdrop->layer()->setMasksToBounds(true);
    backdrop->addSubview(swatch);
    return backdrop;
}

UIColorRef colorFromText(std::string_view text)
{
    auto color = RVXSettings::textColorOrWhite(text);
    return UIColor::colorWithHue(color.hue, color.saturation, color.brightness, color.alpha);
}

} // namespace

UITableViewCellRef RVXFontController::cellForRowAtIndexPath(const UITableViewRef& tableView, const NSIndexPathRef& indexPath)
{
    auto cell = tableView->dequeueReusableCellWithIdentifier(kCellIdentifier);
    if (!cell)
        cell = UITableViewCell::initWithStyle(UITableViewCellStyleValue1, kCellIdentifier);
    removePaneControls(cell);
    cell->setAccessoryView(nullptr);

    auto settings = RVXSettings::read();
    int section = indexPath->section();
    int row = indexPath->row();
    if (section == LabelSection)
        configureLabelSection(cell, row);
    else if (section == FontSection && row == ColorRow)
        configureColorRow(cell, settings);
    else if (section == FontSection && row == FamilyRow)
        configureFamilyRow(cell, settings);
    else if (section == FontSection)
        configureStyleRow(cell, settings);
    else
        configureSizeRow(cell, settings);
    return cell;
}

void RVXFontController::configureLabelSection(const UITableViewCellRef& cell, int row)
{
    setDetail(cell, "");
    cell->setSelectionStyle(UITableViewCellSelectionStyleNone);
    cell->setAccessoryType(UITableViewCellAccessoryNone);
    if (row == 0)
        cell->textLabel()->setText("Label");
}

void RVXFontController::configureColorRow(const UITableViewCellRef& cell, const NSDictionary& settings)
{
    cell->textLabel()->setText("Font Color");
    cell->setSelectionStyle(UITableViewCellSelectionStyleBlue);
    auto text = RVXSettings::stringFor(settings, TextColor.name);
    if (text && *text != "default")
        cell->setAccessoryView(makeTilesBackdrop(makeSwatch(colorFromText(*text))));
    else
        cell->setAccessoryView(makeSwatch(UIColor::whiteColor()));
    setDetail(cell, "");
    cell->setAccessoryType(UITableViewCellAccessoryNone);
}

void RVXFontController::configureFamilyRow(const UITableViewCellRef& cell, const NSDictionary& settings)
{
    cell->textLabel()->setText("Font Family");
    cell->setSelectionStyle(UITableViewCellSelectionStyleBlue);
    cell->setAccessoryType(UITableViewCellAccessoryDisclosureIndicator);
    // "Family" is missing only when the file could not be written; the row then shows none.
    auto family = RVXSettings::stringFor(settings, Family.name);
    setDetail(cell, family.value_or(""), family ? UIFont::fontWithName(*family, kFontSize) : nullptr);
}

void RVXFontController::configureStyleRow(const UITableViewCellRef& cell, const NSDictionary& settings)
{
    cell->textLabel()->setText("Font Style");
    cell->setSelectionStyle(UITableViewCellSelectionStyleBlue);
    cell->setAccessoryType(UITableViewCellAccessoryDisclosureIndicator);
    if (auto style = RVXSettings::stringFor(settings, Style.name)) {
        setDetail(cell, *style, UIFont::fontWithName(*style, kFontSize));
        return;
    }
    auto family = RVXSettings::stringFor(settings, Family.name);
    setDetail(cell, "Default", family ? UIFont::fontWithName(*family, kFontSize) : nullptr);
}

void RVXFontController::configureSizeRow(const UITableViewCellRef& cell, const NSDictionary& settings)
{
    cell->setSelectionStyle(UITableViewCellSelectionStyleNone);
    cell->setAccessoryType(UITableViewCellAccessoryNone);
    int size = RVXSettings::intFor(settings, Size.name, int(Size.fallback));
    setDetail(cell, std::to_string(size));
}

void RVXFontController::willDisplayCell(const UITableViewRef&, const UITableViewCellRef& cell, const NSIndexPathRef& indexPath)
{
    int section = indexPath->section();
    if (section == LabelSection && indexPath->row() == 0)
        addLabelField(cell);
    else if (section >= SizeSection)
        addSizeSlider(cell);
}

void RVXFontController::addLabelField(const UITableViewCellRef& cell)
{
    removePaneControls(cell);
    const auto& content = cell->contentView();
    CGFloat width = content->frame().size.width;
    auto field = std::make_shared<UITextField>(CGRect { { width - 185, 12 }, { 176, 21 } });
    auto settings = RVXSettings::read();
    field->setText(RVXSettings::stringFor(settings, Label.name, RVXSettings::labelPaneDefault));
    field->setBackgroundColor(UIColor::clearColor());
    field->setFont(UIFont::fontWithName("Helvetica", kFontSize));
    field->setTextColor(UIColor::colorWithRed(73 / 255.0, 106 / 255.0, 151 / 255.0, 1));
    field->setTextAlignment(UITextAlignmentRight);
    field->setAutocorrectionType(UITextAutocorrectionTypeNo);
    field->setAutocapitalizationType(UITextAutocapitalizationTypeNone);
    field->setReturnKeyType(UIReturnKeyDone);
    field->addTarget(self(), "savefield:", UIControlEventEditingChanged);
    field->addTarget(self(), "resign:", UIControlEventEditingDidEndOnExit);
    field->setTag(kLabelFieldTag);
    content->addSubview(field);
}

void RVXFontController::addSizeSlider(const UITableViewCellRef& cell)
{
    removePaneControls(cell);
    const auto& content = cell->contentView();
    CGFloat width = content->frame().size.width;
    auto slider = std::make_shared<UISlider>(CGRect { { 12, 0 }, { width - 45, 20 } });
    slider->setMaximumValue(50);
    slider->setMinimumValue(10);
    slider->setValue(RVXSettings::floatFor(RVXSettings::read(), Size.name, Size.fallback));
    slider->setCenter({ slider->center().x, content->center().y });
    slider->addTarget(self(), "slide:", UIControlEventValueChanged);
    slider->addTarget(self(), "post", UIControlEventTouchUpInside);
    slider->addTarget(self(), "post", UIControlEventTouchUpOutside);
    // A drag cancelled (the Home button mid-drag) has stored its steps too: the widget hears it.
    slider->addTarget(self(), "post", UIControlEventTouchCancel);
    content->addSubview(slider);
}
