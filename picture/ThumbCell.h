// A thumbnail cell of the main window's grid: frames a picture with a band
// that shows the selection, turns clicks into selection and a notice to the
// main window, and carries the print range chosen for its photo.
#pragma once
#include "PictureStatic.h"

class CThumbCell : public CStatic {
public:
    CThumbCell();
    ~CThumbCell() override = default;

    // Forwarded to the inner picture.
    void LoadPicture(LPCWSTR path) { m_picture.LoadPicture(path); }
    void SetBitmap(HBITMAP hBitmap) { m_picture.SetBitmap(hBitmap); }
    HBITMAP DetachBitmap() { return m_picture.DetachBitmap(); }
    void DeleteBitmap() { m_picture.DeleteBitmap(); }
    CStringW GetPath() const { return m_picture.GetPath(); }
    void SetPath(LPCWSTR path) { m_picture.SetPath(path); }

    // Shows the cell selected and focuses it; nothing for a cell without a photo.
    void Select();
    // The photo enlarged, view only (double-click).
    void ShowPhoto();
    // Asks the print-range dialog for a range and keeps it in m_range;
    // the range is empty unless the dialog accepted one.
    void ChoosePrintRange();

    CPictureStatic m_picture;
    BOOL m_selected;
    CRect m_range;

protected:
    void PreSubclassWindow() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    void OnSetFocus(CWnd* pOldWnd);
    void OnPaint();
    void OnKillFocus(CWnd* pNewWnd);

    BOOL HasPhoto() const { return !m_picture.IsPathEmpty(); }

    DECLARE_MESSAGE_MAP()
};
