// Drives modal loops from inside: a script of steps runs on a thread timer,
// one step per tick, while DoModal (or a nested dialog) pumps messages.
// A step that opens a modal dialog itself blocks in it; the steps after it
// then run inside that dialog's loop.
#pragma once
#include <windows.h>
#include <functional>
#include <string>
#include <vector>

class ModalScript {
public:
    // The script gives up, closing what is open, when a step has waited this long.
    explicit ModalScript(DWORD timeoutMs = 20000);
    ~ModalScript();

    // A step that runs once.
    ModalScript& Then(std::function<void()> action);
    // A step that repeats on every tick until it returns true.
    ModalScript& WaitFor(std::function<bool()> condition, const char* what);
    // Waits until the window (a handle that its creation fills in) is shown.
    ModalScript& WaitShown(const HWND& window, const char* what);
    // Lets a few ticks pass (messages posted earlier get handled).
    ModalScript& Pause(int ticks);

    // Starts ticking; the script must be started before the modal call.
    void Start();
    bool Finished() const { return m_next == m_steps.size(); }
    // What the script waited for when it gave up, or empty.
    const std::string& Failure() const { return m_failure; }

private:
    struct Step {
        std::function<bool()> run;
        std::string what;
        bool once;
    };
    static VOID CALLBACK OnTick(HWND, UINT, UINT_PTR, DWORD);
    void Tick();
    void GiveUp();

    std::vector<Step> m_steps;
    size_t m_next = 0;
    UINT_PTR m_timer = 0;
    DWORD m_timeoutMs;
    DWORD m_deadline = 0;
    std::string m_failure;
};

// A visible top-level window of this thread with the given title (code page 932).
HWND FindThreadWindow(const char* title);
// Posts a click to a button; safe when the click opens a modal dialog.
void PostClick(HWND dialog, int id);
// The window's text in the ANSI code page.
std::string WindowText(HWND hwnd);
// Whether a direct child of the window has that text (a message box's line).
bool HasChildWithText(HWND parent, const char* text);
// Lets the thread's pending messages run.
void PumpMessages();
// Where a dialog's template puts a control (x, y, width, height in dialog
// units, mapped by the dialog's own font as the dialog manager maps them),
// and where a control is, in pixels of its parent's client area, both as
// "left,top,right,bottom".
std::string TemplatePlace(HWND dialog, int x, int y, int width, int height);
std::string PlaceOf(HWND control);
