// Printing with the real program: 全印刷 and 個別印刷 through the printer
// dialog onto the default PDF printer of the test scheduler (300 dpi), and
// the documents that the spooler wrote.
#include "HostTools.h"
#include "KiruneProcess.h"
#include "TestImages.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <vector>

namespace {

const char kPrinterDialog[] = "印刷";
const char kRangeDialog[] = "表示＆印刷範囲指定";
const char kAppName[] = "Kirune";
const char kSelectPhoto[] = "写真を選択（クリック）してください。";
const int kPrintOne = 1000, kPrintAll = 1002, kImport = 1004, kCellFirst = 1007;
const int kRangeClose = 1000, kRangePrint = 1001, kPicture = 0xFFFF;
const COLORREF kMagenta = RGB(255, 0, 255);
// The L-size area at the default printer's 300 dpi, and its papers in points.
const int kPageW = 1051, kPageH = 1500;
const char kLPaper[] = "252.28 x 360", kA4Paper[] = "595 x 842";

const DWORD kRed = 0xFFFF0000, kLime = 0xFF00FF00, kBlue = 0xFF0000FF, kYellow = 0xFFFFFF00;

COLORREF Rgb(DWORD argb) { return RGB((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF); }

// What a printed document holds, as the PDF tools of the host read it.
struct PdfFacts {
    bool read = false;
    std::string title;
    int pages = 0;
    std::string pageSize;            // in points, as "252.28 x 360"
    std::vector<SIZE> images;        // each image of the page, in pixels
    std::vector<COLORREF> pixels;    // colours of the first image at the points asked for
};

class PrintE2e : public RunningKirune {
protected:
    void SetUp() override
    {
        const char* dir = std::getenv("KIRUNE_PDF_DIR");
        const char* printer = std::getenv("KIRUNE_PRINTER");
        ASSERT_TRUE(dir && printer) << "KIRUNE_PDF_DIR and KIRUNE_PRINTER name the default PDF printer";
        m_pdfDir = std::string(dir) + "/" + printer;
        for (const std::string& name : Pdfs())
            ::DeleteFileA(WindowsPath(m_pdfDir + "/" + name).c_str());
        RunningKirune::SetUp();
    }

    // The printer's PDFs, in the order of their jobs.
    std::vector<std::string> Pdfs()
    {
        std::vector<std::pair<int, std::string>> jobs;
        WIN32_FIND_DATAA found;
        HANDLE find = ::FindFirstFileA(WindowsPath(m_pdfDir + "/*.pdf").c_str(), &found);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                // TITLE-JOB.pdf
                const char* dash = std::strrchr(found.cFileName, '-');
                jobs.push_back({ dash ? std::atoi(dash + 1) : 0, found.cFileName });
            } while (::FindNextFileA(find, &found));
            ::FindClose(find);
        }
        std::sort(jobs.begin(), jobs.end());
        std::vector<std::string> names;
        for (const auto& job : jobs)
            names.push_back(job.second);
        return names;
    }
    // Waits until the command has ended (its window answers again: every
    // job is with the scheduler), the scheduler has nothing left to print and
    // the spooler has written at least that many complete PDFs: only then
    // does a count of them see every document the commands made.
    bool WaitForPdfs(size_t count)
    {
        DWORD_PTR answer = 0;
        if (!::SendMessageTimeoutA(main, WM_NULL, 0, 0, SMTO_BLOCK, 120000, &answer))
            return false;
        return WaitUntil([&] {
            std::vector<std::string> names = Pdfs();
            std::string script = "jobs=$(lpstat -o) && [ -z \"$jobs\" ]";
            for (const std::string& name : names)
                script += " && pdfinfo '" + m_pdfDir + "/" + name + "' >/dev/null";
            return names.size() >= count && RunOnHost(script, nullptr);
        }, 120000);
    }
    PdfFacts Read(const std::string& name, const std::vector<POINT>& points = {})
    {
        std::string fmt;
        for (const POINT& p : points) {
            char one[160];
            std::snprintf(one, sizeof one, "%%[fx:int(255*p{%ld,%ld}.r+.5)] %%[fx:int(255*p{%ld,%ld}.g+.5)] "
                          "%%[fx:int(255*p{%ld,%ld}.b+.5)]\\n", p.x, p.y, p.x, p.y, p.x, p.y);
            fmt += one;
        }
        std::string script =
            "f='" + m_pdfDir + "/" + name + "'\n"
            "pdfinfo \"$f\" | sed -n 's/^Title: *//p'\n"
            "pdfinfo \"$f\" | sed -n 's/^Pages: *//p'\n"
            "pdfinfo \"$f\" | sed -n 's/^Page size: *\\([0-9. x]*\\) pts.*/\\1/p'\n"
            "pdfimages -list \"$f\" | tail -n +3 | awk '{print \"image\", $4, $5}'\n"
            "d=$(mktemp -d)\n"
            "pdfimages -f 1 -l 1 -png \"$f\" \"$d/i\"\n"
            "if [ -e \"$d/i-000.png\" ] && [ -n '" + fmt + "' ]; then convert \"$d/i-000.png\" -format '" + fmt + "' info:; fi\n"
            "rm -rf \"$d\"\n";
        PdfFacts facts;
        std::string out;
        facts.read = RunOnHost(script, &out);
        std::istringstream lines(out);
        std::string line;
        std::getline(lines, facts.title);
        std::getline(lines, line);
        facts.pages = std::atoi(line.c_str());
        std::getline(lines, facts.pageSize);
        while (std::getline(lines, line)) {
            std::istringstream words(line);
            std::string first;
            words >> first;
            if (first == "image") {
                SIZE size{};
                words >> size.cx >> size.cy;
                facts.images.push_back(size);
            } else {
                int r = std::atoi(first.c_str()), g = 0, b = 0;
                words >> g >> b;
                facts.pixels.push_back(RGB(r, g, b));
            }
        }
        return facts;
    }
    // One document "Print" of one page, in a file named after it and its
    // job, on the default printer's L-size paper (89 x 127 mm in points).
    void ExpectDocument(const PdfFacts& facts, const std::string& name, const char* pageSize = kLPaper)
    {
        EXPECT_TRUE(facts.read) << name;
        EXPECT_EQ("Print", facts.title) << name;
        EXPECT_EQ(1, facts.pages) << name;
        EXPECT_EQ(pageSize, facts.pageSize) << name;
        const std::string number = name.substr(std::min(name.size(), sizeof "Print-" - 1));
        EXPECT_TRUE(name.compare(0, 6, "Print-") == 0 && std::atoi(number.c_str()) > 0
                    && number == std::to_string(std::atoi(number.c_str())) + ".pdf") << name;
    }
    // The L-size area, drawn as one image of the page.
    void ExpectArea(const PdfFacts& facts, const std::string& name)
    {
        ASSERT_EQ(1u, facts.images.size()) << name;
        EXPECT_EQ(kPageW, facts.images[0].cx) << name;
        EXPECT_EQ(kPageH, facts.images[0].cy) << name;
    }

