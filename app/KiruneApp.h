// The application object: runs the main dialog once and ends.
#pragma once
#include "afxwin.h"

class CKiruneApp : public CWinApp {
public:
    CKiruneApp() = default;
    BOOL InitInstance() override;

    DECLARE_MESSAGE_MAP()
};

extern CKiruneApp theApp;
