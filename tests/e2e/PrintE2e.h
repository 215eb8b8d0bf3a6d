// The printing fixture shared by the print tests and the guide's pictures:
// the real program, its printer dialog, the default PDF printer of the
// test scheduler (300 dpi) and the documents that the spooler wrote.
#pragma once
#include "HostTools.h"
#include "KiruneProcess.h"
#include "OpenDialogText.h"
#include "PostedMouse.h"
#include "TestImages.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <vector>

const char kRangeDialog[] = "表示＆印刷範囲指定";
const char kAppName[] = "Kirune";
const int kPrintOne = 1000, kPrintAll = 1002, kImport = 1004, kCellFirst = 1007;
const int kRangePrint = 1001, kPicture = 0xFFFF;
// The printer dialog's button that opens the driver's settings.
const int kProperties = 1025;
const COLORREF kMagenta = RGB(255, 0, 255);
// The L-size area at the default printer's 300 dpi, and its papers in points.
const int kPageW = 1051, kPageH = 1500;
const char kLPaper[] = "252.28 x 360", kA4Paper[] = "595 x 842";

const DWORD kRed = 0xFFFF0000, kLime = 0xFF00FF00, kBlue = 0xFF0000FF, kYellow = 0xFFFFFF00;

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
            // The area as the page shows it: an image stream may hold its
            // rows bottom up under a matrix that turns them back.
            "d=$(mktemp -d)\n"
            "pdftoppm -r 300 -singlefile -x 0 -y 0 -W " + std::to_string(kPageW) + " -H " + std::to_string(kPageH)
            + " -png \"$f\" \"$d/i\"\n"
            "if [ -e \"$d/i.png\" ] && [ -n '" + fmt + "' ]; then convert \"$d/i.png\" -format '" + fmt + "' info:; fi\n"
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
    // One document "Print" of one page, and the colour in the middle of its area.
    COLORREF Middle(const std::string& name)
    {
        PdfFacts facts = Read(name, { { kPageW / 2, kPageH / 2 } });
        ExpectDocument(facts, name);
        return facts.pixels.empty() ? CLR_INVALID : facts.pixels[0];
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
    void Import(const std::string& quotedNames) { Import(Wide(quotedNames)); }
    // Names in UTF-16, from a folder of the test's (by default its own folder).
    void Import(const std::wstring& quotedNames, const std::wstring& from = L"")
    {
        ClickButton(main, kImport);
        ASSERT_TRUE(ChooseFiles(kirune.Id(), from.empty() ? Wide(folder.Path()) : from, quotedNames));
    }
    // The message after the command: its text, then OK.
    std::wstring AnswerMessage()
    {
        HWND box = WaitForWindow(kirune.Id(), kAppName);
        std::wstring text = box ? MessageBoxText(box) : L"(no message box)";
        ClickButton(box, IDOK);
        EXPECT_TRUE(!box || WaitForGone(box));
        return text;
    }
    // Confirms (or cancels) the printer dialog of the command.
    void AnswerPrinterDialog(int button)
    {
        HWND dialog = WaitForWindow(kirune.Id(), PrinterDialogTitle());
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
        PostClickAt(picture, 20, 20);
        const POINT band = ClientToScreenPoint(cellWnd, 3, 3);
        ASSERT_TRUE(WaitUntil([band] { return ScreenPixel(band.x, band.y) == kMagenta; }))
            << "cell " << cell << " was not selected";
    }
    HWND OpenRangeDialog()
    {
        ClickButton(main, kPrintOne);
        return WaitForWindow(kirune.Id(), kRangeDialog);
    }
    // A drag over the range dialog's picture.
    void Drag(HWND rangeDialog, int fromX, int fromY, int toX, int toY)
    {
        PostDrag(::GetDlgItem(rangeDialog, kPicture), fromX, fromY, toX, toY);
    }

    TempFolder folder;
    std::string m_pdfDir;
};

// The paper list of the printer driver's settings, opened from the printer
// dialog's properties button: the page of the sheet holds it as list 100.
inline BOOL CALLBACK MatchPaperList(HWND child, LPARAM lParam)
{
    if (::GetDlgCtrlID(child) == 100 && ClassOf(child) == "ListBox") {
        *reinterpret_cast<HWND*>(lParam) = child;
        return FALSE;
    }
    return TRUE;
}

inline HWND PaperList(HWND sheet)
{
    HWND found = nullptr;
    ::EnumChildWindows(sheet, MatchPaperList, reinterpret_cast<LPARAM>(&found));
    return found;
}

// An item of the driver's list, which holds UTF-16 text (the ANSI message
// brings back only its first character from another process).
inline std::string ListItem(HWND list, int i)
{
    WCHAR wide[256] = L"";
    DWORD_PTR length = 0;
    ::SendMessageTimeoutW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(wide), SMTO_BLOCK,
                          5000, &length);
    char text[512] = "";
    ::WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, nullptr, nullptr);
    return text;
}
