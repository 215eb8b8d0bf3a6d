#include "OpenDialogText.h"

namespace {
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

HWND FileNameEdit(HWND openDialog)
{
    HWND box = ::GetDlgItem(openDialog, kFileNameBox);
    HWND edit = box ? FindEdit(box) : nullptr;
    return edit ? edit : box;
}
} // namespace

void TypeFileName(HWND openDialog, const std::string& text)
{
    ::SendMessageA(FileNameEdit(openDialog), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

std::string FileNameText(HWND openDialog)
{
    char text[1024] = "";
    ::SendMessageA(FileNameEdit(openDialog), WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return text;
}
