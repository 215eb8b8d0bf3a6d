#include "CommonDialogs.h"
#include "OpenDialogText.h"
#include "TestImages.h"
#include <commdlg.h>
#include <dlgs.h>
#include <cstdlib>
#include <memory>

namespace {
const char kOpenTitle[] = "開く";
}

void ImportThroughDialog(ModalScript& script, const CWnd& main, const std::string& folder,
                         const std::vector<std::string>& names)
{
    auto open = std::make_shared<HWND>(nullptr);
    std::string quoted;
    for (const std::string& name : names)
        quoted += "\"" + name + "\" ";
    script.Then([&main] { PostClick(main.m_hWnd, 1004); })
        .WaitFor([open] { return (*open = FindThreadWindow(kOpenTitle)) != nullptr; }, "the open dialog")
        .Then([open, folder] {
            TypeFileName(*open, Wide(folder));
            PostClick(*open, IDOK);
        })
        .Pause(10)
        .Then([open, quoted] {
            TypeFileName(*open, Wide(quoted));
            PostClick(*open, IDOK);
        })
        .WaitFor([open] { return !::IsWindow(*open); }, "the open dialog to close");
}

void CancelImport(ModalScript& script, const CWnd& main, std::wstring* openedIn)
{
    auto open = std::make_shared<HWND>(nullptr);
    script.Then([&main] { PostClick(main.m_hWnd, 1004); })
        .WaitFor([open] { return (*open = FindThreadWindow(kOpenTitle)) != nullptr; }, "the open dialog")
        .Then([open, openedIn] {
            WCHAR folder[MAX_PATH] = L"";
            ::SendMessageW(*open, CDM_GETFOLDERPATH, MAX_PATH, reinterpret_cast<LPARAM>(folder));
            if (openedIn)
                *openedIn = folder;
            PostClick(*open, IDCANCEL);
        })
        .WaitFor([open] { return !::IsWindow(*open); }, "the open dialog to close");
}

std::string DiscardPrinter()
{
    const char* base = std::getenv("KIRUNE_PRINTER");
    return std::string(base ? base : "") + "Discard";
}

bool PrintToDiscardPrinter(HWND printerDialog)
{
    HWND list = ::GetDlgItem(printerDialog, cmb4);
    const std::string name = DiscardPrinter();
    LRESULT index = list ? ::SendMessageA(list, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                          reinterpret_cast<LPARAM>(name.c_str()))
                         : CB_ERR;
    if (index == CB_ERR)
        return false;
    ::SendMessageA(list, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    ::SendMessageA(printerDialog, WM_COMMAND, MAKEWPARAM(cmb4, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
    PostClick(printerDialog, IDOK);
    return true;
}
