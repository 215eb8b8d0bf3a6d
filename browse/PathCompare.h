// Path text in the ANSI code page (932 on the systems the program is made
// for): whole-character walking, case folding and the order in which the
// folder tree sorts names. The trail byte of a double-byte character may
// equal the backslash (表 is 0x95 0x5C, ソ is 0x83 0x5C), so every search for
// a backslash walks whole characters, never single bytes.
// Pure text handling: it builds on Windows and natively for the unit tests,
// which supply the lead bytes of the code page they pin.
#pragma once
#include <algorithm>
#include <cstddef>
#include <string>

// A lead byte of a double-byte character in the system's ANSI code page, as
// the file finder's CharNextA sees it: 0x81-0x9F and 0xE0-0xFC in code page
// 932, none in 1252.
bool IsLeadByte(unsigned char c);

// The character after the one at p: two bytes for a lead byte followed by a
// trail byte, else one. p must not point at the terminating NUL.
inline const char* NextChar(const char* p)
{
    return IsLeadByte(static_cast<unsigned char>(p[0])) && p[1] != '\0' ? p + 2 : p + 1;
}

// The character's value for comparison: one byte as 0-255, a double-byte
// character as one 16-bit value with the lead byte high; letters folded to
// upper case (a-z to A-Z, full-width ａ-ｚ to Ａ-Ｚ, which is all the case
// the runtime's multibyte tables know for this code page).
unsigned UpperCharValue(const char* p);

// Whether the last whole character of text is a backslash.
bool EndsWithBackslash(const char* text);
// Appends a backslash unless the last character already is one.
void AppendBackslash(std::string& path);
// Removes every trailing backslash character.
void TrimBackslashes(std::string& path);
// The text after the last backslash, one trailing backslash ignored; the
// whole text when there is no backslash.
std::string TextAfterLastBackslash(const char* path);
// The text with its letters upper-cased as whole characters.
std::string UpperCasePath(const char* text);

// Compares character by character after folding letters to upper case; the
// first difference decides by unsigned value, and a prefix sorts first.
// Negative, zero or positive like strcmp.
int ComparePathNoCase(const char* a, const char* b);

inline const char* PathText(const char* text) { return text; }
inline const char* PathText(const std::string& text) { return text.c_str(); }

// Sorts texts ascending by ComparePathNoCase; equal texts keep their order.
// It gives the order of repeated passes of adjacent swaps of strictly greater
// neighbours, in O(n log n) comparisons.
template <class Iterator>
void StableSortNoCase(Iterator first, Iterator last)
{
    std::stable_sort(first, last, [](const auto& a, const auto& b) {
        return ComparePathNoCase(PathText(a), PathText(b)) < 0;
    });
}
