// How a row's texts become catalogue values: the conversion table for saving and
// import, the size parser, and the text numbers come back as.
#include "base/texts.h"
#include "catalog/cataloguerow.h"
#include "catalog/sqlitedb.h"
#include "lists/songitem.h"

#include <QLocale>

#include <gtest/gtest.h>

namespace {
using V = CatalogueValue;

QStringList fullRow() {
    return {"song.mp3", "1234.50", "/music/", "Title", "Artist", "Album", "1999", "Rock", "3",
            "Comment",  "215",     "192000",  "44100", "Yes",    "No",    "YES",  "R ",   "2"};
}
} // namespace

TEST(CatalogueValue, EachFieldKind) {
    QLocale::setDefault(QLocale::c());
    const YesNo yesNo;
    struct Case {
        int column;
        const char* text;
        V value;
    };
    const Case cases[] = {
        {SongItem::TrackNumber, "3", V::ofInteger(3)},
        {SongItem::TrackNumber, "", V::ofInteger(0)},
        {SongItem::TrackNumber, "3a", V::ofInteger(0)},
        {SongItem::TrackNumber, "-3", V::ofInteger(0)},         // only the rating is signed
        {SongItem::TrackNumber, "4294967296", V::ofInteger(0)}, // past 32 bits
        {SongItem::LengthSec, "2147483647", V::ofInteger(2147483647)},
        {SongItem::BitRate, "2147483648", V::ofInteger(0)},
        {SongItem::Weight, "-1", V::ofInteger(-1)}, // "Down" on 0
        {SongItem::Weight, "-2147483648", V::ofInteger(-2147483647 - 1)},
        {SongItem::Weight, "-", V::ofInteger(0)},
        {SongItem::Weight, "+1", V::ofInteger(0)},
        {SongItem::FileSizeKb, "1234.50", V::ofReal(1234.5)},
        {SongItem::FileSizeKb, "", V::ofInteger(0)},
        {SongItem::FileSizeKb, "1.2.3", V::ofInteger(0)}, // passes the digit check, no number
        {SongItem::FileSizeKb, "-5", V::ofInteger(0)},
        {SongItem::FileSizeKb, "1e3", V::ofInteger(0)},
        {SongItem::CRC, "Yes", V::ofInteger(1)},
        {SongItem::CRC, "yes", V::ofInteger(1)},
        {SongItem::Original, "YES", V::ofInteger(1)},
        {SongItem::Copyright, "No", V::ofInteger(0)},
        {SongItem::Copyright, "", V::ofInteger(0)},
        {SongItem::Year, "1999", V::ofText(u"1999")},
        {SongItem::Comment, " ", V::ofText(u" ")}, // texts stay as they are
        {SongItem::Location, "/a b/", V::ofText(u"/a b/")},
    };
    for (const Case& c : cases) {
        const QString text = QString::fromUtf8(c.text);
        EXPECT_EQ(catalogueValue(c.column - 1, text, yesNo), c.value)
            << "column " << c.column << " text '" << c.text << "'";
    }
}

TEST(CatalogueValue, TranslatedYesText) {
    YesNo german;
    german.yes = "Ja";
    german.no = "Nein";
    EXPECT_EQ(catalogueValue(SongItem::CRC - 1, u"ja", german), V::ofInteger(1));
    EXPECT_EQ(catalogueValue(SongItem::CRC - 1, u"Yes", german), V::ofInteger(0));
}

TEST(CatalogueRow, ShortRowsLeaveColumnsNull) {
    const YesNo yesNo;
    const SongItem full(fullRow());
    const SongItem nameOnly(QStringList{"other.mp3"});
    const SongItem threeTexts(QStringList{"x.mp3", "12.00", "/m/"});

    const CatalogueRow a = catalogueRowFromItem(u"CD 1", full, yesNo);
    EXPECT_EQ(a.key, u"CD 1");
    EXPECT_EQ(a.fileName, u"song.mp3");
    EXPECT_EQ(a.values[0], V::ofReal(1234.5));
    EXPECT_EQ(a.values[16], V::ofInteger(2));

    // A short row after a full one: nothing of the full row is carried over.
    const CatalogueRow b = catalogueRowFromItem(u"CD 1", nameOnly, yesNo);
    EXPECT_EQ(b.fileName, u"other.mp3");
    for (const CatalogueValue& v : b.values)
        EXPECT_EQ(v.kind, V::Kind::Null);

    const CatalogueRow c = catalogueRowFromItem(u"CD 1", threeTexts, yesNo);
    EXPECT_EQ(c.values[0], V::ofReal(12));
    EXPECT_EQ(c.values[1], V::ofText(u"/m/"));
    EXPECT_EQ(c.values[2].kind, V::Kind::Null);

    // Import passes texts: the same conversion.
    const CatalogueRow d = catalogueRowFromTexts(u"import_CD", fullRow(), yesNo);
    EXPECT_EQ(d.values, a.values);
}

TEST(SizeText, AsPanesWriteItInAnyLocale) {
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    const QLocale german(QLocale::German, QLocale::Germany);
    struct Case {
        const QLocale& locale;
        const char* text;
        std::optional<double> kb;
    };
    const Case cases[] = {
        {english, "3375.77", 3375.77},   {english, "1,525.10", 1525.1},
        {english, "1,234.56", 1234.56},  {german, "1.525,10", 1525.1},
        {german, "3375,77", 3375.77},    {german, "3375.77", 3375.77}, // C form read everywhere
        {english, "0.00", 0.0},          {english, "", std::nullopt},
        {english, "x", std::nullopt},    {english, "1.2.3", std::nullopt},
        {german, "1,2,3", std::nullopt},
    };
    for (const Case& c : cases) {
        const std::optional<double> kb = sizeKbFromText(QString::fromUtf8(c.text), c.locale);
        ASSERT_EQ(kb.has_value(), c.kb.has_value()) << c.text;
        if (kb) {
            EXPECT_DOUBLE_EQ(*kb, *c.kb) << c.text;
        }
    }
}

TEST(NumberText, PlainShortestDecimal) {
    struct Case {
        double value;
        const char* text;
    };
    const Case cases[] = {{1234.5, "1234.5"}, {0.0, "0"},          {1234570.0, "1234570"},
                          {0.7, "0.7"},       {5.16, "5.16"},      {1e20, "100000000000000000000"},
                          {-0.0, "0"},        {1024.01, "1024.01"}};
    for (const Case& c : cases)
        EXPECT_EQ(plainNumberText(c.value).toStdString(), c.text);
}
