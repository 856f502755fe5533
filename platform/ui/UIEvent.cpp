#include "ui/UIEvent.h"

#include "ui/UITouch.h"
#include "ui/UIWindow.h"

#include <algorithm>
#include <bit>
#include <cstring>

RVX_DEFINE_CLASS(UIEvent, NSObject)
RVX_DEFINE_CLASS(UITouchesEvent, UIEvent)

namespace {

static_assert(std::endian::native == std::endian::little, "event records are read in native order");

// Fields are copied out byte-wise: the record is a foreign layout, never cast to a struct.
template<typename T>
T readField(const void* record, size_t offset)
{
    T value;
    std::memcpy(&value, static_cast<const unsigned char*>(record) + offset, sizeof value);
    return value;
}

} // namespace

std::shared_ptr<UITouchesEvent> UITouchesEvent::_initWithEvent(const void* record, const UITouchSet& touches)
{
    auto event = runtime::make<UITouchesEvent>();
    for (const UITouchRef& touch : touches) {
        if (touch && std::find(event->_touches.begin(), event->_touches.end(), touch) == event->_touches.end())
            event->_touches.push_back(touch);
    }
    if (record) {
        event->_flags = readField<uint32_t>(record, event_record::kFlags);
        event->_type = readField<uint32_t>(record, event_record::kType);
        event->_location = {readField<float>(record, event_record::kX), readField<float>(record, event_record::kY)};
    }
    if (!event->_touches.empty())
        event->_timestamp = event->_touches.front()->_timestamp;
    return event;
}

UITouchSet UITouchesEvent::touchesForView(const UIView* view) const
{
    UITouchSet found;
    for (const UITouchRef& touch : _touches) {
        if (touch->_view.get() == view)
            found.push_back(touch);
    }
    return found;
}

UITouchSet UITouchesEvent::touchesForWindow(const UIWindow* window) const
{
    UITouchSet found;
    for (const UITouchRef& touch : _touches) {
        if (touch->_window.get() == window)
            found.push_back(touch);
    }
    return found;
}
