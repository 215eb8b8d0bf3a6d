// The main window as a whole: its controls, system menu, keys and the roads
// by which it closes.
#include "ApiSpy.h"
#include "MainWindowFixture.h"
#include "TestImages.h"
#include <gtest/gtest.h>
#include <cstdio>

namespace {

const char kAboutTitle[] = "Kiruneのﾊﾞｰｼﾞｮﾝ情報";

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
    script.Then([this] {
            ApiSpy::Start();
            // Enter while a cell (no push button) has the focus, then Esc.
            ::SetFocus(dlg.m_cells[4].m_hWnd);
            ::PostMessageA(dlg.m_cells[4].m_hWnd, WM_KEYDOWN, VK_RETURN, 0x001C0001);
            ::PostMessageA(dlg.m_cells[4].m_hWnd, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
            ::PostMessageA(dlg.m_hWnd, WM_COMMAND, IDOK, 0);
            ::PostMessageA(dlg.m_hWnd, WM_COMMAND, IDCANCEL, 0);
        })
        .Pause(5)
        .Then([this] {
            ApiSpy::Stop();
            EXPECT_TRUE(::IsWindow(dlg.m_hWnd));
            EXPECT_TRUE(::IsWindowVisible(dlg.m_hWnd));
            EXPECT_EQ(0, ApiSpy::Count("GdiplusShutdown"));
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
            // A minimised window paints icon 128 centred in its client area:
            // here 0 x 0, so at (0 - 32 + 1) / 2 = -15 on both axes (the
            // division truncates toward zero).
            RECT client;
            ::GetClientRect(dlg.m_hWnd, &client);
            ASSERT_EQ(0, client.right);
            ASSERT_EQ(0, client.bottom);
            ASSERT_EQ(32, ::GetSystemMetrics(SM_CXICON));
            ASSERT_EQ(32, ::GetSystemMetrics(SM_CYICON));
            ApiSpy::Start();
            dlg.SendMessage(WM_PAINT);
            ApiSpy::Stop();
            ASSERT_EQ(1, ApiSpy::Count("DrawIcon"));
            EXPECT_EQ(static_cast<void*>(dlg.m_hIcon), ApiSpy::Find("DrawIcon")->made);
            EXPECT_EQ("-15 -15", ApiSpy::Find("DrawIcon")->args);
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
    ApiSpy::Start();
    AfxGetApp()->m_pMainWnd = &dlg;
    INT_PTR result = dlg.DoModal();
    AfxGetApp()->m_pMainWnd = nullptr;
    ApiSpy::Stop();

    EXPECT_TRUE(script.Finished()) << script.Failure();
    EXPECT_EQ(IDOK, result);
    EXPECT_EQ(1, ApiSpy::Count("GdiplusShutdown"));
    EXPECT_FALSE(::IsWindow(seen));
    EXPECT_EQ(nullptr, dlg.m_hWnd);
}

TEST(MainWindowRun, StartsGdiplusOnceBeforeTheFirstDecodeAndEndsItOnce)
{
    TempFolder folder;
    const std::string photo = folder.File("photo.png");
    ASSERT_TRUE(SaveSolid(photo, 40, 30, "image/png", 0xFF2060A0));
    ApiSpy::Start();
    {
        CKiruneDlg dlg;
        ModalScript script;
        script.WaitFor([&] { return dlg.m_hWnd != nullptr; }, "the main window")
            .Then([&] {
                dlg.m_cells[0].LoadPicture(Wide(photo).c_str());
                dlg.m_cells[1].LoadPicture(Wide(photo).c_str());
                PostClick(dlg.m_hWnd, IDC_EXIT);
            });
        script.Start();
        AfxGetApp()->m_pMainWnd = &dlg;
        dlg.DoModal();
        AfxGetApp()->m_pMainWnd = nullptr;
        EXPECT_TRUE(script.Finished()) << script.Failure();
    }
    ApiSpy::Stop();
    EXPECT_EQ((std::vector<std::string>{ "GdiplusStartup", "GdipCreateBitmapFromFile", "GdipCreateBitmapFromFile",
                                         "GdiplusShutdown" }),
              ApiSpy::Names({ "GdiplusStartup", "GdipCreateBitmapFromFile", "GdiplusShutdown" }));
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

struct Placed {
    int id, x, y, w, h;   // dialog units, as the template gives them
};

TEST_F(MainWindow, ShowsTemplate102AsTheUserMeetsIt)
{
    const Placed controls[] = {
        { IDC_IMPORT, 306, 7, 41, 32 }, { IDC_PRINT_ALL, 306, 51, 41, 27 }, { IDC_PRINT_ONE, 306, 89, 41, 27 },
        { IDC_EXIT, 306, 127, 41, 27 }, { IDC_SCROLL_UP, 272, 7, 18, 21 }, { IDC_SCROLL_DOWN, 272, 278, 18, 21 },
        { 1007, 24, 7, 78, 68 }, { 1008, 107, 7, 78, 68 }, { 1009, 192, 7, 78, 68 },
        { 1010, 24, 79, 78, 68 }, { 1011, 107, 80, 78, 68 }, { 1012, 192, 80, 78, 68 },
        { 1013, 24, 155, 78, 68 }, { 1014, 107, 155, 78, 68 }, { 1015, 192, 155, 78, 68 },
        { 1016, 24, 231, 78, 68 }, { 1017, 107, 231, 78, 68 }, { 1018, 192, 231, 78, 68 },
        { IDC_FOLDER_TREE, 7, 25, 9, 178 }, { IDC_FILE_LIST, 7, 211, 9, 90 },
    };
    Shown().Then([&] {
        HWND h = dlg.m_hWnd;
        for (const Placed& c : controls)
            EXPECT_EQ(TemplatePlace(h, c.x, c.y, c.w, c.h), PlaceOf(::GetDlgItem(h, c.id))) << "control " << c.id;
        // A sizing border and a minimise box, no maximise box; on the task bar.
        const LONG style = ::GetWindowLongA(h, GWL_STYLE);
        EXPECT_TRUE(style & WS_THICKFRAME);
        EXPECT_TRUE(style & WS_MINIMIZEBOX);
        EXPECT_FALSE(style & WS_MAXIMIZEBOX);
        EXPECT_TRUE(::GetWindowLongA(h, GWL_EXSTYLE) & WS_EX_APPWINDOW);
        // No default push button: Enter presses none.
        for (int id : { IDC_IMPORT, IDC_PRINT_ALL, IDC_PRINT_ONE, IDC_EXIT, IDC_SCROLL_UP, IDC_SCROLL_DOWN })
            EXPECT_NE(BS_DEFPUSHBUTTON, ::GetWindowLongA(::GetDlgItem(h, id), GWL_STYLE) & BS_TYPEMASK) << id;
        // The arrow buttons show icons 131 and 132 instead of their text.
        const HINSTANCE instance = AfxGetInstanceHandle();
        EXPECT_TRUE(::GetWindowLongA(::GetDlgItem(h, IDC_SCROLL_UP), GWL_STYLE) & BS_ICON);
        EXPECT_TRUE(::GetWindowLongA(::GetDlgItem(h, IDC_SCROLL_DOWN), GWL_STYLE) & BS_ICON);
        EXPECT_EQ(reinterpret_cast<LRESULT>(::LoadIconA(instance, MAKEINTRESOURCEA(IDI_SCROLL_UP))),
                  ::SendDlgItemMessageA(h, IDC_SCROLL_UP, BM_GETIMAGE, IMAGE_ICON, 0));
        EXPECT_EQ(reinterpret_cast<LRESULT>(::LoadIconA(instance, MAKEINTRESOURCEA(IDI_SCROLL_DOWN))),
                  ::SendDlgItemMessageA(h, IDC_SCROLL_DOWN, BM_GETIMAGE, IMAGE_ICON, 0));
        EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(h, IDC_FOLDER_TREE)));
        EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(h, IDC_FILE_LIST)));
    });
    Run();
}

