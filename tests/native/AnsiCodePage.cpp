#include "AnsiCodePage.h"
#include "PathCompare.h"

namespace {
unsigned g_codePage = 932;
}

void PinAnsiCodePage(unsigned codePage) { g_codePage = codePage; }

// The lead-byte ranges of the code pages, as their tables give them.
bool IsLeadByte(unsigned char c)
{
    switch (g_codePage) {
    case 932:
        return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
    case 936:
    case 950:
        return c >= 0x81 && c <= 0xFE;
    default:
        return false;
    }
}
