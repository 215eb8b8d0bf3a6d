// The print-range dialog driven by posted mouse messages and button clicks:
// the dragged range, the inverting frame, how the dialog can end, view mode.
#include "PrintRangeDlg.h"
#include "MainWindowFixture.h"
#include "PostedMouse.h"
#include "TestImages.h"
#include <gtest/gtest.h>
#include <vector>

namespace {

const char kRangeTitle[] = "表示＆印刷範囲指定";
const char kNoRange[] = "印刷範囲が、指定されていません。";
const DWORD kBlue = 0xFF0000FF;

LPARAM At(int x, int y) { return MAKELPARAM(x, y); }

// A press, a move or a release over the picture, as the mouse sends it.
struct MouseStep {
    UINT message;
    WPARAM flags;
    int x, y;
};

// Gestures, handled by the time Send returns.
struct Gesture {
    const char* name;
    std::vector<MouseStep> steps;
};

const Gesture kLandscapeDrag = { "", { { WM_LBUTTONDOWN, MK_LBUTTON, 10, 10 }, { WM_MOUSEMOVE, MK_LBUTTON, 137, 11 } } };

void Send(HWND picture, const Gesture& gesture)
{
    for (const MouseStep& s : gesture.steps)
        ::SendMessageA(picture, s.message, s.flags, At(s.x, s.y));
}

std::string GestureName(const ::testing::TestParamInfo<Gesture>& info) { return info.param.name; }

class RangeDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        photo = folder.File("photo.png");
        ASSERT_TRUE(SaveSolid(photo, 1200, 900, "image/png", kBlue));
        dlg.m_path = Wide(photo).c_str();
    }
    INT_PTR Run()
    {
        script.Start();
        INT_PTR result = dlg.DoModal();
        EXPECT_TRUE(script.Finished()) << script.Failure();
        return result;
    }
    HWND Picture() { return ::GetDlgItem(dlg.m_hWnd, IDC_PICTURE); }
    void Drag(int fromX, int fromY, int toX, int toY) { PostDrag(Picture(), fromX, fromY, toX, toY); }
    ModalScript& Shown()
    {
        return script.WaitShown(dlg.m_hWnd, "the dialog");
    }

    TempFolder folder;
    std::string photo;
    CPrintRangeDlg dlg;
    ModalScript script;
};

TEST_F(RangeDialog, PrintHandsBackTheDraggedRangeInPhotoPixels)
{
    float fittedScale = 0;
    Shown().Then([&] {
            // 1200 photo pixels over the fitted width
            fittedScale = dlg.m_picture.m_scale;
            // A scale that makes the range easy to work out by hand.
            dlg.m_picture.m_scale = 2.5f;
            Drag(10, 10, 137, 11);
        })
        .Pause(3)
        .Then([this] {
            EXPECT_EQ(CRect(10, 10, 137, 99), dlg.m_picture.m_dragRect);
            // 137 * 2.5 = 342.5 and 99 * 2.5 = 247.5, truncated
            EXPECT_EQ(CRect(25, 25, 342, 247), dlg.m_picture.m_range);
            // a second drag replaces the first: 200 high, 200 * 89 / 127 = 140 wide
            Drag(20, 30, 120, 230);
        })
        .Pause(3)
        .Then([this] { PostClick(dlg.m_hWnd, IDC_RANGE_PRINT); });
    EXPECT_EQ(IDOK, Run());
    EXPECT_EQ(CRect(20, 30, 160, 230), dlg.m_picture.m_dragRect);
    EXPECT_EQ(CRect(50, 75, 400, 575), dlg.m_range);
    EXPECT_GT(fittedScale, 1.0f);
}

