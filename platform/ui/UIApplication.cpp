#include "ui/UIApplication.h"

#include <algorithm>
#include <cctype>

RVX_DEFINE_CLASS(FrontMostApplication, NSObject)
RVX_DEFINE_CLASS(UIApplication, UIResponder,
    cls.addClassMethod("sharedApplication", [](const id&) -> id { return UIApplication::sharedApplication(); }))

namespace {

std::string lowercase(std::string_view text)
{
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return out;
}

} // namespace

std::shared_ptr<UIApplication> UIApplication::sharedApplication()
{
    static auto* shared = new std::shared_ptr<UIApplication>(runtime::make<UIApplication>());
    return *shared;
}

bool UIApplication::canOpenURL(const std::shared_ptr<NSURL>& url) const
{
    if (!url || url->scheme().empty())
        return false;
    std::string scheme = lowercase(url->scheme());
    if (scheme == "http" || scheme == "https")
        return true;
    if (!_schemes)
        return false;
    for (const std::string& declared : _schemes()) {
        if (lowercase(declared) == scheme)
            return true;
    }
    return false;
}

bool UIApplication::openURL(const std::shared_ptr<NSURL>& url)
{
    if (!canOpenURL(url))
        return false;
    _opened.push_back(url->absoluteString());
    if (_openedHook)
        _openedHook(_opened.back());
    return true;
}

std::shared_ptr<FrontMostApplication> UIApplication::_accessibilityFrontMostApplication() const
{
    return _frontMost ? _frontMost() : nullptr;
}
