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

void TypeFileName(HWND openDialog, const std::wstring& text)
{
    ::SendMessageW(FileNameEdit(openDialog), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

std::wstring MessageBoxText(HWND box)
{
    const int kTextId = 0xFFFF;   // the message's static in the system's message boxes
    WCHAR text[4096] = L"";
    ::GetDlgItemTextW(box, kTextId, text, sizeof text / sizeof text[0]);
    return text;
}

std::wstring FileNameText(HWND openDialog)
{
    WCHAR text[1024] = L"";
    ::SendMessageW(FileNameEdit(openDialog), WM_GETTEXT, sizeof text / sizeof text[0], reinterpret_cast<LPARAM>(text));
    return text;
}
