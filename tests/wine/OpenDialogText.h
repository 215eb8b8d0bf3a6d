// The texts of the system's dialogs, in this process or another one: typing
// into the file name box of the open dialog ("開く"), reading a message box.
#pragma once
#include <windows.h>
#include <string>

// The text is UTF-16: names no ANSI code page spells are typed as they are.
void TypeFileName(HWND openDialog, const std::wstring& text);
// What the file name box holds now.
std::wstring FileNameText(HWND openDialog);
// The whole text of a message box, as it was given, in UTF-16.
std::wstring MessageBoxText(HWND box);
