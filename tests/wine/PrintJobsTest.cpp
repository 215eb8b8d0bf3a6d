// The print jobs and the print-all command, watched call by call on a real
// printer DC of the test scheduler: the order of graphics, document, page
// and image, what is drawn from where, and what becomes of the DC.
#include "KiruneDlg.h"
#include "ApiSpy.h"
#include "CommonDialogs.h"
#include "GdiplusOwners.h"
#include "MainWindowFixture.h"
#include "OpenDialogText.h"
#include "PageGeometry.h"
#include "PostedMouse.h"
#include "TestImages.h"
#include <gdiplus.h>
#include <winspool.h>
#include <gtest/gtest.h>
#include <algorithm>
#include <cstdio>
#include <iterator>
#include <string>
#include <vector>

namespace {

using Names = std::vector<std::string>;

const char kPrinterDialogTitle[] = "印刷";
const char kRangeDialogTitle[] = "表示＆印刷範囲指定";
const char kSelectPhotoText[] = "写真を選択（クリック）してください。";
// The full printer dialog's flags, with the framework's PD_RETURNDC.
const char kPrinterDialogFlags[] = "flags 0x14010C";
const char kNoExtras[] = "unit 2 attributes null abort null data null";

// A photo of four quadrants (Quadrants), split in the middle, saved as PNG
// under the temporary folder; returns its path in the ANSI code page.
std::string MakeTestPhoto(const char* name, int width, int height)
{
    char folder[MAX_PATH] = "";
    ::GetTempPathA(sizeof folder, folder);
    std::string path = std::string(folder) + "kirune-print-" + name;
    SaveImage(path, width, height, "image/png", Quadrants(width / 2, height / 2));
    return path;
}

// The job's calls to the print system and its drawing, in order.
Names DocumentCalls()
{
    return ApiSpy::Names({ "StartDoc", "StartPage", "GdipDrawImageRectRectI", "EndPage", "EndDoc", "AbortDoc" });
}

HDC TestPrinterDC()
{
    // Asking the spooler first has Wine take in the printers of CUPS.
    HANDLE printer = nullptr;
    std::string name = DiscardPrinter();
    if (!::OpenPrinterA(&name[0], &printer, nullptr))
        return nullptr;
    ::ClosePrinter(printer);
    return ::CreateDCA("WINSPOOL", name.c_str(), nullptr, nullptr);
}

class PrintJobs : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        Gdiplus::GdiplusStartupInput input;
        Gdiplus::GdiplusStartup(&s_token, &input, nullptr);
        s_landscape = MakeTestPhoto("landscape.png", 400, 300);
        s_portrait = MakeTestPhoto("portrait.png", 300, 400);
        s_square = MakeTestPhoto("square.png", 300, 300);
    }
    static void TearDownTestSuite() { Gdiplus::GdiplusShutdown(s_token); }

    void SetUp() override
    {
        m_dc = TestPrinterDC();
        ASSERT_NE(nullptr, m_dc) << "no printer " << DiscardPrinter();
        ASSERT_EQ(300, ::GetDeviceCaps(m_dc, LOGPIXELSX));
    }
    void TearDown() override
    {
        ApiSpy::Stop();
        if (m_dc)
            ::DeleteDC(m_dc);
    }

    // Each job's result goes to m_result; the fault is put in after the
    // spy starts, which undoes those of the job before.
    void PrintAll(const std::string& path, void (*fault)() = [] {})
    {
        ApiSpy::Start();
        fault();
        m_result = m_dlg.PrintPhoto(m_dc, Wide(path).c_str());
        ApiSpy::Stop();
    }
    void PrintRange(const std::string& path, const RECT& range, void (*fault)() = [] {})
    {
        ApiSpy::Start();
        fault();
        m_result = m_dlg.PrintPhotoRange(m_dc, Wide(path).c_str(), range);
        ApiSpy::Stop();
    }

    // Every call about the DC is about the job's DC, every call about the
    // graphics or the image about the one the job made, and no DC is deleted.
    void ExpectOneDcGraphicsAndImage()
    {
        const SpyCall* created = ApiSpy::Find("GdipCreateFromHDC");
        const SpyCall* loaded = ApiSpy::Find("GdipLoadImageFromFile");
        ASSERT_NE(nullptr, created);
        ASSERT_NE(nullptr, loaded);
        for (const SpyCall& c : ApiSpy::Calls()) {
            const std::string& n = c.name;
            if (n == "StartDoc" || n == "EndDoc" || n == "AbortDoc" || n == "StartPage" || n == "EndPage"
                || n == "GdipCreateFromHDC") {
                EXPECT_EQ(static_cast<void*>(m_dc), c.handle) << n;
            }
            if (n == "GdipSetPageUnit" || n == "GdipGetDpiX" || n == "GdipGetDpiY" || n == "GdipDeleteGraphics"
                || n == "GdipDrawImageRectRectI") {
                EXPECT_EQ(created->made, c.handle) << n;
            }
            if (n == "GdipGetImageWidth" || n == "GdipGetImageHeight" || n == "GdipImageRotateFlip"
                || n == "GdipDisposeImage") {
                EXPECT_EQ(loaded->made, c.handle) << n;
            }
            if (n == "GdipDrawImageRectRectI") {
                EXPECT_EQ(loaded->made, c.made) << "the image drawn";
            }
            // Each size is read into a variable set to 0 just before.
            if (n == "GdipGetImageWidth" || n == "GdipGetImageHeight") {
                EXPECT_EQ("0", c.args) << n;
            }
        }
        EXPECT_EQ(0, ApiSpy::Count("DeleteDC"));
        // The DC is still open for the command's next job.
        EXPECT_EQ(300, ::GetDeviceCaps(m_dc, LOGPIXELSX));
    }

    void ExpectDocumentAndUnit()
    {
        const SpyCall* doc = ApiSpy::Find("StartDoc");
        ASSERT_NE(nullptr, doc);
        EXPECT_EQ("size 1 name Print output (null) datatype (null) type 0", doc->args);
        const SpyCall* unit = ApiSpy::Find("GdipSetPageUnit");
        ASSERT_NE(nullptr, unit);
        EXPECT_EQ("2", unit->args);   // UnitPixel
    }

    std::string DrawArgs()
    {
        const SpyCall* draw = ApiSpy::Find("GdipDrawImageRectRectI");
        return draw ? draw->args : "(not drawn)";
    }

    static ULONG_PTR s_token;
    static std::string s_landscape, s_portrait, s_square;
    CKiruneDlg m_dlg;
    HDC m_dc = nullptr;
    CKiruneDlg::PrintResult m_result = static_cast<CKiruneDlg::PrintResult>(-1);
};

