// The program starts, shows its window with every control of its template
// and proper title-bar buttons, opens the About box from the system menu and
// ends on "終了".
#include "KiruneProcess.h"
#include "TestImages.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <vector>

namespace {

const int kCellFirst = 1007, kCellLast = 1018;
const UINT kAboutCommand = 16;

struct ButtonText {
    int id;
    const char* text;
};

// The glyph of the title bar's close button, read off the screen as its dark
// pixels inside the button's bevel. A cross is the same mirrored left to
// right; the letter "r", which shows where the caption-button font is
// missing, is not.
struct Glyph {
    int dark = 0;         // pixels
    int unmatched = 0;    // dark pixels whose mirror image is light
};

Glyph CloseButtonGlyph(HWND main)
{
    RECT window;
    ::GetWindowRect(main, &window);
    // The button sits inside the frame, two pixels in from its top and right.
    const int frameX = ::GetSystemMetrics(SM_CXFRAME), frameY = ::GetSystemMetrics(SM_CYFRAME);
    const int right = window.right - frameX - 2, left = window.right - frameX - ::GetSystemMetrics(SM_CXSIZE);
    const int top = window.top + frameY + 2, bottom = window.top + frameY + ::GetSystemMetrics(SM_CYSIZE) - 2;
    const int bevel = 2, w = right - left - 2 * bevel, h = bottom - top - 2 * bevel;
    std::vector<bool> dark(static_cast<size_t>(std::max(w * h, 0)));
    Glyph glyph;
    int minX = w, maxX = -1;
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++) {
            COLORREF c = ScreenPixel(left + bevel + x, top + bevel + y);
            if (GetRValue(c) + GetGValue(c) + GetBValue(c) < 3 * 64) {
                dark[static_cast<size_t>(y * w + x)] = true;
                minX = std::min(minX, x);
                maxX = std::max(maxX, x);
                glyph.dark++;
            }
        }
    for (int y = 0; y < h; y++)
        for (int x = minX; x <= maxX; x++)
            glyph.unmatched += dark[static_cast<size_t>(y * w + x)] && !dark[static_cast<size_t>(y * w + minX + maxX - x)];
    return glyph;
}

bool IsCross(const Glyph& glyph) { return glyph.dark >= 6 && glyph.unmatched <= glyph.dark / 5; }

// Until the frame is drawn the button may show nothing or part of its glyph.
void ExpectCloseButtonCross(HWND main)
{
    Glyph glyph;
    WaitUntil([&] { return IsCross(glyph = CloseButtonGlyph(main)); });
    ASSERT_GE(glyph.dark, 6) << "no glyph on the close button";
    EXPECT_TRUE(IsCross(glyph)) << "the close button's glyph is not a cross: " << glyph.unmatched << " of "
                                << glyph.dark << " dark pixels have no mirror image";
}

TEST(Smoke, StartsShowsAboutBoxAndEndsOnExit)
{
    KiruneProcess kirune;
    ASSERT_TRUE(kirune.Start());
    HWND main = kirune.MainWindow();
    ASSERT_NE(nullptr, main) << "no window titled Ｌ判写真印刷";

    for (int id = kCellFirst; id <= kCellLast; id++) {
        HWND cell = ::GetDlgItem(main, id);
        ASSERT_NE(nullptr, cell) << id;
        EXPECT_EQ("Static", ClassOf(cell)) << id;
        EXPECT_TRUE(::IsWindowVisible(cell)) << id;
    }
    const ButtonText buttons[] = {
        { 1004, "取り込み" }, { 1002, "全印刷" }, { 1000, "個別印刷" },
        { 1021, "終了" }, { 1006, "↑" }, { 1001, "↓" },
    };
    for (const ButtonText& b : buttons) {
        HWND button = ::GetDlgItem(main, b.id);
        ASSERT_NE(nullptr, button) << b.id;
        EXPECT_EQ("Button", ClassOf(button)) << b.id;
        EXPECT_EQ(b.text, TextOf(button)) << b.id;
    }
    EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(main, 1019)));
    EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(main, 1020)));
    ExpectCloseButtonCross(main);

    ::PostMessageA(main, WM_SYSCOMMAND, kAboutCommand, 0);
    HWND about = WaitForWindow(kirune.Id(), "Kiruneのﾊﾞｰｼﾞｮﾝ情報");
    ASSERT_NE(nullptr, about);
    EXPECT_FALSE(::IsWindowEnabled(main));
    ::PostMessageA(::GetDlgItem(about, IDOK), BM_CLICK, 0, 0);
    EXPECT_TRUE(WaitForGone(about));

    ::PostMessageA(::GetDlgItem(main, 1021), BM_CLICK, 0, 0);
    EXPECT_TRUE(kirune.WaitExit(10000)) << "終了 did not end the process";
}

} // namespace
