#pragma once

// A Result as an assertion that names the reason when it failed, or the failure expected:
//
//     ASSERT_TRUE(succeeded(host().tapRowNamed("Size")));
//     EXPECT_TRUE(failedSaying(host().typeText("x"), "at most 1024"));

#include "foundation/Result.h"

#include <gtest/gtest.h>

#include <string_view>

template<typename T>
testing::AssertionResult succeeded(const Result<T>& result)
{
    if (result)
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << result.error();
}

template<typename T>
testing::AssertionResult failedSaying(const Result<T>& result, std::string_view words)
{
    if (result)
        return testing::AssertionFailure() << "it succeeded";
    if (result.error().find(words) == std::string::npos)
        return testing::AssertionFailure() << "the reason does not say \"" << words << "\": " << result.error();
    return testing::AssertionSuccess();
}
