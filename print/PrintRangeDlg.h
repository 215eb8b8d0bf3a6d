// "表示＆印刷範囲指定": one photo enlarged, over which a print range is dragged.
// In view mode ("表示") it only shows the photo.
#pragma once
#include "afxwin.h"
#include "PictureStatic.h"
#include "resource.h"

class CPrintRangeDlg : public CDialog {
public:
    explicit CPrintRangeDlg(CWnd* pParent = nullptr);

    CPictureStatic m_picture;
    CStringW m_path;      // the photo to show; set before DoModal
    CRect m_range;        // the range in photo pixels, set when 印刷 is accepted
    bool m_viewOnly;      // TRUE for view mode; set before DoModal

protected:
    void DoDataExchange(CDataExchange*) override {}
    BOOL OnInitDialog() override;
    void OnOK() override {}       // Enter does not close the dialog
    void OnCancel() override {}   // nor does Esc

    void OnClose();
    void OnButtonClose();
    void OnButtonPrint();

    DECLARE_MESSAGE_MAP()
};
