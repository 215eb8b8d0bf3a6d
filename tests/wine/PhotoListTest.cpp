// Import through the real file-open dialog, the page of twelve cells, and
// scrolling: which photo each cell shows, what is decoded, what is handed on.
#include "ApiSpy.h"
#include "CommonDialogs.h"
#include "MainWindowFixture.h"
#include "PostedMouse.h"
#include "TestImages.h"
#include <cstdio>

namespace {

const COLORREF kGrey = RGB(192, 192, 192);

// A distinct colour per photo, so a cell shows which one it holds.
COLORREF ColourOf(int i) { return RGB(40 + i * 13, 200 - i * 7, 0x30); }

using Bitmaps = std::vector<HBITMAP>;

class PhotoList : public MainWindowFixture {
protected:
    std::vector<std::string> MakePhotos(int count)
    {
        std::vector<std::string> names;
        for (int i = 0; i < count; i++) {
            char name[32];
            std::snprintf(name, sizeof name, "p%02d.png", i);
            EXPECT_TRUE(SaveSolid(folder.File(name), 64, 48, "image/png", Argb(ColourOf(i))));
            names.push_back(name);
        }
        return names;
    }
    void Import(const std::vector<std::string>& names)
    {
        ImportThroughDialog(script, dlg, folder.Path(), names);
    }
    // The cell holds photo i: its path, and its picture in that photo's colour.
    void ExpectPhoto(int cell, int i)
    {
        char name[32];
        std::snprintf(name, sizeof name, "p%02d.png", i);
        EXPECT_EQ(Wide(folder.File(name)), dlg.m_cells[cell].GetPath().str()) << "cell " << cell;
        EXPECT_TRUE(NearColour(BitmapPixel(Fitted(cell), 30, 30), ColourOf(i), 4)) << "cell " << cell << " photo " << i;
    }
    void ExpectBlank(int cell)
    {
        EXPECT_TRUE(dlg.m_cells[cell].GetPath().IsEmpty()) << "cell " << cell;
        SIZE size = BitmapSize(Fitted(cell));
        EXPECT_EQ(size.cx, size.cy) << "the blank picture is square, cell " << cell;
        EXPECT_EQ(kGrey, BitmapPixel(Fitted(cell), size.cx / 2, size.cy / 2)) << "cell " << cell;
    }
    // A click on a cell's picture, and the wait for the selection it makes.
    ModalScript& Clicked(int cell)
    {
        return script.Then([this, cell] { PostClickAt(InnerPicture(cell), 5, 5); })
            .WaitFor([this, cell] { return dlg.m_selCell == cell; }, "the click");
    }
    // The bitmaps that `count` cells from the first given show.
    Bitmaps CellBitmaps(int first = 0, int count = kCellCount)
    {
        Bitmaps shown;
        for (int i = first; i < first + count; i++)
            shown.push_back(Fitted(i));
        return shown;
    }
    // The files decoded for the screen since the spy started.
    static std::vector<std::string> Decoded() { return ApiSpy::Args("GdipCreateBitmapFromFile"); }
    void Down() { PostClick(dlg.m_hWnd, IDC_SCROLL_DOWN); }
    void Up() { PostClick(dlg.m_hWnd, IDC_SCROLL_UP); }

