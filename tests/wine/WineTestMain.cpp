// The in-process tests run as an application of the framework, with the
// program's resources linked in.
#include "afxwin.h"
#include <gtest/gtest.h>

namespace {
CWinApp testApp;   // named after the test executable
}

int main(int argc, char** argv)
{
    testApp.InitApplication(::GetModuleHandleA(nullptr));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
