// The tag fields the program edits, in one table: the name rendolo-cli gives each, its
// ID3v1 width (0 where ID3v1 has no such field) and its ID3v2 frame, with the track
// and genre parsing every writer shares.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

class TID3v1;
class TID3v2;

enum class TagField {
    Title,
    Artist,
    Album,
    Year,
    Comment,
    Track,
    Genre,
    Composer,
    Encoder,
    Copyright,
    Language,
    Link,
};

struct TagFieldInfo {
    TagField field;
    const char* name;    // "title", "artist", ...
    int v1Width;         // characters ID3v1 keeps (track and genre: one byte); 0: no field
    const char* v2Frame; // the ID3v2.3 frame that holds it
};

const std::array<TagFieldInfo, 12>& TagFields();
const TagFieldInfo& TagFieldFor(TagField field);
// The field of a name as TagFields() spells it; nullptr for any other text.
const TagFieldInfo* FindTagField(std::string_view name);
inline bool InId3v1(TagField field) {
    return TagFieldFor(field).v1Width > 0;
}

// A track text as one byte: 1 to 3 digits with a value of at most 255; nullopt otherwise.
std::optional<uint8_t> ParseTrackByte(std::string_view text);
// An ID3v1 genre byte: an empty or blank text is "no genre" (255), a name of the genre
// list (without regard to case) its index, and, when `numbers` is set, a number 0-255
// itself; nullopt for anything else.
std::optional<uint8_t> ParseGenreByte(std::string_view text, bool numbers);

// Reads or sets one field of a tag. Setting track or genre from a text that does not
// parse stores "no track" (0) or "no genre" (255); ID3v1 ignores fields it does not hold.
std::string GetField(const TID3v1& tag, TagField field);
std::string GetField(const TID3v2& tag, TagField field);
void SetField(TID3v1& tag, TagField field, std::string_view value);
void SetField(TID3v2& tag, TagField field, std::string_view value);
