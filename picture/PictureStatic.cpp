#include "PictureStatic.h"
#include "DragGeometry.h"
#include "FitSize.h"
#include "GridColours.h"
#include "resource.h"
#include <gdiplus.h>

using namespace Gdiplus;
using namespace Gdiplus::DllExports;

namespace {
const ARGB kOpaqueBlack = 0xFF000000;

DragRect ToDrag(const RECT& r) { return { r.left, r.top, r.right, r.bottom }; }
CRect FromDrag(const DragRect& r) { return CRect(r.left, r.top, r.right, r.bottom); }

// Decodes a file into a screen bitmap; transparent pixels come out black.
HBITMAP DecodeFile(LPCWSTR path)
{
    GpBitmap* image = nullptr;
    GdipCreateBitmapFromFile(path, &image);
    HBITMAP hBitmap = nullptr;
    if (image) {
        GdipCreateHBITMAPFromBitmap(image, &hBitmap, kOpaqueBlack);
        GdipDisposeImage(image);
    }
    return hBitmap;
}
} // namespace

BEGIN_MESSAGE_MAP(CPictureStatic, CStatic)
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
END_MESSAGE_MAP()

CPictureStatic::CPictureStatic()
    : m_dragEnabled(FALSE), m_scale(0.0f)
{
}

CPictureStatic::~CPictureStatic()
{
    DeleteBitmap();
}

void CPictureStatic::LoadPicture(LPCWSTR path)
{
    HBITMAP source = nullptr;
    if (path == nullptr) {
        m_placeholder.LoadBitmap(IDB_BLANK);
        source = static_cast<HBITMAP>(m_placeholder.Detach());
    } else {
        m_path = path;   // kept even when decoding fails
        source = DecodeFile(path);
    }

    CBitmap temporary;
    temporary.Attach(source);
    FitBitmap(&temporary, &m_bitmap);
    SendMessage(STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(m_bitmap.GetSafeHandle()));
}

void CPictureStatic::FitBitmap(CBitmap* source, CBitmap* target)
{
    CClientDC windowDC(this);
    CRect client;
    GetClientRect(&client);
    if (source == nullptr || source->GetSafeHandle() == nullptr)
        return;

    BITMAP bm = {};
    source->GetBitmap(&bm);

    CDC dcSource;
    dcSource.CreateCompatibleDC(&windowDC);
    CScopedSelect selectSource(dcSource, source->GetSafeHandle());
    CDC dcFitted;
    dcFitted.CreateCompatibleDC(&windowDC);

    target->DeleteObject();
    uint32_t w = 0, h = 0;
    FitSize(static_cast<uint32_t>(bm.bmWidth), static_cast<uint32_t>(bm.bmHeight),
            static_cast<uint32_t>(client.right), static_cast<uint32_t>(client.bottom), w, h);
    // A strip so thin that one side truncates to nothing keeps one pixel,
    // so the bitmap exists and the scale stays finite.
    if (w == 0)
        w = 1;
    if (h == 0)
        h = 1;
    target->CreateCompatibleBitmap(&windowDC, static_cast<int>(w), static_cast<int>(h));
    CScopedSelect selectFitted(dcFitted, target->GetSafeHandle());

    // Halftone stretching wants its brush origin set after the mode.
    dcFitted.SetStretchBltMode(HALFTONE);
    dcFitted.SetBrushOrg(0, 0);
    dcFitted.StretchBlt(0, 0, static_cast<int>(w), static_cast<int>(h),
                        &dcSource, 0, 0, bm.bmWidth, bm.bmHeight, SRCCOPY);
    m_scale = static_cast<float>(static_cast<double>(bm.bmWidth) / static_cast<int32_t>(w));

    // A centred picture fills the rest of its control with this pixel's colour.
    dcFitted.SetPixel(0, 0, kCellGrey);
}

void CPictureStatic::SetBitmap(HBITMAP hBitmap)
{
    m_bitmap.DeleteObject();
    m_bitmap.Attach(hBitmap);
    SendMessage(STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(hBitmap));
}

CRect CPictureStatic::ConstrainAspect(const CRect& r, UINT a, UINT b)
{
    return FromDrag(::ConstrainAspect(ToDrag(r), a, b));
}

CRect CPictureStatic::ScaleRect(const CRect& r, float scale)
{
    return FromDrag(::ScaleRect(ToDrag(r), scale));
}

// The drag: with the left button down, right of and below the press point,
// an inverting frame held to the L proportions follows the pointer, and its
// range in photo pixels is kept. There is no capture: moves outside the
// control are not seen.
void CPictureStatic::OnMouseMove(UINT nFlags, CPoint point)
{
    if ((nFlags & MK_LBUTTON) && point.x > m_dragStart.x && point.y > m_dragStart.y && m_dragEnabled) {
        CClientDC dc(this);
        CRect frame = FromDrag(DragFrame(m_dragStart.x, m_dragStart.y, point.x, point.y));
        dc.DrawDragRect(&frame, CSize(1, 1), &m_dragRect, CSize(1, 1));
        m_dragRect = frame;
        m_range = ScaleRect(frame, m_scale);
    }
    Default();
}

void CPictureStatic::OnLButtonDown(UINT, CPoint point)
{
    m_dragStart = point;
    Default();
}

void CPictureStatic::OnLButtonUp(UINT, CPoint)
{
    Default();
}
