#include "lists/fileformat.h"

#include <gtest/gtest.h>

namespace {

// "A=Artist|S=Title": the values found, in order, with their letters.
std::string found(const TOMp3Format& f) {
    std::string out;
    EXPECT_EQ(f.FoundLetters.size(), f.Values.size());
    EXPECT_EQ(static_cast<std::size_t>(f.ValueCount), f.Values.size());
    for (std::size_t k = 0; k < f.FoundLetters.size() && k < f.Values.size(); ++k)
        out += (k ? "|" : "") + std::string(1, f.FoundLetters[k]) + "=" + f.Values[k];
    return out;
}

TEST(FileFormat, ParseFileNameByPattern) {
    struct Case {
        const char* name;
        const char* pattern;
        const char* values;
    } cases[] = {
        {"Artist - Song Title.mp3", "A - S", "A=Artist|S=Song Title"},
        {"Artist - Song Title.mp3", "Auto", "A=Artist|S=Song Title"},
        {"01 - Artist - Song.mp3", "Auto", "T=01|A=Artist|S=Song"},
        {"1999-Album-Artist_-_Song.mp3", "Auto", "Y=1999|A=Album|S=Artist|B=Song"},
        {"[05] - Intro.mp3", "[T] - S", "T=05|S=Intro"},
        {"Artist - Song.mp3", "A - B - S", "A=Artist|S=Song"}, // missing literal: no album
        {"Artist - Song", "A - S", "A=Artist|S=Song"},         // read as Artist - Song.mp3
        {"Artist - Song.MP3", "A - S", "A=Artist|S=Song"},
        {"AC - DC - Thunder.mp3", "A - S", "A=AC|S=DC - Thunder"}, // first occurrence wins
        {"One - Two - Three.mp3", "A - S - A", "A=One|S=Two|A=Three"},
        {"junk[05] - Intro.mp3", "[T] - S", "T=05|S=Intro"}, // text before the leading literal
        {"Artist - Song.mp3", "a - s", ""},                  // lower case is literal text
        {"Song.mp3", "", ""},
        {"", "A - S", ""},
        {"Album 2.mp3", "B", "B=Album 2"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " / " + c.pattern);
        TOMp3Format f;
        ParseFileName(f, c.name, c.pattern);
        EXPECT_EQ(found(f), c.values);
    }

    TOMp3Format f;
    EXPECT_EQ(ParseFileName(f, "One - Two - Three.mp3", "A - S - A", 'A'), "One");
    EXPECT_EQ(ParseFileName(f, "One - Two - Three.mp3", "A - S - A", 's'), "Two");
    EXPECT_EQ(ParseFileName(f, "One - Two - Three.mp3", "A - S - A", 'X'), "");
    EXPECT_EQ(ParseFileName(f, "One - Two - Three.mp3", "A - S - A"), "");
    EXPECT_EQ(f.Separators, (std::vector<std::string>{" - ", " - ", ".mp3"}));
    EXPECT_EQ(f.TokenCount, 3);

    EXPECT_EQ(ParseFileName(f, "Artist - Song.mp3", "A - B - S", 'B'), "");
    EXPECT_EQ(f.PatAlbum, "");
    EXPECT_EQ(f.PatTitle, "Song");
}

TEST(FileFormat, ParseReusesTheParseOfTheSameName) {
    TOMp3Format f;
    EXPECT_EQ(ParseFileName(f, "Abba - Waterloo.mp3", "A - S", 'A'), "Abba");
    EXPECT_EQ(f.CachedName, "abba - waterloo.mp3");
    EXPECT_EQ(f.CachedPattern, "A - S");
    f.PatTitle = "kept"; // shows whether the second call parsed again
    EXPECT_EQ(ParseFileName(f, "Abba - Waterloo.mp3", "A - S", 'S'), "kept");
    EXPECT_EQ(ParseFileName(f, "Abba - Waterloo.mp3", "S - A", 'S'), "Abba"); // other pattern
    // Another file whose name differs only in case is parsed for itself.
    EXPECT_EQ(ParseFileName(f, "ABBA - WATERLOO.mp3", "S - A", 'S'), "ABBA");
    // "Auto" is cached as "Auto".
    ParseFileName(f, "01 - X - Y.mp3", "Auto");
    EXPECT_EQ(f.CachedPattern, "Auto");
    // Building drops the cached parse.
    f.PatArtist = "Abba";
    f.PatTitle = "Waterloo";
    EXPECT_EQ(BuildFromPattern(f, "A - S"), "Abba - Waterloo");
    EXPECT_EQ(f.CachedName, "Abba - Waterloo");
    EXPECT_EQ(ParseFileName(f, "01 - X - Y.mp3", "Auto", 'A'), "X");
}

TEST(FileFormat, AutoPattern) {
    const std::pair<const char*, const char*> cases[] = {
        {"Artist - Song Title.mp3", "A - S.mp3"},
        {"01 - Artist - Song.mp3", "T - A - S.mp3"},
        {"1999-Album-Artist_-_Song.mp3", "Y-A-S_-_B.mp3"},
        {"a-b-c-d-e.mp3", "A-S-B-G-A.mp3"}, // plain words cycle A, S, B, G
        {"[05] Intro.mp3", "[T] A.mp3"},
        {"Song", "Song"},
        {"", ""},
        {"x - ", "x"}, // a trailing separator run is dropped
    };
    for (const auto& [name, pattern] : cases)
        EXPECT_EQ(AutoPattern(name), pattern) << name;
}

TEST(FileFormat, BuildFromPatternInsertsValuesOnce) {
    TOMp3Format f;
    f.PatArtist = "SAT"; // letters inside values stay
    f.PatTitle = "Song";
    f.PatTrack = "7";
    f.PatYear = "1991";
    EXPECT_EQ(BuildFromPattern(f, "T. A - S (Y)"), "7. SAT - Song (1991)");
    EXPECT_EQ(BuildFromPattern(f, "B G"), " ");
    EXPECT_EQ(BuildFromPattern(f, "abc"), "abc");
}

TEST(FileFormat, CleanFileName) {
    EXPECT_EQ(CleanFileName("AC/DC: \"Back\\in*Black\" <Live>|?'.mp3"),
              "ACDC BackinBlack Live.mp3");
    EXPECT_EQ(CleanFileName("a/b\\c:d.e*f\"g<h>i|j?k'l", CleanForm::Folder), "a/b\\c:defghijkl");
    EXPECT_EQ(CleanFileName(""), "");
}

} // namespace
