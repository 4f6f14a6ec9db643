// The one table of tag fields and the track and genre parsing every writer shares.
#include "media/id3v1.h"
#include "media/id3v2.h"
#include "media/tagfields.h"

#include <gtest/gtest.h>

TEST(TagFields, NamesWidthsAndFramesComeFromOneTable) {
    EXPECT_EQ(FindTagField("title")->v2Frame, std::string("TIT2"));
    EXPECT_EQ(FindTagField("year")->v1Width, 4);
    EXPECT_EQ(FindTagField("composer")->v1Width, 0);
    EXPECT_EQ(FindTagField("Title"), nullptr);
    EXPECT_EQ(FindTagField(""), nullptr);
    for (const TagFieldInfo& f : TagFields()) {
        EXPECT_EQ(&TagFieldFor(f.field), &f);
        EXPECT_EQ(FindTagField(f.name), &f);
    }
    int v1 = 0;
    for (const TagFieldInfo& f : TagFields())
        v1 += InId3v1(f.field);
    EXPECT_EQ(v1, 7);
}

TEST(TagFields, TrackAndGenreTexts) {
    struct Track {
        const char* text;
        std::optional<uint8_t> value;
    };
    for (const Track& c :
         {Track{"7", 7}, Track{"007", 7}, Track{"255", 255}, Track{"256", std::nullopt},
          Track{"1000", std::nullopt}, Track{"", std::nullopt}, Track{"3/12", std::nullopt},
          Track{" 3", std::nullopt}, Track{"-1", std::nullopt}})
        EXPECT_EQ(ParseTrackByte(c.text), c.value) << c.text;

    struct Genre {
        const char* text;
        bool numbers;
        std::optional<uint8_t> value;
    };
    for (const Genre& c :
         {Genre{"Blues", false, 0}, Genre{"blues", false, 0}, Genre{"", false, 255},
          Genre{" ", false, 255}, Genre{"17", false, std::nullopt}, Genre{"17", true, 17},
          Genre{"Nonsense", true, std::nullopt}})
        EXPECT_EQ(ParseGenreByte(c.text, c.numbers), c.value) << c.text;
}

TEST(TagFields, SetAndGetThroughTheTable) {
    TID3v1 v1;
    TID3v2 v2;
    for (const TagFieldInfo& f : TagFields()) {
        const std::string value = f.field == TagField::Track   ? "12"
                                  : f.field == TagField::Genre ? "Rock"
                                  : f.field == TagField::Year  ? "1999"
                                                               : std::string("x-") + f.name;
        SetField(v1, f.field, value);
        SetField(v2, f.field, value);
        EXPECT_EQ(GetField(v2, f.field), value) << f.name;
        EXPECT_EQ(GetField(v1, f.field), InId3v1(f.field) ? value : "") << f.name;
    }
    SetField(v1, TagField::Track, "300"); // does not fit a byte: no track
    EXPECT_EQ(v1.Track(), 0);
    SetField(v1, TagField::Genre, "Not a genre");
    EXPECT_EQ(v1.GenreIndex(), TID3v1::NoGenre);
}