ULONG_PTR PrintJobs::s_token = 0;
std::string PrintJobs::s_landscape, PrintJobs::s_portrait, PrintJobs::s_square;

TEST_F(PrintJobs, PrintPhotoTurnsALandscapePhotoAndCutsItsRight)
{
    PrintAll(s_landscape);
    // The order of a job that prints all: graphics in printer pixels; the
    // photo loaded, measured and turned before its document starts, so that
    // a photo that cannot print starts none; the document's one page; then
    // the image and the graphics released.
    EXPECT_EQ((Names{ "GdipCreateFromHDC", "GdipSetPageUnit", "GdipLoadImageFromFile",
                      "GdipGetDpiX", "GdipGetDpiY", "GdipGetImageWidth", "GdipGetImageHeight",
                      "GdipImageRotateFlip", "GdipGetImageWidth", "GdipGetImageHeight",
                      "StartDoc", "StartPage", "GdipDrawImageRectRectI", "EndPage", "EndDoc",
                      "GdipDisposeImage", "GdipDeleteGraphics" }),
              ApiSpy::Names());
    EXPECT_EQ(CKiruneDlg::kPrinted, m_result);
    ExpectDocumentAndUnit();
    ExpectOneDcGraphicsAndImage();
    EXPECT_EQ(s_landscape, ApiSpy::Find("GdipLoadImageFromFile")->args);
    EXPECT_EQ("1", ApiSpy::Find("GdipImageRotateFlip")->args);   // Rotate90FlipNone
    // 1051 x 1500 at 300 dpi; the turned 300 x 400 photo gives 280 x 400.
    EXPECT_EQ(std::string("0 0 1051 1500 from 0 0 280 400 ") + kNoExtras, DrawArgs());
}

TEST_F(PrintJobs, PrintPhotoLeavesPortraitAndSquarePhotosUnturned)
{
    PrintAll(s_portrait);
    EXPECT_EQ(0, ApiSpy::Count("GdipImageRotateFlip"));
    EXPECT_EQ(std::string("0 0 1051 1500 from 0 0 280 400 ") + kNoExtras, DrawArgs());
    ExpectOneDcGraphicsAndImage();

    PrintAll(s_square);
    EXPECT_EQ(0, ApiSpy::Count("GdipImageRotateFlip"));
    EXPECT_EQ(std::string("0 0 1051 1500 from 0 0 210 300 ") + kNoExtras, DrawArgs());
    ExpectOneDcGraphicsAndImage();
}

TEST_F(PrintJobs, PrintPhotoTurnsAsStoredWhateverTheOrientationTagSays)
{
    // Tag 6 asks for a quarter turn clockwise, 8 for one anticlockwise.
    struct Tagged {
        int width, height;
        WORD tag;
        int turns;   // clockwise, as the stored pixels ask
    };
    TempFolder folder;
    for (const Tagged& t : { Tagged{ 300, 400, 6, 0 }, Tagged{ 400, 300, 8, 1 } }) {
        const std::string path = folder.File("tagged" + std::to_string(t.tag) + ".jpg");
        ASSERT_TRUE(SaveJpegWithOrientation(path, t.width, t.height, Quadrants(t.width / 2, t.height / 2), t.tag));
        PrintAll(path);
        ASSERT_EQ(t.turns, ApiSpy::Count("GdipImageRotateFlip")) << "tag " << t.tag;
        if (t.turns) {
            EXPECT_EQ("1", ApiSpy::Find("GdipImageRotateFlip")->args);   // Rotate90FlipNone
        }
        EXPECT_EQ(std::string("0 0 1051 1500 from 0 0 280 400 ") + kNoExtras, DrawArgs()) << "tag " << t.tag;
    }
}

