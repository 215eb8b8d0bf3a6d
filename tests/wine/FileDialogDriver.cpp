#include "FileDialogDriver.h"
#include <memory>

namespace {
const char kOpenTitle[] = "開く";
const int kFileNameBox = 0x47C;   // the ComboBoxEx of the file name

HWND FindEdit(HWND parent)
{
    for (HWND child = ::GetWindow(parent, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        char name[32] = "";
        ::GetClassNameA(child, name, sizeof name);
        if (lstrcmpiA(name, "Edit") == 0)
            return child;
        if (HWND inner = FindEdit(child))
            return inner;
    }
    return nullptr;
}

void TypeFileName(HWND dialog, const std::string& text)
{
    HWND box = ::GetDlgItem(dialog, kFileNameBox);
    HWND edit = box ? FindEdit(box) : nullptr;
    ::SendMessageA(edit ? edit : box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}
} // namespace

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
            TypeFileName(*open, folder);
            PostClick(*open, IDOK);
        })
        .Pause(10)
        .Then([open, quoted] {
            TypeFileName(*open, quoted);
            PostClick(*open, IDOK);
        })
        .WaitFor([open] { return !::IsWindow(*open); }, "the open dialog to close");
}

void CancelImport(ModalScript& script, const CWnd& main)
{
    auto open = std::make_shared<HWND>(nullptr);
    script.Then([&main] { PostClick(main.m_hWnd, 1004); })
        .WaitFor([open] { return (*open = FindThreadWindow(kOpenTitle)) != nullptr; }, "the open dialog")
        .Then([open] { PostClick(*open, IDCANCEL); })
        .WaitFor([open] { return !::IsWindow(*open); }, "the open dialog to close");
}
