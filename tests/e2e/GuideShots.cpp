// Not tests: the pictures of the Japanese guide, taken from the real
// program when scripts/screenshot asks for them (--shots=FOLDER): PNGs of
// its windows, and the PDFs the spooler wrote with the photos they came from.
#include "PrintE2e.h"
#include <gdiplus.h>
#include <gtest/gtest.h>
#include <cmath>
#include <cstdio>
#include <vector>

std::string g_shotsFolder;   // --shots=

namespace {

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

// A landscape or portrait scene: sky, sun, hills, a lake.
DWORD Scene(int i, int x, int y, int w, int h)
{
    double u = static_cast<double>(x) / w, v = static_cast<double>(y) / h;
    double hill = 0.55 + 0.12 * std::sin(u * 6.0 + i) + 0.05 * std::sin(u * 17.0 + i * 2);
    double sunX = 0.25 + 0.5 * ((i * 37) % 10) / 10.0, sunY = 0.2;
    int r, g, b;
    if ((u - sunX) * (u - sunX) * w * w + (v - sunY) * (v - sunY) * h * h < (0.07 * w) * (0.07 * w)) {
        r = 255, g = 220 - i * 5, b = 90;
    } else if (v < hill) {
        r = static_cast<int>(90 + 100 * v + i * 8) % 256;
        g = static_cast<int>(150 + 80 * v);
        b = 235;
    } else if (v > 0.82) {
        r = 40, g = 90 + (i * 11) % 60, b = 170;
    } else {
        r = 40 + (i * 23) % 80;
        g = static_cast<int>(130 - 60 * (v - hill) + (i * 13) % 50);
        b = 50;
    }
    return Argb(RGB(r, g, b));
}

bool SaveScreenRect(const RECT& r, const std::string& path)
{
    int w = r.right - r.left, h = r.bottom - r.top;
    HDC screen = ::GetDC(nullptr);
    HDC mem = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, w, h);
    HGDIOBJ old = ::SelectObject(mem, bitmap);
    ::BitBlt(mem, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
    ::SelectObject(mem, old);
    ::DeleteDC(mem);
    ::ReleaseDC(nullptr, screen);

    GpBitmap* image = nullptr;
    GdipCreateBitmapFromHBITMAP(bitmap, nullptr, &image);
    UINT count = 0, size = 0;
    GdipGetImageEncodersSize(&count, &size);
    std::vector<BYTE> buffer(size);
    ImageCodecInfo* codecs = reinterpret_cast<ImageCodecInfo*>(buffer.data());
    GdipGetImageEncoders(count, size, codecs);
    GpStatus status = GenericError;
    std::wstring wide(path.begin(), path.end());
    for (UINT i = 0; i < count; i++)
        if (lstrcmpiW(codecs[i].MimeType, L"image/png") == 0)
            status = GdipSaveImageToFile(image, wide.c_str(), &codecs[i].Clsid, nullptr);
    GdipDisposeImage(image);
    ::DeleteObject(bitmap);
    return status == Ok;
}

const int kCells = 12;

class GuideShots : public PrintE2e {
protected:
    void SetUp() override
    {
        ASSERT_FALSE(g_shotsFolder.empty()) << "--shots=FOLDER";
        PrintE2e::SetUp();
    }

    std::string ShotPath(const char* name) { return g_shotsFolder + "\\" + name; }

    // The folder of the photos, named as a person would name it.
    std::string PhotoPath(const char* name) const { return folder.File(std::string("写真\\") + name); }

    // Imports landscape scenes, and every fourth one upright, named as a
    // camera names them, with a picture of the open dialog when named;
    // waits until the page's cells show them.
    void ImportScenes(int count, const char* shot = nullptr)
    {
        ASSERT_TRUE(folder.MakeFolder("写真"));
        std::string quoted;
        for (int i = 0; i < count; i++) {
            char name[32];
            std::snprintf(name, sizeof name, "DSC0%04d.JPG", 1201 + i);
            bool upright = i % 4 == 2;
            int w = upright ? 600 : 800, h = upright ? 800 : 600;
            ASSERT_TRUE(SaveImage(PhotoPath(name), w, h, "image/jpeg",
                                  [i, w, h](int x, int y) { return Scene(i, x, y, w, h); }));
            quoted += std::string("\"") + name + "\" ";
        }
        ClickButton(main, kImport);
        ASSERT_TRUE(ChooseFiles(kirune.Id(), Wide(folder.File("写真")), Wide(quoted), [this, shot](HWND open) {
            if (shot)
                Shot(open, shot);
        }));
        const COLORREF grey = RGB(192, 192, 192);
        for (int cell = 0; cell < std::min(count, kCells); cell++) {
            HWND cellWnd = ::GetDlgItem(main, kCellFirst + cell);
            RECT r;
            ::GetClientRect(cellWnd, &r);
            const POINT p = ClientToScreenPoint(cellWnd, r.right / 2, r.bottom / 2);
            ASSERT_TRUE(WaitUntil([p, grey] { return ScreenPixel(p.x, p.y) != grey; }))
                << "cell " << cell << " shows no photo";
        }
    }