    TempFolder folder;
    std::vector<std::string> names_;
};

TEST_F(PhotoList, ImportingFiveFillsFiveCellsAndBlanksTheRest)
{
    names_ = MakePhotos(5);
    Shown();
    Import(names_);
    script.Then([this] {
        ASSERT_EQ(5, dlg.m_photoList.GetSize());
        for (int i = 0; i < 5; i++) {
            EXPECT_EQ(Wide(folder.File(names_[i])), dlg.m_photoList[i].str());
            ExpectPhoto(i, i);
        }
        for (int i = 5; i < kCellCount; i++)
            ExpectBlank(i);
        EXPECT_EQ(0, dlg.m_topIndex);
    });
    Run();
}

TEST_F(PhotoList, ScrollsByRowsThroughThirteenPhotos)
{
    Shown();
    Import(MakePhotos(13));
    script.Then([this] { Down(); })
        .WaitFor([this] { return dlg.m_topIndex == 3; }, "the first scroll down")
        .Then([this] {
            for (int i = 0; i < 10; i++)
                ExpectPhoto(i, i + 3);
            ExpectBlank(10);
            ExpectBlank(11);
            Down();   // nothing lies beyond the page now
        })
        .Pause(5)
        .Then([this] {
            EXPECT_EQ(3, dlg.m_topIndex);
            ExpectPhoto(0, 3);
            Up();
        })
        .WaitFor([this] { return dlg.m_topIndex == 0; }, "the scroll up")
        .Then([this] {
            for (int i = 0; i < kCellCount; i++)
                ExpectPhoto(i, i);
        });
    Run();
}

TEST_F(PhotoList, AScrollDecodesThreePhotosAndHandsTheOtherNineOn)
{
    Shown();
    Import(MakePhotos(15));
    Bitmaps lastNine;
    LONG gdiBefore = 0;
    script.Then([&] {
            lastNine = CellBitmaps(3, 9);
            gdiBefore = CGdiObject::LiveCount();
            ApiSpy::Start();
            Down();
        })
        .WaitFor([this] { return dlg.m_topIndex == 3; }, "the scroll down")
        .Then([&] {
            std::vector<std::string> expected = { folder.File("p12.png"), folder.File("p13.png"), folder.File("p14.png") };
            EXPECT_EQ(expected, Decoded());
            EXPECT_EQ(lastNine, CellBitmaps(0, 9));
            EXPECT_EQ(gdiBefore, CGdiObject::LiveCount());
            ApiSpy::Start();
            Up();
        })
        .WaitFor([this] { return dlg.m_topIndex == 0; }, "the scroll up")
        .Then([&] {
            ApiSpy::Stop();
            std::vector<std::string> expected = { folder.File("p00.png"), folder.File("p01.png"), folder.File("p02.png") };
            EXPECT_EQ(expected, Decoded());
            for (int i = 3; i < kCellCount; i++)
                ExpectPhoto(i, i);
            EXPECT_EQ(gdiBefore, CGdiObject::LiveCount());
        });
    Run();
}

TEST_F(PhotoList, ScrollingClearsTheSelectedCellButNotThePhoto)
{
    Shown();
    Import(MakePhotos(15));
    Clicked(4)
        .Then([this] { Down(); })
        .WaitFor([this] { return dlg.m_topIndex == 3; }, "the scroll")
        .Then([this] {
            EXPECT_EQ(-1, dlg.m_selCell);
            EXPECT_EQ(4, dlg.m_selPhoto);
        });
    Run();
}

TEST_F(PhotoList, ScrollsThatCannotMoveChangeNothingNotEvenTheSelection)
{
    Shown();
    Import(MakePhotos(12));
    Bitmaps before;
    Clicked(2)
        .Then([&] {
            before = CellBitmaps();
            ApiSpy::Start();
            Up();     // on the first page
            Down();   // twelve photos: nothing beyond the page
        })
        .Pause(10)
        .Then([&] {
            ApiSpy::Stop();
            EXPECT_EQ(0, dlg.m_topIndex);
            EXPECT_EQ(2, dlg.m_selCell);
            EXPECT_EQ(2, dlg.m_selPhoto);
            EXPECT_TRUE(Decoded().empty());
            EXPECT_EQ(before, CellBitmaps());
        });
    Run();
}

TEST_F(PhotoList, UpPausesHalfASecondAndDownDoesNot)
{
    Shown();
    Import(MakePhotos(15));
    script.Then([this] {
        ApiSpy::Start();
        dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_SCROLL_DOWN, BN_CLICKED), 0);
        EXPECT_EQ(3, dlg.m_topIndex);
        EXPECT_EQ(0, ApiSpy::Count("Sleep")) << "after down";
        dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_SCROLL_UP, BN_CLICKED), 0);
        ApiSpy::Stop();
        EXPECT_EQ(0, dlg.m_topIndex);
        ASSERT_EQ(1, ApiSpy::Count("Sleep")) << "after up";
        EXPECT_EQ("500", ApiSpy::Find("Sleep")->args);
    });
    Run();
}

