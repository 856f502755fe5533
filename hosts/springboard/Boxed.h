#pragma once

#include "foundation/PlistValue.h"

// A property-list value as an object result of a selector. Copied from a named value:
// GCC 12 reports moves of a temporary variant here as maybe-uninitialised.
inline id boxed(const PlistValue& value)
{
    return std::make_shared<PlistObject>(value);
}
