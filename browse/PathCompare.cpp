#include "PathCompare.h"
#include <cstring>
#ifdef _WIN32
#include <windows.h>

bool IsLeadByte(unsigned char c)
{
    return ::IsDBCSLeadByte(c) != FALSE;
}
#endif

namespace {
const char kBackslash = '\\';

// Full-width ａ-ｚ and their upper-case forms Ａ-Ｚ.
const unsigned kWideLowerFirst = 0x8281, kWideLowerLast = 0x829A;
const unsigned kWideCaseDistance = 0x8281 - 0x8260;

bool IsDoubleByte(const char* p)
{
    return NextChar(p) - p == 2;
}

// The start of the last character of text[0, length), or nullptr when empty.
const char* LastChar(const char* text, size_t length)
{
    const char* last = nullptr;
    for (const char* p = text; p < text + length; p = NextChar(p))
        last = p;
    return last;
}
} // namespace

unsigned UpperCharValue(const char* p)
{
    unsigned char lead = static_cast<unsigned char>(p[0]);
    if (!IsDoubleByte(p))
        return lead >= 'a' && lead <= 'z' ? lead - 'a' + 'A' : lead;
    unsigned value = (static_cast<unsigned>(lead) << 8) | static_cast<unsigned char>(p[1]);
    if (value >= kWideLowerFirst && value <= kWideLowerLast)
        value -= kWideCaseDistance;
    return value;
}

bool EndsWithBackslash(const char* text)
{
    const char* last = LastChar(text, std::strlen(text));
    return last && *last == kBackslash;
}

void AppendBackslash(std::string& path)
{
    if (!EndsWithBackslash(path.c_str()))
        path += kBackslash;
}

void TrimBackslashes(std::string& path)
{
    // The kept length: up to the end of the last character that is not a backslash.
    size_t kept = 0;
    const char* text = path.c_str();
    for (const char* p = text; *p; ) {
        const char* next = NextChar(p);
        if (*p != kBackslash)
            kept = static_cast<size_t>(next - text);
        p = next;
    }
    path.resize(kept);
}

std::string TextAfterLastBackslash(const char* path)
{
    size_t length = std::strlen(path);
    const char* last = LastChar(path, length);
    if (last && *last == kBackslash)
        length = static_cast<size_t>(last - path);   // one trailing backslash is ignored
    const char* start = path;
    for (const char* p = path; p < path + length; p = NextChar(p))
        if (*p == kBackslash)
            start = p + 1;
    return std::string(start, path + length);
}

std::string UpperCasePath(const char* text)
{
    std::string upper;
    upper.reserve(std::strlen(text));
    for (const char* p = text; *p; p = NextChar(p)) {
        unsigned value = UpperCharValue(p);
        if (IsDoubleByte(p))
            upper += static_cast<char>(value >> 8);
        upper += static_cast<char>(value & 0xFF);
    }
    return upper;
}

int ComparePathNoCase(const char* a, const char* b)
{
    while (*a && *b) {
        unsigned ca = UpperCharValue(a), cb = UpperCharValue(b);
        if (ca != cb)
            return ca < cb ? -1 : 1;
        a = NextChar(a);
        b = NextChar(b);
    }
    // A prefix sorts first.
    return *a ? 1 : (*b ? -1 : 0);
}
