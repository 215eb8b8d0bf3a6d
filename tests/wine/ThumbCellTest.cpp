// The thumbnail cells in the main window: the inner picture, the band, the
// click notice, the focus rule, and the dialogs opened from a cell.
#include "MainWindowFixture.h"
#include "PostedMouse.h"
#include "TestImages.h"

namespace {

const COLORREF kMagenta = RGB(255, 0, 255);
const COLORREF kGrey = RGB(192, 192, 192);

class ThumbCell : public MainWindowFixture {
protected:
    void SetUp() override
    {
        photo = folder.File("photo.png");
        ASSERT_TRUE(SaveSolid(photo, 64, 48, "image/png", 0xFF00A000));
    }
    COLORREF Band(int i)
    {
        POINT p = ClientToScreenPoint(Cell(i), 3, 3);
        return ScreenPixel(p.x, p.y);
    }
    void Click(HWND hwnd) { PostClickAt(hwnd, 5, 5); }

    TempFolder folder;
    std::string photo;
};

TEST_F(ThumbCell, CreatesItsPictureTenPixelsInside)
{
    Shown().Then([this] {
        for (int i = 0; i < kCellCount; i++) {
            HWND inner = InnerPicture(i);
            ASSERT_NE(nullptr, inner);
            EXPECT_EQ(Cell(i), ::GetParent(inner));
            EXPECT_EQ(0xFFFF, ::GetDlgCtrlID(inner));
            EXPECT_TRUE(::GetWindowLongA(inner, GWL_STYLE) & SS_CENTERIMAGE);
            RECT cell, picture;
            ::GetClientRect(Cell(i), &cell);
            ::GetWindowRect(inner, &picture);
            ::MapWindowPoints(nullptr, Cell(i), reinterpret_cast<POINT*>(&picture), 2);
            EXPECT_EQ(10, picture.left);
            EXPECT_EQ(10, picture.top);
            EXPECT_EQ(cell.right - 10, picture.right);
            EXPECT_EQ(cell.bottom - 10, picture.bottom);
        }
    });
    Run();
}

TEST_F(ThumbCell, AClickOnThePictureSelectsTheCellAndTellsTheMainWindow)
{
    Shown().Then([this] { dlg.m_cells[4].LoadPicture(Wide(photo).c_str()); })
        .WaitFor([this] { return Band(4) == kGrey; }, "the grey band")
        .Then([this] { Click(InnerPicture(4)); })
        .WaitFor([this] { return dlg.m_selCell == 4 && Band(4) == kMagenta; }, "the click notice and the band")
        .Then([this] {
            EXPECT_EQ(4, dlg.m_selPhoto);
            EXPECT_TRUE(dlg.m_cells[4].m_selected);
            EXPECT_EQ(Cell(4), ::GetFocus());
            EXPECT_EQ(kGrey, Band(5));
            // The focus moves to a button of the window: the band goes,
            // the main window's record stays.
            ::SetFocus(::GetDlgItem(dlg.m_hWnd, IDC_PRINT_ALL));
        })
        .WaitFor([this] { return Band(4) == kGrey; }, "the band to go")
        .Then([this] {
            EXPECT_FALSE(dlg.m_cells[4].m_selected);
            EXPECT_EQ(4, dlg.m_selCell);
        });
    Run();
}

TEST_F(ThumbCell, AClickOnTheBandDoesNothing)
{
    Shown().Then([this] {
            dlg.m_cells[2].LoadPicture(Wide(photo).c_str());
            Click(Cell(2));
        })
        .Pause(5)
        .Then([this] {
            EXPECT_EQ(-1, dlg.m_selCell);
            EXPECT_FALSE(dlg.m_cells[2].m_selected);
            EXPECT_EQ(kGrey, Band(2));
        });
    Run();
}

TEST_F(ThumbCell, ABlankCellPostsTheNoticeButShowsNoBand)
{
    HWND focusBefore = nullptr;
    Shown().Then([&] {
            focusBefore = ::GetFocus();
            Click(InnerPicture(7));
        })
        .WaitFor([this] { return dlg.m_selCell == 7; }, "the click notice")
        .Pause(3)
        .Then([&] {
            EXPECT_FALSE(dlg.m_cells[7].m_selected);
            EXPECT_EQ(kGrey, Band(7));
            EXPECT_EQ(focusBefore, ::GetFocus());
        });
    Run();
}

TEST_F(ThumbCell, KeepsTheBandWhenAnotherApplicationTakesTheFocus)
{
    Shown().Then([this] {
            dlg.m_cells[0].LoadPicture(Wide(photo).c_str());
            Click(InnerPicture(0));
        })
        .WaitFor([this] { return dlg.m_cells[0].m_selected && Band(0) == kMagenta; }, "the selection")
        .Then([this] {
            // Focus leaving for another application comes with no window.
            ::SendMessageA(Cell(0), WM_KILLFOCUS, 0, 0);
        })
        .Pause(3)
        .Then([this] {
            EXPECT_TRUE(dlg.m_cells[0].m_selected);
            EXPECT_EQ(kMagenta, Band(0));
        });
    Run();
}

TEST_F(ThumbCell, ADoubleClickOpensTheViewAndSelectsTheCellAfterwards)
{
    HWND view = nullptr;
    Shown().Then([this] {
            dlg.m_cells[5].LoadPicture(Wide(photo).c_str());
            HWND inner = InnerPicture(5);
            Click(inner);
            ::PostMessageA(inner, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(5, 5));
            ::PostMessageA(inner, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
        })
        .WaitFor([&] { return (view = FindThreadWindow("表示")) != nullptr; }, "the view dialog")
        .Then([&] {
            EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(view, IDC_RANGE_PRINT)));
            PostClick(view, IDC_RANGE_CLOSE);
        })
        .WaitFor([&] { return !::IsWindow(view); }, "the view dialog to close")
        .WaitFor([this] { return Band(5) == kMagenta; }, "the band where the view dialog was")
        .Then([this] {
            EXPECT_EQ(5, dlg.m_selCell);
            EXPECT_TRUE(dlg.m_cells[5].m_selected);
            EXPECT_EQ(Cell(5), ::GetFocus());
        });
    Run();
}

