#include "lists/songitem.h"

#include <algorithm>

SongItem::SongItem(const QStringList& texts) {
    rebuild(texts);
}

QStringView SongItem::view(int column) const {
    if (!has(column))
        return {};
    if (column == Location)
        return m_location;
    const int begin = column == 0 ? 0 : m_end[column - 1];
    return QStringView(m_packed).mid(begin, m_end[column] - begin);
}

QString SongItem::text(int column) const {
    if (column == Location && has(Location))
        return m_location;
    return view(column).toString();
}

QStringList SongItem::texts() const {
    QStringList out;
    out.reserve(m_count);
    for (int i = 0; i < m_count; ++i)
        out << text(i);
    return out;
}

void SongItem::rebuild(const QStringList& texts) {
    const int n = std::min<int>(int(texts.size()), ColumnCount);
    qsizetype total = 0;
    for (int i = 0; i < n; ++i)
        if (i != Location)
            total += texts[i].size();
    // Offsets are 16-bit: a row's texts together stay under 64K characters.
    const qsizetype limit = 0xFFFF;
    m_packed.clear();
    m_packed.reserve(std::min(total, limit));
    m_location.clear();
    for (int i = 0; i < n; ++i) {
        if (i == Location) {
            m_location = texts[i];
        } else {
            const qsizetype room = limit - m_packed.size();
            m_packed.append(QStringView(texts[i]).left(std::max<qsizetype>(0, room)));
        }
        m_end[i] = std::uint16_t(m_packed.size());
    }
    m_packed.squeeze();
    m_count = std::uint8_t(n);
}

void SongItem::setText(int column, const QString& value) {
    if (column < 0 || column >= ColumnCount)
        return;
    if (column == Location && has(Location)) {
        m_location = value;
        return;
    }
    QStringList all = texts();
    while (all.size() <= column)
        all << QString();
    all[column] = value;
    rebuild(all);
}

void SongItem::append(const QString& value) {
    if (m_count >= ColumnCount)
        return;
    if (m_count == Location) {
        m_location = value;
        m_end[Location] = m_end[Location - 1];
        ++m_count;
        return;
    }
    const int room = 0xFFFF - int(m_packed.size());
    m_packed.append(QStringView(value).left(std::max(0, room)));
    m_end[m_count] = std::uint16_t(m_packed.size());
    ++m_count;
}