TEST_F(PrintJobs, APhotoThatDoesNotLoadStartsNoDocument)
{
    TempFolder folder;
    const std::string text = folder.File("notes.txt");
    ASSERT_TRUE(SaveBytes(text, "not a photo\r\n"));
    const RECT wide = { 100, 50, 227, 139 };
    for (const std::string& path : { std::string("Z:\\no\\such\\photo.jpg"), text }) {
        PrintAll(path);
        EXPECT_EQ((Names{ "GdipCreateFromHDC", "GdipSetPageUnit", "GdipLoadImageFromFile", "GdipDeleteGraphics" }),
                  ApiSpy::Names()) << path;
        EXPECT_EQ(CKiruneDlg::kNotPrinted, m_result) << path;
        PrintRange(path, wide);
        EXPECT_EQ(Names(), DocumentCalls()) << path;
        EXPECT_EQ(CKiruneDlg::kNotPrinted, m_result) << path;
    }
}

TEST_F(PrintJobs, WithoutGraphicsNoPhotoIsLoadedAndNoDocumentStarts)
{
    RECT wide = { 100, 50, 227, 139 };
    auto noGraphics = [] { ApiSpy::s_failCreateGraphics = true; };
    PrintAll(s_landscape, noGraphics);
    EXPECT_EQ((Names{ "GdipCreateFromHDC" }), ApiSpy::Names());
    EXPECT_EQ(CKiruneDlg::kNotPrinted, m_result);
    PrintRange(s_landscape, wide, noGraphics);
    EXPECT_EQ((Names{ "GdipCreateFromHDC" }), ApiSpy::Names());
    EXPECT_EQ(CKiruneDlg::kNotPrinted, m_result);
}

TEST_F(PrintJobs, AResolutionTooLowForOnePixelStartsNoDocument)
{
    auto lowDpi = [] { ApiSpy::s_dpi = 0.25f; };   // 0.88 x 1.25 pixels: the width truncates to 0
    const RECT tall = { 10, 20, 99, 147 };
    for (bool range : { false, true }) {
        range ? PrintRange(s_portrait, tall, lowDpi) : PrintAll(s_portrait, lowDpi);
        EXPECT_EQ(Names(), DocumentCalls()) << range;
        EXPECT_EQ(CKiruneDlg::kNotPrinted, m_result) << range;
        EXPECT_EQ(std::vector<std::string>(), ApiSpy::Unreleased()) << range;
    }
}

// A document the print system refuses draws nothing and ends nothing, and
// keeps the reason (a cancelled file name is one); a drawing that fails aborts its document,
// so no page is fed; a page that fails to start or end has been ended by
// GDI, and nothing more is asked of it.
struct DocumentFault {
    const char* name;
    void (*fault)();
    Names calls;   // the document's calls and drawing
    CKiruneDlg::PrintResult result;
};

const DocumentFault kDocumentFaults[] = {
    { "StartDoc", [] { ApiSpy::s_startDocResult = SP_ERROR; ApiSpy::s_startDocError = ERROR_ACCESS_DENIED; },
      { "StartDoc" }, CKiruneDlg::kRefused },
    { "cancel", [] { ApiSpy::s_startDocResult = SP_ERROR; ApiSpy::s_startDocError = ERROR_CANCELLED; },
      { "StartDoc" }, CKiruneDlg::kCancelled },
    // From here on, documents that failed once started.
    { "StartPage", [] { ApiSpy::s_failPrintCall = "StartPage"; }, { "StartDoc", "StartPage" }, CKiruneDlg::kAborted },
    { "draw", [] { ApiSpy::s_failDraws = 1; }, { "StartDoc", "StartPage", "GdipDrawImageRectRectI", "AbortDoc" },
      CKiruneDlg::kAborted },
    { "EndPage", [] { ApiSpy::s_failPrintCall = "EndPage"; },
      { "StartDoc", "StartPage", "GdipDrawImageRectRectI", "EndPage" }, CKiruneDlg::kAborted },
    { "EndDoc", [] { ApiSpy::s_failPrintCall = "EndDoc"; },
      { "StartDoc", "StartPage", "GdipDrawImageRectRectI", "EndPage", "EndDoc" }, CKiruneDlg::kAborted },
};
void PrintTo(const DocumentFault& f, std::ostream* os) { *os << f.name; }

