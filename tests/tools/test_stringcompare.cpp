#include "tools/stringcompare.h"

#include <gtest/gtest.h>

namespace {

// The blend written out as the measures are defined, for expected values.
double blend(double word, double chars, double count, double length) {
    return 0.5 * word + 0.3333333333333333 * chars + 0.08333333333333333 * count +
           0.08333333333333333 * length;
}

struct Case {
    const char* first;
    const char* second;
    bool found;
    double percent; // exact expected similarity
};

TEST(StringCompare, DefaultsOnKnownPairs) {
    const Case cases[] = {
        {"Queen", "QUEEN", true, 100.0},                 // equal after upper-casing
        {"The Beatles.mp3", "Beatles.mp3", true, 100.0}, // extension and "The" go
        {"Beatles", "Beattles", true, 100.0},            // doubled T dropped
        {"AC_DC", "AC DC", true, 100.0},                 // underscore separates words
        {"Bäär", "Bär", true, 100.0}, // a non-ASCII letter is one character when doubled
        // "DR" (cut at its full stop) against "DR DRE": word DR=DR, characters D 50 R 50 E 0.
        {"Dr. Dre", "Dr Dre", false,
         blend(1.0 / 1.0 * 100.0, (50.0 + 0.0 + 50.0) / 3, 1.0 / 2.0 * 100.0, 2.0 / 6.0 * 100.0)},
        // Both scanned to their ends: ABC against ABCD.
        {"Abc .mp3", "Abcd.mp3", false,
         blend(6.0 / 7.0 / 1.0 * 100.0, (100.0 + 100.0 + 100.0 + 0.0) / 4, 100.0,
               3.0 / 4.0 * 100.0)},
        // Only an excluded word against a word: only the characters count (T 100, E 50).
        {"The", "Beatles", false,
         blend(0.0, (0.0 + 0.0 + 50.0 + 0.0 + 0.0 + 0.0 + 100.0) / 7, 0.0, 0.0)},
        // Extension cut only after the last backslash and colon: both become A.B:C.
        {"A.B:C", "A.B:C.mp3", true, 100.0},
        {"x\\a.b\\c", "X\\A.B\\C.txt", true, 100.0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.first) + " / " + c.second);
        TStringCompare compare;
        EXPECT_EQ(compare.Compare(c.first, c.second), c.found);
        EXPECT_EQ(compare.Similarity(c.first, c.second), c.percent);
        EXPECT_EQ(compare.LastPercentage(), c.found ? c.percent : 0.0);
    }
    TStringCompare compare;
    EXPECT_NEAR(compare.Similarity("Abc .mp3", "Abcd.mp3"), 82.44, 0.01);
}

TEST(StringCompare, DoubledLettersCountWhenNotExcluded) {
    TStringCompare compare;
    compare.SetExcludeDoubleLetters(false);
    // BEATLES in BEATTLES: all 7 positions match (shifts by one); T counts 2 against 1.
    const double expected =
        blend(14.0 / 15.0 / 1.0 * 100.0, (100.0 + 100.0 + 100.0 + 100.0 + 100.0 + 50.0) / 6, 100.0,
              7.0 / 8.0 * 100.0);
    EXPECT_TRUE(compare.Compare("Beatles", "Beattles"));
    EXPECT_EQ(compare.LastPercentage(), expected);
    EXPECT_EQ(compare.Similarity("Beattles", "Beatles"), expected);
}

TEST(StringCompare, ThresholdIsStrictAndItsSetterKeepsValidValues) {
    TStringCompare compare;
    EXPECT_EQ(compare.Percentage(), 85.0);
    for (double bad : {0.0, -1.0, 150.0, 100.0000001}) {
        compare.SetPercentage(bad);
        EXPECT_EQ(compare.Percentage(), 85.0) << bad;
    }
    compare.SetPercentage(100.0);
    EXPECT_EQ(compare.Percentage(), 100.0);
    // At 100 only equal texts pass; the blend never exceeds 100.
    EXPECT_TRUE(compare.Compare("the beatles.mp3", "Beatles.MP3"));
    EXPECT_FALSE(compare.Compare("Beatles", "Beatle"));
    // Exactly at the threshold is not found.
    const double s = compare.Similarity("Abc .mp3", "Abcd.mp3");
    compare.SetPercentage(s);
    EXPECT_FALSE(compare.Compare("Abc .mp3", "Abcd.mp3"));
    compare.SetPercentage(s - 1e-9);
    EXPECT_TRUE(compare.Compare("Abc .mp3", "Abcd.mp3"));
    EXPECT_EQ(compare.LastPercentage(), s);
}

