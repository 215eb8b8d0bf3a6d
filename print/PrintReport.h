// What a print command tells the user about the photos it could not print.
// Pure text work: it builds on Windows and natively for the unit tests.
#pragma once
#include <string>
#include <vector>

// The message naming at most this many photos; the rest are counted.
const size_t kNotPrintedNamesShown = 20;

// The heading, an empty line, then the file name (the last part of the path)
// of each photo, one per line, in the order given; past the first
// kNotPrintedNamesShown, one more line: `more` with "%1" replaced by the
// number of photos not named; then, when there is one, an empty line and
// the reason.
std::wstring NotPrintedText(const std::wstring& heading, const std::wstring& more,
                            const std::vector<std::wstring>& paths, const std::wstring& reason = std::wstring());

// Why the printer took no document: the heading, then on a line of its own
// the system's text for the error without its closing line break (the
// system ends its texts with one); the heading alone without such a text.
std::wstring RefusalText(const std::wstring& heading, const std::wstring& systemText);

// The last part of a path: what follows its last backslash or slash, or the
// whole path when nothing follows.
std::wstring FileNameOf(const std::wstring& path);
