// Turns a file on disc into a song row and writes a row's tag texts back.
#pragma once

#include "lists/songitem.h"
#include "media/mpegaudio.h"

#include <QString>

#include <cstdint>

class FileOperations;
class Settings;
struct YesNo;

// File attribute bits as the lists show them.
enum FileAttribute : std::int64_t {
    AttrReadOnly = 0x01,
    AttrHidden = 0x02,
    AttrSystem = 0x04,
    AttrArchive = 0x20,
};

// "R ", "A ", "H ", "S" for the bits that are set, in that order.
QString attributeText(std::int64_t attributes);
// Read-only when the owner may not write the file; hidden when the name starts with ".".
// -1 when the file cannot be examined.
std::int64_t fileAttributes(const QString& path);
// The same for a file already examined.
std::int64_t fileAttributes(const QString& fileName, bool writableByOwner);
// Size in KB with exactly two decimals after rounding to six significant digits.
QString fileSizeKbText(std::int64_t bytes);

class SongTags {
public:
    enum class Mode { Append, Replace };

    SongTags(const Settings& settings, const YesNo& yesNo, FileOperations& files);

    // The row AddSongItem appends: file name, size, folder, the 13 tag and stream
    // texts (blank when not read), attributes and a rating of 0. An empty folder
    // means name is a full path. attributes and size of -1 are read from the file.
    SongItem makeSongItem(const QString& name, const QString& folder, std::int64_t attributes,
                          std::int64_t size);

    // Fills the 13 tag and stream texts (columns 3 to 15) from the file; false,
    // changing nothing, when the file is missing, is a ".cda" track or cannot be read.
    // With "List Shows" at "ID3v2, else ID3v1" each of the seven tag fields comes from
    // the ID3v2 tag where it holds that field, else from ID3v1; with "ID3v1 only" all
    // come from ID3v1.
    bool readTagsIntoItem(const QString& path, SongItem& item, Mode mode);

    // Writes the row's title, artist, album, year, genre, track and comment into the
    // file's ID3v1 tag, and, while the list shows ID3v2, into its ID3v2 tag as well
    // (every other frame kept), through the program's file operations. Nothing happens
    // (true) when the file no longer exists; false when it could not be written.
    bool writeItemTags(const SongItem& item);

    // "List Shows": true for "ID3v2, else ID3v1" (RBListV2), false for "ID3v1 only".
    bool listShowsId3v2() const;

    // The program's one analyser; every tag read or write goes through it.
    TMPEGaudio& analyser() { return m_analyser; }

private:
    const Settings& m_settings;
    const YesNo& m_yesNo;
    FileOperations& m_files;
    TMPEGaudio m_analyser;
};

// The ID3v1 genre byte for a genre text as the tag editor lists it: " " (or an
// empty text) is 255, a genre name its index without regard to case, anything else 255.
std::uint8_t genreByteForText(const QString& genre);
// The ID3v1 track byte for a track text: its value when it is 0 to 255 in digits only, else 0.
std::uint8_t trackByteForText(const QString& track);
