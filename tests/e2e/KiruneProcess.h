// Starts the real Kirune.exe and operates it as a person would: through
// messages to its windows, and by reading the screen.
#pragma once
#include <windows.h>
#include <gtest/gtest.h>
#include <functional>
#include <string>

extern std::string g_kiruneExe;   // Windows path of Kirune.exe (--kirune=)

class KiruneProcess {
public:
    ~KiruneProcess();
    // Starts the program in the given working folder (empty: this process's).
    bool Start(const std::string& workDir = "");
    // The main window, once it is shown; NULL after the timeout.
    HWND MainWindow(DWORD timeoutMs = 15000);
    // TRUE when the process ended within the timeout.
    bool WaitExit(DWORD timeoutMs);
    DWORD Id() const { return m_pi.dwProcessId; }

private:
    PROCESS_INFORMATION m_pi{};
};

// Polls until the state holds; FALSE when it did not within the limit.
bool WaitUntil(const std::function<bool()>& state, DWORD timeoutMs = 20000);
// A visible top-level window of the process with the given title (code page
// 932 text, read back through the wide calls: it matches under any code page).
HWND WaitForWindow(DWORD pid, const char* title, DWORD timeoutMs = 10000);
bool WaitForGone(HWND hwnd, DWORD timeoutMs = 10000);
std::string ClassOf(HWND hwnd);
// A window's text in code page 932, whatever the ANSI code page.
std::string TextOf(HWND hwnd);
// The titles of the system's open and printer dialogs, in the language of
// the locale (Wine's resources follow it).
const char* OpenDialogTitle();
const char* PrinterDialogTitle();
// Posts a click to a button of another process; safe when it opens a dialog.
void ClickButton(HWND dialog, int id);
// Waits until the middle of the main window's cell, where its picture
// shows, has the colour on the screen (the program paints when it is idle).
bool CellShows(HWND main, int cell, COLORREF colour, int tolerance = 6);
// Chooses files in the program's open dialog: types the folder, presses
// Open, types the quoted names, calls beforeOpen with the dialog when
// given, presses Open; each text is read back before Open is pressed. FALSE when the dialog did not appear or did not close.
bool ChooseFiles(DWORD pid, const std::wstring& folder, const std::wstring& quotedNames,
                 const std::function<void(HWND)>& beforeOpen = nullptr);

// A test with the real program running: started by SetUp, ended with 終了 by TearDown.
class RunningKirune : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(kirune.Start());
        main = kirune.MainWindow();
        ASSERT_NE(nullptr, main);
    }
    void TearDown() override
    {
        const int kExitButton = 1021;
        ClickButton(main, kExitButton);
        EXPECT_TRUE(kirune.WaitExit(10000));
    }

    KiruneProcess kirune;
    HWND main = nullptr;
};