TEST_F(MainWindow, ShowsTemplate100AsTheUserMeetsIt)
{
    HWND about = nullptr;
    script.Then([this] { ::PostMessageA(dlg.m_hWnd, WM_SYSCOMMAND, IDM_ABOUTBOX, 0); })
        .WaitFor([&] { return (about = FindThreadWindow(kAboutTitle)) != nullptr; }, "the About box")
        .Then([&] {
            // Four lines and the application icon, each where the template puts it.
            struct Line {
                const char* text;
                Placed place;
            };
            const Line lines[] = {
                { "Sorvex Version 1.0", { -1, 39, 10, 119, 8 } },
                { "Copyright (C) 2026 Kirune developers", { -1, 40, 25, 119, 8 } },
                { "OK", { IDOK, 178, 7, 50, 14 } },
                { "https://kirune.example/", { -1, 38, 37, 118, 11 } },
            };
            HWND icon = nullptr;
            for (const Line& line : lines) {
                HWND found = nullptr;
                for (HWND c = ::GetWindow(about, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
                    if ((::GetWindowLongA(c, GWL_STYLE) & SS_TYPEMASK) == SS_ICON && !icon)
                        icon = c;
                    if (WindowText(c) == line.text)
                        found = c;
                }
                ASSERT_NE(nullptr, found) << line.text;
                const Placed& p = line.place;
                EXPECT_EQ(TemplatePlace(about, p.x, p.y, p.w, p.h), PlaceOf(found)) << line.text;
            }
            EXPECT_EQ(BS_DEFPUSHBUTTON, ::GetWindowLongA(::GetDlgItem(about, IDOK), GWL_STYLE) & BS_TYPEMASK);
            // The icon static takes the icon's own size; its corner is the template's.
            ASSERT_NE(nullptr, icon);
            EXPECT_EQ(reinterpret_cast<LRESULT>(::LoadIconA(AfxGetInstanceHandle(), MAKEINTRESOURCEA(IDR_MAINFRAME))),
                      ::SendMessageA(icon, STM_GETICON, 0, 0));
            RECT r;
            ::GetWindowRect(icon, &r);
            ::MapWindowPoints(nullptr, about, reinterpret_cast<POINT*>(&r), 2);
            RECT corner = { 11, 17, 0, 0 };
            ::MapDialogRect(about, &corner);
            EXPECT_EQ(corner.left, r.left);
            EXPECT_EQ(corner.top, r.top);
            PostClick(about, IDOK);
        })
        .WaitFor([&] { return !::IsWindow(about); }, "the About box to close");
    Run();
}

// The framework's start-up, which the program's entry point runs: the
// system's critical-error boxes stay away for the whole process, and the
// rest of the error mode is kept.
TEST(MainWindowRun, StartUpFailsCriticalErrorsQuietlyAndKeepsTheOtherModes)
{
    const UINT saved = ::SetErrorMode(SEM_NOGPFAULTERRORBOX);
    AfxGetApp()->InitApplication(::GetModuleHandleA(nullptr));
    const UINT mode = ::SetErrorMode(saved);
    EXPECT_EQ(static_cast<UINT>(SEM_NOGPFAULTERRORBOX | SEM_FAILCRITICALERRORS), mode);
}

// One character drawn black on white in FONT: the pixels of a 64-pixel square.
std::vector<DWORD> DrawnCharacter(HGDIOBJ font, wchar_t c)
{
    BITMAPINFO info = { { sizeof(BITMAPINFOHEADER), 64, -64, 1, 32, BI_RGB, 0, 0, 0, 0, 0 }, {} };
    void* bits = nullptr;
    CGdiObject bitmap;
    bitmap.Attach(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    CDC dc;
    dc.Attach(::CreateCompatibleDC(nullptr));
    CScopedSelect selectBitmap(dc, bitmap.GetSafeHandle()), selectFont(dc, font);
    const RECT all = { 0, 0, 64, 64 };
    ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &all, &c, 1, nullptr);
    ::GdiFlush();
    return std::vector<DWORD>(static_cast<DWORD*>(bits), static_cast<DWORD*>(bits) + 64 * 64);
}

// The system draws the program's titles, its system menu item and its
// messages in the fonts it picks for them, or in the fonts these link to.
// No Japanese character of them may draw the box that U+0378, which no
// font has, draws.
TEST(MainWindowRun, SystemFontsDrawTheJapaneseOfTitlesMenuAndMessages)
{
    NONCLIENTMETRICSW metrics{ sizeof(NONCLIENTMETRICSW) };
    ASSERT_TRUE(::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0));
    const struct { const char* font; const LOGFONTW& face; std::wstring text; } uses[] = {
        // The main window, the About box, the range dialog and the open dialog.
        { "caption", metrics.lfCaptionFont, L"Ｌ判写真印刷Kiruneのﾊﾞｰｼﾞｮﾝ情報表示＆印刷範囲指定開く" },
        { "menu", metrics.lfMenuFont, AfxLoadStringW(IDS_ABOUTBOX) },
        { "message", metrics.lfMessageFont, AfxLoadStringW(IDS_SELECT_PHOTO) + AfxLoadStringW(IDS_NO_RANGE) +
              AfxLoadStringW(IDS_NOT_PRINTED) + AfxLoadStringW(IDS_NOT_PRINTED_MORE) + AfxLoadStringW(IDS_TOO_MANY_FILES) +
              AfxLoadStringW(IDS_PRINTER_REFUSED) },
    };
    for (const auto& use : uses) {
        CGdiObject font;
        font.Attach(::CreateFontIndirectW(&use.face));
        std::wstring boxes;
        for (wchar_t c : use.text)
            if (c > 0x7F && DrawnCharacter(font.GetSafeHandle(), c) == DrawnCharacter(font.GetSafeHandle(), L'\x0378'))
                boxes += c;
        EXPECT_EQ(L"", boxes) << "drawn as boxes in the " << use.font << " font";
    }
}

