// The main window's print commands and their jobs: one document "Print" of
// one page per photo, the photo (or its print range) stretched over the
// L-size area at the top-left corner of the printable area.
#include "KiruneDlg.h"
#include "GdiplusOwners.h"
#include "PageGeometry.h"
#include "PrintReport.h"
#include "afxdlgs.h"
#include <string>
#include <vector>

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

namespace {

// Full printer dialog: printer, properties and copies, but no page range,
// no selection and no print-to-file box.
const DWORD kPrintDialogFlags = PD_ALLPAGES | PD_NOSELECTION | PD_NOPAGENUMS
                              | PD_USEDEVMODECOPIES | PD_HIDEPRINTTOFILE;
static_assert(kPrintDialogFlags == 0x14000C, "printer dialog flags");

const WCHAR kDocName[] = L"Print";

// The command's printer DC seen through a framework CDC for one job; the
// handle is never deleted here, it serves the command's next job.
class CBorrowedDC : public CDC {
public:
    explicit CBorrowedDC(HDC hdc) { Attach(hdc); }
    ~CBorrowedDC() override { Detach(); }
};

DOCINFOW PrintDocInfo()
{
    DOCINFOW di{};
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

// Turns the job's photo 90 degrees clockwise; returns the image to draw, or
// none when the photo cannot be turned (it would print the wrong way and
// cut wrong). The imaging library turns most images in place, but not all:
// Wine's turns no image of fewer than 8 bits per pixel. Such a photo is
// copied to 32 bits per pixel, the same pixels, and the copy is turned
// instead; `copy` holds it until the job ends.
GpImage* TurnClockwise(GpImage* image, CScopedImage& copy)
{
    if (GdipImageRotateFlip(image, Rotate90FlipNone) == Ok)
        return image;
    GpBitmap* bitmap = nullptr;
    GdipCloneBitmapAreaI(0, 0, static_cast<INT>(ImageWidth(image)), static_cast<INT>(ImageHeight(image)),
                         PixelFormat32bppARGB, static_cast<GpBitmap*>(image), &bitmap);
    copy.Adopt(bitmap);
    if (bitmap && GdipImageRotateFlip(bitmap, Rotate90FlipNone) == Ok)
        return bitmap;
    return nullptr;
}

// The start both jobs share: graphics on the printer DC, drawing in its
// pixels; then the photo, loaded only when there are graphics to draw it
// with; then the L-size area at the printer's resolution. `photo` is null
// when the job cannot print. The job's scope releases what it made in the
// reverse order: a turned copy, the photo, the graphics.
struct JobStart {
    JobStart(HDC hdc, const CStringW& path) : graphics(hdc)
    {
        if (!graphics.Get())
            return;
        GdipSetPageUnit(graphics.Get(), UnitPixel);
        image.Load(path);
        photo = image.Get();
        if (photo)
            PageOf(graphics.Get(), pageW, pageH);
    }

    CScopedGraphics graphics;
    CScopedImage image;
    CScopedImage turnedCopy;   // only for a photo the library cannot turn in place
    GpImage* photo = nullptr;   // what the job draws: the photo, or its turned copy
    uint32_t pageW = 0, pageH = 0;
};

// The document of one photo: "Print", one page, the source part of the
// photo stretched over the L-size area. Everything that can fail before the
// drawing has been checked by the caller. Not printed when the print system
// refuses the document (there is nothing to end): refused, its last error
// in `error`, or cancelled when the user cancels the file name a printer
// that saves to a file asks for; aborted when the drawing fails, so that
// the printer feeds no sheet for it, and when a page or the document fails
// to end.
CKiruneDlg::PrintResult PrintDocument(HDC hdc, GpGraphics* graphics, GpImage* photo, uint32_t pageW,
                                      uint32_t pageH, const RangeRect& source, DWORD& error)
{
    CBorrowedDC dc(hdc);
    DOCINFOW di = PrintDocInfo();
    ::SetLastError(ERROR_SUCCESS);   // what a refusal leaves here tells a cancel from a failure
    if (dc.StartDoc(&di) <= 0) {
        error = ::GetLastError();   // read now: releasing the photo may set another
        return error == ERROR_CANCELLED ? CKiruneDlg::kCancelled : CKiruneDlg::kRefused;
    }
    // The print service wants the document's one page marked. A page that
    // fails to start or to end (the job deleted from the queue, the spool
    // disk full, the port failing) has had its job ended by GDI already:
    // there is nothing left to end or abort.
    if (dc.StartPage() <= 0)
        return CKiruneDlg::kAborted;
    if (GdipDrawImageRectRectI(graphics, photo, 0, 0, static_cast<INT>(pageW), static_cast<INT>(pageH),
                               source.left, source.top, source.right - source.left, source.bottom - source.top,
                               UnitPixel, nullptr, nullptr, nullptr) != Ok) {
        dc.AbortDoc();
        return CKiruneDlg::kAborted;
    }
    if (dc.EndPage() <= 0 || dc.EndDoc() <= 0)
        return CKiruneDlg::kAborted;
    return CKiruneDlg::kPrinted;
}

// Why the printer refused, the system's text for the error in the user's
// language after our own line.
std::wstring RefusalReason(DWORD error)
{
    WCHAR* text = nullptr;
    const DWORD length = error ? ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM
                                                      | FORMAT_MESSAGE_IGNORE_INSERTS,
                                                  nullptr, error, 0, reinterpret_cast<WCHAR*>(&text), 0, nullptr)
                               : 0;
    const std::wstring systemText(text ? text : L"", length);
    if (text)
        ::LocalFree(text);
    return RefusalText(AfxLoadStringW(IDS_PRINTER_REFUSED), systemText);
}

// After a command, one message naming the photos it could not print, and
// the reason when the printer refused them; none when everything printed.
void ReportNotPrinted(CWnd& owner, const std::vector<std::wstring>& paths, const std::wstring& reason = std::wstring())
{
    if (paths.empty())
        return;
    const std::wstring text = NotPrintedText(AfxLoadStringW(IDS_NOT_PRINTED), AfxLoadStringW(IDS_NOT_PRINTED_MORE),
                                             paths, reason);
    owner.MessageBox(text.c_str(), nullptr, MB_OK | MB_ICONWARNING);   // caption: the application's name
}

} // namespace

