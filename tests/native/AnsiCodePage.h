// The native build's stand-in for the system's ANSI code page, which decides
// the lead bytes of the path text: 932 unless a test pins another.
#pragma once

// 932 (Japanese), 936 (simplified Chinese), 950 (traditional Chinese) or
// 1252 (Western, no double-byte characters).
void PinAnsiCodePage(unsigned codePage);
