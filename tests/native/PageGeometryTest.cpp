#include "PageGeometry.h"
#include "PrintReport.h"
#include <gtest/gtest.h>
#include <cmath>
#include <cstring>
#include <limits>

namespace {

TEST(LPageGeometry, WidthConstantIsTheFloatNearestTo89Over25Point4)
{
    uint32_t bits = 0;
    std::memcpy(&bits, &kLWidthInches, sizeof bits);
    EXPECT_EQ(0x40604081u, bits);
    EXPECT_EQ(5.0f, kLHeightInches);
}

struct PageCase {
    float dpiX, dpiY;
    uint32_t wantW, wantH;
};

class LPageSizeTable : public ::testing::TestWithParam<PageCase> {};

TEST_P(LPageSizeTable, TruncatesTheDoubleProduct)
{
    const PageCase& c = GetParam();
    uint32_t w = 0xDEADBEEF, h = 0xDEADBEEF;
    LPageSize(c.dpiX, c.dpiY, w, h);
    EXPECT_EQ(c.wantW, w);
    EXPECT_EQ(c.wantH, h);
}

INSTANTIATE_TEST_SUITE_P(Resolutions, LPageSizeTable, ::testing::Values(
    PageCase{300, 300, 1051, 1500},
    PageCase{360, 360, 1261, 1800},
    PageCase{600, 600, 2102, 3000},
    PageCase{720, 720, 2522, 3600},
    PageCase{1200, 1200, 4204, 6000},
    // each side follows its own resolution
    PageCase{600, 300, 2102, 1500},
    PageCase{150, 1200, 525, 6000},
    // 72 * 3.503937f = 252.28: truncated, and 71.9 * 5 = 359.5 is not rounded up
    PageCase{72, 71.9f, 252, 359},
    // so low that the area has no pixels
    PageCase{0.2f, 0.1f, 0, 0},
    PageCase{0, 0, 0, 0},
    PageCase{-300, -300, 0, 0},
    // one side empty, the other not
    PageCase{0, 300, 0, 1500}));

TEST(LPageGeometry, FormsTheProductInDoubleNotFloat)
{
    // Find a resolution whose product, rounded to float, crosses an integer
    // that the double product stays below: there the two truncate differently.
    float dpi = 0;
    for (float d = 1.0f; d < 100000.0f; d += 0.1f) {
        double exact = static_cast<double>(d) * static_cast<double>(kLWidthInches);
        float single = d * kLWidthInches;
        if (std::floor(exact) != std::floor(static_cast<double>(single))) {
            dpi = d;
            break;
        }
    }
    ASSERT_NE(0.0f, dpi) << "no resolution separates float from double";
    uint32_t w = 0, h = 0;
    LPageSize(dpi, dpi, w, h);
    EXPECT_EQ(static_cast<uint32_t>(static_cast<double>(dpi) * static_cast<double>(kLWidthInches)), w);
}

TEST(LPageGeometry, NotANumberGivesAnEmptyArea)
{
    uint32_t w = 1, h = 1;
    float nan = std::numeric_limits<float>::quiet_NaN();
    LPageSize(nan, nan, w, h);
    EXPECT_EQ(0u, w);
    EXPECT_EQ(0u, h);
}

TEST(LPageGeometry, HugeResolutionStaysASignedDrawingSize)
{
    uint32_t w = 0, h = 0;
    LPageSize(1e30f, std::numeric_limits<float>::infinity(), w, h);
    EXPECT_EQ(static_cast<uint32_t>(std::numeric_limits<int32_t>::max()), w);
    EXPECT_EQ(static_cast<uint32_t>(std::numeric_limits<int32_t>::max()), h);
}

struct TurnCase {
    uint32_t w, h;
    bool turned;
};

class PhotoTurnTable : public ::testing::TestWithParam<TurnCase> {};

TEST_P(PhotoTurnTable, TurnsOnlyPhotosWiderThanTall)
{
    const TurnCase& c = GetParam();
    EXPECT_EQ(c.turned, PhotoNeedsTurn(c.w, c.h));
}

INSTANTIATE_TEST_SUITE_P(Shapes, PhotoTurnTable, ::testing::Values(
    TurnCase{4000, 3000, true},
    TurnCase{3000, 4000, false},
    TurnCase{3000, 3000, false},
    TurnCase{1, 0, true},
    TurnCase{0, 0, false},          // a photo that could not be read
    TurnCase{0x80000000u, 1, true}  // compared unsigned
));

struct SourceCase {
    uint32_t pageW, pageH;   // the L-size area in device pixels
    uint32_t w, h;           // the photo, turned already where it is wider than tall
    uint32_t wantW, wantH;
};

class SourceTable : public ::testing::TestWithParam<SourceCase> {};

TEST_P(SourceTable, CutsFromTheTopLeftOfThePhoto)
{
    const SourceCase& c = GetParam();
    uint32_t srcW = 0xDEADBEEF, srcH = 0xDEADBEEF;
    EXPECT_TRUE(LSourceSize(c.pageW, c.pageH, c.w, c.h, srcW, srcH));   // the area is never empty here
    EXPECT_EQ(c.wantW, srcW);
    EXPECT_EQ(c.wantH, srcH);
}

// srcH0 = pageH * W / pageW; when it fits, (W, srcH0), else (pageW * H / pageH, H).
INSTANTIATE_TEST_SUITE_P(Photos, SourceTable, ::testing::Values(
    // 4000 x 3000 turned to 3000 x 4000 at 600 dpi: 3000 * 3000 / 2102 = 4281 > 4000,
    // so 2102 * 4000 / 3000 = 2802: 198 columns cut at the right
    SourceCase{2102, 3000, 3000, 4000, 2802, 4000},
    // a square at 600 dpi: 3000 * 3000 / 2102 = 4281 > 3000, so 2102 * 3000 / 3000
    SourceCase{2102, 3000, 3000, 3000, 2102, 3000},
    // 1600 x 1200 turned at 300 dpi: 1500 * 1200 / 1051 = 1712 > 1600, so 1051 * 1600 / 1500 = 1121
    SourceCase{1051, 1500, 1200, 1600, 1121, 1600},
    // exactly the L-size area
    SourceCase{1051, 1500, 1051, 1500, 1051, 1500},
    // tall and narrow: 1500 * 1000 / 1051 = 1427 fits in 2000: the bottom is cut
    SourceCase{1051, 1500, 1000, 2000, 1000, 1427},
    // a photo that could not be read: nothing
    SourceCase{2102, 3000, 0, 0, 0, 0}));

TEST(LPageGeometry, SourcesBeyondTwoGibibytesOf32BitPixelsAreNotDrawn)
{
    // 2^31 - 1 bytes hold 536870911 pixels of 4 bytes: 23170 x 23170 is
    // 536848900 of them, 23171 x 23171 is 536895241.
    EXPECT_TRUE(DrawableSource(23170, 23170));
    EXPECT_FALSE(DrawableSource(23171, 23171));
    EXPECT_TRUE(DrawableSource(536870911, 1));
    EXPECT_FALSE(DrawableSource(536870912, 1));
    // the damaged file that claims 60000 x 60000, cut to 42000 x 60000
    EXPECT_FALSE(DrawableSource(42000, 60000));
    EXPECT_TRUE(DrawableSource(6000, 4000));   // a 24-megapixel photo
    EXPECT_TRUE(DrawableSource(0, 60000));
    EXPECT_TRUE(DrawableSource(-5, 60000));
}

TEST(LPageGeometry, EmptyAreaGivesNoSourceAndDividesByNothing)
{
    uint32_t srcW = 7, srcH = 7;
    EXPECT_FALSE(LSourceSize(0, 1500, 3000, 4000, srcW, srcH));
    EXPECT_EQ(0u, srcW);
    EXPECT_EQ(0u, srcH);
    srcW = srcH = 7;
    EXPECT_FALSE(LSourceSize(1051, 0, 3000, 4000, srcW, srcH));
    EXPECT_EQ(0u, srcW);
    EXPECT_EQ(0u, srcH);
}

struct RangeCase {
    RangeRect range;
    uint32_t turnedW;   // width of the turned photo, when the range turns
    bool turned;
    RangeRect want;     // the source drawn
};

class RangeTable : public ::testing::TestWithParam<RangeCase> {};

TEST_P(RangeTable, TurnsWideRangesOntoTheTurnedPhoto)
{
    const RangeCase& c = GetParam();
    ASSERT_EQ(c.turned, RangeNeedsTurn(c.range));
    RangeRect got = c.turned ? TurnRange(c.range, c.turnedW) : c.range;
    EXPECT_EQ(c.want.left, got.left);
    EXPECT_EQ(c.want.top, got.top);
    EXPECT_EQ(c.want.right, got.right);
    EXPECT_EQ(c.want.bottom, got.bottom);
    if (c.turned) {
        EXPECT_FALSE(RangeNeedsTurn(got)) << "a turned range is taller than wide";
    }
}

INSTANTIATE_TEST_SUITE_P(Ranges, RangeTable, ::testing::Values(
    // 4000 x 3000 photo, range 1270 x 890: x 1610, y 1000, 890 x 1270
    RangeCase{{1000, 500, 2270, 1390}, 3000, true, {1610, 1000, 2500, 2270}},
    // portrait range on a portrait photo: drawn as it is
    RangeCase{{100, 200, 990, 1470}, 0, false, {100, 200, 990, 1470}},
    // a square range is not turned
    RangeCase{{10, 10, 500, 500}, 0, false, {10, 10, 500, 500}},
    // the whole of a 127 x 89 photo
    RangeCase{{0, 0, 127, 89}, 89, true, {0, 0, 89, 127}},
    // a photo that could not be read: W' reads 0, the mapping still runs
    RangeCase{{1000, 500, 2270, 1390}, 0, true, {-1390, 1000, -500, 2270}},
    // a range past the photo's lower edge maps to the left of the turned photo
    RangeCase{{0, 2500, 1270, 3390}, 3000, true, {-390, 0, 500, 1270}}));

TEST(RangeGeometry, TurnedRangeCoversTheSamePixels)
{
    // Every pixel (x, y) of the stored photo is at (H - 1 - y, x) after the
    // turn; the corners of the range must land on the mapped range's corners.
    const uint32_t photoH = 3000;
    RangeRect r{1000, 500, 2270, 1390};
    RangeRect t = TurnRange(r, photoH);
    auto turnX = [&](int32_t, int32_t y) { return static_cast<int32_t>(photoH) - 1 - y; };
    auto turnY = [&](int32_t x, int32_t) { return x; };
    // stored top-left pixel: top-right pixel of the mapped range
    EXPECT_EQ(t.right - 1, turnX(r.left, r.top));
    EXPECT_EQ(t.top, turnY(r.left, r.top));
    // stored bottom-right pixel: bottom-left pixel of the mapped range
    EXPECT_EQ(t.left, turnX(r.right - 1, r.bottom - 1));
    EXPECT_EQ(t.bottom - 1, turnY(r.right - 1, r.bottom - 1));
    EXPECT_EQ(r.right - r.left, t.bottom - t.top);
    EXPECT_EQ(r.bottom - r.top, t.right - t.left);
}

TEST(RangeGeometry, FarOutRangeDoesNotOverflowTheComparison)
{
    const int32_t big = std::numeric_limits<int32_t>::max();
    const int32_t small = std::numeric_limits<int32_t>::min();
    EXPECT_TRUE(RangeNeedsTurn(RangeRect{small, 0, big, 10}));
    EXPECT_FALSE(RangeNeedsTurn(RangeRect{0, small, 10, big}));
}

// The message after a print command: file names as the paths end, twenty
// at most, then a count of the rest.
TEST(NotPrintedText, NamesTwentyThenCountsTheRest)
{
    const std::wstring more = L"ほか %1 件";
    // names no ANSI code page spells, in the order given; a slash separates too
    const std::vector<std::wstring> foreign = { L"Z:\\😀\\😀.png", L"D:/card/DCIM/한글.MOV", L"\\\\srv\\share\\𠮷.jpg" };
    const std::wstring named = L"H\n\n😀.png\n한글.MOV\n𠮷.jpg";
    EXPECT_EQ(named, NotPrintedText(L"H", more, foreign));
    // A refusal's reason last: the system's text without the line break it ends with.
    EXPECT_EQ(named + L"\n\nR\nアクセスが拒否されました。",
              NotPrintedText(L"H", more, foreign, RefusalText(L"R", L"アクセスが拒否されました。 \r\n")));
    EXPECT_EQ(L"R", RefusalText(L"R", L"\r\n"));
    std::vector<std::wstring> paths;
    std::wstring twenty;
    for (int i = 100; i < 120; i++) {
        paths.push_back(L"C:\\写真\\" + std::to_wstring(i) + L".jpg");
        twenty += L"\n" + std::to_wstring(i) + L".jpg";
    }
    EXPECT_EQ(L"H\n" + twenty, NotPrintedText(L"H", more, paths));
    paths.push_back(L"C:\\写真\\120.jpg");
    EXPECT_EQ(L"H\n" + twenty + L"\nほか 1 件", NotPrintedText(L"H", more, paths));
    paths.resize(125, L"x.jpg");
    EXPECT_EQ(L"H\n" + twenty + L"\nほか 105 件", NotPrintedText(L"H", more, paths));
}

} // namespace
