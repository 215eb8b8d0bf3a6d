#include "ThumbCell.h"
#include "GridColours.h"
#include "KiruneMessages.h"
#include "PrintRangeDlg.h"
#include "resource.h"

namespace {
const int kBand = 10;   // the coloured band around the picture
const DWORD kPictureStyle = WS_CHILD | WS_VISIBLE | SS_ENDELLIPSIS | SS_CENTERIMAGE | SS_NOTIFY | SS_BITMAP;
}

BEGIN_MESSAGE_MAP(CThumbCell, CStatic)
    ON_WM_SETFOCUS()
    ON_WM_PAINT()
    ON_WM_KILLFOCUS()
END_MESSAGE_MAP()

CThumbCell::CThumbCell()
    : m_selected(FALSE)
{
}

void CThumbCell::PreSubclassWindow()
{
    CRect rect;
    GetClientRect(&rect);
    rect.DeflateRect(kBand, kBand, kBand, kBand);
    m_picture.Create(nullptr, kPictureStyle, rect, this, IDC_PICTURE);
    CStatic::PreSubclassWindow();
}

void CThumbCell::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(&client, m_selected ? kSelectedMagenta : kCellGrey);
}

void CThumbCell::OnSetFocus(CWnd*)
{
    Default();
}

// The band goes when the focus moves to another window of the program; it
// stays when another application takes the focus (no window given).
void CThumbCell::OnKillFocus(CWnd* pNewWnd)
{
    Default();
    if (pNewWnd != nullptr) {
        m_selected = FALSE;
        Invalidate(TRUE);
    }
}

BOOL CThumbCell::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) == IDC_PICTURE) {
        switch (HIWORD(wParam)) {
        case STN_CLICKED:
            Select();
            // Posted also for a blank cell: the main window records every click.
            GetParent()->PostMessage(WM_THUMB_CLICKED, static_cast<WPARAM>(GetDlgCtrlID()), 0);
            break;
        case STN_DBLCLK:
            ShowPhoto();
            break;
        }
    }
    return CStatic::OnCommand(wParam, lParam);
}

void CThumbCell::Select()
{
    if (!HasPhoto())
        return;
    m_selected = TRUE;
    Invalidate(TRUE);
    SetFocus();
}

void CThumbCell::ShowPhoto()
{
    if (!HasPhoto())
        return;
    CPrintRangeDlg dlg;
    dlg.m_path = GetPath();
    dlg.m_viewOnly = true;
    dlg.DoModal();
    // The dialog took the focus and with it the band: show both again.
    Select();
}

void CThumbCell::ChoosePrintRange()
{
    if (!HasPhoto()) {
        m_range.SetRectEmpty();
        return;
    }
    CPrintRangeDlg dlg;
    dlg.m_path = GetPath();
    INT_PTR result = dlg.DoModal();
    Select();
    if (result == IDOK)
        m_range = dlg.m_range;
    else
        m_range.SetRectEmpty();
}
