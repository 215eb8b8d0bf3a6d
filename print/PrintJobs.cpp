// The main window's print commands and their jobs: one document "Print" of
// one page per photo, the photo (or its print range) stretched over the
// L-size area at the top-left corner of the printable area.
#include "KiruneDlg.h"
#include "GdiplusOwners.h"
#include "PageGeometry.h"
#include "PhotoPath.h"
#include "afxdlgs.h"
#include <vector>

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

namespace {

// Full printer dialog: printer, properties and copies, but no page range,
// no selection and no print-to-file box.
const DWORD kPrintDialogFlags = PD_ALLPAGES | PD_NOSELECTION | PD_NOPAGENUMS
                              | PD_USEDEVMODECOPIES | PD_HIDEPRINTTOFILE;
static_assert(kPrintDialogFlags == 0x14000C, "printer dialog flags");

const char kDocName[] = "Print";

// The command's printer DC seen through a framework CDC for one job; the
// handle is never deleted here, it serves the command's next job.
class CBorrowedDC : public CDC {
public:
    explicit CBorrowedDC(HDC hdc) { Attach(hdc); }
    ~CBorrowedDC() override { Detach(); }
};

DOCINFOA PrintDocInfo()
{
    DOCINFOA di{};
    di.cbSize = sizeof di;
    di.lpszDocName = kDocName;
    di.lpszOutput = nullptr;   // to the printer, not to a file
    di.lpszDatatype = nullptr;
    di.fwType = 0;
    return di;
}

// The L-size area at the resolution of the graphics; 0 x 0 without graphics.
void PageOf(GpGraphics* graphics, uint32_t& pageW, uint32_t& pageH)
{
    REAL dpiX = 0, dpiY = 0;
    GdipGetDpiX(graphics, &dpiX);
    GdipGetDpiY(graphics, &dpiY);
    LPageSize(dpiX, dpiY, pageW, pageH);
}

UINT ImageWidth(GpImage* image)
{
    UINT w = 0;   // stays 0 when there is no image
    GdipGetImageWidth(image, &w);
    return w;
}

UINT ImageHeight(GpImage* image)
{
    UINT h = 0;
    GdipGetImageHeight(image, &h);
    return h;
}

// Turns the job's photo 90 degrees clockwise; returns the image to draw.
// The imaging library turns most images in place, but not all: Wine's turns
// no image of fewer than 8 bits per pixel. Such a photo is copied to 32 bits
// per pixel, the same pixels, and the copy is turned instead; `copy` holds
// it until the job ends. A photo that cannot be copied stays as it is.
GpImage* TurnClockwise(GpImage* image, CScopedImage& copy)
{
    if (GdipImageRotateFlip(image, Rotate90FlipNone) == Ok || !image)
        return image;
    GpBitmap* bitmap = nullptr;
    GdipCloneBitmapAreaI(0, 0, static_cast<INT>(ImageWidth(image)), static_cast<INT>(ImageHeight(image)),
                         PixelFormat32bppARGB, static_cast<GpBitmap*>(image), &bitmap);
    copy.Adopt(bitmap);
    if (bitmap && GdipImageRotateFlip(bitmap, Rotate90FlipNone) == Ok)
        return bitmap;
    return image;
}

} // namespace

// ------------------------------------------------------------- commands

void CKiruneDlg::OnPrintAll()
{
    CPrintDialog printDlg(FALSE, kPrintDialogFlags);
    if (printDlg.DoModal() != IDOK)
        return;
    HDC hdc = printDlg.GetPrinterDC();
    if (!hdc)
        return;   // confirmed, yet no printer to draw on
    const int count = m_photoList.GetSize();
    for (int i = 0; i < count; i++) {
        CString path = m_photoList.GetAt(i);
        PrintPhoto(hdc, path);
    }
    ::DeleteDC(hdc);
}

