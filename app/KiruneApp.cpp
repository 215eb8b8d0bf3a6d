#include "KiruneApp.h"
#include "KiruneDlg.h"

CKiruneApp theApp;

BEGIN_MESSAGE_MAP(CKiruneApp, CWinApp)
    ON_COMMAND(ID_HELP, CWinApp::OnHelp)
END_MESSAGE_MAP()

BOOL CKiruneApp::InitInstance()
{
    AfxEnableControlContainer();
    Enable3dControlsStatic();

    CKiruneDlg dlg;
    m_pMainWnd = &dlg;
    dlg.DoModal();

    // The dialog has closed: end the program without a message loop.
    m_pMainWnd = nullptr;
    return FALSE;
}
