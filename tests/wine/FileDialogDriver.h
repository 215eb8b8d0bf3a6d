// Operates the real file-open dialog ("開く") from a modal script, as a
// person would: type the folder, press Open, type the quoted names, press Open.
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
