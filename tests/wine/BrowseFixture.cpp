#include "BrowseFixture.h"
#include <shellapi.h>

namespace {
const char kRecorderClass[] = "KiruneTestRecorder";
} // namespace

bool HasSubfolderOnDisk(const std::string& folder)
{
    WIN32_FIND_DATAA data;
    HANDLE h = ::FindFirstFileA((folder + "\\*").c_str(), &data);
    bool found = false;
    if (h != INVALID_HANDLE_VALUE) {
        do {
            std::string name = data.cFileName;
            found = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name != "." && name != "..";
        } while (!found && ::FindNextFileA(h, &data));
        ::FindClose(h);
    }
    return found;
}

HIMAGELIST ShellSmallImageList()
{
    SHFILEINFOA info{};
    return reinterpret_cast<HIMAGELIST>(
        ::SHGetFileInfoA("C:\\", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
}

std::string LowerCase(std::string text)
{
    ::CharLowerBuffA(&text[0], static_cast<DWORD>(text.size()));
    return text;
}

BEGIN_MESSAGE_MAP(AnnouncementRecorder, CWnd)
    ON_MESSAGE(WM_FILELIST_ADD, OnFileListAdd)
    ON_MESSAGE(WM_FILELIST_CLEAR, OnFileListClear)
END_MESSAGE_MAP()

BOOL AnnouncementRecorder::Create()
{
    WNDCLASSA wc{};
    wc.lpfnWndProc = ::DefWindowProcA;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = kRecorderClass;
    ::RegisterClassA(&wc);   // fails harmlessly once registered
    return CreateEx(0, kRecorderClass, "", WS_POPUP, CRect(0, 0, 300, 300), nullptr, 0);
}

LRESULT AnnouncementRecorder::OnFileListAdd(WPARAM wParam, LPARAM)
{
    m_log.push_back(std::string("ADD ") + reinterpret_cast<const char*>(wParam));
    return 1;
}

LRESULT AnnouncementRecorder::OnFileListClear(WPARAM, LPARAM)
{
    m_log.push_back("CLEAR");
    return 1;
}

std::vector<std::string> Announcement(const std::vector<std::string>& paths)
{
    std::vector<std::string> log = { "CLEAR" };
    for (const std::string& path : paths)
        log.push_back("ADD " + path);
    return log;
}
