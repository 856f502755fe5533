#include "ContactSheet.h"

#include "ui/UIFont.h"
#include "ui/UIImageView.h"
#include "ui/UILabel.h"
#include "ui/UIWindow.h"

#include <cmath>

namespace gallery {

namespace {

constexpr int kColumns = 4;
constexpr CGFloat kScreenWidth = 320, kScreenHeight = 480;
constexpr CGFloat kMargin = 24, kGap = 24, kTitleHeight = 40, kCaptionHeight = 38;

UILabelRef label(const std::string& text, CGRect frame, UIFontRef font, UIColorRef color, const UIColorRef& paper)
{
    auto label = std::make_shared<UILabel>(frame);
    label->setText(text);
    label->setFont(std::move(font));
    label->setTextColor(std::move(color));
    label->setBackgroundColor(paper);
    return label;
}

} // namespace

CairoSurfacePtr drawContactSheet(const std::string& title, const std::vector<SheetEntry>& entries, double scale)
{
    int rows = int((entries.size() + kColumns - 1) / kColumns);
    CGFloat cellHeight = kScreenHeight + kCaptionHeight;
    CGFloat width = 2 * kMargin + kColumns * kScreenWidth + (kColumns - 1) * kGap;
    CGFloat height = 2 * kMargin + kTitleHeight + rows * cellHeight + std::max(0, rows - 1) * kGap;
    auto sheet = std::make_shared<UIWindow>(CGRectMake(0, 0, width, height));
    UIColorRef paper = UIColor::colorWithWhite(0.9, 1);
    sheet->setBackgroundColor(paper);
    sheet->addSubview(label(title, CGRectMake(kMargin, kMargin, width - 2 * kMargin, 28), UIFont::boldSystemFontOfSize(22),
        UIColor::blackColor(), paper));

    for (size_t i = 0; i < entries.size(); ++i) {
        CGFloat x = kMargin + CGFloat(i % kColumns) * (kScreenWidth + kGap);
        CGFloat y = kMargin + kTitleHeight + CGFloat(i / kColumns) * (cellHeight + kGap);
        auto frame = std::make_shared<UIView>(CGRectMake(x - 1, y - 1, kScreenWidth + 2, kScreenHeight + 2));
        frame->setBackgroundColor(UIColor::colorWithWhite(0.55, 1));
        sheet->addSubview(frame);
        auto picture = std::make_shared<UIImageView>(CGRectMake(x, y, kScreenWidth, kScreenHeight));
        if (entries[i].picture)
            picture->setImage(std::make_shared<UIImage>(entries[i].picture, scale));
        sheet->addSubview(picture);
        CGFloat below = y + kScreenHeight + 4;
        sheet->addSubview(label(entries[i].name, CGRectMake(x, below, kScreenWidth, 16), UIFont::boldSystemFontOfSize(13),
            UIColor::blackColor(), paper));
        auto caption = label(entries[i].caption, CGRectMake(x, below + 17, kScreenWidth, 16), UIFont::systemFontOfSize(11),
            UIColor::colorWithWhite(0.25, 1), paper);
        caption->setNumberOfLines(0);
        sheet->addSubview(caption);
    }
    return sheet->renderImage(scale);
}

} // namespace gallery
