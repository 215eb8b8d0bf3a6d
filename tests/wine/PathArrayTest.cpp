// CPathArray: one adjacent swap at a time, and a sort in the order that
// repeated passes of those swaps give.
#include "PathArray.h"
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

namespace {

std::vector<std::string> Items(const CPathArray& paths)
{
    std::vector<std::string> items;
    for (int i = 0; i < paths.GetSize(); i++)
        items.push_back(paths.GetAt(i).str());
    return items;
}

void Fill(CPathArray& paths, const std::vector<std::string>& items)
{
    paths.RemoveAll();
    for (const std::string& item : items)
        paths.Add(item.c_str());
}

struct SwapCase {
    const char* first;
    const char* second;
    bool swaps;
};

class PathArraySwap : public ::testing::TestWithParam<SwapCase> {};

TEST_P(PathArraySwap, SwapsOnlyAStrictlyGreaterFirstEntry)
{
    const SwapCase& c = GetParam();
    CPathArray paths;
    Fill(paths, { "before", c.first, c.second, "after" });
    EXPECT_EQ(c.swaps, paths.SwapIfGreater(1) != FALSE);
    std::vector<std::string> expected = { "before", c.first, c.second, "after" };
    if (c.swaps)
        std::swap(expected[1], expected[2]);
    EXPECT_EQ(expected, Items(paths));
}

INSTANTIATE_TEST_SUITE_P(PathArray, PathArraySwap, ::testing::Values(
    SwapCase{ "b.JPG", "A.jpg", true },
    SwapCase{ "A.jpg", "b.JPG", false },
    SwapCase{ "readme", "README", false },     // equal but for case: kept
    SwapCase{ "_x.txt", "readme", true },
    SwapCase{ "abc", "ab", true },
    SwapCase{ "表", "ソ", true },
    SwapCase{ "ｚ", "Ａ", true }));

TEST(PathArray, SwapOutsideTheArrayChangesNothing)
{
    CPathArray paths;
    Fill(paths, { "b", "a" });
    EXPECT_FALSE(paths.SwapIfGreater(1));
    EXPECT_FALSE(paths.SwapIfGreater(-1));
    EXPECT_EQ((std::vector<std::string>{ "b", "a" }), Items(paths));
}

TEST(PathArray, SortGivesTheOrderOfRepeatedSwapPasses)
{
    static const char* const pieces[] = { "a", "A", "b", "_", "ｱ", "ａ", "Ａ", "表", "ソ", "ツ", "イ", "\\" };
    std::mt19937 rng(4711);
    std::uniform_int_distribution<size_t> piece(0, sizeof pieces / sizeof pieces[0] - 1);
    std::uniform_int_distribution<int> length(0, 3);
    for (int round = 0; round < 100; round++) {
        std::vector<std::string> items;
        for (int i = 0; i < 2 + round % 40; i++) {
            std::string name;
            for (int n = length(rng); n > 0; n--)
                name += pieces[piece(rng)];
            items.push_back(name);
        }
        CPathArray passes, sorted;
        Fill(passes, items);
        Fill(sorted, items);
        for (bool swapped = true; swapped; ) {
            swapped = false;
            for (int i = 0; i + 1 < passes.GetSize(); i++)
                swapped = passes.SwapIfGreater(i) || swapped;
        }
        sorted.SortNoCase();
        ASSERT_EQ(Items(passes), Items(sorted)) << "round " << round;
    }
}

} // namespace
