// Operates the system's common dialogs as a person would: the real
// file-open dialog ("開く") from a modal script (type the folder, press Open,
// type the quoted names, press Open), and the printer dialog.
#pragma once
#include "ModalScript.h"
#include "afxwin.h"
#include <string>
#include <vector>

// Clicks the main window's import button and picks the names in the folder.
void ImportThroughDialog(ModalScript& script, const CWnd& main, const std::string& folder,
                         const std::vector<std::string>& names);
// Clicks the import button and cancels the dialog; the folder it opened in
// goes to *openedIn when given.
void CancelImport(ModalScript& script, const CWnd& main, std::wstring* openedIn = nullptr);

// The test scheduler's printer that discards its jobs, for tests that only
// watch the calls: none of their documents becomes a PDF under later tests.
std::string DiscardPrinter();
// Picks that printer in the open printer dialog's list, as a person would,
// and presses OK; false, pressing nothing, when the list lacks it.
bool PrintToDiscardPrinter(HWND printerDialog);
