// Text conversions between the byte forms stored in tags and the UTF-8 strings the
// program keeps in memory.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace media {

// Each byte is one Latin-1 character.
std::string latin1ToUtf8(std::string_view bytes);

// Characters above U+00FF become '?'. `fits` (when given) tells whether every character fitted.
std::string utf8ToLatin1(std::string_view text, bool* fits = nullptr);

// Decodes UTF-8; malformed sequences become U+FFFD.
std::string sanitizeUtf8(std::string_view bytes);

// UTF-16 with an optional byte order mark (little-endian without one); a mark that follows
// a zero character (the separator of a list of values) is honoured and dropped as well.
std::string utf16ToUtf8(std::string_view bytes, bool bigEndianDefault = false);

// UTF-16 little-endian with a byte order mark.
std::string utf8ToUtf16Bom(std::string_view text);

// Decodes the text of an ID3v2 frame by its encoding byte: 0 Latin-1, 1 UTF-16 with BOM,
// 2 UTF-16BE, 3 UTF-8.
std::string decodeId3Text(uint8_t encoding, std::string_view bytes);

// Removes characters with codes 0 to 32 at both ends (or only at the end).
std::string trimControl(std::string_view text);
std::string trimControlRight(std::string_view text);

// Number of characters (code points) of a UTF-8 string, and its first `count` characters.
size_t utf8Length(std::string_view text);
std::string utf8Left(std::string_view text, size_t count);

} // namespace media
