// The main window and the range dialog at the display scale the prefix is
// set to: DpiTest.sh runs these at 96, 144 and 192 dots per inch and names
// the scale in KIRUNE_DPI.
#include "MainWindowFixture.h"
#include "PrintRangeDlg.h"
#include "TestImages.h"
#include <cstdlib>
#include <vector>

namespace {

const int kPhotoW = 640, kPhotoH = 480;

int ScreenDpi()
{
    HDC screen = ::GetDC(nullptr);
    int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    return dpi;
}

RECT PlaceIn(HWND parent, HWND child)
{
    RECT r;
    ::GetWindowRect(child, &r);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

::testing::AssertionResult Inside(const RECT& outer, const RECT& inner)
{
    if (inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right && inner.bottom <= outer.bottom)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "(" << inner.left << ", " << inner.top << ", " << inner.right << ", "
                                         << inner.bottom << ") is not inside " << outer.right << " x " << outer.bottom;
}

// Every child of the dialog lies inside its client area and on no other child.
void ExpectControlsInsideAndApart(HWND dialog)
{
    RECT client;
    ::GetClientRect(dialog, &client);
    std::vector<std::pair<int, RECT>> seen;
    for (HWND child = ::GetWindow(dialog, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        int id = ::GetDlgCtrlID(child);
        RECT place = PlaceIn(dialog, child);
        EXPECT_TRUE(Inside(client, place)) << "control " << id;
        for (const auto& other : seen) {
            RECT common;
            EXPECT_FALSE(::IntersectRect(&common, &place, &other.second))
                << "control " << id << " overlaps control " << other.first;
        }
        seen.push_back({ id, place });
    }
    EXPECT_GE(seen.size(), 3u);
}

// The fit, worked out by hand: the height the photo has when it takes the
// box's whole width, truncated; when that is too tall, the height limits.
SIZE FittedToBox(SIZE photo, SIZE box)
{
    long h = photo.cy * box.cx / photo.cx;
    if (h > box.cy)
        return { photo.cx * box.cy / photo.cy, box.cy };
    return { box.cx, h };
}

SIZE ClientSize(HWND hwnd)
{
    RECT r;
    ::GetClientRect(hwnd, &r);
    return { r.right, r.bottom };
}

// The bitmap on show is the photo fitted to the box, shown one bitmap
// pixel per screen pixel.
void ExpectFitted(HWND picture, HBITMAP fitted, SIZE photo, SIZE box)
{
    ASSERT_NE(nullptr, fitted);
    EXPECT_EQ(fitted, reinterpret_cast<HBITMAP>(::SendMessageA(picture, STM_GETIMAGE, IMAGE_BITMAP, 0)));
    SIZE want = FittedToBox(photo, box), got = BitmapSize(fitted);
    EXPECT_EQ(want.cx, got.cx) << "box " << box.cx << " x " << box.cy;
    EXPECT_EQ(want.cy, got.cy) << "box " << box.cx << " x " << box.cy;
}

// The width of the icon the window shows as ICON_BIG or ICON_SMALL.
long IconWidth(HWND hwnd, WPARAM which)
{
    ICONINFO info{};
    ::GetIconInfo(reinterpret_cast<HICON>(::SendMessageW(hwnd, WM_GETICON, which, 0)), &info);
    const long width = info.hbmColor ? BitmapSize(info.hbmColor).cx : 0;
    ::DeleteObject(info.hbmColor);
    ::DeleteObject(info.hbmMask);
    return width;
}

class Dpi : public MainWindowFixture {
protected:
    void SetUp() override
    {
        const char* wanted = std::getenv("KIRUNE_DPI");
        if (wanted == nullptr)
            GTEST_SKIP() << "KIRUNE_DPI names the scale DpiTest.sh set";
        ASSERT_EQ(std::atoi(wanted), ScreenDpi()) << "the prefix's LogPixels did not take";
        photo = folder.File("photo.png");
        ASSERT_TRUE(SaveSolid(photo, kPhotoW, kPhotoH, "image/png", 0xFF2060A0));
        // Upright, so that the range dialog's picture takes its whole height.
        upright = folder.File("upright.png");
        ASSERT_TRUE(SaveSolid(upright, kPhotoH, kPhotoW, "image/png", 0xFF2060A0));
    }

    TempFolder folder;
    std::string photo, upright;
};

TEST_F(Dpi, MainWindowControlsStayApartAndInsideAndPhotosFitTheirCells)
{
    Shown().Then([this] {
        ExpectControlsInsideAndApart(dlg.m_hWnd);
        // The title bar gets the icon's own small image: 16 pixels at 96
        // dpi, 24 at 144; the large one is twice that.
        EXPECT_EQ(16 * ScreenDpi() / 96, ::GetSystemMetrics(SM_CXSMICON));
        EXPECT_EQ(::GetSystemMetrics(SM_CXSMICON), IconWidth(dlg.m_hWnd, ICON_SMALL));
        EXPECT_EQ(::GetSystemMetrics(SM_CXICON), IconWidth(dlg.m_hWnd, ICON_BIG));
        for (int i = 0; i < kCellCount; i++) {
            RECT cell, inner = PlaceIn(Cell(i), InnerPicture(i));
            ::GetClientRect(Cell(i), &cell);
            EXPECT_EQ(CRect(10, 10, cell.right - 10, cell.bottom - 10), CRect(inner)) << "cell " << i;
            dlg.m_cells[i].LoadPicture(Wide(photo).c_str());
            ExpectFitted(InnerPicture(i), static_cast<HBITMAP>(dlg.m_cells[i].m_picture.m_bitmap.GetSafeHandle()),
                         { kPhotoW, kPhotoH }, ClientSize(InnerPicture(i)));
        }
    });
    Run();
}

TEST_F(Dpi, RangeDialogControlsStayApartAndInsideAndThePhotoFits)
{
    CPrintRangeDlg range;
    range.m_path = Wide(upright).c_str();
    ModalScript rangeScript;
    rangeScript.WaitFor([&] { return range.m_hWnd && ::IsWindowVisible(range.m_hWnd); }, "the range dialog")
        .Then([&] {
            ExpectControlsInsideAndApart(range.m_hWnd);
            // The picture control takes its bitmap's size; it was given the
            // client area less 10 pixels at the top and sides and the
            // button strip at the bottom: 50 pixels at 96 dpi, scaled.
            SIZE client = ClientSize(range.m_hWnd);
            long strip = 50 * ScreenDpi() / 96;
            ExpectFitted(range.m_picture.m_hWnd, static_cast<HBITMAP>(range.m_picture.m_bitmap.GetSafeHandle()),
                         { kPhotoH, kPhotoW }, { client.cx - 20, client.cy - 10 - strip });
            PostClick(range.m_hWnd, IDC_RANGE_CLOSE);
        });
    rangeScript.Start();
    range.DoModal();
    EXPECT_TRUE(rangeScript.Finished()) << rangeScript.Failure();
}

}  // namespace
