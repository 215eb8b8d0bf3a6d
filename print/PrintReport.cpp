#include "PrintReport.h"

namespace {
// The number in decimal digits (the runtime's wide formatting would bring
// in its whole wide stream machinery).
std::wstring Decimal(size_t n)
{
    std::wstring digits;
    do {
        digits.insert(digits.begin(), static_cast<wchar_t>(L'0' + n % 10));
        n /= 10;
    } while (n);
    return digits;
}
} // namespace

std::wstring FileNameOf(const std::wstring& path)
{
    const size_t separator = path.find_last_of(L"\\/");
    if (separator == std::wstring::npos || separator + 1 == path.size())
        return path;
    return path.substr(separator + 1);
}

std::wstring NotPrintedText(const std::wstring& heading, const std::wstring& more,
                            const std::vector<std::wstring>& paths, const std::wstring& reason)
{
    std::wstring text = heading + L"\n";
    const size_t named = paths.size() < kNotPrintedNamesShown ? paths.size() : kNotPrintedNamesShown;
    for (size_t i = 0; i < named; i++)
        text += L"\n" + FileNameOf(paths[i]);
    if (paths.size() > named) {
        std::wstring line = more;
        const size_t at = line.find(L"%1");
        if (at != std::wstring::npos)
            line.replace(at, 2, Decimal(paths.size() - named));
        text += L"\n" + line;
    }
    if (!reason.empty())
        text += L"\n\n" + reason;
    return text;
}

std::wstring RefusalText(const std::wstring& heading, const std::wstring& systemText)
{
    const size_t end = systemText.find_last_not_of(L" \r\n");
    if (end == std::wstring::npos)
        return heading;
    return heading + L"\n" + systemText.substr(0, end + 1);
}
