#include "CenterAlertPresenter.h"

#include "ui/UILabel.h"

#include <algorithm>

namespace {

constexpr CGFloat boxWidth = 280;
constexpr CGFloat rowHeight = 40;

UILabelRef label(std::string text, CGRect frame, UIFontRef font)
{
    auto label = std::make_shared<UILabel>(frame);
    label->setText(std::move(text));
    label->setFont(std::move(font));
    label->setTextColor(UIColor::whiteColor());
    label->setTextAlignment(UITextAlignmentCenter);
    return label;
}

} // namespace

UIViewRef CenterAlertPresenter::makeOverlay(const UIAlertView& alert) const
{
    auto window = _window.lock();
    CGRect screen = window ? window->bounds() : CGRectMake(0, 0, 320, 480);
    auto overlay = std::make_shared<UIView>(screen);
    overlay->setBackgroundColor(UIColor::colorWithWhite(0, 0.4));

    bool hasMessage = alert.message() && !alert.message()->empty();
    CGFloat height = 16 + rowHeight * ((hasMessage ? 2 : 1) + alert.numberOfButtons());
    auto box = std::make_shared<UIView>(CGRectMake((screen.size.width - boxWidth) / 2,
        (screen.size.height - height) / 2, boxWidth, height));
    box->setBackgroundColor(UIColor::colorWithRed(0.1, 0.16, 0.35, 0.95));
    box->layer()->setCornerRadius(10);
    overlay->addSubview(box);

    CGFloat y = 8;
    box->addSubview(label(alert.title(), CGRectMake(8, y, boxWidth - 16, rowHeight), UIFont::boldSystemFontOfSize(17)));
    y += rowHeight;
    if (hasMessage) {
        box->addSubview(label(*alert.message(), CGRectMake(8, y, boxWidth - 16, rowHeight), UIFont::systemFontOfSize(14)));
        y += rowHeight;
    }
    for (int index = 0; index < alert.numberOfButtons(); ++index, y += rowHeight) {
        auto button = label(alert.buttonTitleAtIndex(index), CGRectMake(16, y + 4, boxWidth - 32, rowHeight - 8),
            UIFont::boldSystemFontOfSize(16));
        button->setBackgroundColor(UIColor::colorWithWhite(1, 0.2));
        box->addSubview(button);
    }
    return overlay;
}

void CenterAlertPresenter::presentAlert(const UIAlertViewRef& alert)
{
    if (!alert)
        return;
    dismissAlert(alert); // shown again: it moves to the top
    UIViewRef overlay = makeOverlay(*alert);
    if (auto window = _window.lock())
        window->addSubview(overlay);
    _shown.push_back({ alert, overlay });
}

void CenterAlertPresenter::dismissAlert(const UIAlertViewRef& alert)
{
    auto it = std::find_if(_shown.begin(), _shown.end(), [&](const Shown& shown) { return shown.alert == alert; });
    if (it == _shown.end())
        return;
    it->overlay->removeFromSuperview();
    _shown.erase(it);
}

std::vector<UIAlertViewRef> CenterAlertPresenter::visibleAlerts() const
{
    std::vector<UIAlertViewRef> alerts;
    for (const Shown& shown : _shown)
        alerts.push_back(shown.alert);
    return alerts;
}

UIAlertViewRef CenterAlertPresenter::topAlert() const
{
    return _shown.empty() ? nullptr : _shown.back().alert;
}

bool CenterAlertPresenter::tapButton(int index)
{
    UIAlertViewRef alert = topAlert(); // kept alive through its delegate's call
    if (!alert || index < 0 || index >= alert->numberOfButtons())
        return false;
    alert->dismissWithClickedButtonIndex(index);
    return true;
}
