// The frames of an old ID3v2 tag (versions 2.2, 2.3 and 2.4) as the version 2.3 tag that
// replaces it carries them, and the byte helpers the tag reader shares with them.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace media {

// One frame in version 3 form, as carried from an old tag into the new one.
struct Id3Frame {
    std::string id;     // four characters
    uint16_t flags = 0; // version 3 flags
    std::string data;
};

// The frames of an ID3v2 tag (`tag` holds the whole tag, header included) converted to
// version 2.3 form:
// - unsynchronisation is undone (2.2/2.3: the whole tag; 2.4: per frame or tag), and a
//   frame that runs past the tag keeps what lies inside it;
// - 2.2 frames get their 2.3 names (the iTunes podcast and sort frames included); other
//   2.2 text and link frames become TXXX and WXXX frames described by their old name;
// - 2.4 frames: UTF-16BE and UTF-8 text parts are re-encoded as UTF-16 with BOM in every
//   frame that has an encoding byte; lists of values become "/"-joined values; TDRC
//   becomes TYER/TDAT/TIME, TDOR becomes TORY, TIPL and TMCL become IPLS; chapters and
//   tables of contents get their embedded frames converted the same way. Frames in
//   Latin-1 or UTF-16 keep their bytes.
// Frames that a 2.3 tag cannot hold are left out; `dropped` (when given) receives one
// line per frame left out, "ID: reason".
std::vector<Id3Frame> carriedFrames(std::string_view tag,
                                    std::vector<std::string>* dropped = nullptr);

namespace id3 {

uint32_t be32(const uint8_t* p);
// Sizes in the tag header and in version 4 frames are 7 bits per byte; every byte is
// taken with all its bits, as the header size always has been.
uint32_t syncSafe(const uint8_t* p);
// Undoes unsynchronisation: every 0xFF 0x00 becomes 0xFF.
std::string removeUnsync(std::string_view data);
// Position just behind the terminator of a string starting at `from` in the given text
// encoding (two zero bytes on a two-byte boundary for UTF-16), or npos.
size_t afterTerminator(std::string_view data, size_t from, uint8_t encoding);
bool isWide(uint8_t encoding);

} // namespace id3
} // namespace media
