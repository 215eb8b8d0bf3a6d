// A test program links the program's code statically, so the program's calls
// into system DLLs go through this executable's import table: pointing a
// slot at another function reaches every such call.
#pragma once
#include <windows.h>

// On 32 bits the slot's name carries the stdcall decoration: an underscore
// before the name, and the bytes of the arguments after it.
#ifdef _WIN64
#define IMPORT_SLOT(name, argBytes) "__imp_" #name
#else
#define IMPORT_SLOT(name, argBytes) "__imp__" #name "@" #argBytes
#endif

// Points SLOT at REPLACEMENT and returns the function it held.
template <typename Fn>
Fn PatchImportSlot(void*& slot, Fn replacement)
{
    DWORD old = 0;
    ::VirtualProtect(&slot, sizeof slot, PAGE_READWRITE, &old);
    Fn held = reinterpret_cast<Fn>(slot);
    slot = reinterpret_cast<void*>(replacement);
    ::VirtualProtect(&slot, sizeof slot, old, &old);
    return held;
}