    std::string Photo(const char* name, int width, int height, const PixelFn& pixel)
    {
        const char* mime = std::string(name).find(".jpg") != std::string::npos ? "image/jpeg" : "image/png";
        EXPECT_TRUE(SaveImage(folder.File(name), width, height, mime, pixel)) << name;
        return folder.File(name);
    }
    void Import(const std::string& quotedNames)
    {
        ClickButton(main, kImport);
        ASSERT_TRUE(ChooseFiles(kirune.Id(), folder.Path(), quotedNames));
    }
    // Confirms (or cancels) the printer dialog of the command.
    void AnswerPrinterDialog(int button)
    {
        HWND dialog = WaitForWindow(kirune.Id(), kPrinterDialog);
        ASSERT_NE(nullptr, dialog) << "no printer dialog";
        ClickButton(dialog, button);
        ASSERT_TRUE(WaitForGone(dialog));
    }
    // Clicks the picture of a cell and waits for the magenta band.
    void Select(int cell)
    {
        HWND cellWnd = ::GetDlgItem(main, kCellFirst + cell);
        HWND picture = ::GetDlgItem(cellWnd, kPicture);
        ASSERT_NE(nullptr, picture);
        ClickAt(picture, 20, 20);
        const POINT band = ClientToScreenPoint(cellWnd, 3, 3);
        ASSERT_TRUE(WaitUntil([band] { return ScreenPixel(band.x, band.y) == kMagenta; }))
            << "cell " << cell << " was not selected";
    }
    HWND OpenRangeDialog()
    {
        ClickButton(main, kPrintOne);
        return WaitForWindow(kirune.Id(), kRangeDialog);
    }
    // A drag over the range dialog's picture, as the mouse would post it.
    void Drag(HWND rangeDialog, int fromX, int fromY, int toX, int toY)
    {
        HWND picture = ::GetDlgItem(rangeDialog, kPicture);
        ::PostMessageA(picture, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(fromX, fromY));
        ::PostMessageA(picture, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(toX, toY));
        ::PostMessageA(picture, WM_LBUTTONUP, 0, MAKELPARAM(toX, toY));
    }

