// How a song row's texts become the values of one catalogue row and back. One
// conversion for saving a pane and for importing other catalogues.
#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <array>
#include <cstdint>
#include <optional>

class QLocale;
class SongItem;
struct YesNo;

// One value of a catalogue row: null, an integer, a real number or a text. Texts are
// views: the row they come from outlives the value.
struct CatalogueValue {
    enum class Kind : std::uint8_t { Null, Integer, Real, Text };
    Kind kind = Kind::Null;
    std::int64_t integer = 0;
    double real = 0;
    QStringView text;

    static CatalogueValue ofInteger(std::int64_t v) { return {Kind::Integer, v, 0, {}}; }
    static CatalogueValue ofReal(double v) { return {Kind::Real, 0, v, {}}; }
    static CatalogueValue ofText(QStringView t) { return {Kind::Text, 0, 0, t}; }
    bool operator==(const CatalogueValue& o) const;
};

// The 19 values CommandInsert binds: the key, the file name and the 17 sub-items'
// columns (filesize ... weight, in column order).
struct CatalogueRow {
    static constexpr int SubItemCount = 17;
    QStringView key;
    QStringView fileName;
    std::array<CatalogueValue, SubItemCount> values{};
};

// The value a sub-item's text (index 0 FileSizeKb ... 16 Weight) is stored as:
//  - size: a number as the pane writes it (this locale's separators, with grouping)
//    or in C form; anything else, or a text that passes the digit check but does not
//    read as a number ("1.2.3"), stores 0;
//  - track, length, bit rate, frequency: digits only and within 32 bits, else 0;
//  - weight: a signed 32-bit number ("Down" on 0 gives -1), else 0;
//  - CRC, original, copyright: 1 for the Yes text in any letter case, else 0;
//  - every other field: the text unchanged.
CatalogueValue catalogueValue(int subItem, QStringView text, const YesNo& yesNo);
// A pane row under a key; a row with fewer sub-items leaves the other columns null.
CatalogueRow catalogueRowFromItem(QStringView key, const SongItem& item, const YesNo& yesNo);
// The same from texts: texts[0] the file name, texts[1..17] the sub-items.
CatalogueRow catalogueRowFromTexts(QStringView key, const QStringList& texts, const YesNo& yesNo);

// A file size in KB as a pane or a list file writes it: in the given locale (group
// separators allowed) or in C form. Empty when it is not a number.
std::optional<double> sizeKbFromText(QStringView text, const QLocale& locale);
// Digits only (and a leading "-" when negatives are allowed), within 32 bits.
std::optional<std::int32_t> int32FromText(QStringView text, bool allowNegative);
