#include "afxgdi.h"
#include "afxwin.h"

namespace {
LONG g_liveGdiObjects = 0;

// A region that covers the frame of rc: rc less rc shrunk by the thickness.
HRGN CreateFrameRgn(LPCRECT rc, SIZE size)
{
    RECT inner = *rc;
    ::InflateRect(&inner, -size.cx, -size.cy);
    ::IntersectRect(&inner, &inner, rc);
    HRGN outer = ::CreateRectRgnIndirect(rc);
    HRGN hole = ::CreateRectRgnIndirect(&inner);
    ::CombineRgn(outer, outer, hole, RGN_XOR);
    ::DeleteObject(hole);
    return outer;
}

// The framework's default drag brush: an 8 x 8 checker pattern.
HBRUSH HalftoneBrush()
{
    static HBRUSH brush = [] {
        WORD pattern[8];
        for (int i = 0; i < 8; i++)
            pattern[i] = static_cast<WORD>(0x5555 << (i & 1));
        HBITMAP bmp = ::CreateBitmap(8, 8, 1, 1, pattern);
        HBRUSH b = ::CreatePatternBrush(bmp);
        ::DeleteObject(bmp);
        return b;
    }();
    return brush;
}
} // namespace

BOOL CGdiObject::Attach(HGDIOBJ hObject)
{
    if (hObject == nullptr)
        return FALSE;
    DeleteObject();
    m_hObject = hObject;
    ++g_liveGdiObjects;
    return TRUE;
}

HGDIOBJ CGdiObject::Detach()
{
    HGDIOBJ h = m_hObject;
    if (h)
        --g_liveGdiObjects;
    m_hObject = nullptr;
    return h;
}

BOOL CGdiObject::DeleteObject()
{
    HGDIOBJ h = Detach();
    return h ? ::DeleteObject(h) : FALSE;
}

LONG CGdiObject::LiveCount() { return g_liveGdiObjects; }

BOOL CBitmap::LoadBitmap(UINT nIDResource)
{
    return Attach(::LoadBitmapA(AfxGetResourceHandle(), MAKEINTRESOURCEA(nIDResource)));
}

BOOL CBitmap::CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight)
{
    return Attach(::CreateCompatibleBitmap(pDC->m_hDC, nWidth, nHeight));
}

BOOL CDC::DeleteDC()
{
    HDC h = Detach();
    return h ? ::DeleteDC(h) : FALSE;
}

BOOL CDC::CreateCompatibleDC(CDC* pDC)
{
    return Attach(::CreateCompatibleDC(pDC ? pDC->m_hDC : nullptr));
}

void CDC::FillSolidRect(LPCRECT lpRect, COLORREF clr)
{
    COLORREF old = ::SetBkColor(m_hDC, clr);
    ::ExtTextOutA(m_hDC, 0, 0, ETO_OPAQUE, lpRect, nullptr, 0, nullptr);
    ::SetBkColor(m_hDC, old);
}

void CDC::DrawDragRect(LPCRECT lpRect, SIZE size, LPCRECT lpRectLast, SIZE sizeLast,
                       HBRUSH hBrush, HBRUSH hBrushLast)
{
    if (hBrush == nullptr)
        hBrush = HalftoneBrush();
    if (hBrushLast == nullptr)
        hBrushLast = hBrush;

    HRGN rgnNew = CreateFrameRgn(lpRect, size);
    HRGN rgnUpdate = nullptr;
    if (lpRectLast != nullptr) {
        HRGN rgnLast = CreateFrameRgn(lpRectLast, sizeLast);
        if (hBrush == hBrushLast) {
            rgnUpdate = ::CreateRectRgn(0, 0, 0, 0);
            ::CombineRgn(rgnUpdate, rgnLast, rgnNew, RGN_XOR);
        } else {
            // Different brushes: take the old frame off whole, then draw the new one.
            ::SelectClipRgn(m_hDC, rgnLast);
            RECT box;
            ::GetClipBox(m_hDC, &box);
            CScopedSelect brush(m_hDC, hBrushLast);
            ::PatBlt(m_hDC, box.left, box.top, box.right - box.left, box.bottom - box.top, PATINVERT);
        }
        ::DeleteObject(rgnLast);
    }

    ::SelectClipRgn(m_hDC, rgnUpdate ? rgnUpdate : rgnNew);
    RECT box;
    ::GetClipBox(m_hDC, &box);
    {
        CScopedSelect brush(m_hDC, hBrush);
        ::PatBlt(m_hDC, box.left, box.top, box.right - box.left, box.bottom - box.top, PATINVERT);
    }
    ::SelectClipRgn(m_hDC, nullptr);

    ::DeleteObject(rgnNew);
    if (rgnUpdate)
        ::DeleteObject(rgnUpdate);
}

CClientDC::CClientDC(CWnd* pWnd) : m_hWnd(pWnd ? pWnd->m_hWnd : nullptr)
{
    m_hDC = ::GetDC(m_hWnd);
}

CClientDC::~CClientDC()
{
    ::ReleaseDC(m_hWnd, Detach());
}

CPaintDC::CPaintDC(CWnd* pWnd) : m_hWnd(pWnd->m_hWnd)
{
    m_hDC = ::BeginPaint(m_hWnd, &m_ps);
}

CPaintDC::~CPaintDC()
{
    ::EndPaint(m_hWnd, &m_ps);
    Detach();
}
