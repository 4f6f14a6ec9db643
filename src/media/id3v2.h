// The ID3v2 tag at the start of an MP3 file. Reads the twelve frames this program edits
// from tags of major version 3 and 4 (unsynchronisation undone, frames ending at the
// tag's end, version 4 lists of values joined by " / "); writes a version 3 tag that
// holds those frames and carries every other frame of the old tag (converted from
// versions 2 and 4, see carriedFrames). Texts are UTF-8 in memory.
#pragma once

#include "media/id3v2frames.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace media {
class ByteSource;
struct SaveReport;
} // namespace media

class TID3v2 {
public:
    // The frames this object edits, in slot order (also the order they are written in).
    static const std::array<const char*, 12> FrameIds;

    TID3v2() { Clear(); }

    void Clear();

    // Reads the file's tag; false only when its first 10 bytes cannot be read.
    bool Load(const std::string& fileName);
    // `origin` names the file the bytes come from (Save keeps the frames of fields that
    // were not changed since they were read from that file).
    bool Load(media::ByteSource& source, const std::string& origin = {});
    // Replaces the file's ID3v2 tag (whatever its version) by a version 3 tag built from
    // the fields plus the old tag's other frames. The new file is written beside the old
    // one and renamed over it (AtomicReplace: a symbolic link's target is saved; owner,
    // group, mode and extended attributes are kept or the save is refused); on failure
    // the original stays as it was. Makes a read-only file of our own writable.
    // `report` (when given) receives the reason of a failure, or after a success what the
    // new tag left out and whether other hard links keep the old tag.
    bool Save(const std::string& fileName, media::SaveReport* report = nullptr) const;

    bool Present() const { return m_present; }
    uint8_t MajorVersion() const { return m_majorVersion; }
    // Whole tag size including the 10-byte header; 0 without a tag or when the stated
    // size exceeds the file.
    int64_t TagSize() const { return m_tagSize; }
    const std::string& Title() const { return m_title; }
    const std::string& Artist() const { return m_artist; }
    const std::string& Album() const { return m_album; }
    uint8_t Track() const { return m_track; }
    const std::string& Year() const { return m_year; }
    const std::string& Genre() const { return m_genre; }
    const std::string& Comment() const { return m_comment; }
    const std::string& Composer() const { return m_composer; }
    const std::string& Encoder() const { return m_encoder; }
    const std::string& Copyright() const { return m_copyright; }
    const std::string& Language() const { return m_language; }
    const std::string& Link() const { return m_link; }

    // Text setters drop leading and trailing characters with codes 0 to 32.
    void SetTitle(std::string_view value);
    void SetArtist(std::string_view value);
    void SetAlbum(std::string_view value);
    void SetTrack(uint8_t value) { m_track = value; }
    void SetYear(std::string_view value);
    void SetGenre(std::string_view value);
    void SetComment(std::string_view value);
    void SetComposer(std::string_view value);
    void SetEncoder(std::string_view value);
    void SetCopyright(std::string_view value);
    void SetLanguage(std::string_view value);
    void SetLink(std::string_view value);

    // The tag Save would write in front of the audio of the file `fileName` whose
    // current start is `oldStart` (at least its whole old tag when it has one). Empty
    // when the frames do not fit into an ID3v2 size. `dropped` receives the old frames
    // the new tag cannot hold.
    std::string Render(std::string_view oldStart, const std::string& fileName = {},
                       std::vector<std::string>* dropped = nullptr) const;

private:
    bool loadFrom(media::ByteSource& source, const std::string& origin);
    std::string render(std::string_view oldStart, const std::string& fileName,
                       std::vector<std::string>* dropped) const;
    bool save(const std::string& fileName, media::SaveReport& report) const;
    std::string slotText(size_t slot) const;

    // The field values as Load found them, and the file they came from.
    std::array<std::string, 12> m_loaded;
    std::string m_loadedFrom;

    bool m_present;
    uint8_t m_majorVersion;
    int64_t m_tagSize;
    std::string m_title, m_artist, m_album;
    uint8_t m_track;
    std::string m_year, m_genre, m_comment, m_composer, m_encoder, m_copyright, m_language, m_link;
};

namespace media {

// ID3v2 tag size from a 10-byte header: the four size bytes (each with all its bits) plus
// the header; -1 when `header` is not an ID3v2 header.
int64_t id3v2StatedSize(const uint8_t* header);

} // namespace media