TEST_F(PrintJobs, EachFailingPrintCallEndsTheDocumentAsItShould)
{
    const RECT tall = { 10, 20, 99, 147 };
    for (bool range : { false, true }) {
        for (const DocumentFault& f : kDocumentFaults) {
            range ? PrintRange(s_portrait, tall, f.fault) : PrintAll(s_portrait, f.fault);
            EXPECT_EQ(f.calls, DocumentCalls()) << range << " " << f.name;
            EXPECT_EQ(f.result, m_result) << range << " " << f.name;
            if (f.calls.size() == 1) {
                EXPECT_EQ(ApiSpy::s_startDocError, m_dlg.m_printError) << range << " " << f.name;
            }
            EXPECT_EQ(std::vector<std::string>(), ApiSpy::Unreleased());
            // A failed document's DC may take no other: the next job gets a new one.
            ::DeleteDC(m_dc);
            m_dc = TestPrinterDC();
        }
    }
}

TEST_F(PrintJobs, PrintPhotoRangeTurnsAWideRangeAndMapsIt)
{
    // 127 x 89 on the 400 x 300 photo; turned, the photo is 300 wide.
    RECT wide = { 100, 50, 227, 139 };
    PrintRange(s_landscape, wide);
    // The order of a job that prints one: as printing all's, but for the
    // turn, which a range wider than tall asks for, and the one width that
    // maps the range onto the turned photo.
    EXPECT_EQ((Names{ "GdipCreateFromHDC", "GdipSetPageUnit", "GdipLoadImageFromFile",
                      "GdipGetDpiX", "GdipGetDpiY", "GdipImageRotateFlip", "GdipGetImageWidth",
                      "StartDoc", "StartPage", "GdipDrawImageRectRectI", "EndPage", "EndDoc",
                      "GdipDisposeImage", "GdipDeleteGraphics" }),
              ApiSpy::Names());
    EXPECT_EQ(CKiruneDlg::kPrinted, m_result);
    ExpectDocumentAndUnit();
    ExpectOneDcGraphicsAndImage();
    EXPECT_EQ("1", ApiSpy::Find("GdipImageRotateFlip")->args);
    // left 300 - 139, top 100, right 300 - 50, bottom 227.
    EXPECT_EQ(std::string("0 0 1051 1500 from 161 100 89 127 ") + kNoExtras, DrawArgs());
    // The caller's range is not touched.
    EXPECT_EQ(100, wide.left);
    EXPECT_EQ(50, wide.top);
    EXPECT_EQ(227, wide.right);
    EXPECT_EQ(139, wide.bottom);
}

TEST_F(PrintJobs, PrintPhotoRangeDrawsTallAndSquareRangesAsTheyAre)
{
    RECT tall = { 10, 20, 99, 147 };
    PrintRange(s_landscape, tall);
    EXPECT_EQ(0, ApiSpy::Count("GdipImageRotateFlip"));
    EXPECT_EQ(0, ApiSpy::Count("GdipGetImageWidth"));
    EXPECT_EQ(std::string("0 0 1051 1500 from 10 20 89 127 ") + kNoExtras, DrawArgs());
    ExpectOneDcGraphicsAndImage();

    RECT square = { 0, 0, 100, 100 };
    PrintRange(s_landscape, square);
    EXPECT_EQ(0, ApiSpy::Count("GdipImageRotateFlip"));
    EXPECT_EQ(std::string("0 0 1051 1500 from 0 0 100 100 ") + kNoExtras, DrawArgs());
}

TEST_F(PrintJobs, ScopedOwnersReleaseTheirObjectsWhenAnExceptionLeaves)
{
    std::wstring path(s_portrait.begin(), s_portrait.end());
    ApiSpy::Start();
    bool caught = false;
    try {
        CScopedGraphics graphics(m_dc);
        CScopedImage image(path.c_str());
        ASSERT_NE(nullptr, graphics.Get());
        ASSERT_NE(nullptr, image.Get());
        throw 42;
    } catch (int) {
        caught = true;
    }
    ApiSpy::Stop();
    EXPECT_TRUE(caught);
    EXPECT_EQ((Names{ "GdipCreateFromHDC", "GdipLoadImageFromFile", "GdipDisposeImage", "GdipDeleteGraphics" }),
              ApiSpy::Names());
    EXPECT_EQ(ApiSpy::Calls()[0].made, ApiSpy::Calls()[3].handle);
    EXPECT_EQ(ApiSpy::Calls()[1].made, ApiSpy::Calls()[2].handle);
}

// ------------------------------------------------------------- the command

class PrintAllCommand : public MainWindowFixture {
protected:
    void SetUp() override
    {
        // The printer dialog lists the spooler's printers.
        ASSERT_NE(nullptr, m_check = TestPrinterDC());
        ::DeleteDC(m_check);
    }

    // Runs the main window: presses 全印刷, answers the printer dialog with
    // the button given, waits for the command to end and closes the window.
    void Run(int answer, void (*fault)() = [] {})
    {
        HWND printerDlg = nullptr;
        script.Then([this, fault] {
                m_main = dlg.m_hWnd;
                ApiSpy::Start();
                fault();
                PostClick(dlg.m_hWnd, IDC_PRINT_ALL);
            })
            .WaitFor([&] { return (printerDlg = FindThreadWindow(kPrinterDialogTitle)) != nullptr; },
                     "the printer dialog")
            .Then([&] {
                EXPECT_FALSE(::IsWindowEnabled(dlg.m_hWnd));   // modal over the main window
                if (answer == IDOK)
                    EXPECT_TRUE(PrintToDiscardPrinter(printerDlg)) << "no printer " << DiscardPrinter();
                else
                    PostClick(printerDlg, answer);
            })
            .WaitFor([&] { return !::IsWindow(printerDlg) && Ended(); }, "the command to end")
            .Pause(10)
            .Then([] { ApiSpy::Stop(); });
        RunMainWindow();
    }