TEST(StringCompare, PropertiesMatchOnlyUpperCaseAndWholeWords) {
    TStringCompare compare;
    compare.SetPercentage(99.0);
    compare.SetExcludeChars("x");
    EXPECT_FALSE(compare.Compare("AxB", "AB")); // texts are upper-cased first
    compare.SetExcludeChars("X");
    EXPECT_TRUE(compare.Compare("AxB", "AB"));

    compare.SetSpacers("+");
    EXPECT_TRUE(compare.Compare("Ac+Dc", "AC DC"));
    EXPECT_FALSE(compare.Compare("AC_DC", "AC DC")); // the underscore is no longer a spacer

    TStringCompare words;
    words.SetPercentage(99.0);
    words.SetExcludeWords({"a", "  The Best", "of"});
    EXPECT_TRUE(words.Compare("A Kind Of Magic", "Kind Magic"));
    EXPECT_FALSE(words.Compare("The Best Of", "")); // a line with inner blanks never matches
    EXPECT_FALSE(words.Compare("Theory", "Ory"));   // whole words only
    words.SetExcludeWords({});
    EXPECT_FALSE(words.Compare("A Kind Of Magic", "Kind Magic"));
}

TEST(StringCompare, EventsAndLastPercentage) {
    TStringCompare compare;
    int before = 0;
    std::vector<std::tuple<std::string, std::string, double>> found;
    compare.OnBeforeCompare = [&](TStringCompare& sender) {
        EXPECT_EQ(&sender, &compare);
        ++before;
    };
    compare.OnFound = [&](TStringCompare&, const std::string& a, const std::string& b, double p) {
        found.emplace_back(a, b, p);
    };
    EXPECT_EQ(compare.LastPercentage(), 0.0);
    EXPECT_TRUE(compare.Compare("the queen.mp3", "Queen.mp3"));
    EXPECT_FALSE(compare.Compare("Abba", "Metallica"));
    EXPECT_EQ(before, 2);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0],
              std::make_tuple(std::string("the queen.mp3"), std::string("Queen.mp3"), 100.0));
    EXPECT_EQ(compare.LastPercentage(), 100.0); // a miss leaves it
}

TEST(StringCompare, OddInputNeverBreaks) {
    TStringCompare compare;
    const std::string texts[] = {"",        " ",
                                 ".",       "\xff\xfe\x80",
                                 "\xc3",    "a\tb\r\nc",
                                 "....mp3", std::string(500, 'a'),
                                 "ÄÖÜ.mp3", std::string("a\0b", 3)};
    for (const auto& a : texts)
        for (const auto& b : texts) {
            const double s = compare.Similarity(a, b);
            EXPECT_GE(s, 0.0);
            EXPECT_LE(s, 100.0);
        }
    EXPECT_TRUE(compare.Compare("", ""));
    EXPECT_TRUE(compare.Compare(",.", "()")); // both normalise to nothing
}

TEST(StringCompare, PreparedComparisonGivesTheSameResults) {
    const char* texts[] = {"The Beatles - Help.mp3",
                           "Beatles - Help!.mp3",
                           "Beattles - Help.mp3",
                           "Abc .mp3",
                           "Abcd.mp3",
                           "Dr. Dre",
                           "Dr Dre",
                           "01 - Queen - Bohemian.mp3",
                           "Queen - Bohemian Rhapsody.mp3",
                           "",
                           "The"};
    for (double threshold : {85.0, 50.0, 100.0, 5.0}) {
        TStringCompare compare;
        compare.SetPercentage(threshold);
        for (const char* a : texts)
            for (const char* b : texts) {
                double fast = -1.0;
                const bool fastFound =
                    compare.ComparePrepared(compare.Prepare(a), compare.Prepare(b), &fast);
                const bool plainFound = compare.Compare(a, b);
                if (compare.CannotPass(compare.Prepare(a).key, compare.Prepare(b).key)) {
                    EXPECT_FALSE(plainFound) << a << " / " << b << " at " << threshold;
                }
                ASSERT_EQ(fastFound, plainFound) << a << " / " << b << " at " << threshold;
                if (plainFound) {
                    EXPECT_EQ(fast, compare.LastPercentage()) << a << " / " << b;
                }
            }
    }
}

} // namespace