// DM_SETDEFID has the number of the tree's add message: its control id is
// no path, and the dialog manager gets the message as in any dialog; nor is
// a path that the tree is not announcing read. (Wine
// swallows a fault in the window procedure and ends the step there: the
// checks run in a step of their own.)
TEST_F(MainWindow, DialogManagerMessageWithTheAddsNumberAddsNoFile)
{
    static_assert(WM_FILELIST_ADD == DM_SETDEFID, "the numbers the message shares");
    int rows = -1;
    bool sent = false;
    script.Then([&] {
            rows = dlg.m_fileList.GetItemCount();
            ::SendMessageA(dlg.m_hWnd, DM_SETDEFID, IDC_PRINT_ALL, 0);
            sent = true;
        })
        .Then([&] {
            EXPECT_TRUE(sent) << "DM_SETDEFID faulted in the window procedure";
            ASSERT_TRUE(::IsWindow(dlg.m_hWnd));
            EXPECT_EQ(rows, dlg.m_fileList.GetItemCount());
            EXPECT_EQ(MAKELRESULT(IDC_PRINT_ALL, DC_HASDEFID), ::SendMessageA(dlg.m_hWnd, DM_GETDEFID, 0, 0));
            const char path[] = "C:\\写真\\IMG_0001.JPG";
            ::SendMessageA(dlg.m_hWnd, WM_FILELIST_ADD, reinterpret_cast<WPARAM>(path), 0);
            EXPECT_EQ(rows, dlg.m_fileList.GetItemCount()) << "a path the tree did not announce was added";
        });
    Run();
}