TEST_F(ThumbCell, ChoosePrintRangeKeepsOnlyARangeAcceptedWithPrint)
{
    HWND range = nullptr;
    auto rangeDialog = [&] { return (range = FindThreadWindow("表示＆印刷範囲指定")) != nullptr; };
    auto picture = [&] { return ::GetDlgItem(range, IDC_PICTURE); };
    Shown().Then([this] { dlg.m_cells[3].LoadPicture(Wide(photo).c_str()); })
        .Then([this] { dlg.m_cells[3].ChoosePrintRange(); })   // blocks until the dialog ends
        .WaitFor(rangeDialog, "the range dialog")
        .Then([&] {
            PostDrag(picture(), 10, 10, 137, 11);
            PostClick(range, IDC_RANGE_PRINT);
        })
        .WaitFor([&] { return !::IsWindow(range); }, "the range dialog to close")
        .Pause(2)
        .Then([&] {
            EXPECT_FALSE(dlg.m_cells[3].m_range.IsRectEmpty());
            EXPECT_TRUE(dlg.m_cells[3].m_selected);
        })
        // A second request closed with 閉じる leaves the range empty.
        .Then([this] { dlg.m_cells[3].ChoosePrintRange(); })
        .WaitFor(rangeDialog, "the second range dialog")
        .Then([&] { PostClick(range, IDC_RANGE_CLOSE); })
        .WaitFor([&] { return !::IsWindow(range); }, "the second range dialog to close")
        .Pause(2)
        .Then([this] { EXPECT_TRUE(dlg.m_cells[3].m_range.IsRectEmpty()); })
        // A cell without a photo opens no dialog.
        .Then([this] {
            dlg.m_cells[9].m_range = CRect(1, 2, 3, 4);
            dlg.m_cells[9].ChoosePrintRange();
            EXPECT_TRUE(dlg.m_cells[9].m_range.IsRectEmpty());
            EXPECT_EQ(nullptr, FindThreadWindow("表示＆印刷範囲指定"));
        });
    Run();
}

} // namespace
