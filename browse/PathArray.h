// CPathArray: full paths sorted by name, in the order the folder tree shows them.
#pragma once
#include "afxstr.h"

class CPathArray : public CStringArray {
public:
    ~CPathArray() override;

    // Ascending by ComparePathNoCase, stable: paths equal but for case keep
    // the order in which they were added.
    void SortNoCase();
    // Swaps entries index and index + 1 when the first is strictly greater;
    // TRUE when it swapped.
    BOOL SwapIfGreater(int index);
};
