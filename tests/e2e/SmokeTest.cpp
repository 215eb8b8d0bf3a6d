// The program starts, shows its window with every control of its template,
// opens the About box from the system menu and ends on "終了".
#include "KiruneProcess.h"
#include <gtest/gtest.h>

namespace {

const int kCellFirst = 1007, kCellLast = 1018;
const UINT kAboutCommand = 16;

struct ButtonText {
    int id;
    const char* text;
};

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