TEST_F(PhotoList, AClickMessageThatNamesNoCellLeavesTheSelection)
{
    Shown();
    Import(MakePhotos(3));
    Clicked(2)
        .Then([this] {
            // From another program: ids just outside the cells', and far outside.
            for (WPARAM id : { WPARAM(IDC_CELL_FIRST - 1), WPARAM(IDC_CELL_LAST + 1), WPARAM(0), ~WPARAM(0) })
                ::PostMessageA(dlg.m_hWnd, WM_THUMB_CLICKED, id, 0);
        })
        .Pause(10)
        .Then([this] {
            EXPECT_EQ(2, dlg.m_selCell);
            EXPECT_EQ(2, dlg.m_selPhoto);
        });
    Run();
}

TEST_F(PhotoList, ASecondImportOntoAFullPageChangesNoCell)
{
    std::vector<std::string> names = MakePhotos(14);
    std::vector<std::string> first(names.begin(), names.begin() + 12);
    std::vector<std::string> second(names.begin() + 12, names.end());
    Bitmaps before;
    Shown();
    Import(first);
    script.Then([&] {
        before = CellBitmaps();
        ApiSpy::Start();
    });
    Import(second);
    script.Then([&] {
        ApiSpy::Stop();
        EXPECT_EQ(14, dlg.m_photoList.GetSize());
        EXPECT_TRUE(Decoded().empty());
        EXPECT_EQ(before, CellBitmaps());
    });
    Run();
}

TEST_F(PhotoList, TheSameFileTwiceAndAMissingNameAreListed)
{
    MakePhotos(1);
    Shown();
    Import({ "p00.png", "nosuch.png", "p00.png" });
    script.Then([this] {
        ASSERT_EQ(3, dlg.m_photoList.GetSize());
        EXPECT_EQ(Wide(folder.File("p00.png")), dlg.m_photoList[0].str());
        EXPECT_EQ(Wide(folder.File("nosuch.png")), dlg.m_photoList[1].str());
        EXPECT_EQ(Wide(folder.File("p00.png")), dlg.m_photoList[2].str());
        ExpectPhoto(0, 0);
        ExpectPhoto(2, 0);
        // a fresh cell whose file fails shows nothing, yet holds the path
        EXPECT_EQ(nullptr, Fitted(1));
        EXPECT_EQ(Wide(folder.File("nosuch.png")), dlg.m_cells[1].GetPath().str());
    });
    Run();
}

std::wstring CurrentFolder()
{
    WCHAR folder[MAX_PATH] = L"";
    ::GetCurrentDirectoryW(MAX_PATH, folder);
    return folder;
}

// The dialog moves the current folder to where the photos were picked; the
// import puts it back (Windows would hold that folder, a card's, open), and
// the next dialog opens where the last import picked.
TEST_F(PhotoList, AnImportKeepsTheCurrentFolderAndCancellingTheNextChangesNothing)
{
    MakePhotos(2);
    const std::wstring startedIn = CurrentFolder();
    ASSERT_NE(Wide(folder.Path()), startedIn);
    Shown();
    Import({ "p00.png", "p01.png" });
    Bitmaps before;
    std::wstring openedIn;
    script.Then([&] {
        EXPECT_EQ(startedIn, CurrentFolder());
        before = CellBitmaps();
    });
    CancelImport(script, dlg, &openedIn);
    script.Then([&] {
        EXPECT_EQ(2, dlg.m_photoList.GetSize());
        EXPECT_EQ(before, CellBitmaps());
    });
    Run();
    EXPECT_EQ(Wide(folder.Path()), openedIn);
    EXPECT_EQ(startedIn, CurrentFolder());
}

TEST_F(PhotoList, BeforeTheFirstImportTheCellsShowNothing)
{
    Shown().Then([this] {
        for (int i = 0; i < kCellCount; i++) {
            EXPECT_EQ(nullptr, Fitted(i));
            EXPECT_TRUE(dlg.m_cells[i].GetPath().IsEmpty());
        }
    });
    Run();
}

} // namespace
