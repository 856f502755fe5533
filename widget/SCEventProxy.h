#pragma once

// The low-level event record a synthetic touch event is made from. The platform reads it at
// fixed offsets, so it is a plain standard-layout struct of exactly 128 bytes, never a
// class with a vtable: the first word is the 4-byte class-pointer slot of the phone's
// 32-bit object layout, which nothing here reads and which stays zero.

#include <cstddef>
#include <cstdint>
#include <type_traits>

struct SCEventProxy {
    uint32_t isa;
    uint32_t flags;
    uint32_t type;
    uint32_t ignored1;
    float x1;
    float y1;
    float x2;
    float y2;
    uint32_t ignored2[10];
    uint32_t ignored3[7];
    float sizeX;
    float sizeY;
    float x3;
    float y3;
    uint32_t ignored4[3];

    static constexpr uint32_t kTouchType = 3001;
    static constexpr uint32_t kFlagsEnded = 0x01010180;
    static constexpr uint32_t kFlagsOther = 0x03010180;
};

static_assert(std::is_standard_layout_v<SCEventProxy> && std::is_trivially_copyable_v<SCEventProxy>);
static_assert(sizeof(SCEventProxy) == 128);
static_assert(offsetof(SCEventProxy, isa) == 0);
static_assert(offsetof(SCEventProxy, flags) == 4);
static_assert(offsetof(SCEventProxy, type) == 8);
static_assert(offsetof(SCEventProxy, ignored1) == 12);
static_assert(offsetof(SCEventProxy, x1) == 16);
static_assert(offsetof(SCEventProxy, y1) == 20);
static_assert(offsetof(SCEventProxy, x2) == 24);
static_assert(offsetof(SCEventProxy, y2) == 28);
static_assert(offsetof(SCEventProxy, ignored2) == 32);
static_assert(offsetof(SCEventProxy, ignored3) == 72);
static_assert(offsetof(SCEventProxy, sizeX) == 100);
static_assert(offsetof(SCEventProxy, sizeY) == 104);
static_assert(offsetof(SCEventProxy, x3) == 108);
static_assert(offsetof(SCEventProxy, y3) == 112);
static_assert(offsetof(SCEventProxy, ignored4) == 116);
