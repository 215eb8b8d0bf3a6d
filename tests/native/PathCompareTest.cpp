// Multibyte path text of code page 932: comparison, sorting, upper-casing and
// the backslash searches of the folder tree and file list. The literals are
// compiled to code page 932, as in the program: 表 is 0x95 0x5C, ソ is
// 0x83 0x5C, ツ is 0x83 0x63 (a trail byte that looks like 'c').
#include "PathCompare.h"
#include "AnsiCodePage.h"
#include <gtest/gtest.h>
#include <deque>
#include <map>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace {

TEST(PathCompare, LiteralsAreCodePage932)
{
    EXPECT_EQ("\x95\x5C", std::string("表"));
    EXPECT_EQ("\x83\x5C", std::string("ソ"));
    EXPECT_EQ("\x83\x63", std::string("ツ"));
    EXPECT_EQ("\x82\x81", std::string("ａ"));
    EXPECT_EQ("\xB1", std::string("ｱ"));
}

int Sign(int value) { return (value > 0) - (value < 0); }

struct CompareCase {
    const char* a;
    const char* b;
    int sign;   // of ComparePathNoCase(a, b)
};

void PrintTo(const CompareCase& c, std::ostream* os) { *os << '"' << c.a << "\" vs \"" << c.b << '"'; }

class CompareTable : public ::testing::TestWithParam<CompareCase> {};

TEST_P(CompareTable, OrdersByUpperCasedWholeCharacters)
{
    const CompareCase& c = GetParam();
    EXPECT_EQ(c.sign, Sign(ComparePathNoCase(c.a, c.b))) << c.a << " vs " << c.b;
    EXPECT_EQ(-c.sign, Sign(ComparePathNoCase(c.b, c.a))) << c.b << " vs " << c.a;
}

INSTANTIATE_TEST_SUITE_P(Letters, CompareTable, ::testing::Values(
    CompareCase{ "A.jpg", "b.JPG", -1 },
    CompareCase{ "abc", "ABC", 0 },
    CompareCase{ "readme", "_x.txt", -1 },      // R (0x52) before _ (0x5F): letters compare as upper case
    CompareCase{ "[", "a", 1 },                 // [ (0x5B) after A (0x41)
    CompareCase{ "C:\\dir\\b", "c:\\DIR\\a", 1 }));

INSTANTIATE_TEST_SUITE_P(Prefix, CompareTable, ::testing::Values(
    CompareCase{ "ab", "abc", -1 },
    CompareCase{ "", "a", -1 },
    CompareCase{ "", "", 0 },
    CompareCase{ "表", "表ソ", -1 },
    CompareCase{ "readme", "README.txt", -1 }));

INSTANTIATE_TEST_SUITE_P(CharacterClasses, CompareTable, ::testing::Values(
    // ASCII before half-width katakana, by unsigned value
    CompareCase{ "z", "ｱ", -1 },
    CompareCase{ "~", "ｱ", -1 },
    // half-width katakana before any double-byte character, even one whose
    // lead byte is smaller than the katakana byte (亜 is 0x88 0x9F)
    CompareCase{ "ｱ", "亜", -1 },
    CompareCase{ "ﾟ", "あ", -1 },
    CompareCase{ "z", "亜", -1 },
    // double-byte characters as 16-bit values
    CompareCase{ "ア", "ツ", -1 },
    CompareCase{ "表", "ソ", 1 },
    CompareCase{ "あい", "あう", -1 }));

INSTANTIATE_TEST_SUITE_P(WholeCharacterCase, CompareTable, ::testing::Values(
    // full-width letters are upper-cased as whole characters
    CompareCase{ "ｚ", "Ｚ", 0 },
    CompareCase{ "ａ", "Ｂ", -1 },
    CompareCase{ "Ｚ", "ａ", 1 },
    CompareCase{ "ｆｉｌｅ", "ＦＩＬＥ", 0 },
    // a trail byte is never folded: ツ (0x83 0x63) is not イ (0x83 0x43)
    CompareCase{ "ツ", "イ", 1 },
    CompareCase{ "ツa", "ツA", 0 }));

struct TextCase {
    const char* in;
    const char* out;
};

void PrintTo(const TextCase& c, std::ostream* os) { *os << '"' << c.in << '"'; }

class UpperCaseTable : public ::testing::TestWithParam<TextCase> {};

TEST_P(UpperCaseTable, ChangesOnlyWholeLetters)
{
    EXPECT_EQ(GetParam().out, UpperCasePath(GetParam().in));
}

INSTANTIATE_TEST_SUITE_P(Examples, UpperCaseTable, ::testing::Values(
    TextCase{ "c:\\photos\\2005", "C:\\PHOTOS\\2005" },
    TextCase{ "ａｂｚ", "ＡＢＺ" },
    TextCase{ "ツ\\ソ\\表x", "ツ\\ソ\\表X" },
    TextCase{ "ﾃﾞｼﾞｶﾒ", "ﾃﾞｼﾞｶﾒ" },
    TextCase{ "a\x81", "A\x81" },      // a lone lead byte at the end stays
    TextCase{ "", "" }));

