#include "lists/columns.h"

#include "base/translator.h"

const std::array<ListColumn, ListColumnCount>& listColumns() {
    static const std::array<ListColumn, ListColumnCount> columns = {{
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
    }};
    return columns;
}

QString listColumnHeader(int column) {
    if (column < 0 || column >= ListColumnCount)
        return {};
    const ListColumn& c = listColumns()[size_t(column)];
    return T(c.key, c.text);
}
