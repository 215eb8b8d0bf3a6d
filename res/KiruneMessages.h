// Private messages between the main window and its child controls.
#pragma once
#include <windows.h>

// WM_FILELIST_ADD and WM_FILELIST_CLEAR share their numbers with the dialog
// manager's DM_SETDEFID and DM_REPOSITION, which anyone may send to a dialog.
#define WM_FILELIST_ADD     (WM_USER + 1)   // sent by the folder tree; wParam: full path of one file
#define WM_FILELIST_CLEAR   (WM_USER + 2)   // sent by the folder tree before the adds
#define WM_THUMB_CLICKED    (WM_USER + 3)   // posted by a cell; wParam: the cell's control id