    // The spooler writes its PDFs a while after a command has ended, in the
    // order of their jobs: a print of every photo made now is the only
    // document once the scheduler is idle, so the commands before it printed
    // nothing.
    void ExpectOnlyTheBarrierPrints()
    {
        ClickButton(main, kPrintAll);
        AnswerPrinterDialog(IDOK);
        ASSERT_TRUE(WaitForPdfs(1));
        EXPECT_EQ(1u, Pdfs().size());
    }

    TempFolder folder;
    std::string m_pdfDir;
};

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

TEST_F(PrintE2e, APhotoDeletedAfterImportGivesAnEmptyDocumentAndTheNextStillPrints)
{
    Photo("a.png", 400, 300, [](int, int) { return kRed; });
    std::string gone = Photo("b.png", 300, 400, [](int, int) { return kLime; });
    Photo("c.png", 300, 400, [](int, int) { return kBlue; });
    Import("\"a.png\" \"b.png\" \"c.png\"");
    // The program may still be decoding the thumbnails, which holds the file
    // open for a moment: delete it once it is free.
    ASSERT_TRUE(WaitUntil([&gone] { return ::DeleteFileA(gone.c_str()) != FALSE; }));
    ClickButton(main, kPrintAll);
    AnswerPrinterDialog(IDOK);
    ASSERT_TRUE(WaitForPdfs(3));

    std::vector<std::string> pdfs = Pdfs();
    ASSERT_EQ(3u, pdfs.size());
    PdfFacts first = Read(pdfs[0], { { 100, 100 } });
    PdfFacts empty = Read(pdfs[1]);
    PdfFacts last = Read(pdfs[2], { { 100, 100 } });
    ExpectDocument(first, pdfs[0]);
    ExpectDocument(empty, pdfs[1]);
    ExpectDocument(last, pdfs[2]);
    EXPECT_TRUE(empty.images.empty()) << "the deleted photo's page shows nothing";
    ASSERT_EQ(1u, first.pixels.size());
    ASSERT_EQ(1u, last.pixels.size());
    EXPECT_TRUE(NearColour(first.pixels[0], Rgb(kRed), 40));
    EXPECT_TRUE(NearColour(last.pixels[0], Rgb(kBlue), 40));
}

TEST_F(PrintE2e, CancellingThePrinterDialogPrintsNothing)
{
    Photo("a.png", 400, 300, [](int, int) { return kRed; });
    Import("\"a.png\"");
    ClickButton(main, kPrintAll);
    AnswerPrinterDialog(IDCANCEL);
    ExpectOnlyTheBarrierPrints();
}

