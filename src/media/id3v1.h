// The 128-byte ID3v1 tag at the end of an MP3 file (forms 1.0 and 1.1) and the genre
// table. Texts are UTF-8 in memory and Latin-1 in the file.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace media {
class ByteSource;
struct SaveReport;
} // namespace media

// The 148 genre names by genre index; 255 means "no genre".
extern const std::array<const char*, 148> GenreNames;

// The index of a genre name (letter case ignored), or -1 when the table lacks it.
int GenreIndexOf(std::string_view name);

class TID3v1 {
public:
    static constexpr uint8_t NoGenre = 255;

    TID3v1() { Clear(); }

    void Clear();

    // Reads the file's tag into the fields; false when the last 128 bytes cannot be read.
    bool Load(const std::string& fileName);
    bool Load(media::ByteSource& file);
    // Writes the fields as the file's tag: overwrites an existing tag in place or appends
    // one. On failure the file is left as it was (an append that fails half-way is cut
    // back). Makes a read-only file of our own writable; refuses anything but a regular
    // file. `report` (when given) receives the reason of a failure.
    bool Save(const std::string& fileName, media::SaveReport* report = nullptr) const;
    // Removes the file's tag if it has one (true also when there was none).
    bool Strip(const std::string& fileName, media::SaveReport* report = nullptr) const;

    bool Present() const { return m_present; }
    uint8_t Variant() const { return m_variant; } // 1 = ID3v1.0, 2 = ID3v1.1
    const std::string& Title() const { return m_title; }
    const std::string& Artist() const { return m_artist; }
    const std::string& Album() const { return m_album; }
    const std::string& Year() const { return m_year; }
    const std::string& Comment() const { return m_comment; }
    uint8_t Track() const { return m_track; }
    uint8_t GenreIndex() const { return m_genreIndex; }
    // GenreNames[GenreIndex] for an index below 148, else empty.
    std::string GenreName() const;

    // Text setters drop trailing characters with codes 0 to 32 and keep at most the
    // field's width (30, 30, 30, 4, 30 characters).
    void SetTitle(std::string_view value);
    void SetArtist(std::string_view value);
    void SetAlbum(std::string_view value);
    void SetYear(std::string_view value);
    void SetComment(std::string_view value);
    void SetTrack(uint8_t value) { m_track = value; }
    void SetGenreIndex(uint8_t value) { m_genreIndex = value; }

    // The 128 bytes Save writes for the current fields.
    std::array<uint8_t, 128> Render() const;
    // Fills the fields from a 128-byte block (as Load does after reading it).
    void Parse(const uint8_t* block);

private:
    bool save(const std::string& fileName, std::string& error) const;

    bool m_present;
    uint8_t m_variant;
    std::string m_title, m_artist, m_album, m_year, m_comment;
    uint8_t m_track;
    uint8_t m_genreIndex;
};
