// The main window as a whole: its controls, system menu, keys and the roads
// by which it closes.
#include "GdiplusSpy.h"
#include "MainWindowFixture.h"
#include <gtest/gtest.h>

namespace {

const char kAboutTitle[] = "Kiruneのﾊﾞｰｼﾞｮﾝ情報";

bool HasChildWithText(HWND parent, const char* text)
{
    for (HWND child = ::GetWindow(parent, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        if (WindowText(child) == text)
            return true;
    return false;
}

class MainWindow : public MainWindowFixture {};

TEST_F(MainWindow, BindsTheTwelveCellsInOrder)
{
    script.Then([this] {
        for (int i = 0; i < kCellCount; i++) {
            HWND expected = ::GetDlgItem(dlg.m_hWnd, IDC_CELL_FIRST + i);
            ASSERT_NE(nullptr, expected);
            EXPECT_EQ(expected, dlg.m_cells[i].m_hWnd) << "cell " << i;
        }
        // Row by row: cell 1 right of cell 0, cell 3 below cell 0.
        RECT r0, r1, r3;
        ::GetWindowRect(dlg.m_cells[0].m_hWnd, &r0);
        ::GetWindowRect(dlg.m_cells[1].m_hWnd, &r1);
        ::GetWindowRect(dlg.m_cells[3].m_hWnd, &r3);
        EXPECT_GT(r1.left, r0.right);
        EXPECT_GT(r3.top, r0.bottom);
    });
    Run();
}

TEST_F(MainWindow, ShowsItsTitleAndKeepsTreeAndListHidden)
{
    script.Then([this] {
        EXPECT_EQ("Ｌ判写真印刷", WindowText(dlg.m_hWnd));
        EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(dlg.m_hWnd, IDC_FOLDER_TREE)));
        EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(dlg.m_hWnd, IDC_FILE_LIST)));
        EXPECT_EQ(dlg.m_hIcon, reinterpret_cast<HICON>(::SendMessageA(dlg.m_hWnd, WM_GETICON, ICON_BIG, 0)));
        EXPECT_EQ(dlg.m_hIconUp, reinterpret_cast<HICON>(
            ::SendDlgItemMessageA(dlg.m_hWnd, IDC_SCROLL_UP, BM_GETIMAGE, IMAGE_ICON, 0)));
        EXPECT_EQ(dlg.m_hIconDown, reinterpret_cast<HICON>(
            ::SendDlgItemMessageA(dlg.m_hWnd, IDC_SCROLL_DOWN, BM_GETIMAGE, IMAGE_ICON, 0)));
        EXPECT_EQ(::GetDlgItem(dlg.m_hWnd, IDC_IMPORT), ::GetFocus());
        EXPECT_EQ(-1, dlg.m_selCell);
        EXPECT_EQ(-1, dlg.m_selPhoto);
        EXPECT_EQ(0, dlg.m_topIndex);
    });
    Run();
}

TEST_F(MainWindow, SystemMenuEndsWithSeparatorAndAboutCommand)
{
    script.Then([this] {
        HMENU menu = ::GetSystemMenu(dlg.m_hWnd, FALSE);
        ASSERT_NE(nullptr, menu);
        int count = ::GetMenuItemCount(menu);
        ASSERT_GE(count, 2);
        EXPECT_EQ(static_cast<UINT>(IDM_ABOUTBOX), ::GetMenuItemID(menu, count - 1));
        char text[64] = "";
        ::GetMenuStringA(menu, count - 1, text, sizeof text, MF_BYPOSITION);
        EXPECT_STREQ("ﾊﾞｰｼﾞｮﾝ情報(&A)...", text);
        EXPECT_TRUE(::GetMenuState(menu, count - 2, MF_BYPOSITION) & MF_SEPARATOR);
    });
    Run();
}

