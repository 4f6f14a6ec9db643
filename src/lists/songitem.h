// One song: one row of a list pane. Up to 18 texts (column 0 the file name, then
// the 17 sub-items), a checked flag and state flags. Kept compact because a pane
// may hold a million rows: the folder text is shared between the rows of a
// folder, the other texts are packed into one string.
#pragma once

#include "base/listcolumns.h"

#include <QString>
#include <QStringList>
#include <QStringView>

#include <array>
#include <cstdint>

class SongItem {
public:
    // Column numbers; a sub-item's index is its column - 1.
    enum Column {
        FileName = 0,
        FileSizeKb,
        Location,
        SongTitle,
        Artist,
        Album,
        Year,
        Genre,
        TrackNumber,
        Comment,
        LengthSec,
        BitRate,
        Frequency,
        CRC,
        Original,
        Copyright,
        Attributes,
        Weight,
        ColumnCount
    };
    enum StateFlag : std::uint8_t { ErrorMark = 1, HasLyrics = 4 };

    SongItem() = default;
    // texts[0] is the file name; rows loaded from some list files carry fewer texts.
    explicit SongItem(const QStringList& texts);

    // How many texts the row carries (1 + its number of sub-items).
    int textCount() const { return m_count; }
    int subItemCount() const { return m_count > 0 ? m_count - 1 : 0; }
    bool has(int column) const { return column >= 0 && column < m_count; }
    // The text of a column, empty when the row does not carry it.
    QString text(int column) const;
    QStringView view(int column) const;
    QString path() const { return text(Location) + text(FileName); }

    // Sets a column's text; a row shorter than that grows with empty texts.
    void setText(int column, const QString& text);
    // Appends one text after the last one (a row holds at most 18).
    void append(const QString& text);
    QStringList texts() const;
    // Releases spare capacity once a row is complete.
    void compact() { m_packed.squeeze(); }

    bool checked() const { return m_checked; }
    void setChecked(bool on) { m_checked = on; }
    std::uint8_t stateFlags() const { return m_flags; }
    bool hasFlag(StateFlag f) const { return (m_flags & f) != 0; }
    void setFlag(StateFlag f, bool on) { m_flags = on ? (m_flags | f) : (m_flags & ~f); }

private:
    void rebuild(const QStringList& texts);

    QString m_location;                             // shared between rows of one folder
    QString m_packed;                               // every other text, back to back
    std::array<std::uint16_t, ColumnCount> m_end{}; // end offset of each packed text
    std::uint8_t m_count = 0;
    std::uint8_t m_flags = 0;
    bool m_checked = false;
};

static_assert(SongItem::ColumnCount == ListColumnCount, "one column per text of a song");