    // TRUE once the command has returned to the main window. A message the
    // command shows on its way is kept in m_message and answered.
    bool Ended()
    {
        if (HWND box = FindThreadWindow(AfxGetAppName())) {
            m_message = MessageBoxText(box);
            PostClick(box, IDOK);
        }
        return ::IsWindowEnabled(dlg.m_hWnd) && !FindThreadWindow(AfxGetAppName());
    }

    // Closes the window after the script, runs it, and stops recording.
    void RunMainWindow()
    {
        MainWindowFixture::Run();
        ApiSpy::Stop();
        EXPECT_EQ("", script.Failure());
    }

    // The one printer dialog of the command: full dialog, owned by the main window.
    HDC ExpectOnePrinterDialog()
    {
        EXPECT_EQ(1, ApiSpy::Count("PrintDlg"));
        const SpyCall* pd = ApiSpy::Find("PrintDlg");
        if (!pd)
            return nullptr;
        EXPECT_EQ(kPrinterDialogFlags, pd->args);
        EXPECT_EQ(static_cast<void*>(m_main), pd->handle);
        return static_cast<HDC>(pd->made);
    }

    HWND m_main = nullptr;
    HDC m_check = nullptr;
    std::wstring m_message;
};

TEST_F(PrintAllCommand, PrintsEveryPhotoInListOrderThenDeletesTheDc)
{
    std::string first = MakeTestPhoto("first.png", 40, 30);
    std::string second = MakeTestPhoto("second.png", 30, 40);
    dlg.m_photoList.Add(Wide(first).c_str());
    dlg.m_photoList.Add(L"Z:\\no\\such\\photo.jpg");   // gone since the import
    dlg.m_photoList.Add(Wide(second).c_str());
    dlg.m_photoList.Add(Wide(first).c_str());                // the same photo twice
    Run(IDOK);

    HDC dc = ExpectOnePrinterDialog();
    ASSERT_NE(nullptr, dc);
    // The photo gone since the import starts no document; the message names it.
    EXPECT_EQ(3, ApiSpy::Count("StartDoc"));
    EXPECT_EQ(3, ApiSpy::Count("StartPage"));
    EXPECT_EQ(3, ApiSpy::Count("EndPage"));
    EXPECT_EQ(3, ApiSpy::Count("EndDoc"));
    EXPECT_EQ(L"次の写真は印刷できませんでした。\n\nphoto.jpg", m_message);
    for (const SpyCall& c : ApiSpy::Calls()) {
        if (c.name == "StartDoc" || c.name == "EndDoc" || c.name == "GdipCreateFromHDC") {
            EXPECT_EQ(static_cast<void*>(dc), c.handle) << c.name;
        }
    }
    EXPECT_EQ((Names{ first, "Z:\\no\\such\\photo.jpg", second, first }), ApiSpy::Args("GdipLoadImageFromFile"));
    // The DC is deleted once, after the last job.
    EXPECT_EQ(1, ApiSpy::Count("DeleteDC"));
    ASSERT_FALSE(ApiSpy::Calls().empty());
    EXPECT_EQ("DeleteDC", ApiSpy::Calls().back().name);
    EXPECT_EQ(static_cast<void*>(dc), ApiSpy::Calls().back().handle);
}

TEST_F(PrintAllCommand, CancelledPrinterDialogPrintsNothing)
{
    dlg.m_photoList.Add(Wide(MakeTestPhoto("first.png", 40, 30)).c_str());
    Run(IDCANCEL);
    EXPECT_EQ((Names{ "PrintDlg" }), ApiSpy::Names());
}

TEST_F(PrintAllCommand, EmptyListStillAsksAndDeletesTheDc)
{
    Run(IDOK);
    HDC dc = ExpectOnePrinterDialog();
    ASSERT_NE(nullptr, dc);
    EXPECT_EQ((Names{ "PrintDlg", "DeleteDC" }), ApiSpy::Names());
    EXPECT_EQ(static_cast<void*>(dc), ApiSpy::Calls().back().handle);
    EXPECT_EQ(L"", m_message);   // nothing failed: nothing to say
}

// After a document that failed, the next photo prints on a fresh DC and
// only the failed one is named.
class PrintAllAfterAFailure : public PrintAllCommand, public ::testing::WithParamInterface<DocumentFault> {};

