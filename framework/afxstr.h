// Strings held by value: CString in the ANSI code page (multibyte), CStringW
// in UTF-16; and arrays of them.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

template <typename XCHAR>
class CStringT {
public:
    typedef const XCHAR* PCXSTR;

    CStringT() = default;
    CStringT(PCXSTR psz) { if (psz) m_str = psz; }
    CStringT(PCXSTR pch, int nLength) : m_str(pch, pch + nLength) {}

    int GetLength() const { return static_cast<int>(m_str.size()); }
    BOOL IsEmpty() const { return m_str.empty(); }
    void Empty() { m_str.clear(); }
    XCHAR GetAt(int i) const { return m_str[static_cast<size_t>(i)]; }
    operator PCXSTR() const { return m_str.c_str(); }

    CStringT& operator=(PCXSTR psz) { if (psz) m_str = psz; else m_str.clear(); return *this; }
    CStringT& operator+=(PCXSTR psz) { if (psz) m_str += psz; return *this; }
    CStringT& operator+=(XCHAR ch) { m_str += ch; return *this; }
    friend CStringT operator+(const CStringT& a, PCXSTR b) { CStringT r(a); r += b; return r; }
    friend bool operator==(const CStringT& a, PCXSTR b) { return b ? a.m_str == b : a.m_str.empty(); }
    friend bool operator!=(const CStringT& a, PCXSTR b) { return !(a == b); }

    CStringT Left(int n) const { return CStringT(m_str.substr(0, static_cast<size_t>(n)).c_str()); }
    CStringT Mid(int first) const { return CStringT(m_str.substr(static_cast<size_t>(first)).c_str()); }

    const std::basic_string<XCHAR>& str() const { return m_str; }

private:
    std::basic_string<XCHAR> m_str;
};

typedef CStringT<char> CString;
typedef CStringT<wchar_t> CStringW;

template <class STRING>
class CStringArrayT {
public:
    typedef typename STRING::PCXSTR PCXSTR;

    virtual ~CStringArrayT() = default;
    int GetSize() const { return static_cast<int>(m_items.size()); }
    STRING GetAt(int i) const { return m_items[static_cast<size_t>(i)]; }
    void SetAt(int i, PCXSTR psz) { m_items[static_cast<size_t>(i)] = psz; }
    STRING& ElementAt(int i) { return m_items[static_cast<size_t>(i)]; }
    STRING& operator[](int i) { return ElementAt(i); }
    STRING operator[](int i) const { return GetAt(i); }
    int Add(PCXSTR psz) { m_items.emplace_back(psz); return GetSize() - 1; }
    void RemoveAll() { m_items.clear(); }

protected:
    std::vector<STRING> m_items;
};

typedef CStringArrayT<CString> CStringArray;
typedef CStringArrayT<CStringW> CStringWArray;