void CKiruneDlg::OnPrintOne()
{
    if (m_selCell == -1) {
        MessageBox(AfxLoadStringW(IDS_SELECT_PHOTO).c_str(), nullptr, MB_OK);   // caption: the application's name
        return;
    }
    CThumbCell& cell = m_cells[m_selCell];
    cell.ChoosePrintRange();
    CRect range = cell.m_range;
    if (range.IsRectEmpty())
        return;   // no range chosen: nothing to say

    CPrintDialog printDlg(FALSE, kPrintDialogFlags);
    if (printDlg.DoModal() != IDOK)
        return;
    HDC hdc = printDlg.GetPrinterDC();
    if (!hdc)
        return;
    // A cell with a range holds a photo of the list; the bound is checked all the same.
    if (m_selPhoto >= 0 && m_selPhoto < m_photoList.GetSize()) {
        CString path = m_photoList.GetAt(m_selPhoto);
        PrintPhotoRange(hdc, path, range);
    }
    ::DeleteDC(hdc);
}

// ------------------------------------------------------------- jobs

void CKiruneDlg::PrintPhoto(HDC hdc, const CString& path)
{
    CScopedGraphics graphics(hdc);
    GdipSetPageUnit(graphics.Get(), UnitPixel);

    CBorrowedDC dc(hdc);
    DOCINFOA di = PrintDocInfo();
    dc.StartDoc(&di);

    CScopedImage image(WidePath(path).data());
    CScopedImage turnedCopy;   // only for a photo the library cannot turn in place
    GpImage* photo = image.Get();
    uint32_t pageW = 0, pageH = 0;
    PageOf(graphics.Get(), pageW, pageH);
    UINT w = ImageWidth(photo);
    UINT h = ImageHeight(photo);

    if (PhotoNeedsTurn(w, h)) {
        photo = TurnClockwise(photo, turnedCopy);
        w = ImageWidth(photo);
        h = ImageHeight(photo);
    }

    // The print service wants the document's one page marked.
    dc.StartPage();
    uint32_t srcW = 0, srcH = 0;
    if (graphics.Get() && LSourceSize(pageW, pageH, w, h, srcW, srcH) && DrawableSource(srcW, srcH)) {
        GdipDrawImageRectRectI(graphics.Get(), photo,
                               0, 0, static_cast<INT>(pageW), static_cast<INT>(pageH),
                               0, 0, static_cast<INT>(srcW), static_cast<INT>(srcH),
                               UnitPixel, nullptr, nullptr, nullptr);
    }
    dc.EndPage();

    dc.EndDoc();
    dc.Detach();
    // The turned copy, the image, then the graphics are released as the scope ends.
}

void CKiruneDlg::PrintPhotoRange(HDC hdc, const CString& path, const RECT& rangeIn)
{
    RangeRect range = { rangeIn.left, rangeIn.top, rangeIn.right, rangeIn.bottom };

    CScopedGraphics graphics(hdc);
    GdipSetPageUnit(graphics.Get(), UnitPixel);

    CBorrowedDC dc(hdc);
    DOCINFOA di = PrintDocInfo();
    dc.StartDoc(&di);

    CScopedImage image(WidePath(path).data());
    CScopedImage turnedCopy;   // only for a photo the library cannot turn in place
    GpImage* photo = image.Get();
    uint32_t pageW = 0, pageH = 0;
    PageOf(graphics.Get(), pageW, pageH);

    if (RangeNeedsTurn(range)) {
        photo = TurnClockwise(photo, turnedCopy);
        range = TurnRange(range, ImageWidth(photo));
    }

    dc.StartPage();
    if (graphics.Get() && pageW && pageH
        && DrawableSource(int64_t{ range.right } - range.left, int64_t{ range.bottom } - range.top)) {
        GdipDrawImageRectRectI(graphics.Get(), photo,
                               0, 0, static_cast<INT>(pageW), static_cast<INT>(pageH),
                               range.left, range.top, range.right - range.left, range.bottom - range.top,
                               UnitPixel, nullptr, nullptr, nullptr);
    }
    dc.EndPage();

    dc.EndDoc();
    dc.Detach();
}