TEST_P(PrintAllAfterAFailure, TheNextPhotoPrintsOnAFreshDc)
{
    dlg.m_photoList.Add(Wide(MakeTestPhoto("first.png", 40, 30)).c_str());
    dlg.m_photoList.Add(Wide(MakeTestPhoto("second.png", 30, 40)).c_str());
    Run(IDOK, GetParam().fault);   // the first document fails
    std::vector<void*> docs;
    for (const SpyCall& c : ApiSpy::Calls())
        if (c.name == "StartDoc")
            docs.push_back(c.handle);
    ASSERT_EQ(2u, docs.size());
    EXPECT_NE(docs[0], docs[1]);
    EXPECT_EQ(2, ApiSpy::Count("DeleteDC"));   // each DC once
    EXPECT_EQ(docs[1], std::find_if(ApiSpy::Calls().rbegin(), ApiSpy::Calls().rend(),
                                    [](const SpyCall& c) { return c.name == "EndDoc"; })->handle);
    // Only the first is named: the second printed on the new DC.
    EXPECT_EQ(L"次の写真は印刷できませんでした。\n\nkirune-print-first.png", m_message);
}

INSTANTIATE_TEST_SUITE_P(PrintAllCommand, PrintAllAfterAFailure,
    ::testing::ValuesIn(kDocumentFaults + 2, std::end(kDocumentFaults)),   // those that started
    [](const ::testing::TestParamInfo<DocumentFault>& info) { return std::string(info.param.name); });

// A file name cancelled, or a document refused, on the third photo ends
// the command: the fourth is not asked for. A cancel names only what
// failed before; a refusal names the photos left too, with the system's
// words for its reason.
class PrintAllEnded : public PrintAllCommand, public ::testing::WithParamInterface<DWORD> {};

TEST_P(PrintAllEnded, TheRestIsNotAskedFor)
{
    dlg.m_photoList.Add(Wide(MakeTestPhoto("first.png", 30, 40)).c_str());
    dlg.m_photoList.Add(L"Z:\\no\\such\\photo.jpg");
    for (const char* name : { "second.png", "third.png" })
        dlg.m_photoList.Add(Wide(MakeTestPhoto(name, 30, 40)).c_str());
    static DWORD s_error;
    s_error = GetParam();
    Run(IDOK, [] {
        ApiSpy::s_startDocResult = SP_ERROR;
        ApiSpy::s_startDocError = s_error;
        ApiSpy::s_startDocsToPass = 1;
    });
    EXPECT_EQ(2, ApiSpy::Count("StartDoc"));
    EXPECT_EQ(3, ApiSpy::Count("GdipLoadImageFromFile"));   // the fourth photo is never loaded
    std::wstring expected = L"次の写真は印刷できませんでした。\n\nphoto.jpg";
    if (GetParam() != ERROR_CANCELLED) {
        WCHAR reason[256] = L"";
        ASSERT_NE(0u, ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                       GetParam(), 0, reason, 256, nullptr));
        expected += L"\nkirune-print-second.png\nkirune-print-third.png\n\nプリンターが印刷を受け付けませんでした。\n"
                    + std::wstring(reason).erase(std::wstring(reason).find_last_not_of(L"\r\n") + 1);
    }
    EXPECT_EQ(expected, m_message);
}

INSTANTIATE_TEST_SUITE_P(PrintAllCommand, PrintAllEnded,
    ::testing::Values(DWORD{ ERROR_CANCELLED }, DWORD{ ERROR_ACCESS_DENIED }, DWORD{ RPC_S_SERVER_UNAVAILABLE }));

// ------------------------------------------------------------- print one

class PrintOneCommand : public PrintAllCommand {
protected:
    void SetUp() override
    {
        PrintAllCommand::SetUp();
        m_photo = MakeTestPhoto("one.png", 400, 300);
    }

    // The main window with the photo in cell 0 and nothing selected yet.
    ModalScript& WithPhotoInFirstCell()
    {
        return Shown().Then([this] {
                m_main = dlg.m_hWnd;
                dlg.m_photoList.Add(Wide(m_photo).c_str());
                dlg.m_cells[0].LoadPicture(Wide(m_photo).c_str());
            });
    }
    // Photos 0 to count - 1 in the list, the first twelve on the page.
    ModalScript& WithPhotosOnThePage(int count)
    {
        return Shown().Then([this, count] {
                m_main = dlg.m_hWnd;
                for (int i = 0; i < count; i++) {
                    char name[32];
                    std::snprintf(name, sizeof name, "page%02d.png", i);
                    m_photos.push_back(MakeTestPhoto(name, 400, 300));
                    dlg.m_photoList.Add(Wide(m_photos.back()).c_str());
                    if (i < kCellCount)
                        dlg.m_cells[i].LoadPicture(Wide(m_photos.back()).c_str());
                }
            });
    }
    // A click on a cell, as the cell tells the main window about it.
    ModalScript& Clicked(int cell)
    {
        return script.Then([this, cell] { ::PostMessageA(dlg.m_hWnd, WM_THUMB_CLICKED, IDC_CELL_FIRST + cell, 0); })
            .WaitFor([this, cell] { return dlg.m_selCell == cell; }, "the selection");
    }
    // Presses 個別印刷 and waits for the range dialog.
    ModalScript& RangeDialogOpened()
    {
        return script.Then([this] { ApiSpy::Start(); PostClick(dlg.m_hWnd, IDC_PRINT_ONE); })
            .WaitFor([this] { return (m_range = FindThreadWindow(kRangeDialogTitle)) != nullptr; }, "the range dialog");
    }
    // A drag over the range dialog's picture, whose scale is first set to 2
    // photo pixels per screen pixel, so that ranges are worked out by hand.
    ModalScript& Dragged(int fromX, int fromY, int toX, int toY)
    {
        return script.Then([=] {
            HWND picture = ::GetDlgItem(m_range, IDC_PICTURE);
            static_cast<CPictureStatic*>(CWnd::FromHandlePermanent(picture))->m_scale = 2.0f;
            PostDrag(picture, fromX, fromY, toX, toY);
        }).Pause(3);
    }
    // Waits until the command has returned to the main window, then ends the run.
    ModalScript& CommandEnded()
    {
        return script.WaitFor([this] { return Ended() && !FindThreadWindow(kRangeDialogTitle)
                                              && !FindThreadWindow(kPrinterDialogTitle); },
                              "the command to end")
            .Pause(10)
            .Then([this] { ApiSpy::Stop(); });
    }
    void RunMain() { RunMainWindow(); }

