#include "catalog/cataloguerow.h"

#include "base/texts.h"
#include "lists/songitem.h"

#include <QLocale>

#include <charconv>
#include <limits>

bool CatalogueValue::operator==(const CatalogueValue& o) const {
    if (kind != o.kind)
        return false;
    switch (kind) {
    case Kind::Null:
        return true;
    case Kind::Integer:
        return integer == o.integer;
    case Kind::Real:
        return real == o.real;
    case Kind::Text:
        return text == o.text;
    }
    return false;
}

namespace {
// Digits with at most one "." read the same in C form and in every locale whose
// decimal point is "." and whose group separator is not: read without the locale.
std::optional<double> plainDecimal(QStringView text) {
    char buffer[64];
    if (text.size() >= qsizetype(sizeof buffer))
        return std::nullopt;
    int points = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c == u'.')
            ++points;
        else if (c < u'0' || c > u'9')
            return std::nullopt;
        buffer[i] = char(c);
    }
    if (points > 1 || text.front() == u'.' || text.back() == u'.')
        return std::nullopt;
    double v = 0;
    const auto r = std::from_chars(buffer, buffer + text.size(), v);
    if (r.ec != std::errc() || r.ptr != buffer + text.size())
        return std::nullopt;
    return v;
}

// A locale's separators, looked up once for the rows of a save rather than per row.
struct Separators {
    QLocale locale = QLocale::c();
    QString group = QLocale::c().groupSeparator();
    QString point = QLocale::c().decimalPoint();
    bool plainReadsAlike = true; // "." is the decimal point and not the group separator
};

const Separators& separatorsOf(const QLocale& locale) {
    thread_local Separators cached;
    if (!(cached.locale == locale)) {
        cached.locale = locale;
        cached.group = locale.groupSeparator();
        cached.point = locale.decimalPoint();
        cached.plainReadsAlike =
            cached.point == QLatin1String(".") && cached.group != QLatin1String(".");
    }
    return cached;
}
} // namespace

std::optional<double> sizeKbFromText(QStringView text, const QLocale& locale) {
    if (text.isEmpty())
        return std::nullopt;
    const Separators& separators = separatorsOf(locale);
    const QString& group = separators.group;
    const QString& point = separators.point;
    if (separators.plainReadsAlike)
        if (const std::optional<double> v = plainDecimal(text))
            return v;
    // Only what a size text holds: digits and the separators (no sign, no exponent).
    for (QChar c : text) {
        const bool fits = (c >= u'0' && c <= u'9') || c == u'.' || c == u',' ||
                          (group.size() == 1 && c == group[0]) ||
                          (point.size() == 1 && c == point[0]);
        if (!fits)
            return std::nullopt;
    }
    bool ok = false;
    double v = locale.toDouble(text, &ok);
    if (!ok)
        v = QLocale::c().toDouble(text, &ok);
    if (!ok)
        return std::nullopt;
    return v;
}

std::optional<std::int32_t> int32FromText(QStringView text, bool allowNegative) {
    bool negative = false;
    if (allowNegative && text.startsWith(u'-')) {
        negative = true;
        text = text.mid(1);
    }
    if (text.isEmpty())
        return std::nullopt;
    std::int64_t v = 0;
    const std::int64_t limit = std::int64_t(std::numeric_limits<std::int32_t>::max()) + 1;
    for (QChar c : text) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        v = v * 10 + (c.unicode() - u'0');
        if (v > limit)
            return std::nullopt;
    }
    if (negative)
        v = -v;
    if (v > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return std::int32_t(v);
}

namespace {
enum class FieldKind { Size, Integer, SignedInteger, Flag, Text };

FieldKind kindOf(int subItem) {
    switch (subItem + 1) { // columns
    case SongItem::FileSizeKb:
        return FieldKind::Size;
    case SongItem::TrackNumber:
    case SongItem::LengthSec:
    case SongItem::BitRate:
    case SongItem::Frequency:
        return FieldKind::Integer;
    case SongItem::Weight:
        return FieldKind::SignedInteger;
    case SongItem::CRC:
    case SongItem::Original:
    case SongItem::Copyright:
        return FieldKind::Flag;
    default:
        return FieldKind::Text;
    }
}
} // namespace

CatalogueValue catalogueValue(int subItem, QStringView text, const YesNo& yesNo) {
    switch (kindOf(subItem)) {
    case FieldKind::Size:
        if (const auto kb = sizeKbFromText(text, QLocale()))
            return CatalogueValue::ofReal(*kb);
        return CatalogueValue::ofInteger(0);
    case FieldKind::Integer:
        return CatalogueValue::ofInteger(int32FromText(text, false).value_or(0));
    case FieldKind::SignedInteger:
        return CatalogueValue::ofInteger(int32FromText(text, true).value_or(0));
    case FieldKind::Flag:
        return CatalogueValue::ofInteger(text.compare(yesNo.yes, Qt::CaseInsensitive) == 0 ? 1 : 0);
    case FieldKind::Text:
        break;
    }
    return CatalogueValue::ofText(text);
}

CatalogueRow catalogueRowFromItem(QStringView key, const SongItem& item, const YesNo& yesNo) {
    CatalogueRow row;
    row.key = key;
    row.fileName = item.view(SongItem::FileName);
    const int subItems = std::min(item.subItemCount(), CatalogueRow::SubItemCount);
    for (int i = 0; i < subItems; ++i)
        row.values[size_t(i)] = catalogueValue(i, item.view(i + 1), yesNo);
    return row;
}

CatalogueRow catalogueRowFromTexts(QStringView key, const QStringList& texts, const YesNo& yesNo) {
    CatalogueRow row;
    row.key = key;
    row.fileName = texts.isEmpty() ? QStringView() : QStringView(texts.first());
    const int subItems = std::min(int(texts.size()) - 1, CatalogueRow::SubItemCount);
    for (int i = 0; i < subItems; ++i)
        row.values[size_t(i)] = catalogueValue(i, texts[i + 1], yesNo);
    return row;
}
