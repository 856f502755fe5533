#pragma once

#include "foundation/NSAssertionHandler.h"

#include <gtest/gtest.h>

#include <string>

// The reason of the assertion a call raises, after checking that it came from the toolkit.
template<typename Call>
std::string toolkitFailure(Call call)
{
    try {
        call();
    } catch (const NSInternalInconsistencyException& failure) {
        EXPECT_EQ(failure.file(), "UIColor-Toolkit");
        return failure.reason();
    }
    return "(no failure)";
}
