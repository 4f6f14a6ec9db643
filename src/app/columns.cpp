#include "app/columns.h"

#include "app/translator.h"

namespace {
const ColumnInfo kColumns[ListColumnCount] = {
    {"ListHeaderFileName", "File Name", 280, false},
    {"ListHeaderFileSizeKb", "File Size (KB)", 90, true},
    {"ListHeaderLocation", "Location", 140, false},
    {"ListHeaderSongTitle", "Song Title", 160, false},
    {"ListHeaderArtist", "Artist", 160, false},
    {"ListHeaderAlbum", "Album", 160, false},
    {"ListHeaderYear", "Year", 80, true},
    {"ListHeaderGenre", "Genre", 120, false},
    {"ListHeaderTrackNumber", "Track Number", 80, true},
    {"ListHeaderComment", "Comment", 200, false},
    {"ListHeaderLengthsec", "Length (sec)", 80, true},
    {"ListHeaderBitRate", "Bit Rate (bit/s)", 80, true},
    {"ListHeaderFrequency", "Frequency (Hz)", 80, true},
    {"ListHeaderCRC", "CRC", 80, false},
    {"ListHeaderOriginal", "Original", 80, false},
    {"ListHeaderCopyright", "Copyright", 80, false},
    {"ListHeaderAttributes", "Attributes", 80, false},
    {"ListHeaderWeight", "Weight", 50, true},
};
} // namespace

const ColumnInfo& listColumn(int column) {
    if (column < 0 || column >= ListColumnCount)
        column = 0;
    return kColumns[column];
}

QString listColumnHeader(int column) {
    const ColumnInfo& c = listColumn(column);
    return T(c.headerKey, c.defaultHeader);
}
