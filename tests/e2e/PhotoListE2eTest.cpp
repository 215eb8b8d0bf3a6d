// Importing, seeing, scrolling and selecting photos in the real program.
#include "KiruneProcess.h"
#include "PostedMouse.h"
#include "TestImages.h"
#include <gtest/gtest.h>
#include <cstdio>

namespace {

const int kCellFirst = 1007, kCellCount = 12;
const int kImport = 1004, kScrollUp = 1006, kScrollDown = 1001;
const COLORREF kGrey = RGB(192, 192, 192), kMagenta = RGB(255, 0, 255);

COLORREF PhotoColour(int i) { return RGB(30 + i * 14, 220 - i * 9, 60 + (i % 3) * 50); }

class PhotoListE2e : public RunningKirune {
protected:
    std::string MakePhotos(int count)
    {
        std::string quoted;
        for (int i = 0; i < count; i++) {
            char name[32];
            std::snprintf(name, sizeof name, "photo%02d.png", i);
            EXPECT_TRUE(SaveSolid(folder.File(name), 120, 90, "image/png", Argb(PhotoColour(i))));
            quoted += std::string("\"") + name + "\" ";
        }
        return quoted;
    }
    void Import(const std::string& quoted)
    {
        ClickButton(main, kImport);
        ASSERT_TRUE(ChooseFiles(kirune.Id(), Wide(folder.Path()), Wide(quoted)));
    }
    HWND Cell(int i) { return ::GetDlgItem(main, kCellFirst + i); }
    COLORREF Band(int i)
    {
        POINT p = ClientToScreenPoint(Cell(i), 3, 3);
        return ScreenPixel(p.x, p.y);
    }
    bool Shows(int cell, COLORREF colour, int tolerance = 6) { return CellShows(main, cell, colour, tolerance); }

    TempFolder folder;
};

TEST_F(PhotoListE2e, ImportShowsThumbnailsAndScrollsByRows)
{
    Import(MakePhotos(14));
    for (int i = 0; i < kCellCount; i++)
        EXPECT_TRUE(Shows(i, PhotoColour(i))) << "cell " << i;

    ClickButton(main, kScrollDown);
    for (int i = 0; i < 11; i++)
        EXPECT_TRUE(Shows(i, PhotoColour(i + 3))) << "after down, cell " << i;
    EXPECT_TRUE(Shows(11, kGrey)) << "cell 11 is blank";

    ClickButton(main, kScrollUp);
    for (int i = 0; i < kCellCount; i++)
        EXPECT_TRUE(Shows(i, PhotoColour(i))) << "after up, cell " << i;
}

TEST_F(PhotoListE2e, AClickedCellShowsTheMagentaBand)
{
    Import(MakePhotos(3));
    ASSERT_TRUE(Shows(1, PhotoColour(1)));
    EXPECT_EQ(kGrey, Band(1));
    HWND picture = ::GetDlgItem(Cell(1), 0xFFFF);
    ASSERT_NE(nullptr, picture);
    PostClickAt(picture, 20, 20);
    EXPECT_TRUE(WaitUntil([this] { return Band(1) == kMagenta; }));
    EXPECT_EQ(kGrey, Band(0));
}

TEST_F(PhotoListE2e, CancellingTheOpenDialogChangesNothing)
{
    Import(MakePhotos(2));
    ASSERT_TRUE(Shows(0, PhotoColour(0)));
    ClickButton(main, kImport);
    HWND open = WaitForWindow(kirune.Id(), OpenDialogTitle());
    ASSERT_NE(nullptr, open);
    ClickButton(open, IDCANCEL);
    ASSERT_TRUE(WaitForGone(open));
    // The cells the dialog covered are painted again, as they were.
    EXPECT_TRUE(Shows(0, PhotoColour(0)));
    EXPECT_TRUE(Shows(1, PhotoColour(1)));
    EXPECT_TRUE(Shows(2, kGrey, 0));
}

} // namespace
