// End-to-end tests: the real Kirune.exe, operated from another process.
#include "KiruneProcess.h"
#include "TestImages.h"
#include <gdiplus.h>
#include <gtest/gtest.h>
#include <cstring>

extern std::string g_shotsFolder;

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    for (int i = 1; i < argc; i++)
        if (std::strncmp(argv[i], "--kirune=", 9) == 0)
            g_kiruneExe = WindowsPath(argv[i] + 9);
        else if (std::strncmp(argv[i], "--shots=", 8) == 0)
            g_shotsFolder = WindowsPath(argv[i] + 8);
    if (g_kiruneExe.empty()) {
        fprintf(stderr, "usage: kirune_e2e --kirune=PATH-TO-Kirune.exe\n");
        return 2;
    }
    // The tests make their photos through GDI+.
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartup(&token, &input, nullptr);
    return RUN_ALL_TESTS();
}
