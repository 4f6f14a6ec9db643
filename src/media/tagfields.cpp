#include "media/tagfields.h"

#include "media/id3v1.h"
#include "media/id3v2.h"

namespace {
constexpr std::array<TagFieldInfo, 12> kFields = {{
    {TagField::Title, "title", 30, "TIT2"},
    {TagField::Artist, "artist", 30, "TPE1"},
    {TagField::Album, "album", 30, "TALB"},
    {TagField::Year, "year", 4, "TYER"},
    {TagField::Comment, "comment", 30, "COMM"},
    {TagField::Track, "track", 1, "TRCK"},
    {TagField::Genre, "genre", 1, "TCON"},
    {TagField::Composer, "composer", 0, "TCOM"},
    {TagField::Encoder, "encoder", 0, "TENC"},
    {TagField::Copyright, "copyright", 0, "TCOP"},
    {TagField::Language, "language", 0, "TLAN"},
    {TagField::Link, "link", 0, "WXXX"},
}};

bool isBlank(std::string_view text) {
    for (char c : text)
        if (static_cast<unsigned char>(c) > ' ')
            return false;
    return true;
}
} // namespace

const std::array<TagFieldInfo, 12>& TagFields() {
    return kFields;
}

const TagFieldInfo& TagFieldFor(TagField field) {
    return kFields[static_cast<size_t>(field)];
}

const TagFieldInfo* FindTagField(std::string_view name) {
    for (const TagFieldInfo& f : kFields)
        if (name == f.name)
            return &f;
    return nullptr;
}

std::optional<uint8_t> ParseTrackByte(std::string_view text) {
    if (text.empty() || text.size() > 3)
        return std::nullopt;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    if (value > 255)
        return std::nullopt;
    return static_cast<uint8_t>(value);
}

std::optional<uint8_t> ParseGenreByte(std::string_view text, bool numbers) {
    if (isBlank(text))
        return TID3v1::NoGenre;
    if (numbers)
        if (const auto n = ParseTrackByte(text))
            return n;
    const int index = GenreIndexOf(text);
    if (index < 0)
        return std::nullopt;
    return static_cast<uint8_t>(index);
}

std::string GetField(const TID3v1& tag, TagField field) {
    switch (field) {
    case TagField::Title:
        return tag.Title();
    case TagField::Artist:
        return tag.Artist();
    case TagField::Album:
        return tag.Album();
    case TagField::Year:
        return tag.Year();
    case TagField::Comment:
        return tag.Comment();
    case TagField::Track:
        return std::to_string(tag.Track());
    case TagField::Genre:
        return tag.GenreName();
    default:
        return {};
    }
}

std::string GetField(const TID3v2& tag, TagField field) {
    switch (field) {
    case TagField::Title:
        return tag.Title();
    case TagField::Artist:
        return tag.Artist();
    case TagField::Album:
        return tag.Album();
    case TagField::Year:
        return tag.Year();
    case TagField::Comment:
        return tag.Comment();
    case TagField::Track:
        return std::to_string(tag.Track());
    case TagField::Genre:
        return tag.Genre();
    case TagField::Composer:
        return tag.Composer();
    case TagField::Encoder:
        return tag.Encoder();
    case TagField::Copyright:
        return tag.Copyright();
    case TagField::Language:
        return tag.Language();
    case TagField::Link:
        return tag.Link();
    }
    return {};
}

void SetField(TID3v1& tag, TagField field, std::string_view value) {
    switch (field) {
    case TagField::Title:
        tag.SetTitle(value);
        break;
    case TagField::Artist:
        tag.SetArtist(value);
        break;
    case TagField::Album:
        tag.SetAlbum(value);
        break;
    case TagField::Year:
        tag.SetYear(value);
        break;
    case TagField::Comment:
        tag.SetComment(value);
        break;
    case TagField::Track:
        tag.SetTrack(ParseTrackByte(value).value_or(0));
        break;
    case TagField::Genre:
        tag.SetGenreIndex(ParseGenreByte(value, false).value_or(TID3v1::NoGenre));
        break;
    default:
        break;
    }
}

void SetField(TID3v2& tag, TagField field, std::string_view value) {
    switch (field) {
    case TagField::Title:
        tag.SetTitle(value);
        break;
    case TagField::Artist:
        tag.SetArtist(value);
        break;
    case TagField::Album:
        tag.SetAlbum(value);
        break;
    case TagField::Year:
        tag.SetYear(value);
        break;
    case TagField::Comment:
        tag.SetComment(value);
        break;
    case TagField::Track:
        tag.SetTrack(ParseTrackByte(value).value_or(0));
        break;
    case TagField::Genre:
        tag.SetGenre(value);
        break;
    case TagField::Composer:
        tag.SetComposer(value);
        break;
    case TagField::Encoder:
        tag.SetEncoder(value);
        break;
    case TagField::Copyright:
        tag.SetCopyright(value);
        break;
    case TagField::Language:
        tag.SetLanguage(value);
        break;
    case TagField::Link:
        tag.SetLink(value);
        break;
    }
}
