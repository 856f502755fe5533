#include "QuickAlert.h"

#include "RVXPrefsExports.h"

#include "foundation/NSString.h"
#include "foundation/NSURL.h"
#include "ui/UIAlertView.h"

#include <cmath>

namespace NSObject_QuickAlert {

namespace {

std::string numberText(double number)
{
    if (std::isfinite(number) && number == std::trunc(number) && std::fabs(number) < 1e15)
        return NSString::format("%lld", static_cast<long long>(number));
    return NSString::format("%.17g", number);
}

std::string valueText(const PlistValue& value)
{
    if (auto* text = value.string())
        return *text;
    if (auto* integer = value.integer())
        return NSString::format("%lld", static_cast<long long>(*integer));
    if (auto* real = value.real())
        return numberText(*real);
    if (auto* boolean = value.boolean())
        return *boolean ? "1" : "0";
    return "<PlistValue>";
}

void show(std::string message)
{
    auto alert = UIAlertView::initWithTitle(titleString, std::move(message), nullptr, "OK");
    alert->show();
    titleString.clear();
}

// quickAlertWithObject:withObject: by name carries its two objects as a property-list array
// of two, since a selector sent by name takes one argument here.
void quickAlertWithPair(NSObject& receiver, const id& pair)
{
    auto values = std::dynamic_pointer_cast<PlistObject>(pair);
    const NSArray* items = values ? values->value().array() : nullptr;
    if (!items || items->count() != 2) {
        quickAlertWithObject(receiver, pair, nullptr);
        return;
    }
    show(valueText(items->objectAtIndex(0)) + "\n" + valueText(items->objectAtIndex(1)));
}

[[maybe_unused]] const bool installed = [] {
    NSObject::classObject();
    Class& cls = runtime::registerClass("NSObject", nullptr, nullptr);
    cls.addMethod("setQuickQlertTitle:", [](NSObject& self, const id& title) -> id {
        setQuickQlertTitle(self, title);
        return nullptr;
    });
    cls.addMethod("quickAlert:", [](NSObject& self, const id& message) -> id {
        quickAlert(self, message);
        return nullptr;
    });
    cls.addMethod("quickAlertWithObject:withObject:", [](NSObject& self, const id& pair) -> id {
        quickAlertWithPair(self, pair);
        return nullptr;
    });
    return true;
}();

} // namespace

std::string description(const id& object)
{
    if (!object)
        return "(null)";
    if (auto value = std::dynamic_pointer_cast<PlistObject>(object))
        return valueText(value->value());
    if (auto url = std::dynamic_pointer_cast<NSURL>(object))
        return url->absoluteString();
    return "<" + object->className() + ">";
}

void setQuickQlertTitle(NSObject&, const id& title)
{
    titleString = description(title);
}

void quickAlert(NSObject&, const id& message)
{
    show(description(message));
}

void quickAlertWithObject(NSObject&, const id& first, const id& second)
{
    show(description(first) + "\n" + description(second));
}

} // namespace NSObject_QuickAlert
