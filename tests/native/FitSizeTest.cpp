#include "FitSize.h"
#include <gtest/gtest.h>

namespace {

struct FitCase {
    uint32_t shapeW, shapeH, boxW, boxH;
    uint32_t wantW, wantH;
};

class FitSizeTable : public ::testing::TestWithParam<FitCase> {};

TEST_P(FitSizeTable, GivesTheLargestFittingSize)
{
    const FitCase& c = GetParam();
    uint32_t w = 0xDEADBEEF, h = 0xDEADBEEF;
    FitSize(c.shapeW, c.shapeH, c.boxW, c.boxH, w, h);
    EXPECT_EQ(c.wantW, w);
    EXPECT_EQ(c.wantH, h);
}

INSTANTIATE_TEST_SUITE_P(Examples, FitSizeTable, ::testing::Values(
    // landscape photo in an upright box: the width limits
    FitCase{4000, 3000, 300, 400, 300, 225},
    // upright photo in a flat box: the height limits (H0 = 400 > 200)
    FitCase{3000, 4000, 300, 200, 150, 200},
    // the 48 x 48 blank picture in a cell-like box
    FitCase{48, 48, 300, 200, 200, 200},
    // width-limited height equal to the box height: the whole box
    FitCase{4, 3, 400, 300, 400, 300},
    // a small photo is enlarged until one side fills the box
    FitCase{10, 20, 100, 100, 50, 100},
    FitCase{20, 10, 100, 100, 100, 50},
    // truncation, never rounding: 2 * 299 / 3 = 199.33
    FitCase{3, 2, 299, 1000, 299, 199}));

TEST(FitSize, ProductsWrapToThirtyTwoBits)
{
    // 70000 * 70000 wraps modulo 2^32 to 605032704; the fit follows the wrapped value.
    uint32_t w = 0, h = 0;
    FitSize(70000, 70000, 70000, 100000, w, h);
    EXPECT_EQ(70000u, w);
    EXPECT_EQ(605032704u / 70000u, h);
}

} // namespace
