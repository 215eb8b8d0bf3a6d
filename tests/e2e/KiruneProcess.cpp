#include "KiruneProcess.h"
#include "OpenDialogText.h"
#include <gtest/gtest.h>

std::string g_kiruneExe;

namespace {
struct FindData {
    DWORD pid;
    const char* title;
    HWND found;
};

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

HWND WaitForWindow(DWORD pid, const char* title, DWORD timeoutMs)
{
    DWORD start = ::GetTickCount();
    do {
        FindData data = { pid, title, nullptr };
        ::EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&data));
        if (data.found)
            return data.found;
        ::Sleep(20);
    } while (::GetTickCount() - start < timeoutMs);
    return nullptr;
}

bool WaitForGone(HWND hwnd, DWORD timeoutMs)
{
    DWORD start = ::GetTickCount();
    while (::IsWindow(hwnd) && ::IsWindowVisible(hwnd)) {
        if (::GetTickCount() - start > timeoutMs)
            return false;
        ::Sleep(20);
    }
    return true;
}

std::string ClassOf(HWND hwnd)
{
    char name[128] = "";
    ::GetClassNameA(hwnd, name, sizeof name);
    return name;
}

std::string TextOf(HWND hwnd)
{
    char text[512] = "";
    ::GetWindowTextA(hwnd, text, sizeof text);
    return text;
}

std::string WindowsPath(const std::string& path)
{
    if (path.empty() || path[0] != '/')
        return path;
    std::string out = "Z:" + path;
    for (char& c : out)
        if (c == '/')
            c = '\\';
    return out;
}

void ClickButton(HWND dialog, int id)
{
    ::PostMessageA(::GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

void ClickAt(HWND hwnd, int x, int y)
{
    ::PostMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    ::PostMessageA(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}


bool ChooseFiles(DWORD pid, const std::string& folder, const std::string& quotedNames,
                 const std::function<void(HWND)>& beforeOpen)
{
    HWND open = WaitForWindow(pid, "開く");
    if (!open)
        return false;
    TypeFileName(open, folder);
    ClickButton(open, IDOK);
    // Moving to the folder empties the file name box; give it time under load.
    for (int i = 0; i < 100 && !FileNameText(open).empty(); i++)
        ::Sleep(50);
    ::Sleep(200);
    TypeFileName(open, quotedNames);
    if (beforeOpen)
        beforeOpen(open);
    ClickButton(open, IDOK);
    return WaitForGone(open);
}
