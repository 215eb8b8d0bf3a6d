// What Debian 13's runtime would import that Windows XP lacks. GCC 14's
// thread support in libgcc, which libstdc++'s exception machinery links in,
// imports GetThreadId (Windows Vista on), and XP refuses to start a program
// that imports a function it does not have. The import's slot is defined
// here instead, so the program imports no GetThreadId: the slot points to a
// function that looks GetThreadId up when called, on a Windows that has it.
// Nothing of the program compares threads: it runs on one.
#include <windows.h>

namespace {

DWORD WINAPI ThreadIdOf(HANDLE thread)
{
    typedef DWORD(WINAPI * GetThreadIdFn)(HANDLE);
    const GetThreadIdFn getThreadId =
        reinterpret_cast<GetThreadIdFn>(::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "GetThreadId"));
    return getThreadId ? getThreadId(thread) : 0;
}

}  // namespace

// The slot's name is the import library's: stdcall names carry their
// arguments' bytes on 32 bits only.
#ifdef _WIN64
extern "C" DWORD(WINAPI* const kiruneGetThreadIdSlot)(HANDLE) __asm__("__imp_GetThreadId") = ThreadIdOf;
#else
extern "C" DWORD(WINAPI* const kiruneGetThreadIdSlot)(HANDLE) __asm__("__imp__GetThreadId@4") = ThreadIdOf;
#endif