TEST_F(RangeDialog, IgnoresDragsLeftOfOrAboveThePressAndMovesWithoutTheButton)
{
    Shown().Then([this] {
            Drag(50, 50, 40, 200);                        // left of the press
            Drag(50, 50, 200, 40);                        // above it
            ::PostMessageA(Picture(), WM_MOUSEMOVE, 0, At(200, 200));   // no button
        })
        .Pause(3)
        .Then([this] {
            EXPECT_TRUE(dlg.m_picture.m_dragRect.IsRectEmpty());
            EXPECT_TRUE(dlg.m_picture.m_range.IsRectEmpty());
            EXPECT_EQ(50, dlg.m_picture.m_dragStart.x);
            PostClick(dlg.m_hWnd, IDC_RANGE_CLOSE);
        });
    EXPECT_EQ(IDCANCEL, Run());
}

TEST_F(RangeDialog, TheFrameInvertsAndTheNextFrameReplacesIt)
{
    auto row = [this](int y, int x0, int x1) {
        int inverted = 0;
        for (int x = x0; x < x1; x++) {
            POINT p = ClientToScreenPoint(Picture(), x, y);
            if (NearColour(ScreenPixel(p.x, p.y), RGB(255, 255, 0), 8))
                ++inverted;
        }
        return inverted;
    };
    // The screen shows what was drawn a moment later: wait for each frame.
    Shown().WaitFor([&] { return row(10, 10, 137) == 0 && row(98, 10, 137) == 0; }, "the picture without a frame")
        .Then([&] { Drag(10, 10, 137, 11); })
        // the top and bottom edges, through a halftone brush
        .WaitFor([&] { return row(10, 10, 137) > 20 && row(98, 10, 137) > 20; }, "the frame")
        .Then([&] {
            EXPECT_EQ(0, row(11, 12, 135));    // inside the 1-pixel frame: untouched
            ::PostMessageA(Picture(), WM_MOUSEMOVE, MK_LBUTTON, At(60, 11));
        })
        // the new frame's top edge; the old one is gone
        .WaitFor([&] { return row(10, 10, 60) > 10 && row(10, 61, 137) == 0 && row(98, 10, 137) == 0; },
                 "the new frame alone")
        .Then([&] {
            EXPECT_EQ(CRect(10, 10, 60, 45), dlg.m_picture.m_dragRect);   // 50 * 89 / 127 = 35
            PostClick(dlg.m_hWnd, IDC_RANGE_CLOSE);
        });
    Run();
}

// After a landscape drag, a gesture that must leave its frame and range.
class RangeDialogKeeps : public RangeDialog, public ::testing::WithParamInterface<Gesture> {};

TEST_P(RangeDialogKeeps, TheFrameAndTheRange)
{
    CRect frame, range;
    Shown().Then([&] {
        Send(Picture(), kLandscapeDrag);
        frame = dlg.m_picture.m_dragRect;
        range = dlg.m_picture.m_range;
        EXPECT_FALSE(range.IsRectEmpty());
        Send(Picture(), GetParam());
        EXPECT_EQ(frame, dlg.m_picture.m_dragRect);
        EXPECT_EQ(range, dlg.m_picture.m_range);
        // 印刷 without a range would wait on its message box.
        PostClick(dlg.m_hWnd, dlg.m_picture.m_range.IsRectEmpty() ? IDC_RANGE_CLOSE : IDC_RANGE_PRINT);
    });
    EXPECT_EQ(IDOK, Run());
    EXPECT_EQ(range, dlg.m_range);
}

INSTANTIATE_TEST_SUITE_P(RangeDialog, RangeDialogKeeps, ::testing::Values(
    Gesture{ "PressAndReleaseWithoutAMove", { { WM_LBUTTONDOWN, MK_LBUTTON, 60, 50 }, { WM_LBUTTONUP, 0, 60, 50 } } },
    Gesture{ "DragUpOrLeft", { { WM_LBUTTONDOWN, MK_LBUTTON, 100, 100 }, { WM_MOUSEMOVE, MK_LBUTTON, 90, 200 },
                               { WM_MOUSEMOVE, MK_LBUTTON, 200, 90 }, { WM_MOUSEMOVE, MK_LBUTTON, 50, 50 } } }),
    GestureName);

