// Typing into the file name box of the open dialog ("開く"), in this process
// or another one.
#pragma once
#include <windows.h>
#include <string>

void TypeFileName(HWND openDialog, const std::string& text);
// What the file name box holds now.
std::string FileNameText(HWND openDialog);
