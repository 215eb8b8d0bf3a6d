#include "PrintRangeDlg.h"

namespace {
// The picture keeps clear of the edges, and of the buttons and hint line below.
const int kPictureInset = 10;
// The buttons and hint line grow with the display scale, the strip with them.
const int kButtonStrip = 50;   // at kDesignDpi
const int kDesignDpi = 96;
const DWORD kPictureStyle = WS_CHILD | WS_VISIBLE | SS_ENDELLIPSIS | SS_NOTIFY | SS_BITMAP;
}

BEGIN_MESSAGE_MAP(CPrintRangeDlg, CDialog)
    ON_WM_CLOSE()
    ON_BN_CLICKED(IDC_RANGE_CLOSE, OnButtonClose)
    ON_BN_CLICKED(IDC_RANGE_PRINT, OnButtonPrint)
END_MESSAGE_MAP()

CPrintRangeDlg::CPrintRangeDlg(CWnd* pParent)
    : CDialog(IDD_PRINT_RANGE, pParent), m_viewOnly(false)
{
}

BOOL CPrintRangeDlg::OnInitDialog()
{
    CDialog::OnInitDialog();

    CRect rect;
    GetClientRect(&rect);
    const int strip = kButtonStrip * CClientDC(this).GetDeviceCaps(LOGPIXELSY) / kDesignDpi;
    rect.DeflateRect(kPictureInset, kPictureInset, kPictureInset, strip);
    m_picture.Create(nullptr, kPictureStyle, rect, this, IDC_PICTURE);
    // Dragging works in both modes; only range mode reads the result.
    m_picture.m_dragEnabled = TRUE;
    m_picture.LoadPicture(m_path);

    if (m_viewOnly) {
        SetWindowText(AfxLoadStringW(IDS_VIEW_TITLE).c_str());
        const int hidden[] = { IDC_RANGE_PRINT, IDC_RANGE_HINT };
        for (int id : hidden) {
            CWnd* control = GetDlgItem(id);
            control->EnableWindow(FALSE);
            control->ShowWindow(SW_HIDE);
        }
    }
    return TRUE;
}

void CPrintRangeDlg::OnButtonPrint()
{
    m_range = m_picture.m_range;
    if (m_range.IsRectEmpty())
        MessageBox(AfxLoadStringW(IDS_NO_RANGE).c_str(), nullptr, MB_OK);
    else
        CDialog::OnOK();
}

void CPrintRangeDlg::OnButtonClose()
{
    CDialog::OnCancel();
}

// The close box ends with IDOK but hands back no new range.
void CPrintRangeDlg::OnClose()
{
    CDialog::OnOK();
}