// Gestures that leave no range: 印刷 asks for one.
class RangeDialogWithoutRange : public RangeDialog, public ::testing::WithParamInterface<Gesture> {};

TEST_P(RangeDialogWithoutRange, PrintShowsTheMessageAndStaysOpen)
{
    HWND box = nullptr;
    Shown().Then([this] {
            Send(Picture(), GetParam());
            EXPECT_TRUE(dlg.m_picture.m_range.IsRectEmpty());
            PostClick(dlg.m_hWnd, IDC_RANGE_PRINT);
        })
        .WaitFor([&] { return (box = FindThreadWindow(AfxGetAppName())) != nullptr; }, "the message box")
        .Then([&] {
            EXPECT_EQ(dlg.m_hWnd, ::GetWindow(box, GW_OWNER));
            EXPECT_TRUE(HasChildWithText(box, kNoRange));
            PostClick(box, IDOK);
        })
        .WaitFor([&] { return !::IsWindow(box); }, "the message box to close")
        .Then([this] {
            EXPECT_TRUE(::IsWindowVisible(dlg.m_hWnd));
            PostClick(dlg.m_hWnd, IDC_RANGE_CLOSE);
        });
    EXPECT_EQ(IDCANCEL, Run());
    EXPECT_TRUE(dlg.m_range.IsRectEmpty());
}

INSTANTIATE_TEST_SUITE_P(RangeDialog, RangeDialogWithoutRange, ::testing::Values(
    Gesture{ "NoDrag", {} },
    // After the landscape drag, a 1 x 1 drag: upright, 89 x 127 of one pixel high is 0 wide.
    Gesture{ "OneByOneDrag", { { WM_LBUTTONDOWN, MK_LBUTTON, 10, 10 }, { WM_MOUSEMOVE, MK_LBUTTON, 137, 11 },
                               { WM_LBUTTONDOWN, MK_LBUTTON, 10, 10 }, { WM_MOUSEMOVE, MK_LBUTTON, 11, 11 } } }),
    GestureName);

TEST_F(RangeDialog, TheCloseBoxEndsWithOkAndNoRange)
{
    Shown().Then([this] { Drag(10, 10, 137, 11); })
        .Pause(3)
        .Then([this] {
            EXPECT_FALSE(dlg.m_picture.m_range.IsRectEmpty());
            ::PostMessageA(dlg.m_hWnd, WM_SYSCOMMAND, SC_CLOSE, 0);
        });
    EXPECT_EQ(IDOK, Run());
    EXPECT_TRUE(dlg.m_range.IsRectEmpty());
}

TEST_F(RangeDialog, EnterAndEscDoNothing)
{
    Shown().Then([this] {
            ::PostMessageA(::GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0x00010001);
            ::PostMessageA(dlg.m_hWnd, WM_COMMAND, IDOK, 0);
            ::PostMessageA(dlg.m_hWnd, WM_COMMAND, IDCANCEL, 0);
        })
        .Pause(5)
        .Then([this] {
            EXPECT_TRUE(::IsWindowVisible(dlg.m_hWnd));
            PostClick(dlg.m_hWnd, IDC_RANGE_CLOSE);
        });
    EXPECT_EQ(IDCANCEL, Run());
}

