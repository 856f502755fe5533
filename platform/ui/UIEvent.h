#pragma once

// Events, and the touch event made from a low-level event record.

#include "graphics/CGGeometry.h"
#include "runtime/NSObject.h"
#include "ui/UIKitTypes.h"

#include <array>
#include <cstdint>

class UIEvent : public NSObject {
    RVX_OBJECT(UIEvent)
public:
    virtual UITouchSet allTouches() const { return {}; }
    double timestamp() const { return _timestamp; }

protected:
    double _timestamp = 0;
};

// The low-level event record a touch event is read from: 128 bytes, little endian, with
// fields at fixed offsets. Offsets of the fields this platform reads:
namespace event_record {
inline constexpr size_t kSize = 128;
inline constexpr size_t kFlags = 4;  // u32
inline constexpr size_t kType = 8;   // u32
inline constexpr size_t kX = 16;     // f32
inline constexpr size_t kY = 20;     // f32
inline constexpr uint32_t kTouchType = 3001;
} // namespace event_record

class UITouchesEvent : public UIEvent {
    RVX_OBJECT(UITouchesEvent)
public:
    // Reads the record's flags, type and location; a record of another type still makes
    // an event, and no record leaves them zero. The touches are kept in their order, each once.
    static std::shared_ptr<UITouchesEvent> _initWithEvent(const void* record, const UITouchSet& touches);

    UITouchSet allTouches() const override { return _touches; }
    UITouchSet touchesForView(const UIView* view) const;
    UITouchSet touchesForWindow(const UIWindow* window) const;

    uint32_t recordFlags() const { return _flags; }
    uint32_t recordType() const { return _type; }
    CGPoint recordLocation() const { return _location; }

private:
    UITouchSet _touches;
    uint32_t _flags = 0;
    uint32_t _type = 0;
    CGPoint _location {};
};
