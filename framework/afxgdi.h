// GDI wrappers. A CGdiObject or CDC owns its handle: exactly one wrapper
// deletes it, and Detach hands ownership on. The live count of owned GDI
// objects is kept so that tests and benchmarks can see leaks (Wine's
// GetGuiResources always reads 0).
#pragma once
#include "afxtypes.h"

class CGdiObject {
public:
    CGdiObject() = default;
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;
    virtual ~CGdiObject() { DeleteObject(); }

    HGDIOBJ GetSafeHandle() const { return m_hObject; }
    BOOL Attach(HGDIOBJ hObject);
    HGDIOBJ Detach();
    BOOL DeleteObject();

    // GDI objects currently owned by wrappers, all types together.
    static LONG LiveCount();

    HGDIOBJ m_hObject = nullptr;
};

class CBitmap : public CGdiObject {
public:
    operator HBITMAP() const { return static_cast<HBITMAP>(m_hObject); }
    BOOL LoadBitmap(UINT nIDResource);
    BOOL CreateCompatibleBitmap(class CDC* pDC, int nWidth, int nHeight);
    int GetBitmap(BITMAP* pBitMap) const { return ::GetObjectA(m_hObject, sizeof(BITMAP), pBitMap); }
};

class CDC {
public:
    CDC() = default;
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;
    virtual ~CDC() { if (m_hDC) DeleteDC(); }

    operator HDC() const { return m_hDC; }
    HDC GetSafeHdc() const { return m_hDC; }
    BOOL Attach(HDC hDC) { m_hDC = hDC; return hDC != nullptr; }
    HDC Detach() { HDC h = m_hDC; m_hDC = nullptr; return h; }
    BOOL DeleteDC();
    BOOL CreateCompatibleDC(CDC* pDC);

    HGDIOBJ SelectObject(HGDIOBJ h) { return ::SelectObject(m_hDC, h); }
    int SetStretchBltMode(int mode) { return ::SetStretchBltMode(m_hDC, mode); }
    BOOL SetBrushOrg(int x, int y) { return ::SetBrushOrgEx(m_hDC, x, y, nullptr); }
    BOOL StretchBlt(int x, int y, int w, int h, CDC* pSrc, int xs, int ys, int ws, int hs, DWORD rop)
    { return ::StretchBlt(m_hDC, x, y, w, h, pSrc->m_hDC, xs, ys, ws, hs, rop); }
    COLORREF SetPixel(int x, int y, COLORREF c) { return ::SetPixel(m_hDC, x, y, c); }
    int GetDeviceCaps(int index) const { return ::GetDeviceCaps(m_hDC, index); }
    BOOL DrawIcon(int x, int y, HICON hIcon) { return ::DrawIcon(m_hDC, x, y, hIcon); }
    int StartDoc(const DOCINFOW* pDocInfo) { return ::StartDocW(m_hDC, pDocInfo); }
    int EndDoc() { return ::EndDoc(m_hDC); }
    int AbortDoc() { return ::AbortDoc(m_hDC); }
    int StartPage() { return ::StartPage(m_hDC); }
    int EndPage() { return ::EndPage(m_hDC); }

    void FillSolidRect(LPCRECT lpRect, COLORREF clr);
    // Inverts the 1-pixel-or-thicker frame of lpRect through a halftone brush;
    // given the frame drawn last, inverts only where the two differ, so the
    // old frame vanishes and the new one appears in one step.
    void DrawDragRect(LPCRECT lpRect, SIZE size, LPCRECT lpRectLast, SIZE sizeLast,
                      HBRUSH hBrush = nullptr, HBRUSH hBrushLast = nullptr);

    HDC m_hDC = nullptr;
};

// The device context of a window's client area for the life of the object.
class CClientDC : public CDC {
public:
    explicit CClientDC(class CWnd* pWnd);
    ~CClientDC() override;
private:
    HWND m_hWnd;
};

class CPaintDC : public CDC {
public:
    explicit CPaintDC(class CWnd* pWnd);
    ~CPaintDC() override;
    PAINTSTRUCT m_ps{};
private:
    HWND m_hWnd;
};

// Selects a GDI object into a DC for one scope and puts the previous one back.
class CScopedSelect {
public:
    CScopedSelect(HDC hdc, HGDIOBJ obj) : m_hdc(hdc), m_old(obj ? ::SelectObject(hdc, obj) : nullptr) {}
    ~CScopedSelect() { if (m_old) ::SelectObject(m_hdc, m_old); }
    CScopedSelect(const CScopedSelect&) = delete;
    CScopedSelect& operator=(const CScopedSelect&) = delete;
private:
    HDC m_hdc;
    HGDIOBJ m_old;
};