    // The calls from the printer dialog on: the range dialog before it
    // decodes and fits the photo with GDI+ and GDI calls of its own.
    static Names FromPrinterDialog()
    {
        Names names = ApiSpy::Names();
        for (size_t i = 0; i < names.size(); i++)
            if (names[i] == "PrintDlg")
                return Names(names.begin() + static_cast<long>(i), names.end());
        return Names();
    }
    // Nothing of a print: no printer dialog, no graphics on a printer, no document.
    static void ExpectNoPrint()
    {
        for (const char* name : { "PrintDlg", "GdipCreateFromHDC", "StartDoc", "StartPage", "GdipDrawImageRectRectI",
                                  "EndPage", "EndDoc" })
            EXPECT_EQ(0, ApiSpy::Count(name)) << name;
    }

    std::string m_photo;
    std::vector<std::string> m_photos;
    HWND m_range = nullptr;
};

TEST_F(PrintOneCommand, WithoutASelectedCellAsksForAClickAndDoesNothingElse)
{
    HWND box = nullptr;
    bool hasText = false;
    WithPhotoInFirstCell()
        .Then([this] { ApiSpy::Start(); PostClick(dlg.m_hWnd, IDC_PRINT_ONE); })
        .WaitFor([&] { return (box = FindThreadWindow(AfxGetAppName())) != nullptr; }, "the message box")
        .Then([&] {
            hasText = HasChildWithText(box, kSelectPhotoText);
            EXPECT_FALSE(::IsWindowEnabled(dlg.m_hWnd));   // owned by the main window
            EXPECT_EQ(nullptr, FindThreadWindow(kRangeDialogTitle));
            PostClick(box, IDOK);
        });
    CommandEnded();
    RunMain();
    EXPECT_NE(nullptr, box);
    EXPECT_TRUE(hasText);
    EXPECT_TRUE(ApiSpy::Names().empty());
}

TEST_F(PrintOneCommand, ABlankCellGivesNoRangeAndNothingHappens)
{
    WithPhotoInFirstCell();
    Clicked(5);   // past the end of the list
    script.Then([this] { ApiSpy::Start(); PostClick(dlg.m_hWnd, IDC_PRINT_ONE); })
        .Pause(10)
        .Then([this] {
            EXPECT_EQ(nullptr, FindThreadWindow(kRangeDialogTitle));
            EXPECT_EQ(nullptr, FindThreadWindow(AfxGetAppName()));
            EXPECT_TRUE(::IsWindowEnabled(dlg.m_hWnd));
        });
    CommandEnded();
    RunMain();
    EXPECT_TRUE(ApiSpy::Names().empty());
    EXPECT_TRUE(dlg.m_cells[5].m_range.IsRectEmpty());
}

struct RangeDialogEnd {
    const char* name;
    void (*close)(HWND);
};

class PrintOneClosedRangeDialog : public PrintOneCommand,
                                  public ::testing::WithParamInterface<RangeDialogEnd> {};

TEST_P(PrintOneClosedRangeDialog, PrintsNothingAndOpensNoPrinterDialog)
{
    WithPhotoInFirstCell();
    Clicked(0);
    RangeDialogOpened();
    Dragged(10, 10, 137, 11);
    script.Then([this] { GetParam().close(m_range); })
        .WaitFor([this] { return !::IsWindow(m_range); }, "the range dialog to close");
    CommandEnded();
    RunMain();
    ExpectNoPrint();
    EXPECT_TRUE(dlg.m_cells[0].m_range.IsRectEmpty());
}