TEST_F(MainWindow, EnterAndEscLeaveTheWindowOpen)
{
    int before = GdiplusShutdownCalls();
    script.Then([this] {
            // Enter while a cell (no push button) has the focus, then Esc.
            ::SetFocus(dlg.m_cells[4].m_hWnd);
            ::PostMessageA(dlg.m_cells[4].m_hWnd, WM_KEYDOWN, VK_RETURN, 0x001C0001);
            ::PostMessageA(dlg.m_cells[4].m_hWnd, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
            ::PostMessageA(dlg.m_hWnd, WM_COMMAND, IDOK, 0);
            ::PostMessageA(dlg.m_hWnd, WM_COMMAND, IDCANCEL, 0);
        })
        .Pause(5)
        .Then([this, before] {
            EXPECT_TRUE(::IsWindow(dlg.m_hWnd));
            EXPECT_TRUE(::IsWindowVisible(dlg.m_hWnd));
            EXPECT_EQ(before, GdiplusShutdownCalls());
        });
    Run();
}

TEST_F(MainWindow, MinimisedShowsTheApplicationIconAndResizingMovesNoControl)
{
    RECT before = {};
    auto importButton = [this] {
        RECT r;
        ::GetWindowRect(::GetDlgItem(dlg.m_hWnd, IDC_IMPORT), &r);
        ::MapWindowPoints(nullptr, dlg.m_hWnd, reinterpret_cast<POINT*>(&r), 2);
        return r;
    };
    script.Then([&] {
            EXPECT_EQ(reinterpret_cast<LRESULT>(dlg.m_hIcon), ::SendMessageA(dlg.m_hWnd, WM_QUERYDRAGICON, 0, 0));
            before = importButton();
            RECT w;
            ::GetWindowRect(dlg.m_hWnd, &w);
            ::SetWindowPos(dlg.m_hWnd, nullptr, 0, 0, w.right - w.left + 120, w.bottom - w.top + 80,
                           SWP_NOMOVE | SWP_NOZORDER);
        })
        .Pause(2)
        .Then([&] {
            RECT after = importButton();
            EXPECT_TRUE(::EqualRect(&before, &after));
            ::ShowWindow(dlg.m_hWnd, SW_MINIMIZE);
        })
        .Pause(3)
        .Then([&] {
            EXPECT_TRUE(::IsIconic(dlg.m_hWnd));
            EXPECT_EQ(reinterpret_cast<LRESULT>(dlg.m_hIcon), ::SendMessageA(dlg.m_hWnd, WM_QUERYDRAGICON, 0, 0));
            // A minimised window paints its icon; painting must not fail.
            ::InvalidateRect(dlg.m_hWnd, nullptr, TRUE);
            ::UpdateWindow(dlg.m_hWnd);
            ::ShowWindow(dlg.m_hWnd, SW_RESTORE);
        });
    Run();
}

struct CloseRoad {
    const char* name;
    void (*close)(HWND);
};

class ClosingRoads : public ::testing::TestWithParam<CloseRoad> {};

TEST_P(ClosingRoads, EndGdiplusOnceAndCloseTheWindow)
{
    CKiruneDlg dlg;
    ModalScript script;
    HWND seen = nullptr;
    script.WaitFor([&] { return (seen = dlg.m_hWnd) != nullptr; }, "the main window")
        .Then([&] { GetParam().close(dlg.m_hWnd); });
    script.Start();
    int before = GdiplusShutdownCalls();
    AfxGetApp()->m_pMainWnd = &dlg;
    INT_PTR result = dlg.DoModal();
    AfxGetApp()->m_pMainWnd = nullptr;

    EXPECT_TRUE(script.Finished()) << script.Failure();
    EXPECT_EQ(IDOK, result);
    EXPECT_EQ(1, GdiplusShutdownCalls() - before);
    EXPECT_FALSE(::IsWindow(seen));
    EXPECT_EQ(nullptr, dlg.m_hWnd);
}

INSTANTIATE_TEST_SUITE_P(MainWindow, ClosingRoads, ::testing::Values(
    CloseRoad{ "CloseBox", [](HWND h) { ::PostMessageA(h, WM_SYSCOMMAND, SC_CLOSE, 0); } },
    CloseRoad{ "SystemMenuClose", [](HWND h) { ::PostMessageA(h, WM_SYSCOMMAND, SC_CLOSE | 0x3, 0); } },
    CloseRoad{ "AltF4", [](HWND h) { ::PostMessageA(h, WM_SYSKEYDOWN, VK_F4, 0x203E0001); } },
    CloseRoad{ "ExitButton", [](HWND h) { PostClick(h, IDC_EXIT); } }),
    [](const ::testing::TestParamInfo<CloseRoad>& info) { return std::string(info.param.name); });

TEST_F(MainWindow, AboutBoxOpensTwiceAndClosesByOkEscAndCloseBox)
{
    HWND first = nullptr, second = nullptr, third = nullptr;
    auto open = [this] { ::PostMessageA(dlg.m_hWnd, WM_SYSCOMMAND, IDM_ABOUTBOX, 0); };
    auto about = [] { return FindThreadWindow(kAboutTitle); };
    script.Then(open)
        .WaitFor([&] { return (first = about()) != nullptr; }, "the first About box")
        .Then([&] {
            EXPECT_FALSE(::IsWindowEnabled(dlg.m_hWnd));   // modal over the main window
            EXPECT_TRUE(HasChildWithText(first, "Sorvex Version 1.0"));
            PostClick(first, IDOK);
        })
        .WaitFor([&] { return !::IsWindow(first); }, "the About box to close by OK")
        .Then(open)
        .WaitFor([&] { return (second = about()) != nullptr; }, "the second About box")
        .Then([&] { ::PostMessageA(::GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0x00010001); })
        .WaitFor([&] { return !::IsWindow(second); }, "the About box to close by Esc")
        .Then(open)
        .WaitFor([&] { return (third = about()) != nullptr; }, "the third About box")
        .Then([&] { ::PostMessageA(third, WM_SYSCOMMAND, SC_CLOSE, 0); })
        .WaitFor([&] { return !::IsWindow(third); }, "the About box to close by its close box")
        .Then([&] { EXPECT_TRUE(::IsWindowEnabled(dlg.m_hWnd)); });
    Run();
    EXPECT_NE(nullptr, first);
    EXPECT_NE(nullptr, second);
    EXPECT_NE(nullptr, third);
}

} // namespace
