#pragma once

// The phone's graphics scalar: 32-bit on the devices this system runs on.
using CGFloat = float;