INSTANTIATE_TEST_SUITE_P(PrintOneCommand, PrintOneClosedRangeDialog, ::testing::Values(
    RangeDialogEnd{ "CloseButton", [](HWND h) { PostClick(h, IDC_RANGE_CLOSE); } },
    RangeDialogEnd{ "CloseBox", [](HWND h) { ::PostMessageA(h, WM_SYSCOMMAND, SC_CLOSE, 0); } }),
    [](const ::testing::TestParamInfo<RangeDialogEnd>& info) { return std::string(info.param.name); });

TEST_F(PrintOneCommand, PrintsTheDraggedRangeTurnedWhenWide)
{
    HWND printerDlg = nullptr;
    WithPhotoInFirstCell();
    Clicked(0);
    RangeDialogOpened();
    Dragged(10, 10, 137, 11);   // 127 x 89 on the screen: wider than tall
    script.Then([this] { PostClick(m_range, IDC_RANGE_PRINT); })
        .WaitFor([&] { return (printerDlg = FindThreadWindow(kPrinterDialogTitle)) != nullptr; }, "the printer dialog")
        .Then([&] { EXPECT_TRUE(PrintToDiscardPrinter(printerDlg)); });
    CommandEnded();
    RunMain();

    // The frame (10, 10, 137, 99) at scale 2.
    EXPECT_EQ(CRect(20, 20, 274, 198), dlg.m_cells[0].m_range);
    HDC dc = ExpectOnePrinterDialog();
    ASSERT_NE(nullptr, dc);
    EXPECT_EQ(L"", m_message);
    // One job on the dialog's DC, which is deleted last.
    EXPECT_EQ((Names{ m_photo }), ApiSpy::Args("GdipLoadImageFromFile"));
    EXPECT_EQ((Names{ "StartDoc", "StartPage", "GdipDrawImageRectRectI", "EndPage", "EndDoc" }), DocumentCalls());
    EXPECT_EQ(static_cast<void*>(dc), ApiSpy::Find("StartDoc")->handle);
    EXPECT_EQ("DeleteDC", ApiSpy::Calls().back().name);
    EXPECT_EQ(static_cast<void*>(dc), ApiSpy::Calls().back().handle);
    // That range on the photo turned clockwise (300 wide): left 300 - 198,
    // top 20, 198 - 20 wide, 274 - 20 high.
    EXPECT_EQ(std::string("0 0 1051 1500 from 102 20 178 254 ") + kNoExtras,
              ApiSpy::Find("GdipDrawImageRectRectI")->args);
}

TEST_F(PrintOneCommand, CancellingThePrinterDialogPrintsNothing)
{
    HWND printerDlg = nullptr;
    WithPhotoInFirstCell();
    Clicked(0);
    RangeDialogOpened();
    Dragged(20, 30, 120, 230);   // taller than wide
    script.Then([this] { PostClick(m_range, IDC_RANGE_PRINT); })
        .WaitFor([&] { return (printerDlg = FindThreadWindow(kPrinterDialogTitle)) != nullptr; }, "the printer dialog")
        .Then([&] { PostClick(printerDlg, IDCANCEL); });
    CommandEnded();
    RunMain();
    EXPECT_EQ((Names{ "PrintDlg" }), FromPrinterDialog());
    // The cell keeps the range; the next 個別印刷 asks again all the same.
    EXPECT_FALSE(dlg.m_cells[0].m_range.IsRectEmpty());
}

TEST_F(PrintOneCommand, OnAScrolledPageTheClickedCellsPhotoPrintsAndTheNextScrollAsksAgain)
{
    HWND printerDlg = nullptr, box = nullptr;
    WithPhotosOnThePage(15);
    // "↓": cell 1, which showed photo 1, shows photo 4.
    script.Then([this] { dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_SCROLL_DOWN, BN_CLICKED), 0); });
    Clicked(1);
    RangeDialogOpened();
    Dragged(20, 30, 120, 230);
    script.Then([this] { PostClick(m_range, IDC_RANGE_PRINT); })
        .WaitFor([&] { return (printerDlg = FindThreadWindow(kPrinterDialogTitle)) != nullptr; }, "the printer dialog")
        .Then([&] { EXPECT_TRUE(PrintToDiscardPrinter(printerDlg)); });
    CommandEnded();
    script.Then([this] {
            ASSERT_NE(nullptr, ApiSpy::Find("GdipLoadImageFromFile"));
            EXPECT_EQ(m_photos[4], ApiSpy::Find("GdipLoadImageFromFile")->args);
            // "↑" back to the first page clears the choice.
            dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_SCROLL_UP, BN_CLICKED), 0);
            ApiSpy::Start();
            PostClick(dlg.m_hWnd, IDC_PRINT_ONE);
        })
        .WaitFor([&] { return (box = FindThreadWindow(AfxGetAppName())) != nullptr; }, "the message box")
        .Then([&] {
            EXPECT_TRUE(HasChildWithText(box, kSelectPhotoText));
            PostClick(box, IDOK);
        });
    CommandEnded();
    RunMain();
    EXPECT_EQ(-1, dlg.m_selCell);
    ExpectNoPrint();
}

} // namespace
