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
} // namespace

void TypeFileName(HWND openDialog, const std::string& text)
{
    HWND box = ::GetDlgItem(openDialog, kFileNameBox);
    HWND edit = box ? FindEdit(box) : nullptr;
    ::SendMessageA(edit ? edit : box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}
