#include "DragGeometry.h"
#include <gtest/gtest.h>
#include <cstdint>
#include <limits>
#include <ostream>

static bool operator==(const DragRect& a, const DragRect& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

static std::ostream& operator<<(std::ostream& os, const DragRect& r)
{
    return os << "(" << r.left << "," << r.top << "," << r.right << "," << r.bottom << ")";
}

namespace {

struct DragCase {
    int32_t startX, startY, pointerX, pointerY;
    DragRect frame;
};

class DragFrameTable : public ::testing::TestWithParam<DragCase> {};

TEST_P(DragFrameTable, HoldsTheFrameToTheLProportions)
{
    const DragCase& c = GetParam();
    EXPECT_EQ(c.frame, DragFrame(c.startX, c.startY, c.pointerX, c.pointerY));
}

INSTANTIATE_TEST_SUITE_P(Examples, DragFrameTable, ::testing::Values(
    // 127 x 1 dragged: landscape, the height becomes 127 * 89 / 127
    DragCase{10, 10, 137, 11, {10, 10, 137, 99}},
    // a square counts as upright: the width becomes 100 * 89 / 127 = 70
    DragCase{10, 10, 110, 110, {10, 10, 80, 110}},
    // 1 x 1: upright, the width truncates to 0 and the frame is empty
    DragCase{10, 10, 11, 11, {10, 10, 10, 11}},
    // the derived side may end short of the pointer or beyond it
    DragCase{0, 0, 200, 50, {0, 0, 200, 140}},
    DragCase{0, 0, 50, 300, {0, 0, 210, 300}}));

TEST(ConstrainAspect, KeepsTheLongerSideAndTheCorner)
{
    EXPECT_EQ((DragRect{5, 7, 132, 96}), ConstrainAspect({5, 7, 132, 8}, 127, 89));
    EXPECT_EQ((DragRect{5, 7, 94, 134}), ConstrainAspect({5, 7, 6, 134}, 89, 127));
}

TEST(ConstrainAspect, WrapsLikeUnsignedArithmetic)
{
    const int32_t kMax = std::numeric_limits<int32_t>::max(), kMin = std::numeric_limits<int32_t>::min();
    // 2^30 * 89 wraps to 2^30 * 89 - 22 * 2^32 = 1073741824; / 127 = 8454660.
    EXPECT_EQ((DragRect{0, 0, 0x40000000, 8454660}), ConstrainAspect({0, 0, 0x40000000, 1}, 127, 89));
    // Differences beyond the int range are unsigned too: 2^31 - 1 - (-2) is
    // 2147483649, times 89 wraps to 2147483737, / 127 = 16909320.
    EXPECT_EQ((DragRect{-2, 0, kMax, 16909320}), ConstrainAspect({-2, 0, kMax, 0}, 127, 89));
    // The widest drag: 2^32 - 1 wide; times 89 wraps to 2^32 - 89, / 127 = 33818639.
    EXPECT_EQ((DragRect{kMin, 0, kMax, 33818639}), DragFrame(kMin, 0, kMax, 1));
}

struct ScaleCase {
    DragRect in;
    float scale;
    DragRect out;
};

class ScaleRectTable : public ::testing::TestWithParam<ScaleCase> {};

TEST_P(ScaleRectTable, TruncatesTowardZero)
{
    const ScaleCase& c = GetParam();
    EXPECT_EQ(c.out, ScaleRect(c.in, c.scale));
}

INSTANTIATE_TEST_SUITE_P(Examples, ScaleRectTable, ::testing::Values(
    ScaleCase{{10, 10, 137, 99}, 1.0f, {10, 10, 137, 99}},
    // 4000 / 300 as a float is just under 13.3333: 99 times it is 1319.99997
    ScaleCase{{10, 10, 137, 99}, 4000.0f / 300.0f, {133, 133, 1826, 1319}},
    // 2.5 exactly: halves are cut, not rounded
    ScaleCase{{1, 3, 5, 7}, 2.5f, {2, 7, 12, 17}},
    // negative coordinates truncate toward zero, not down
    ScaleCase{{-3, -1, 1, 1}, 1.5f, {-4, -1, 1, 1}},
    ScaleCase{{0, 0, 0, 0}, 7.0f, {0, 0, 0, 0}}));

TEST(ScaleRect, ProductsBeyondTheIntRangeStopAtItsEnds)
{
    const int32_t kMax = std::numeric_limits<int32_t>::max(), kMin = std::numeric_limits<int32_t>::min();
    EXPECT_EQ((DragRect{kMax, kMin, 2, kMax}), ScaleRect({1500000000, -1500000000, 1, kMax}, 2.0f));
    // A scale that is not a number (a fit with a zero side) gives an empty range.
    EXPECT_EQ((DragRect{0, 0, 0, 0}), ScaleRect({10, 10, 137, 99}, std::numeric_limits<float>::quiet_NaN()));
}

TEST(ScaleRect, UsesTheFloatScaleNotItsDecimalValue)
{
    // 1/3 as a float is 0.3333333432674407958984375: 3 * that is just over 1.
    EXPECT_EQ(1, ScaleRect({3, 3, 3, 3}, 1.0f / 3.0f).left);
    // 0.1f is just over 0.1 as well; 0.7f is just under 0.7.
    EXPECT_EQ(6, ScaleRect({10, 10, 10, 10}, 0.7f).left);
}

} // namespace
