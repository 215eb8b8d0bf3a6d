// The in-process tests run as an application of the framework, with the
// program's resources linked in.
#include "afxwin.h"
#include <gdiplus.h>
#include <gtest/gtest.h>

namespace {
CWinApp testApp;   // named after the test executable
}

int main(int argc, char** argv)
{
    testApp.InitApplication(::GetModuleHandleA(nullptr));
    // The tests' own images are made through GDI+; the program's windows
    // start and end it again on their own.
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartup(&token, &input, nullptr);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
