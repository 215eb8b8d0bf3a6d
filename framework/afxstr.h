// CString and CStringArray: ANSI (multibyte) strings held by value.
#pragma once
#include <windows.h>
#include <string>
#include <vector>

class CString {
public:
    CString() = default;
    CString(LPCSTR psz) : m_str(psz ? psz : "") {}
    CString(LPCSTR pch, int nLength) : m_str(pch, pch + nLength) {}

    int GetLength() const { return static_cast<int>(m_str.size()); }
    BOOL IsEmpty() const { return m_str.empty(); }
    void Empty() { m_str.clear(); }
    char GetAt(int i) const { return m_str[static_cast<size_t>(i)]; }
    operator LPCSTR() const { return m_str.c_str(); }

    CString& operator=(LPCSTR psz) { m_str = psz ? psz : ""; return *this; }
    CString& operator+=(LPCSTR psz) { if (psz) m_str += psz; return *this; }
    CString& operator+=(char ch) { m_str += ch; return *this; }
    friend CString operator+(const CString& a, LPCSTR b) { CString r(a); r += b; return r; }
    friend bool operator==(const CString& a, LPCSTR b) { return a.m_str == (b ? b : ""); }
    friend bool operator!=(const CString& a, LPCSTR b) { return !(a == b); }

    CString Left(int n) const { return CString(m_str.substr(0, static_cast<size_t>(n)).c_str()); }
    CString Mid(int first) const { return CString(m_str.substr(static_cast<size_t>(first)).c_str()); }

    // Loads a string resource of the program's module; FALSE when there is none.
    BOOL LoadString(UINT nID);

    const std::string& str() const { return m_str; }

private:
    std::string m_str;
};

class CStringArray {
public:
    virtual ~CStringArray() = default;
    int GetSize() const { return static_cast<int>(m_items.size()); }
    CString GetAt(int i) const { return m_items[static_cast<size_t>(i)]; }
    void SetAt(int i, LPCSTR psz) { m_items[static_cast<size_t>(i)] = psz; }
    CString& ElementAt(int i) { return m_items[static_cast<size_t>(i)]; }
    CString& operator[](int i) { return ElementAt(i); }
    CString operator[](int i) const { return GetAt(i); }
    int Add(LPCSTR psz) { m_items.emplace_back(psz); return GetSize() - 1; }
    void RemoveAll() { m_items.clear(); }

protected:
    std::vector<CString> m_items;
};
