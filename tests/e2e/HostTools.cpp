#include "HostTools.h"
#include "KiruneProcess.h"
#include "TestImages.h"
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

bool WriteFile(const std::string& path, const std::string& text)
{
    std::ofstream out(path.c_str(), std::ios::binary);
    out << text;
    return static_cast<bool>(out);
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path.c_str(), std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

} // namespace

// Wine starts a host program as it starts a Windows one, but does not tell
// when it ends nor its exit code: the script leaves both in files, the exit
// code last, and the driver waits for that file.
bool RunOnHost(const std::string& script, std::string* output, DWORD timeoutMs)
{
    static int count = 0;
    // The run's own folder: Wine's process ids repeat in other runs' prefixes.
    const char* folder = std::getenv("KIRUNE_HOST_TMP");
    char name[64];
    std::snprintf(name, sizeof name, "/kirune-e2e-%lu-%d", ::GetCurrentProcessId(), ++count);
    const std::string base = std::string(folder && *folder ? folder : "/tmp") + name;
    const std::string sh = base + ".sh", out = base + ".out", rc = base + ".rc";
    // The checkout's path may hold spaces.
    const std::string qout = "'" + out + "'", qrc = "'" + rc + "'", qpart = "'" + rc + ".part'";
    std::string text = "PATH=/usr/bin:/bin; export PATH\n{\n" + script + "\n} >" + qout + " 2>&1\n"
                       "echo $? >" + qpart + " && mv " + qpart + " " + qrc + "\n";
    if (!WriteFile(WindowsPath(sh), text))
        return false;

    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::string cmd = "/bin/sh \"" + sh + "\"";
    if (!::CreateProcessA(nullptr, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return false;
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);

    const bool ended = WaitUntil([&rc] { return ::GetFileAttributesA(WindowsPath(rc).c_str()) != INVALID_FILE_ATTRIBUTES; },
                                 timeoutMs);
    std::string code = ended ? ReadFile(WindowsPath(rc)) : "";
    if (output)
        *output = ReadFile(WindowsPath(out));
    ::DeleteFileA(WindowsPath(sh).c_str());
    ::DeleteFileA(WindowsPath(out).c_str());
    ::DeleteFileA(WindowsPath(rc).c_str());
    return ended && code.compare(0, 2, "0\n") == 0;
}
