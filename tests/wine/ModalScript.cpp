#include "ModalScript.h"
#include <cstdio>
#include <map>
#include <memory>

namespace {
// Timer ids are per thread; one script runs at a time.
std::map<UINT_PTR, ModalScript*>& Scripts()
{
    static std::map<UINT_PTR, ModalScript*> scripts;
    return scripts;
}

const UINT kTickMs = 10;

BOOL CALLBACK CloseDialogs(HWND hwnd, LPARAM)
{
    if (::IsWindowVisible(hwnd)) {
        ::PostMessageA(hwnd, WM_COMMAND, IDCANCEL, 0);
        ::PostMessageA(hwnd, WM_CLOSE, 0, 0);
    }
    return TRUE;
}

struct FindData {
    const char* title;
    HWND found;
};

BOOL CALLBACK MatchTitle(HWND hwnd, LPARAM lParam)
{
    FindData* data = reinterpret_cast<FindData*>(lParam);
    if (::IsWindowVisible(hwnd) && WindowText(hwnd) == data->title) {
        data->found = hwnd;
        return FALSE;
    }
    return TRUE;
}
} // namespace

ModalScript::ModalScript(DWORD timeoutMs) : m_timeoutMs(timeoutMs) {}

ModalScript::~ModalScript()
{
    if (m_timer) {
        ::KillTimer(nullptr, m_timer);
        Scripts().erase(m_timer);
    }
}

ModalScript& ModalScript::Then(std::function<void()> action)
{
    m_steps.push_back({ [action] { action(); return true; }, "", true });
    return *this;
}

ModalScript& ModalScript::WaitFor(std::function<bool()> condition, const char* what)
{
    m_steps.push_back({ condition, what, false });
    return *this;
}

ModalScript& ModalScript::WaitShown(const HWND& window, const char* what)
{
    return WaitFor([&window] { return window && ::IsWindowVisible(window); }, what);
}

ModalScript& ModalScript::Pause(int ticks)
{
    auto left = std::make_shared<int>(ticks);
    m_steps.push_back({ [left] { return --*left <= 0; }, "a pause", false });
    return *this;
}

void ModalScript::Start()
{
    m_deadline = ::GetTickCount() + m_timeoutMs;
    m_timer = ::SetTimer(nullptr, 0, kTickMs, &ModalScript::OnTick);
    Scripts()[m_timer] = this;
}

VOID CALLBACK ModalScript::OnTick(HWND, UINT, UINT_PTR id, DWORD)
{
    auto it = Scripts().find(id);
    if (it != Scripts().end())
        it->second->Tick();
}

void ModalScript::Tick()
{
    if (Finished()) {
        ::KillTimer(nullptr, m_timer);
        Scripts().erase(m_timer);
        m_timer = 0;
        return;
    }
    if (static_cast<LONG>(::GetTickCount() - m_deadline) > 0) {
        GiveUp();
        return;
    }
    // A step that runs once counts as done before it runs, so that the
    // steps after it go on if it blocks in a modal loop.
    Step step = m_steps[m_next];
    if (step.once) {
        ++m_next;
        m_deadline = ::GetTickCount() + m_timeoutMs;
        step.run();
    } else if (step.run()) {
        ++m_next;
        m_deadline = ::GetTickCount() + m_timeoutMs;
    }
}

void ModalScript::GiveUp()
{
    m_failure = "timed out waiting for " + m_steps[m_next].what;
    m_next = m_steps.size();
    // Close whatever is open so that the modal calls return.
    ::EnumThreadWindows(::GetCurrentThreadId(), CloseDialogs, 0);
    m_deadline = ::GetTickCount() + m_timeoutMs;
    m_steps.push_back({ [] {
        ::EnumThreadWindows(::GetCurrentThreadId(), CloseDialogs, 0);
        return false;
    }, "closing", false });
}

HWND FindThreadWindow(const char* title)
{
    FindData data = { title, nullptr };
    ::EnumThreadWindows(::GetCurrentThreadId(), MatchTitle, reinterpret_cast<LPARAM>(&data));
    return data.found;
}

void PostClick(HWND dialog, int id)
{
    ::PostMessageA(::GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

std::string WindowText(HWND hwnd)
{
    char text[512] = "";
    ::GetWindowTextA(hwnd, text, sizeof text);
    return text;
}

bool HasChildWithText(HWND parent, const char* text)
{
    for (HWND child = ::GetWindow(parent, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        if (WindowText(child) == text)
            return true;
    return false;
}

void PumpMessages()
{
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

namespace {
std::string RectText(const RECT& r)
{
    char text[64];
    std::snprintf(text, sizeof text, "%ld,%ld,%ld,%ld", static_cast<long>(r.left), static_cast<long>(r.top),
                  static_cast<long>(r.right), static_cast<long>(r.bottom));
    return text;
}
} // namespace

std::string TemplatePlace(HWND dialog, int x, int y, int width, int height)
{
    // Position and size are mapped each on its own, as the dialog manager
    // creates the control.
    RECT units = { x, y, width, height };
    ::MapDialogRect(dialog, &units);
    RECT place = { units.left, units.top, units.left + units.right, units.top + units.bottom };
    return RectText(place);
}

std::string PlaceOf(HWND control)
{
    RECT r = {};
    if (!::GetWindowRect(control, &r))
        return "no control";
    ::MapWindowPoints(nullptr, ::GetParent(control), reinterpret_cast<POINT*>(&r), 2);
    return RectText(r);
}