TEST_F(RangeDialog, PlacesThePictureInsideTheMargins)
{
    Shown().Then([this] {
        EXPECT_EQ(kRangeTitle, WindowText(dlg.m_hWnd));
        EXPECT_EQ(::GetDlgItem(dlg.m_hWnd, IDC_RANGE_CLOSE), ::GetFocus());
        RECT client, picture;
        ::GetClientRect(dlg.m_hWnd, &client);
        ::GetWindowRect(Picture(), &picture);
        ::MapWindowPoints(nullptr, dlg.m_hWnd, reinterpret_cast<POINT*>(&picture), 2);
        EXPECT_EQ(10, picture.left);
        EXPECT_EQ(10, picture.top);
        // the fitted photo fills the width or the height of the inset area
        int w = picture.right - picture.left, h = picture.bottom - picture.top;
        EXPECT_TRUE(w == client.right - 20 || h == client.bottom - 60) << w << " x " << h;
        EXPECT_LE(w, client.right - 20);
        EXPECT_LE(h, client.bottom - 60);
        EXPECT_TRUE(dlg.m_picture.m_dragEnabled);
        PostClick(dlg.m_hWnd, IDC_RANGE_CLOSE);
    });
    Run();
}

TEST_F(RangeDialog, ViewModeIsTitledAndHidesPrintAndHint)
{
    dlg.m_viewOnly = true;
    Shown().Then([this] {
            EXPECT_EQ("表示", WindowText(dlg.m_hWnd));
            for (int id : { IDC_RANGE_PRINT, IDC_RANGE_HINT }) {
                HWND control = ::GetDlgItem(dlg.m_hWnd, id);
                EXPECT_FALSE(::IsWindowVisible(control)) << id;
                EXPECT_FALSE(::IsWindowEnabled(control)) << id;
            }
            EXPECT_TRUE(::IsWindowVisible(::GetDlgItem(dlg.m_hWnd, IDC_RANGE_CLOSE)));
            Drag(10, 10, 137, 11);   // a drag still draws; nothing reads it
        })
        .Pause(3)
        .Then([this] {
            EXPECT_FALSE(dlg.m_picture.m_range.IsRectEmpty());
            PostClick(dlg.m_hWnd, IDC_RANGE_CLOSE);
        });
    EXPECT_EQ(IDCANCEL, Run());
}

TEST_F(RangeDialog, ShowsTemplate130AsTheUserMeetsIt)
{
    Shown().Then([this] {
        HWND h = dlg.m_hWnd;
        struct Control {
            int id;
            const char* text;
            int x, y, w, h;   // dialog units
        };
        const Control controls[] = {
            { IDC_RANGE_CLOSE, "閉じる", 287, 253, 50, 17 },
            { IDC_RANGE_PRINT, "印刷", 227, 253, 50, 17 },
            { IDC_RANGE_HINT, "マウスをドラッグして印刷範囲を指定してください。", 11, 253, 206, 17 },
        };
        for (const Control& c : controls) {
            HWND control = ::GetDlgItem(h, c.id);
            EXPECT_EQ(c.text, WindowText(control)) << c.id;
            EXPECT_EQ(TemplatePlace(h, c.x, c.y, c.w, c.h), PlaceOf(control)) << c.id;
            EXPECT_TRUE(::IsWindowVisible(control)) << c.id;
        }
        // Neither button is the default one.
        for (int id : { IDC_RANGE_CLOSE, IDC_RANGE_PRINT })
            EXPECT_EQ(BS_PUSHBUTTON, ::GetWindowLongA(::GetDlgItem(h, id), GWL_STYLE) & BS_TYPEMASK) << id;
        // The picture is made 10 pixels in from the client area's left, top
        // and right, 50 above its bottom; it then takes the fitted photo's
        // height (4:3 here, fitted to the full width).
        RECT client, picture;
        ::GetClientRect(h, &client);
        ::GetWindowRect(Picture(), &picture);
        ::MapWindowPoints(nullptr, h, reinterpret_cast<POINT*>(&picture), 2);
        EXPECT_EQ(10, picture.left);
        EXPECT_EQ(10, picture.top);
        EXPECT_EQ(client.right - 10, picture.right);
        EXPECT_LE(picture.bottom, client.bottom - 50);
        EXPECT_EQ(BitmapSize(Fitted(dlg.m_picture)).cy,
                  picture.bottom - picture.top);
        PostClick(h, IDC_RANGE_CLOSE);
    });
    Run();
}

} // namespace