// With the main window hanging off any edge of the screen, a dialog centred
// over it still lies wholly inside the work area of its monitor.
TEST_F(MainWindow, CentredDialogsStayInsideTheWorkArea)
{
    RECT work{};
    HWND about = nullptr;
    Shown().Then([&] {
        MONITORINFO monitor = {};
        monitor.cbSize = sizeof monitor;
        ASSERT_TRUE(::GetMonitorInfoA(::MonitorFromWindow(dlg.m_hWnd, MONITOR_DEFAULTTONEAREST), &monitor));
        work = monitor.rcWork;
    });
    const int kVisible = 60;   // pixels of the main window left on the screen
    for (int corner = 0; corner < 2; corner++) {
        script.Then([&, corner] {
                RECT own;
                ::GetWindowRect(dlg.m_hWnd, &own);
                const int x = corner == 0 ? work.left - (own.right - own.left) + kVisible : work.right - kVisible;
                const int y = corner == 0 ? work.top - (own.bottom - own.top) + kVisible : work.bottom - kVisible;
                ::SetWindowPos(dlg.m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
                ::GetWindowRect(dlg.m_hWnd, &own);
                ASSERT_EQ(x, own.left) << "the main window did not move off the screen";
                ::PostMessageA(dlg.m_hWnd, WM_SYSCOMMAND, IDM_ABOUTBOX, 0);
            })
            .WaitFor([&] { return (about = FindThreadWindow(kAboutTitle)) != nullptr; }, "the About box")
            .Then([&, corner] {
                RECT r;
                ::GetWindowRect(about, &r);
                EXPECT_GE(r.left, work.left) << "corner " << corner;
                EXPECT_GE(r.top, work.top) << "corner " << corner;
                EXPECT_LE(r.right, work.right) << "corner " << corner;
                EXPECT_LE(r.bottom, work.bottom) << "corner " << corner;
                PostClick(about, IDOK);
            })
            .WaitFor([&] { return !::IsWindow(about); }, "the About box to close");
    }
    Run();
}

} // namespace
