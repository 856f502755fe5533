// A touch event read from a low-level event record: 128 bytes, shorter inputs padded with
// zeros. Bytes past the record choose the touches handed along (none, one, repeats, a
// touch without a window). The event reads the record's fields where they lie and keeps
// each touch once.

#include "FuzzCheck.h"

#include "ui/UIEvent.h"
#include "ui/UITouch.h"
#include "ui/UIWindow.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

namespace {

uint32_t wordAt(const std::array<uint8_t, event_record::kSize>& record, size_t offset)
{
    uint32_t value;
    std::memcpy(&value, record.data() + offset, sizeof value);
    return value;
}

uint32_t bitsOf(float value)
{
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

UITouchSet touchesFrom(const uint8_t* choice, size_t count, const UIWindowRef& window)
{
    std::array<UITouchRef, 3> pool { std::make_shared<UITouch>(), std::make_shared<UITouch>(), std::make_shared<UITouch>() };
    pool[0]->_window = window;
    pool[1]->_window = window;
    UITouchSet touches;
    for (size_t i = 0; i < count && i < 16; ++i)
        touches.push_back(choice[i] % 4 == 3 ? nullptr : pool[choice[i] % 4]);
    return touches;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::array<uint8_t, event_record::kSize> record {};
    std::memcpy(record.data(), data, std::min(size, record.size()));
    auto window = std::make_shared<UIWindow>();
    size_t extra = size > record.size() ? size - record.size() : 0;
    UITouchSet touches = touchesFrom(data + record.size() * (extra > 0), extra, window);

    auto event = UITouchesEvent::_initWithEvent(record.data(), touches);
    RVX_FUZZ_CHECK(event);
    RVX_FUZZ_CHECK(event->recordFlags() == wordAt(record, event_record::kFlags));
    RVX_FUZZ_CHECK(event->recordType() == wordAt(record, event_record::kType));
    RVX_FUZZ_CHECK(bitsOf(float(event->recordLocation().x)) == wordAt(record, event_record::kX));
    RVX_FUZZ_CHECK(bitsOf(float(event->recordLocation().y)) == wordAt(record, event_record::kY));

    UITouchSet all = event->allTouches();
    for (size_t i = 0; i < all.size(); ++i) {
        RVX_FUZZ_CHECK(all[i]);
        RVX_FUZZ_CHECK(std::count(all.begin(), all.end(), all[i]) == 1);
        (void)all[i]->locationInView(nullptr);
    }
    RVX_FUZZ_CHECK(event->touchesForWindow(window.get()).size() <= all.size());
    return 0;
}
