#include "BrowseFixture.h"
#include <shellapi.h>

namespace {
const char kRecorderClass[] = "KiruneTestRecorder";
int g_folderCount = 0;

void RemoveTree(const std::string& path)
{
    WIN32_FIND_DATAA data;
    HANDLE h = ::FindFirstFileA((path + "\\*").c_str(), &data);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            std::string name = data.cFileName;
            if (name == "." || name == "..")
                continue;
            std::string child = path + "\\" + name;
            ::SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(child);
            else
                ::DeleteFileA(child.c_str());
        } while (::FindNextFileA(h, &data));
        ::FindClose(h);
    }
    ::SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::RemoveDirectoryA(path.c_str());
}
} // namespace

TempFolder::TempFolder()
{
    char temp[MAX_PATH] = "";
    ::GetTempPathA(sizeof temp, temp);
    char spelled[MAX_PATH] = "";
    ::GetLongPathNameA(temp, spelled, sizeof spelled);
    m_path = std::string(spelled) + "kirune-browse-" + std::to_string(::GetCurrentProcessId()) + "-" +
             std::to_string(++g_folderCount);
    RemoveTree(m_path);
    ::CreateDirectoryA(m_path.c_str(), nullptr);
}

TempFolder::~TempFolder()
{
    RemoveTree(m_path);
}

bool TempFolder::MakeFolder(const std::string& relative, DWORD attributes) const
{
    std::string path = *this / relative;
    return ::CreateDirectoryA(path.c_str(), nullptr) &&
           (attributes == 0 || ::SetFileAttributesA(path.c_str(), attributes));
}

bool TempFolder::MakeFile(const std::string& relative, DWORD attributes) const
{
    HANDLE h = ::CreateFileA((*this / relative).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                             attributes ? attributes : FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    ::CloseHandle(h);
    return true;
}

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
