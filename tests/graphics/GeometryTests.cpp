#include "graphics/CGGeometry.h"

#include <gtest/gtest.h>

TEST(Geometry, ContainsPointIsHalfOpen)
{
    CGRect r = CGRectMake(10, 20, 30, 40);
    EXPECT_TRUE(CGRectContainsPoint(r, {10, 20}));
    EXPECT_TRUE(CGRectContainsPoint(r, {39.99f, 59.99f}));
    EXPECT_FALSE(CGRectContainsPoint(r, {40, 30}));
    EXPECT_FALSE(CGRectContainsPoint(r, {20, 60}));
    EXPECT_FALSE(CGRectContainsPoint(r, {9.99f, 30}));
    EXPECT_FALSE(CGRectContainsPoint(CGRectZero, {0, 0}));
    // A negative size spans the same rectangle.
    EXPECT_TRUE(CGRectContainsPoint(CGRectMake(40, 60, -30, -40), {10, 20}));
}

TEST(Geometry, InsetAndEdges)
{
    CGRect r = CGRectInset(CGRectMake(0, 0, 316, 35), 2, 0);
    EXPECT_EQ(r, CGRectMake(2, 0, 312, 35));
    EXPECT_EQ(CGRectInset(CGRectMake(0, 0, 10, 10), -5, -5), CGRectMake(-5, -5, 20, 20));
    EXPECT_TRUE(CGRectIsEmpty(CGRectInset(CGRectMake(0, 0, 10, 10), 6, 0)));
    EXPECT_FLOAT_EQ(CGRectGetMidX(r), 158);
    EXPECT_FLOAT_EQ(CGRectGetMaxX(r), 314);
    EXPECT_FLOAT_EQ(CGRectGetMidY(r), 17.5f);
    EXPECT_FLOAT_EQ(CGRectGetMinX(CGRectMake(5, 0, -5, 1)), 0);
    EXPECT_EQ(CGRectIntersection(CGRectMake(0, 0, 10, 10), CGRectMake(5, 5, 10, 10)), CGRectMake(5, 5, 5, 5));
    EXPECT_TRUE(CGRectIsEmpty(CGRectIntersection(CGRectMake(0, 0, 1, 1), CGRectMake(5, 5, 1, 1))));
}