// ------------------------------------------------------------- commands

void CKiruneDlg::OnPrintAll()
{
    CPrintDialog printDlg(FALSE, kPrintDialogFlags);
    if (printDlg.DoModal() != IDOK)
        return;
    // Confirmed, yet with no printer DC, every job fails at its first step.
    HDC hdc = printDlg.GetPrinterDC();
    std::vector<std::wstring> notPrinted;
    std::wstring reason;
    const int count = m_photoList.GetSize();
    for (int i = 0; i < count; i++) {
        CStringW path = m_photoList.GetAt(i);
        const PrintResult result = PrintPhoto(hdc, path);
        // Cancelled as the printer dialog is: the photos left are not
        // asked for, and not named.
        if (result == kCancelled)
            break;
        // A printer that refuses one document refuses the next, and may
        // keep the window waiting on the network each time: the photos
        // left are named unasked, with the system's reason.
        if (result == kRefused) {
            for (int j = i; j < count; j++)
                notPrinted.push_back(m_photoList.GetAt(j).str());
            reason = RefusalReason(m_printError);
            break;
        }
        if (result != kPrinted)
            notPrinted.push_back(path.str());
        // A DC whose document was aborted may start no other (Wine's
        // printer driver refuses): the next photo gets a fresh DC made with
        // the settings the user chose.
        if (result == kAborted && i + 1 < count) {
            ::DeleteDC(hdc);
            hdc = printDlg.CreatePrinterDC();
        }
    }
    if (hdc)
        ::DeleteDC(hdc);
    ReportNotPrinted(*this, notPrinted, reason);
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
    // A cell with a range holds a photo of the list; the bound is checked all the same.
    if (m_selPhoto >= 0 && m_selPhoto < m_photoList.GetSize()) {
        CStringW path = m_photoList.GetAt(m_selPhoto);
        const PrintResult result = PrintPhotoRange(hdc, path, range);
        if (result != kPrinted && result != kCancelled)
            ReportNotPrinted(*this, { path.str() }, result == kRefused ? RefusalReason(m_printError) : std::wstring());
    }
    if (hdc)
        ::DeleteDC(hdc);
}

// ------------------------------------------------------------- jobs

// Each job makes its graphics, loads, measures and turns the photo before
// the document starts: a photo that cannot be printed (missing, unreadable,
// not an image the imaging library decodes) starts no document at all.

CKiruneDlg::PrintResult CKiruneDlg::PrintPhoto(HDC hdc, const CStringW& path)
{
    JobStart job(hdc, path);
    if (!job.photo)
        return kNotPrinted;
    UINT w = ImageWidth(job.photo);
    UINT h = ImageHeight(job.photo);
    if (PhotoNeedsTurn(w, h)) {
        job.photo = TurnClockwise(job.photo, job.turnedCopy);
        if (!job.photo)
            return kNotPrinted;
        w = ImageWidth(job.photo);
        h = ImageHeight(job.photo);
    }

    uint32_t srcW = 0, srcH = 0;
    if (!LSourceSize(job.pageW, job.pageH, w, h, srcW, srcH) || !DrawableSource(srcW, srcH))
        return kNotPrinted;
    const RangeRect source = { 0, 0, static_cast<int32_t>(srcW), static_cast<int32_t>(srcH) };
    return PrintDocument(hdc, job.graphics.Get(), job.photo, job.pageW, job.pageH, source, m_printError);
}

CKiruneDlg::PrintResult CKiruneDlg::PrintPhotoRange(HDC hdc, const CStringW& path, const RECT& rangeIn)
{
    RangeRect range = { rangeIn.left, rangeIn.top, rangeIn.right, rangeIn.bottom };
    JobStart job(hdc, path);
    if (!job.photo)
        return kNotPrinted;
    if (RangeNeedsTurn(range)) {
        job.photo = TurnClockwise(job.photo, job.turnedCopy);
        if (!job.photo)
            return kNotPrinted;
        range = TurnRange(range, ImageWidth(job.photo));
    }

    if (!job.pageW || !job.pageH
        || !DrawableSource(int64_t{ range.right } - range.left, int64_t{ range.bottom } - range.top))
        return kNotPrinted;
    return PrintDocument(hdc, job.graphics.Get(), job.photo, job.pageW, job.pageH, range, m_printError);
}
