#include "CenterAlertPresenter.h"

#include "ui/UIModalOverlay.h"

#include <algorithm>

// The platform draws the alert; the Center only puts it over its window.
UIViewRef CenterAlertPresenter::makeOverlay(const UIAlertViewRef& alert) const
{
    auto window = _window.lock();
    return UIModalOverlay::overlayForAlert(alert, window ? window->bounds() : CGRectMake(0, 0, 320, 480));
}

void CenterAlertPresenter::presentAlert(const UIAlertViewRef& alert)
{
    if (!alert)
        return;
    dismissAlert(alert); // shown again: it moves to the top
    UIViewRef overlay = makeOverlay(alert);
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
