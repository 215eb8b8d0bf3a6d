#include "KiruneProcess.h"
#include "OpenDialogText.h"
#include "TestImages.h"
#include <gtest/gtest.h>

std::string g_kiruneExe;

namespace {
struct FindData {
    DWORD pid;
    const char* title;
    HWND found;
};

bool Gone(HWND hwnd) { return !::IsWindow(hwnd) || !::IsWindowVisible(hwnd); }

BOOL CALLBACK MatchWindow(HWND hwnd, LPARAM lParam)
{
    FindData* data = reinterpret_cast<FindData*>(lParam);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hwnd, &pid);
    if (pid == data->pid && ::IsWindowVisible(hwnd) && TextOf(hwnd) == data->title) {
        data->found = hwnd;
        return FALSE;
    }
    return TRUE;
}
} // namespace

KiruneProcess::~KiruneProcess()
{
    if (m_pi.hProcess) {
        if (::WaitForSingleObject(m_pi.hProcess, 0) == WAIT_TIMEOUT)
            ::TerminateProcess(m_pi.hProcess, 1);
        ::CloseHandle(m_pi.hProcess);
        ::CloseHandle(m_pi.hThread);
    }
}

bool KiruneProcess::Start(const std::string& workDir)
{
    STARTUPINFOA si{};
    si.cb = sizeof si;
    std::string cmd = "\"" + g_kiruneExe + "\"";
    if (!::CreateProcessA(g_kiruneExe.c_str(), &cmd[0], nullptr, nullptr, FALSE, 0, nullptr,
                          workDir.empty() ? nullptr : workDir.c_str(), &si, &m_pi))
        return false;
    ::WaitForInputIdle(m_pi.hProcess, 10000);
    return true;
}

HWND KiruneProcess::MainWindow(DWORD timeoutMs)
{
    return WaitForWindow(m_pi.dwProcessId, "Ｌ判写真印刷", timeoutMs);
}

bool KiruneProcess::WaitExit(DWORD timeoutMs)
{
    return ::WaitForSingleObject(m_pi.hProcess, timeoutMs) == WAIT_OBJECT_0;
}

bool WaitUntil(const std::function<bool()>& state, DWORD timeoutMs)
{
    const DWORD start = ::GetTickCount();
    while (!state()) {
        if (::GetTickCount() - start > timeoutMs)
            return false;
        ::Sleep(20);
    }
    return true;
}

HWND WaitForWindow(DWORD pid, const char* title, DWORD timeoutMs)
{
    FindData data = { pid, title, nullptr };
    WaitUntil([&data] {
        ::EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&data));
        return data.found != nullptr;
    }, timeoutMs);
    return data.found;
}

bool WaitForGone(HWND hwnd, DWORD timeoutMs)
{
    return WaitUntil([hwnd] { return Gone(hwnd); }, timeoutMs);
}

std::string ClassOf(HWND hwnd)
{
    char name[128] = "";
    ::GetClassNameA(hwnd, name, sizeof name);
    return name;
}

std::string TextOf(HWND hwnd)
{
    const UINT kJapanese = 932;   // the code page the tests' texts are compiled in
    WCHAR wide[512] = L"";
    ::GetWindowTextW(hwnd, wide, sizeof wide / sizeof wide[0]);
    char text[1024] = "";
    ::WideCharToMultiByte(kJapanese, 0, wide, -1, text, sizeof text, nullptr, nullptr);
    return text;
}

namespace {
bool JapaneseUi() { return PRIMARYLANGID(::GetUserDefaultUILanguage()) == LANG_JAPANESE; }
}

const char* OpenDialogTitle() { return JapaneseUi() ? "開く" : "Open"; }
const char* PrinterDialogTitle() { return JapaneseUi() ? "印刷" : "Print"; }

void ClickButton(HWND dialog, int id)
{
    ::PostMessageA(::GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

bool CellShows(HWND main, int cell, COLORREF colour, int tolerance)
{
    const int kCellFirst = 1007;
    HWND hwnd = ::GetDlgItem(main, kCellFirst + cell);
    return WaitUntil([=] {
        RECT r;
        ::GetClientRect(hwnd, &r);
        POINT p = ClientToScreenPoint(hwnd, r.right / 2, r.bottom / 2);
        return NearColour(ScreenPixel(p.x, p.y), colour, tolerance);
    });
}

namespace {
// Types the text until the name box reads it back, then presses Open; the
// box may still be changing from the step before.
bool Enter(HWND open, const std::wstring& text, const std::function<void(HWND)>& beforeOpen = nullptr)
{
    if (!WaitUntil([&] {
            TypeFileName(open, text);
            return Gone(open) || FileNameText(open) == text;
        }) || Gone(open))
        return false;
    if (beforeOpen)
        beforeOpen(open);
    ClickButton(open, IDOK);
    return true;
}
} // namespace

bool ChooseFiles(DWORD pid, const std::wstring& folder, const std::wstring& quotedNames,
                 const std::function<void(HWND)>& beforeOpen)
{
    HWND open = WaitForWindow(pid, OpenDialogTitle());
    // Moving to the folder empties the name box.
    if (!open || !Enter(open, folder) || !WaitUntil([open] { return Gone(open) || FileNameText(open).empty(); }))
        return false;
    // Open with the names closes the dialog; should the dialog have emptied
    // the box before taking them, type them again.
    for (int attempt = 0; attempt < 3 && !Gone(open); attempt++)
        if (!Enter(open, quotedNames, beforeOpen) || !WaitUntil([&] { return Gone(open) || FileNameText(open) != quotedNames; }))
            break;
    return WaitForGone(open);
}