class LastComponentTable : public ::testing::TestWithParam<TextCase> {};

TEST_P(LastComponentTable, TakesTheTextAfterTheLastBackslash)
{
    EXPECT_EQ(GetParam().out, TextAfterLastBackslash(GetParam().in));
}

INSTANTIATE_TEST_SUITE_P(Examples, LastComponentTable, ::testing::Values(
    TextCase{ "C:\\PHOTOS\\IMG_0001.JPG", "IMG_0001.JPG" },
    TextCase{ "C:\\写真\\表", "表" },
    TextCase{ "C:\\写真\\ソ", "ソ" },
    TextCase{ "C:\\表\\ソ\\", "ソ" },
    TextCase{ "C:\\ソ表", "ソ表" },
    TextCase{ "表", "表" },
    TextCase{ "ソ\\", "ソ" },
    TextCase{ "C:\\", "C:" },
    TextCase{ "no backslash", "no backslash" },
    TextCase{ "C:\\dir\\\\", "" },        // only one trailing backslash is ignored
    TextCase{ "", "" }));

struct EndCase {
    const char* path;
    bool endsWithBackslash;
};

void PrintTo(const EndCase& c, std::ostream* os) { *os << '"' << c.path << '"'; }

class BackslashEndTable : public ::testing::TestWithParam<EndCase> {};

TEST_P(BackslashEndTable, AppendAddsOneOnlyWhereNoneEnds)
{
    const EndCase& c = GetParam();
    EXPECT_EQ(c.endsWithBackslash, EndsWithBackslash(c.path)) << c.path;
    std::string appended = c.path;
    AppendBackslash(appended);
    EXPECT_EQ(std::string(c.path) + (c.endsWithBackslash ? "" : "\\"), appended) << c.path;
}

INSTANTIATE_TEST_SUITE_P(Examples, BackslashEndTable, ::testing::Values(
    EndCase{ "C:\\", true },
    EndCase{ "C:", false },
    EndCase{ "C:\\表", false },       // ends in the byte 0x5C, not in a backslash
    EndCase{ "C:\\ソ", false },
    EndCase{ "C:\\表\\", true },
    EndCase{ "", false }));

class TrimTable : public ::testing::TestWithParam<TextCase> {};

TEST_P(TrimTable, RemovesEveryTrailingBackslashButNoTrailByte)
{
    std::string path = GetParam().in;
    TrimBackslashes(path);
    EXPECT_EQ(GetParam().out, path);
}

// The full path of a tree item is built as "text\" for each item from the
// top level down, then trimmed.
INSTANTIATE_TEST_SUITE_P(FullPaths, TrimTable, ::testing::Values(
    TextCase{ "C:\\", "C:" },
    TextCase{ "C:\\PHOTOS\\2005\\", "C:\\PHOTOS\\2005" },
    TextCase{ "C:\\写真\\表\\", "C:\\写真\\表" },
    TextCase{ "C:\\表\\ソ\\", "C:\\表\\ソ" },
    TextCase{ "C:\\表\\ソ\\\\\\", "C:\\表\\ソ" },
    TextCase{ "C:\\表", "C:\\表" },
    TextCase{ "ソ", "ソ" },
    TextCase{ "\\\\", "" }));

// Other ANSI code pages: the lead bytes come from the system, not from a
// table of code page 932. Bytes as the systems store them: 功 in code page
// 950 is 0xA5 0x5C, 0xB9 0x5C a character of 936 (0xB9 is a half-width
// katakana byte in 932), and é in 1252 is 0xE9, a lead byte in 932.
struct CodePageCase {
    unsigned codePage;
    const char* path;
    bool endsWithBackslash;
    const char* lastComponent;
    const char* trimmed;
};

void PrintTo(const CodePageCase& c, std::ostream* os) { *os << c.codePage << ": " << c.path; }

class CodePageTable : public ::testing::TestWithParam<CodePageCase> {
protected:
    void TearDown() override { PinAnsiCodePage(932); }
};

TEST_P(CodePageTable, WalksWholeCharactersOfTheSystemsCodePage)
{
    const CodePageCase& c = GetParam();
    PinAnsiCodePage(c.codePage);
    EXPECT_EQ(c.endsWithBackslash, EndsWithBackslash(c.path));
    EXPECT_EQ(c.lastComponent, TextAfterLastBackslash(c.path));
    std::string path = c.path;
    TrimBackslashes(path);
    EXPECT_EQ(c.trimmed, path);
}