    // Saves a window as it is on the screen, once it has handled what was
    // sent to it and has stayed at one place and size for a while (a
    // dialog is shown first and centred after).
    void Shot(HWND window, const char* name)
    {
        Paint(window);
        DWORD_PTR result = 0;
        ASSERT_TRUE(::SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_BLOCK, 10000, &result)) << name;
        RECT r{}, last{};
        int same = 0;
        for (int i = 0; i < 400 && same < 10; i++, ::Sleep(20)) {
            ::GetWindowRect(window, &r);
            same = ::EqualRect(&r, &last) ? same + 1 : 0;
            last = r;
        }
        ASSERT_EQ(10, same) << name << " did not settle";
        ASSERT_TRUE(SaveScreenRect(r, ShotPath(name))) << name;
    }

    // Has the window paint what it has not painted yet, and waits for it;
    // a drag frame drawn since stays.
    static void Paint(HWND window)
    {
        ::RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    }

    // Keeps the one document printed and the photo it was printed from.
    void KeepPrint(const char* pdfName, const std::string& photo, const char* photoName)
    {
        ASSERT_TRUE(WaitForPdfs(1));
        std::vector<std::string> pdfs = Pdfs();
        ASSERT_EQ(1u, pdfs.size());
        ASSERT_TRUE(::CopyFileA(WindowsPath(m_pdfDir + "/" + pdfs[0]).c_str(), ShotPath(pdfName).c_str(), FALSE));
        ASSERT_TRUE(::CopyFileA(photo.c_str(), ShotPath(photoName).c_str(), FALSE));
    }
};

// 全印刷 of one landscape photo: the printer dialog, its properties with the
// L-size paper, and the page printed.
TEST_F(GuideShots, DISABLED_PrintAll)
{
    ImportScenes(1);
    ClickButton(main, kPrintAll);
    HWND dialog = WaitForWindow(kirune.Id(), PrinterDialogTitle());
    ASSERT_NE(nullptr, dialog) << "no printer dialog";
    Shot(dialog, "printer.png");
    ClickButton(dialog, kProperties);
    HWND sheet = WaitForWindow(kirune.Id(), "オプション");
    ASSERT_NE(nullptr, sheet) << "the properties button opened no settings";
    HWND list = PaperList(sheet);
    ASSERT_NE(nullptr, list) << "the settings show no paper list";
    ASSERT_EQ("L 89 x 127 mm", ListItem(list, static_cast<int>(::SendMessageA(list, LB_GETCURSEL, 0, 0))));
    Shot(sheet, "paper.png");
    ClickButton(sheet, IDOK);
    ASSERT_TRUE(WaitForGone(sheet));
    ClickButton(dialog, IDOK);
    ASSERT_TRUE(WaitForGone(dialog));
    KeepPrint("page-all.pdf", PhotoPath("DSC01201.JPG"), "photo-all.jpg");
}

// A page of photos, one selected, and 個別印刷 of a dragged range.
TEST_F(GuideShots, DISABLED_PrintOne)
{
    ImportScenes(14, "open.png");
    Shot(main, "main.png");
    const int cell = 4;
    Select(cell);
    Shot(main, "select.png");

    HWND range = OpenRangeDialog();
    ASSERT_NE(nullptr, range);
    // An upright frame around the sun; the dialog keeps it at the L
    // proportions.
    Paint(range);
    RECT client;
    ::GetClientRect(::GetDlgItem(range, kPicture), &client);
    const int w = client.right * 9 / 25, x0 = client.right * 12 / 25, y0 = client.bottom / 10;
    Drag(range, x0, y0, x0 + w, y0 + w * 127 / 89);
    Shot(range, "range.png");
    ClickButton(range, kRangePrint);
    ASSERT_TRUE(WaitForGone(range));
    AnswerPrinterDialog(IDOK);
    KeepPrint("page-range.pdf", PhotoPath("DSC01205.JPG"), "photo-range.jpg");
}

} // namespace
