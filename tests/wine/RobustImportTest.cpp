// Import at the edges: thousands of names in one dialog, a selection larger
// than the name buffer, names whose bytes hide backslashes, names typed
// with a folder of their own.
#include "ApiSpy.h"
#include "CommonDialogs.h"
#include "MainWindowFixture.h"
#include "OpenDialogText.h"
#include "TestImages.h"
#include <cstdio>

namespace {

class RobustImport : public MainWindowFixture {
protected:
    // Copies of one photo under the given names.
    void MakeCopies(const std::vector<std::string>& names)
    {
        std::string source = folder.File("source.png");
        ASSERT_TRUE(SaveSolid(source, 32, 24, "image/png", 0xFF2060A0));
        for (const std::string& name : names)
            ASSERT_TRUE(::CopyFileA(source.c_str(), folder.File(name).c_str(), FALSE)) << name;
    }

    TempFolder folder;
};

std::vector<std::string> Numbered(int count, int nameLength)
{
    std::vector<std::string> names;
    for (int i = 0; i < count; i++) {
        char number[16];
        std::snprintf(number, sizeof number, "%05d", i);
        std::string name = number;
        name += std::string(static_cast<size_t>(nameLength - 9), 'x') + ".png";
        names.push_back(name);
    }
    return names;
}

TEST_F(RobustImport, TwoThousandPhotosInOneDialog)
{
    std::vector<std::string> names = Numbered(2000, 10);   // about 22 KB of names
    MakeCopies(names);
    Shown();
    ImportThroughDialog(script, dlg, folder.Path(), names);
    script.Then([&] {
        ASSERT_EQ(2000, dlg.m_photoList.GetSize());
        for (int i = 0; i < 2000; i += 199)
            EXPECT_EQ(Wide(folder.File(names[static_cast<size_t>(i)])), dlg.m_photoList[i].str());
        for (int i = 0; i < kCellCount; i++)
            EXPECT_NE(nullptr, Fitted(i)) << "cell " << i;
    });
    Run();
}

TEST_F(RobustImport, NineHundredLongNamesInOneDialog)
{
    // 900 names of 120 characters, some 110,000 in all: more than the
    // 102,400 bytes an ANSI dialog's buffer held.
    std::vector<std::string> names = Numbered(900, 120);
    MakeCopies(names);
    Shown();
    ImportThroughDialog(script, dlg, folder.Path(), names);
    script.Then([&] {
        ASSERT_EQ(900, dlg.m_photoList.GetSize());
        for (int i = 0; i < 900; i += 149)
            EXPECT_EQ(Wide(folder.File(names[static_cast<size_t>(i)])), dlg.m_photoList[i].str());
        EXPECT_NE(nullptr, Fitted(kCellCount - 1));
    });
    Run();
}

TEST_F(RobustImport, ASelectionTooLargeForTheBufferImportsNothingAndSaysSo)
{
    HWND box = nullptr;
    std::wstring text;
    Shown().Then([this] { ApiSpy::Start(); ApiSpy::s_namesTooLong = true; PostClick(dlg.m_hWnd, IDC_IMPORT); })
        .WaitFor([&] { return (box = FindThreadWindow(AfxGetAppName())) != nullptr; }, "the message")
        .Then([&] { text = MessageBoxText(box); PostClick(box, IDOK); })
        .WaitFor([&] { return !::IsWindow(box); }, "the message to close");
    Run();
    ApiSpy::Stop();
    EXPECT_EQ(L"選択したファイルが多すぎるため、取り込めませんでした。一度に選ぶファイルを減らしてください。", text);
    EXPECT_EQ(0, dlg.m_photoList.GetSize());
    const SpyCall* dialog = ApiSpy::Find("GetOpenFileNameW");
    EXPECT_EQ("buffer 1048576", dialog ? dialog->args : "no dialog");
}

TEST_F(RobustImport, NamesWithBackslashTrailBytesSpacesLengthAndFoldersOfTheirOwn)
{
    // 表, ソ and 能 end in the byte 0x5C, the backslash.
    std::vector<std::string> names = {
        "表.png", "ソフト 写真.png", "能登 の 海.png", std::string(196, 'n') + ".png", "a b  c.png", "別\\遠く.png",
    };
    ASSERT_TRUE(folder.MakeFolder("別"));
    MakeCopies(names);
    // A name typed with a folder of its own comes back whole.
    std::vector<std::string> typed = names;
    typed.back() = folder.File(names.back());
    Shown();
    ImportThroughDialog(script, dlg, folder.Path(), typed);
    script.Then([&] {
        ASSERT_EQ(6, dlg.m_photoList.GetSize());
        for (int i = 0; i < 6; i++) {
            EXPECT_EQ(Wide(folder.File(names[static_cast<size_t>(i)])), dlg.m_photoList[i].str());
            EXPECT_TRUE(NearColour(BitmapPixel(Fitted(i), 40, 30), RGB(0x20, 0x60, 0xA0), 4)) << names[static_cast<size_t>(i)];
        }
    });
    Run();
}

TEST_F(RobustImport, TheSamePhotoFiftyTimes)
{
    MakeCopies({ "same.png" });
    Shown();
    for (int i = 0; i < 5; i++)
        ImportThroughDialog(script, dlg, folder.Path(), std::vector<std::string>(10, "same.png"));
    script.Then([this] {
        ASSERT_EQ(50, dlg.m_photoList.GetSize());
        for (int i = 0; i < 50; i++)
            EXPECT_EQ(Wide(folder.File("same.png")), dlg.m_photoList[i].str()) << i;
        for (int i = 0; i < kCellCount; i++)
            EXPECT_TRUE(NearColour(BitmapPixel(Fitted(i), 40, 30), RGB(0x20, 0x60, 0xA0), 4)) << "cell " << i;
        // Each entry prints as a document of its own; the file is never held open.
        HDC screen = ::GetDC(nullptr);
        HDC device = ::CreateCompatibleDC(screen);
        ::ReleaseDC(nullptr, screen);
        ApiSpy::Start();
        for (int i = 0; i < dlg.m_photoList.GetSize(); i++)
            dlg.PrintPhoto(device, dlg.m_photoList[i]);
        ApiSpy::Stop();
        ::DeleteDC(device);
        EXPECT_EQ(50, ApiSpy::Count("GdipLoadImageFromFile"));
        EXPECT_EQ(std::vector<std::string>(), ApiSpy::Unreleased());
        std::string renamed = folder.File("renamed.png");
        EXPECT_TRUE(::MoveFileA(folder.File("same.png").c_str(), renamed.c_str()));
        EXPECT_TRUE(::MoveFileA(renamed.c_str(), folder.File("same.png").c_str()));
    });
    Run();
}

} // namespace
