// The picture control: shows one photo scaled to its client area, and lets
// a print range be dragged over it, held to the L proportions.
#pragma once
#include "afxwin.h"

class CPictureStatic : public CStatic {
public:
    CPictureStatic();
    ~CPictureStatic() override;

    // Decodes the file (or, for a null path, takes the blank picture), fits
    // it to the client area and shows it. A file that cannot be decoded
    // leaves the picture shown before; the path is remembered all the same.
    // Photo paths are UTF-16, as the open dialog gave them.
    void LoadPicture(LPCWSTR path);
    // Replaces the target's bitmap by a copy of the source fitted to the
    // client size, and sets m_scale. Nothing happens without a source.
    void FitBitmap(CBitmap* source, CBitmap* target);

    // Hand a fitted bitmap between controls of the same size without decoding again.
    void SetBitmap(HBITMAP hBitmap);
    HBITMAP DetachBitmap() { return static_cast<HBITMAP>(m_bitmap.Detach()); }
    void DeleteBitmap() { m_bitmap.DeleteObject(); }

    void SetPath(LPCWSTR path) { m_path = path; }
    CStringW GetPath() const { return m_path; }
    BOOL IsPathEmpty() const { return m_path.IsEmpty(); }

    static CRect ConstrainAspect(const CRect& r, UINT a, UINT b);
    static CRect ScaleRect(const CRect& r, float scale);

    CBitmap m_bitmap;        // the fitted bitmap on show
    CBitmap m_placeholder;   // the blank picture, only while it is being fitted
    CStringW m_path;
    BOOL m_dragEnabled;
    CPoint m_dragStart;      // where the left button last went down
    CRect m_dragRect;        // the frame last drawn, client coordinates
    CRect m_range;           // that frame in pixels of the decoded photo
    float m_scale;           // photo pixels per control pixel

protected:
    void OnMouseMove(UINT nFlags, CPoint point);
    void OnLButtonDown(UINT nFlags, CPoint point);
    void OnLButtonUp(UINT nFlags, CPoint point);

    DECLARE_MESSAGE_MAP()
};
