// Printing with the real program: 全印刷 and 個別印刷 through the printer
// dialog onto the default PDF printer of the test scheduler (300 dpi), and
// the documents that the spooler wrote.
#include "PrintE2e.h"
#include <gtest/gtest.h>

namespace {

TEST_F(PrintE2e, PrintAllGivesOneDocumentPerPhotoInListOrder)
{
    Photo("a.png", 400, 300, [](int, int) { return kRed; });
    Photo("b.png", 300, 400, [](int, int) { return kLime; });
    Photo("c.jpg", 320, 320, [](int, int) { return kBlue; });
    Import("\"a.png\" \"b.png\" \"c.jpg\"");
    ClickButton(main, kPrintAll);
    AnswerPrinterDialog(IDOK);
    ASSERT_TRUE(WaitForPdfs(3));

    std::vector<std::string> pdfs = Pdfs();
    ASSERT_EQ(3u, pdfs.size());
    const DWORD colours[] = { kRed, kLime, kBlue };
    for (int i = 0; i < 3; i++) {
        PdfFacts facts = Read(pdfs[i], { { kPageW / 2, kPageH / 2 } });
        ExpectDocument(facts, pdfs[i]);
        ExpectArea(facts, pdfs[i]);
        ASSERT_EQ(1u, facts.pixels.size());
        EXPECT_TRUE(NearColour(facts.pixels[0], Rgb(colours[i]), 40)) << "document " << i;
    }
}

// The photo picked is the one shown and printed, whatever its name or its
// folder's: "café" beside a decoy without the accent, names no ANSI code page
// spells (a surrogate pair, Hangul, a kanji outside JIS X 0208), names whose
// Shift-JIS bytes hold a backslash, and a folder named with an emoji; and
// the printer's: the test scheduler's default is "Café写真". The entry
// e2e.Names1252 runs this under code page 1252 as well.
TEST_F(PrintE2e, EveryNameShowsAndPrintsItsOwnPhoto)
{
    const std::wstring wideNamed = L"Café写真";
    wchar_t printer[MAX_PATH] = L"";
    DWORD size = MAX_PATH;
    ASSERT_TRUE(::GetDefaultPrinterW(printer, &size) && printer == wideNamed) << "another default printer";
    struct Named {
        const wchar_t* name;
        COLORREF colour;
    };
    const Named photos[] = {
        { L"café.png", RGB(255, 0, 0) }, { L"cafe.png", RGB(0, 255, 255) }, { L"😀.png", RGB(0, 255, 0) },
        { L"한글.png", RGB(0, 0, 255) }, { L"𠮷.png", RGB(255, 255, 0) }, { L"表.png", RGB(255, 0, 255) },
        { L"ソ.png", RGB(255, 128, 0) }, { L"🌸 写真\\海.png", RGB(128, 0, 255) },
    };
    const int count = sizeof photos / sizeof photos[0];
    const std::wstring inner = folder.File(std::wstring(L"🌸 写真"));
    ASSERT_TRUE(::CreateDirectoryW(inner.c_str(), nullptr));
    std::wstring quoted;
    for (const Named& p : photos) {
        const DWORD argb = Argb(p.colour);
        ASSERT_TRUE(SaveImage(folder.File(std::wstring(p.name)), 90, 120, "image/png", [argb](int, int) { return argb; }));
        if (&p != &photos[count - 1])
            quoted += L"\"" + std::wstring(p.name) + L"\" ";
    }
    Import(quoted);
    Import(L"\"海.png\"", inner);
    for (int i = 0; i < count; i++)
        EXPECT_TRUE(CellShows(main, i, photos[i].colour)) << "cell " << i;

    ClickButton(main, kPrintAll);
    AnswerPrinterDialog(IDOK);
    ASSERT_TRUE(WaitForPdfs(count));
    std::vector<std::string> pdfs = Pdfs();
    ASSERT_EQ(static_cast<size_t>(count), pdfs.size());
    for (int i = 0; i < count; i++)
        EXPECT_TRUE(NearColour(Middle(pdfs[i]), photos[i].colour, 40)) << "document " << i;

    // 個別印刷 of the photo in the emoji folder prints a range of that photo.
    Select(count - 1);
    HWND range = OpenRangeDialog();
    ASSERT_NE(nullptr, range);
    Drag(range, 10, 10, 100, 200);
    ClickButton(range, kRangePrint);
    ASSERT_TRUE(WaitForGone(range));
    AnswerPrinterDialog(IDOK);
    ASSERT_TRUE(WaitForPdfs(count + 1));
    pdfs = Pdfs();
    ASSERT_EQ(static_cast<size_t>(count + 1), pdfs.size());
    EXPECT_TRUE(NearColour(Middle(pdfs.back()), photos[count - 1].colour, 40));
}

// Entries that are no printable photos cost no sheet: no document for them,
// and one message names them after the command.
TEST_F(PrintE2e, WhatCannotPrintStartsNoDocumentAndIsNamed)
{
    Photo("a.png", 400, 300, [](int, int) { return kRed; });
    ASSERT_TRUE(SaveBytes(folder.File("メモ.txt"), "not a photo\r\n"));
    std::string gone = Photo("gone.png", 300, 400, [](int, int) { return kLime; });
    Photo("c.png", 300, 400, [](int, int) { return kBlue; });
    ASSERT_TRUE(SaveBytes(folder.File("空.png"), ""));
    Import("\"a.png\" \"メモ.txt\" \"gone.png\" \"c.png\" \"空.png\"");
    // The program may still be decoding the thumbnails, which holds the file
    // open for a moment: delete it once it is free.
    ASSERT_TRUE(WaitUntil([&gone] { return ::DeleteFileA(gone.c_str()) != FALSE; }));
    ClickButton(main, kPrintAll);
    AnswerPrinterDialog(IDOK);
    EXPECT_EQ(L"次の写真は印刷できませんでした。\n\nメモ.txt\ngone.png\n空.png", AnswerMessage());
    ASSERT_TRUE(WaitForPdfs(2));
    std::vector<std::string> pdfs = Pdfs();
    ASSERT_EQ(2u, pdfs.size());
    EXPECT_TRUE(NearColour(Middle(pdfs[0]), Rgb(kRed), 40));
    EXPECT_TRUE(NearColour(Middle(pdfs[1]), Rgb(kBlue), 40));

    // 個別印刷 of a photo removed after its range was chosen.
    Select(0);
    HWND range = OpenRangeDialog();
    ASSERT_NE(nullptr, range);
    Drag(range, 10, 10, 137, 11);
    ClickButton(range, kRangePrint);
    ASSERT_TRUE(WaitForGone(range));
    ASSERT_TRUE(WaitUntil([this] { return ::DeleteFileA(folder.File("a.png").c_str()) != FALSE; }));
    AnswerPrinterDialog(IDOK);
    EXPECT_EQ(L"次の写真は印刷できませんでした。\n\na.png", AnswerMessage());
    ASSERT_TRUE(WaitForPdfs(2));
    EXPECT_EQ(2u, Pdfs().size());
}

TEST_F(PrintE2e, ADraggedRangePrintsExactlyThatPartTurned)
{
    // 1200 x 900, quadrants split away from the middle, so that no other
    // part of the photo, turned either way, shows the same layout.
    const int photoW = 1200, photoH = 900, splitX = 700, splitY = 400;
    Photo("range.png", photoW, photoH, Quadrants(splitX, splitY));
    Import("\"range.png\"");
    Select(0);
    HWND range = OpenRangeDialog();
    ASSERT_NE(nullptr, range);

    // The photo is fitted into the picture from its top-left corner; the
    // picture's pixels times the scale are photo pixels.
    RECT client;
    ::GetClientRect(::GetDlgItem(range, kPicture), &client);
    const int heightAtFullWidth = photoH * client.right / photoW;
    const int fittedW = heightAtFullWidth > client.bottom ? photoW * client.bottom / photoH : client.right;
    const double scale = static_cast<double>(photoW) / fittedW;
    // A 127 x 89 frame around the split, 50 and 35 pixels in from its corner.
    const int x0 = static_cast<int>(splitX / scale) - 50, y0 = static_cast<int>(splitY / scale) - 35;
    Drag(range, x0, y0, x0 + 127, y0 + 1);
    ClickButton(range, kRangePrint);
    ASSERT_TRUE(WaitForGone(range));
    AnswerPrinterDialog(IDOK);
    ASSERT_TRUE(WaitForPdfs(1));

    // The range in photo pixels, wider than tall: printed turned clockwise,
    // the stored bottom-left (blue) at the area's top-left, the stored
    // top-left (red) at its top-right. Its split row and column land here:
    const double left = x0 * scale, top = y0 * scale, right = (x0 + 127) * scale, bottom = (y0 + 89) * scale;
    const int splitColumn = static_cast<int>((bottom - splitY) * kPageW / (bottom - top));
    const int splitRow = static_cast<int>((splitX - left) * kPageH / (right - left));
    // Photo pixels are about six device pixels here; the checks keep clear
    // of the split by 15 and of the right and bottom edges by 20, where the
    // imaging library's smoothing may reach one photo pixel past the range.
    const std::vector<POINT> points = {
        { 10, 10 }, { kPageW - 20, 10 }, { 10, kPageH - 20 }, { kPageW - 20, kPageH - 20 },
        { splitColumn - 15, splitRow / 2 }, { splitColumn + 15, splitRow / 2 },
        { splitColumn / 2, splitRow - 15 }, { splitColumn / 2, splitRow + 15 },
    };
    const DWORD want[] = { kBlue, kRed, kYellow, kLime, kBlue, kRed, kBlue, kYellow };

    std::vector<std::string> pdfs = Pdfs();
    ASSERT_EQ(1u, pdfs.size());
    PdfFacts facts = Read(pdfs[0], points);
    ExpectDocument(facts, pdfs[0]);
    ExpectArea(facts, pdfs[0]);
    ASSERT_EQ(points.size(), facts.pixels.size());
    for (size_t i = 0; i < points.size(); i++)
        EXPECT_TRUE(NearColour(facts.pixels[i], Rgb(want[i]), 40))
            << "device pixel " << points[i].x << "," << points[i].y << " shows " << std::hex << facts.pixels[i];
}

TEST_F(PrintE2e, APaperChosenInThePrinterPropertiesIsThePrintedPage)
{
    Photo("a.png", 300, 400, [](int, int) { return kRed; });
    Import("\"a.png\"");
    ClickButton(main, kPrintAll);
    HWND dialog = WaitForWindow(kirune.Id(), PrinterDialogTitle());
    ASSERT_NE(nullptr, dialog) << "no printer dialog";
    ClickButton(dialog, kProperties);
    HWND sheet = WaitForWindow(kirune.Id(), "オプション");
    ASSERT_NE(nullptr, sheet) << "the properties button opened no settings";
    HWND list = PaperList(sheet);
    ASSERT_NE(nullptr, list) << "the settings show no paper list";

    // L-size paper is the default; A4 is on offer.
    const int count = static_cast<int>(::SendMessageA(list, LB_GETCOUNT, 0, 0));
    int a4 = -1;
    for (int i = 0; i < count; i++)
        if (ListItem(list, i) == "A4")
            a4 = i;
    ASSERT_NE(-1, a4) << "no A4 among " << count << " papers";
    EXPECT_EQ("L 89 x 127 mm", ListItem(list, static_cast<int>(::SendMessageA(list, LB_GETCURSEL, 0, 0))));
    ::SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(a4), 0);
    ::SendMessageA(::GetParent(list), WM_COMMAND, MAKEWPARAM(100, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
    ClickButton(sheet, IDOK);
    ASSERT_TRUE(WaitForGone(sheet));
    ClickButton(dialog, IDOK);
    ASSERT_TRUE(WaitForGone(dialog));
    ASSERT_TRUE(WaitForPdfs(1));

    std::vector<std::string> pdfs = Pdfs();
    ASSERT_EQ(1u, pdfs.size());
    PdfFacts facts = Read(pdfs[0], { { kPageW / 2, kPageH / 2 } });
    ExpectDocument(facts, pdfs[0], kA4Paper);
    ExpectArea(facts, pdfs[0]);
    ASSERT_EQ(1u, facts.pixels.size());
    EXPECT_TRUE(NearColour(facts.pixels[0], Rgb(kRed), 40));
}

} // namespace
