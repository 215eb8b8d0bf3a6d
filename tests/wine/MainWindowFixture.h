// Runs the program's main window modally under a script, as the main window
// of the test application.
#pragma once
#include "KiruneDlg.h"
#include "ModalScript.h"
#include <gtest/gtest.h>

// The fitted bitmap a picture control shows.
inline HBITMAP Fitted(const CPictureStatic& picture)
{
    return static_cast<HBITMAP>(picture.m_bitmap.GetSafeHandle());
}

class MainWindowFixture : public ::testing::Test {
protected:
    // Adds the closing step, runs the dialog and checks that the script ran to its end.
    INT_PTR Run()
    {
        CWinApp* app = AfxGetApp();
        app->m_pMainWnd = &dlg;
        script.Then([this] { ::PostMessageA(dlg.m_hWnd, WM_CLOSE, 0, 0); });
        script.Start();
        INT_PTR result = dlg.DoModal();
        app->m_pMainWnd = nullptr;
        EXPECT_TRUE(script.Finished()) << script.Failure();
        return result;
    }
    ModalScript& Shown()
    {
        return script.WaitShown(dlg.m_hWnd, "the main window");
    }
    HWND Cell(int i) { return dlg.m_cells[i].m_hWnd; }
    HWND InnerPicture(int i) { return dlg.m_cells[i].m_picture.m_hWnd; }
    HBITMAP Fitted(int i) { return ::Fitted(dlg.m_cells[i].m_picture); }

    CKiruneDlg dlg;
    ModalScript script;
};
