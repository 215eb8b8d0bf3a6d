#include "PathArray.h"
#include "PathCompare.h"
#include <utility>

CPathArray::~CPathArray() = default;

void CPathArray::SortNoCase()
{
    // The order of repeated SwapIfGreater passes until one swaps nothing,
    // without their quadratic cost: a folder may hold tens of thousands of files.
    StableSortNoCase(m_items.begin(), m_items.end());
}

BOOL CPathArray::SwapIfGreater(int index)
{
    if (index < 0 || index + 1 >= GetSize())
        return FALSE;
    CString& first = ElementAt(index);
    CString& second = ElementAt(index + 1);
    if (ComparePathNoCase(first, second) <= 0)
        return FALSE;
    std::swap(first, second);
    return TRUE;
}