INSTANTIATE_TEST_SUITE_P(Examples, CodePageTable, ::testing::Values(
    CodePageCase{ 950, "D:\\" "\xA5\x5C", false, "\xA5\x5C", "D:\\" "\xA5\x5C" },
    CodePageCase{ 950, "D:\\" "\xA5\x5C\\", true, "\xA5\x5C", "D:\\" "\xA5\x5C" },
    CodePageCase{ 936, "D:\\" "\xB9\x5C", false, "\xB9\x5C", "D:\\" "\xB9\x5C" },
    CodePageCase{ 1252, "C:\\caf\xE9\\photo.jpg", false, "photo.jpg", "C:\\caf\xE9\\photo.jpg" },
    CodePageCase{ 1252, "C:\\caf\xE9\\", true, "caf\xE9", "C:\\caf\xE9" },
    CodePageCase{ 932, "C:\\caf\xE9\\", false, "caf\xE9\\", "C:\\caf\xE9\\" }));

TEST(StableSortNoCase, SortsTheFolderExampleByName)
{
    std::vector<std::string> paths = {
        "C:\\F\\b.JPG", "C:\\F\\A.jpg", "C:\\F\\_x.txt", "C:\\F\\readme" };
    StableSortNoCase(paths.begin(), paths.end());
    EXPECT_EQ((std::vector<std::string>{
        "C:\\F\\A.jpg", "C:\\F\\b.JPG", "C:\\F\\readme", "C:\\F\\_x.txt" }), paths);
}

TEST(StableSortNoCase, PutsAsciiThenHalfWidthKatakanaThenDoubleByte)
{
    std::vector<std::string> names = { "亜", "ｱ", "あ", "z", "ﾟ", "1", "ａ" };
    StableSortNoCase(names.begin(), names.end());
    EXPECT_EQ((std::vector<std::string>{ "1", "z", "ｱ", "ﾟ", "ａ", "あ", "亜" }), names);
}

TEST(StableSortNoCase, KeepsTheSearchOrderOfNamesEqualButForCase)
{
    std::vector<std::string> names = { "b.jpg", "ｍｅｍｏ", "B.JPG", "a", "ＭＥＭＯ", "b.Jpg", "ab" };
    StableSortNoCase(names.begin(), names.end());
    EXPECT_EQ((std::vector<std::string>{ "a", "ab", "b.jpg", "B.JPG", "b.Jpg", "ｍｅｍｏ", "ＭＥＭＯ" }), names);
}

// The order that repeated passes of adjacent swaps give: a pass swaps every
// neighbour pair whose first entry is strictly greater; passes repeat until
// one swaps nothing.
std::vector<std::string> BubblePasses(std::vector<std::string> v)
{
    bool swapped = v.size() >= 2;
    while (swapped) {
        swapped = false;
        for (size_t i = 0; i + 1 < v.size(); i++) {
            if (ComparePathNoCase(v[i].c_str(), v[i + 1].c_str()) > 0) {
                std::swap(v[i], v[i + 1]);
                swapped = true;
            }
        }
    }
    return v;
}

// Random names over an alphabet rich in case twins, prefixes and the bytes
// that trip byte-wise handling.
std::vector<std::string> RandomNames(std::mt19937& rng, size_t count)
{
    static const char* const pieces[] = {
        "a", "A", "b", "B", "_", "~", "1", ".", "ｱ", "ﾟ", "ａ", "Ａ", "ｚ", "Ｚ",
        "表", "ソ", "ツ", "イ", "亜", "あ", "\\" };
    std::uniform_int_distribution<size_t> piece(0, sizeof pieces / sizeof pieces[0] - 1);
    std::uniform_int_distribution<int> length(0, 4);
    std::vector<std::string> names;
    for (size_t i = 0; i < count; i++) {
        std::string name;
        for (int n = length(rng); n > 0; n--)
            name += pieces[piece(rng)];
        names.push_back(name);
    }
    return names;
}

TEST(StableSortNoCase, GivesExactlyTheOrderOfTheSwapPasses)
{
    std::mt19937 rng(20050401);
    for (int round = 0; round < 300; round++) {
        std::vector<std::string> names = RandomNames(rng, 1 + round % 60);
        std::vector<std::string> sorted = names;
        StableSortNoCase(sorted.begin(), sorted.end());
        ASSERT_EQ(BubblePasses(names), sorted) << "round " << round;
    }
}

TEST(StableSortNoCase, SortsTensOfThousandsOfNamesStably)
{
    std::mt19937 rng(7);
    std::vector<std::string> names = RandomNames(rng, 60000);
    // Names equal but for case form one class; each class's names, in search order.
    std::map<std::string, std::deque<std::string>> classes;
    for (const std::string& name : names)
        classes[UpperCasePath(name.c_str())].push_back(name);

    StableSortNoCase(names.begin(), names.end());
    for (size_t i = 0; i < names.size(); i++) {
        if (i > 0) {
            ASSERT_LE(ComparePathNoCase(names[i - 1].c_str(), names[i].c_str()), 0) << i;
        }
        std::deque<std::string>& same = classes[UpperCasePath(names[i].c_str())];
        ASSERT_FALSE(same.empty()) << i;
        ASSERT_EQ(same.front(), names[i]) << "search order lost at " << i;
        same.pop_front();
    }
}

} // namespace