TEST_F(PrintE2e, PrintOneWithoutASelectedPhotoOnlyAsksForAClick)
{
    Photo("a.png", 400, 300, [](int, int) { return kRed; });
    Import("\"a.png\"");
    ClickButton(main, kPrintOne);
    HWND box = WaitForWindow(kirune.Id(), kAppName);
    ASSERT_NE(nullptr, box) << "no message box captioned " << kAppName;
    bool hasText = false;
    for (HWND c = ::GetWindow(box, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT))
        hasText = hasText || TextOf(c) == kSelectPhoto;
    EXPECT_TRUE(hasText);
    EXPECT_FALSE(::IsWindowEnabled(main));
    EXPECT_EQ(nullptr, WaitForWindow(kirune.Id(), kRangeDialog, 0));
    EXPECT_EQ(nullptr, WaitForWindow(kirune.Id(), kPrinterDialog, 0));
    ClickButton(box, IDOK);
    ASSERT_TRUE(WaitForGone(box));
    ExpectOnlyTheBarrierPrints();
}

struct RangeDialogEnd {
    const char* name;
    void (*close)(HWND);
};

class PrintE2eClosedRange : public PrintE2e, public ::testing::WithParamInterface<RangeDialogEnd> {};

TEST_P(PrintE2eClosedRange, PrintsNothingAndOpensNoPrinterDialog)
{
    Photo("a.png", 400, 300, Quadrants(200, 150));
    Import("\"a.png\"");
    Select(0);
    HWND range = OpenRangeDialog();
    ASSERT_NE(nullptr, range);
    Drag(range, 10, 10, 137, 11);
    GetParam().close(range);
    ASSERT_TRUE(WaitForGone(range));
    // The command has ended without a printer dialog: the next 個別印刷
    // opens the range dialog again, and nothing else is open.
    HWND again = OpenRangeDialog();
    ASSERT_NE(nullptr, again) << "the command did not return to the main window";
    EXPECT_EQ(nullptr, WaitForWindow(kirune.Id(), kPrinterDialog, 0));
    ::PostMessageA(again, WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_TRUE(WaitForGone(again));
    ExpectOnlyTheBarrierPrints();
}

INSTANTIATE_TEST_SUITE_P(PrintE2e, PrintE2eClosedRange, ::testing::Values(
    RangeDialogEnd{ "CloseButton", [](HWND h) { ClickButton(h, kRangeClose); } },
    RangeDialogEnd{ "CloseBox", [](HWND h) { ::PostMessageA(h, WM_SYSCOMMAND, SC_CLOSE, 0); } }),
    [](const ::testing::TestParamInfo<RangeDialogEnd>& info) { return std::string(info.param.name); });

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

// The paper list of the printer driver's settings, opened from the printer
// dialog's properties button: the page of the sheet holds it as list 100.
BOOL CALLBACK MatchPaperList(HWND child, LPARAM lParam)
{
    if (::GetDlgCtrlID(child) == 100 && ClassOf(child) == "ListBox") {
        *reinterpret_cast<HWND*>(lParam) = child;
        return FALSE;
    }
    return TRUE;
}

HWND PaperList(HWND sheet)
{
    HWND found = nullptr;
    ::EnumChildWindows(sheet, MatchPaperList, reinterpret_cast<LPARAM>(&found));
    return found;
}

// An item of the driver's list, which holds UTF-16 text (the ANSI message
// brings back only its first character from another process).
std::string ListItem(HWND list, int i)
{
    WCHAR wide[256] = L"";
    DWORD_PTR length = 0;
    ::SendMessageTimeoutW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(wide), SMTO_BLOCK,
                          5000, &length);
    char text[512] = "";
    ::WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, nullptr, nullptr);
    return text;
}

TEST_F(PrintE2e, APaperChosenInThePrinterPropertiesIsThePrintedPage)
{
    const int kProperties = 1025;
    Photo("a.png", 300, 400, [](int, int) { return kRed; });
    Import("\"a.png\"");
    ClickButton(main, kPrintAll);
    HWND dialog = WaitForWindow(kirune.Id(), kPrinterDialog);
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
