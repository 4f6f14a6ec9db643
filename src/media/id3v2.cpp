#include "media/id3v2.h"

#include "media/mediafile.h"
#include "media/textcodec.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <limits>
#include <system_error>

using namespace media;

const std::array<const char*, 12> TID3v2::FrameIds = {
    "TIT2", "TPE1", "TALB", "TRCK", "TYER", "TCON", "COMM", "TCOM", "TENC", "TCOP", "TLAN", "WXXX"};

namespace {

enum Slot {
    kTitle,
    kArtist,
    kAlbum,
    kTrack,
    kYear,
    kGenre,
    kComment,
    kComposer,
    kEncoder,
    kCopyright,
    kLanguage,
    kLink,
    kSlotCount
};

// A single text is never taken beyond this many bytes, so that a damaged size cannot
// make a read allocate gigabytes.
constexpr int64_t kMaxTextBytes = 16 * 1024 * 1024;

uint32_t be32(const uint8_t* p) {
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

// Sizes in the tag header and in version 4 frames are 7 bits per byte; every byte is
// taken with all its bits, as the header size always has been.
uint32_t syncSafe(const uint8_t* p) {
    return (uint32_t(p[0]) << 21) + (uint32_t(p[1]) << 14) + (uint32_t(p[2]) << 7) + p[3];
}

void putBe32(std::string& out, uint32_t v) {
    out += char(v >> 24);
    out += char(v >> 16);
    out += char(v >> 8);
    out += char(v);
}

bool isUpper(uint8_t c) {
    return c >= 'A' && c <= 'Z';
}

int slotOf(const uint8_t* id, uint8_t major) {
    for (size_t i = 0; i < TID3v2::FrameIds.size(); ++i)
        if (std::memcmp(id, TID3v2::FrameIds[i], 4) == 0)
            return int(i);
    if (major == 4 && std::memcmp(id, "TDRC", 4) == 0)
        return kYear; // version 4 keeps the year in the recording time
    return -1;
}

bool isWide(uint8_t encoding) {
    return encoding == 1 || encoding == 2;
}

// Position just behind the terminator of a string starting at `from`, or npos.
size_t afterTerminator(std::string_view data, size_t from, uint8_t encoding) {
    if (isWide(encoding)) {
        for (size_t i = from; i + 1 < data.size(); i += 2)
            if (data[i] == 0 && data[i + 1] == 0)
                return i + 2;
        return std::string_view::npos;
    }
    const size_t z = data.find('\0', from);
    return z == std::string_view::npos ? z : z + 1;
}

std::string frameText(std::string_view data) {
    if (data.empty())
        return {};
    return trimControl(decodeId3Text(uint8_t(data[0]), data.substr(1)));
}

// COMM: encoding, language, description and its terminator, text.
std::string commentText(std::string_view data) {
    if (data.size() <= 4)
        return {};
    const auto enc = uint8_t(data[0]);
    size_t start = afterTerminator(data, 4, enc);
    if (start == std::string_view::npos)
        start = 4; // no terminator: nothing is taken for the description
    return trimControl(decodeId3Text(enc, data.substr(start)));
}

// WXXX: encoding, description and its terminator, then the URL, always Latin-1.
std::string linkText(std::string_view data) {
    if (data.size() <= 1)
        return {};
    const auto enc = uint8_t(data[0]);
    size_t start = afterTerminator(data, 1, enc);
    if (start == std::string_view::npos)
        start = 1;
    return trimControl(latin1ToUtf8(data.substr(start)));
}

// The description of a COMM or WXXX frame (empty for the ones this program writes).
std::string describedBy(std::string_view id, std::string_view data) {
    const size_t from = id == "COMM" ? 4 : 1;
    if (data.size() <= from)
        return {};
    const auto enc = uint8_t(data[0]);
    const size_t end = afterTerminator(data, from, enc);
    const size_t n =
        end == std::string_view::npos ? data.size() - from : end - from - (isWide(enc) ? 2 : 1);
    return trimControl(decodeId3Text(enc, data.substr(from, n)));
}

uint8_t trackNumber(const std::string& text) {
    const std::string part = text.substr(0, text.find('/'));
    size_t i = 0;
    bool negative = false;
    if (i < part.size() && (part[i] == '+' || part[i] == '-')) {
        negative = part[i] == '-';
        ++i;
    }
    if (i == part.size())
        return 0;
    int64_t value = 0;
    for (; i < part.size(); ++i) {
        if (part[i] < '0' || part[i] > '9')
            return 0;
        value = value * 10 + (part[i] - '0');
        if (value > int64_t(std::numeric_limits<int32_t>::max()) + 1)
            return 0; // beyond a 32-bit number
    }
    if (negative)
        value = -value;
    if (value > std::numeric_limits<int32_t>::max())
        return 0;
    return uint8_t(uint64_t(value) & 0xFF);
}

std::string genreText(const std::string& text) {
    const size_t close = text.rfind(')');
    return close == std::string::npos ? text : text.substr(close + 1);
}

std::string removeUnsync(std::string_view data) {
    std::string out;
    out.reserve(data.size());
    for (size_t i = 0; i < data.size(); ++i) {
        out += data[i];
        if (uint8_t(data[i]) == 0xFF && i + 1 < data.size() && data[i + 1] == 0)
            ++i;
    }
    return out;
}

// --- carrying frames from an old tag -------------------------------------------------

// Re-encodes the strings of a frame whose encoding version 3 does not know (2 UTF-16BE,
// 3 UTF-8) as UTF-16 with BOM. Behind the encoding byte come `prefix` bytes kept as they
// are (language, MIME type, ...), then `terminated` strings with terminators, then the
// rest: a string when `restIsText`, else binary data.
std::string reencode(std::string_view data, size_t prefix, int terminated, bool restIsText) {
    const auto enc = uint8_t(data[0]);
    if ((enc != 2 && enc != 3) || data.size() < 1 + prefix)
        return std::string(data);
    std::string out(1, char(1));
    out += data.substr(1, prefix);
    size_t pos = 1 + prefix;
    auto encodeOne = [&](std::string_view raw) {
        const std::string text = decodeId3Text(enc, raw);
        // A list of values keeps its separators, each value with its own mark.
        size_t from = 0;
        while (true) {
            const size_t z = text.find('\0', from);
            const std::string_view value = std::string_view(text).substr(from, z - from);
            if (!value.empty())
                out += utf8ToUtf16Bom(value);
            if (z == std::string::npos)
                break;
            out += std::string(2, '\0');
            from = z + 1;
        }
    };
    for (int s = 0; s < terminated; ++s) {
        const size_t end = afterTerminator(data, pos, enc);
        if (end == std::string_view::npos) {
            encodeOne(data.substr(pos)); // unterminated: the rest was this string
            return out;
        }
        encodeOne(data.substr(pos, end - pos - (isWide(enc) ? 2 : 1)));
        out += std::string(2, '\0');
        pos = end;
    }
    if (restIsText)
        encodeOne(data.substr(pos));
    else
        out += data.substr(pos);
    return out;
}

std::string convertV4Strings(const std::string& id, std::string_view data) {
    if (data.empty())
        return {};
    if (id[0] == 'T')
        return reencode(data, 0, 0, true);
    if (id == "COMM" || id == "USLT")
        return reencode(data, 3, 1, true);
    if (id == "USER")
        return reencode(data, 3, 0, true);
    if (id == "WXXX")
        return reencode(data, 0, 1, false);
    if (id == "SYLT")
        return reencode(data, 5, 1, false);
    if (id == "APIC" || id == "GEOB") {
        const size_t z = data.find('\0', 1);
        if (z == std::string_view::npos)
            return std::string(data);
        // APIC: MIME type and picture type, one description; GEOB: MIME type, file name
        // and description.
        return id == "APIC" ? reencode(data, z + 1, 1, false) : reencode(data, z, 2, false);
    }
    return std::string(data);
}

Id3Frame latinTextFrame(const char* id, const std::string& text) {
    return Id3Frame{id, 0, std::string(1, '\0') + text};
}

// Version 3 keeps a recording time as year (TYER), day and month (TDAT, DDMM) and time
// (TIME, HHMM); a text of another form goes into TYER as it is.
std::vector<Id3Frame> splitRecordingTime(const std::string& data) {
    const std::string text = frameText(data);
    auto digits = [&](size_t at, size_t n) {
        if (text.size() < at + n)
            return false;
        for (size_t i = at; i < at + n; ++i)
            if (text[i] < '0' || text[i] > '9')
                return false;
        return true;
    };
    const size_t n = text.size();
    const bool year = digits(0, 4);
    const bool month = year && n >= 7 && text[4] == '-' && digits(5, 2);
    const bool day = month && n >= 10 && text[7] == '-' && digits(8, 2);
    const bool time =
        day && n >= 16 && text[10] == 'T' && digits(11, 2) && text[13] == ':' && digits(14, 2);
    const size_t used = time    ? (n >= 19 && text[16] == ':' && digits(17, 2) ? 19 : 16)
                        : day   ? 10
                        : month ? 7
                                : 4;
    if (!year || used != n || (month && !day))
        return {Id3Frame{"TYER", 0, data}};
    std::vector<Id3Frame> out{latinTextFrame("TYER", text.substr(0, 4))};
    if (day)
        out.push_back(latinTextFrame("TDAT", text.substr(8, 2) + text.substr(5, 2)));
    if (time)
        out.push_back(latinTextFrame("TIME", text.substr(11, 2) + text.substr(14, 2)));
    return out;
}

struct V22Name {
    const char* from;
    const char* to;
};

// Version 2.2 frame names and their version 3 counterparts.
constexpr V22Name kV22Names[] = {
    {"BUF", "RBUF"},
    {"CNT", "PCNT"},
    {"COM", "COMM"},
    {"CRA", "AENC"},
    {"ETC", "ETCO"},
    {"EQU", "EQUA"},
    {"GEO", "GEOB"},
    {"IPL", "IPLS"},
    {"LNK", "LINK"},
    {"MCI", "MCDI"},
    {"MLL", "MLLT"},
    {"PIC", "APIC"},
    {"POP", "POPM"},
    {"REV", "RVRB"},
    {"RVA", "RVAD"},
    {"SLT", "SYLT"},
    {"STC", "SYTC"},
    {"TAL", "TALB"},
    {"TBP", "TBPM"},
    {"TCM", "TCOM"},
    {"TCO", "TCON"},
    {"TCR", "TCOP"},
    {"TDA", "TDAT"},
    {"TDY", "TDLY"},
    {"TEN", "TENC"},
    {"TFT", "TFLT"},
    {"TIM", "TIME"},
    {"TKE", "TKEY"},
    {"TLA", "TLAN"},
    {"TLE", "TLEN"},
    {"TMT", "TMED"},
    {"TOA", "TOPE"},
    {"TOF", "TOFN"},
    {"TOL", "TOLY"},
    {"TOR", "TORY"},
    {"TOT", "TOAL"},
    {"TP1", "TPE1"},
    {"TP2", "TPE2"},
    {"TP3", "TPE3"},
    {"TP4", "TPE4"},
    {"TPA", "TPOS"},
    {"TPB", "TPUB"},
    {"TRC", "TSRC"},
    {"TRD", "TRDA"},
    {"TRK", "TRCK"},
    {"TSI", "TSIZ"},
    {"TSS", "TSSE"},
    {"TT1", "TIT1"},
    {"TT2", "TIT2"},
    {"TT3", "TIT3"},
    {"TXT", "TEXT"},
    {"TXX", "TXXX"},
    {"TYE", "TYER"},
    {"UFI", "UFID"},
    {"ULT", "USLT"},
    {"WAF", "WOAF"},
    {"WAR", "WOAR"},
    {"WAS", "WOAS"},
    {"WCM", "WCOM"},
    {"WCP", "WCOP"},
    {"WPB", "WPUB"},
    {"WXX", "WXXX"},
    // names iTunes writes, read the same way by the common tag libraries
    {"TCP", "TCMP"},
    {"TST", "TSOT"},
    {"TSP", "TSOP"},
    {"TSA", "TSOA"},
    {"TS2", "TSO2"},
    {"TSC", "TSOC"}};

std::string pictureFromV22(std::string_view data) {
    // PIC: encoding, 3-letter image format, picture type, description, data.
    if (data.size() < 5)
        return {};
    std::string format(data.substr(1, 3));
    std::string mime;
    if (format == "JPG" || format == "jpg")
        mime = "image/jpeg";
    else if (format == "-->")
        mime = "-->";
    else {
        mime = "image/";
        for (char c : format)
            mime += char(std::tolower(uint8_t(c)));
    }
    std::string out;
    out += data[0];
    out += mime;
    out += '\0';
    out += data.substr(4);
    return out;
}

} // namespace

int64_t media::id3v2StatedSize(const uint8_t* header) {
    if (std::memcmp(header, "ID3", 3) != 0)
        return -1;
    return int64_t(syncSafe(header + 6)) + 10;
}

std::vector<Id3Frame> media::carriedFrames(std::string_view tag) {
    std::vector<Id3Frame> frames;
    if (tag.size() < 10)
        return frames;
    const auto* h = reinterpret_cast<const uint8_t*>(tag.data());
    const uint8_t major = h[3], flags = h[5];
    if (major < 2 || major > 4)
        return frames;
    if (major == 2 && (flags & 0x40))
        return frames; // compressed 2.2 tags were never defined; nothing can be read
    std::string body(tag.substr(10));
    if (flags & 0x80 && major < 4)
        body = removeUnsync(body); // 2.2 and 2.3 unsynchronise the whole tag
    const auto* b = reinterpret_cast<const uint8_t*>(body.data());
    size_t pos = 0;
    if (major >= 3 && (flags & 0x40) && body.size() >= 4)
        pos = major == 3 ? 4 + size_t(be32(b)) : size_t(syncSafe(b));
    const size_t headerBytes = major == 2 ? 6 : 10;
    while (pos + headerBytes <= body.size()) {
        const uint8_t* f = b + pos;
        if (!isUpper(f[0]))
            break; // padding or garbage, as when reading
        const size_t size = major == 2   ? (size_t(f[3]) << 16 | size_t(f[4]) << 8 | f[5])
                            : major == 3 ? size_t(be32(f + 4))
                                         : size_t(syncSafe(f + 4));
        const size_t dataPos = pos + headerBytes;
        if (size > body.size() - dataPos)
            break; // a frame running past the tag is not carried
        std::string_view data(body.data() + dataPos, size);
        pos = dataPos + size;

        Id3Frame frame;
        if (major == 2) {
            const std::string id(reinterpret_cast<const char*>(f), 3);
            const auto* name = std::find_if(std::begin(kV22Names), std::end(kV22Names),
                                            [&](const V22Name& n) { return id == n.from; });
            if (name == std::end(kV22Names))
                continue; // no version 3 frame of that meaning
            frame.id = name->to;
            frame.data = id == "PIC" ? pictureFromV22(data) : std::string(data);
        } else if (major == 3) {
            frame.id.assign(reinterpret_cast<const char*>(f), 4);
            frame.flags = uint16_t(f[8] << 8 | f[9]);
            frame.data.assign(data);
        } else {
            frame.id.assign(reinterpret_cast<const char*>(f), 4);
            const uint8_t status = f[8], format = f[9];
            size_t at = 0;
            std::string group, method;
            uint32_t plainSize = 0;
            if (format & 0x40 && at < data.size())
                group = std::string(data.substr(at++, 1));
            if (format & 0x04 && at < data.size())
                method = std::string(data.substr(at++, 1));
            if (format & 0x01) {
                if (at + 4 > data.size())
                    continue;
                plainSize = syncSafe(reinterpret_cast<const uint8_t*>(data.data()) + at);
                at += 4;
            }
            if (at > data.size())
                continue;
            std::string payload(data.substr(at));
            if (format & 0x02 || flags & 0x80)
                payload = removeUnsync(payload);
            const bool packed = (format & 0x08) || (format & 0x04);
            if ((format & 0x08) && !(format & 0x01))
                continue; // compressed without its size: cannot be described in 2.3
            uint16_t v3 = 0;
            if (status & 0x40)
                v3 |= 0x8000;
            if (status & 0x20)
                v3 |= 0x4000;
            if (status & 0x10)
                v3 |= 0x2000;
            std::string prefix;
            if (format & 0x08) {
                v3 |= 0x0080;
                putBe32(prefix, plainSize);
            }
            if (format & 0x04) {
                v3 |= 0x0040;
                prefix += method;
            }
            if (format & 0x40) {
                v3 |= 0x0020;
                prefix += group;
            }
            frame.flags = v3;
            frame.data = prefix + (packed ? payload : convertV4Strings(frame.id, payload));
            if (frame.id == "TDRC" && !packed) {
                for (auto& part : splitRecordingTime(frame.data))
                    frames.push_back(std::move(part));
                continue;
            }
        }
        frames.push_back(std::move(frame));
    }
    return frames;
}

void TID3v2::Clear() {
    m_present = false;
    m_majorVersion = 0;
    m_tagSize = 0;
    m_title.clear();
    m_artist.clear();
    m_album.clear();
    m_track = 0;
    m_year.clear();
    m_genre.clear();
    m_comment.clear();
    m_composer.clear();
    m_encoder.clear();
    m_copyright.clear();
    m_language.clear();
    m_link.clear();
    m_loaded = {};
    m_loadedFrom.clear();
}

bool TID3v2::Load(const std::string& fileName) {
    MediaFile file;
    if (!file.open(fileName)) {
        Clear();
        return false;
    }
    return Load(file, fileName);
}

bool TID3v2::Load(ByteSource& source, const std::string& origin) {
    try {
        return loadFrom(source, origin);
    } catch (...) { // out of memory: nothing ever escapes a tag read
        RENDOLO_RETHROW_WHEN_FUZZING();
        Clear();
        return false;
    }
}

bool TID3v2::loadFrom(ByteSource& source, const std::string& origin) {
    Clear();
    uint8_t h[10];
    if (!source.readFullyAt(0, h, 10))
        return false;
    m_loadedFrom = origin;
    if (std::memcmp(h, "ID3", 3) != 0)
        return true;
    const int64_t fileSize = source.size();
    m_present = true;
    m_majorVersion = h[3];
    m_tagSize = id3v2StatedSize(h);
    if (m_tagSize > fileSize)
        m_tagSize = 0;
    if ((m_majorVersion != 3 && m_majorVersion != 4) || m_tagSize == 0)
        return true;

    std::array<std::string, kSlotCount> slots;
    int64_t pos = 10;
    if (h[5] & 0x40) { // extended header
        uint8_t e[4];
        if (!source.readFullyAt(10, e, 4))
            pos = m_tagSize;
        else
            pos = m_majorVersion == 3 ? 14 + int64_t(be32(e)) : 10 + int64_t(syncSafe(e));
    }
    while (pos < m_tagSize && pos < fileSize) {
        uint8_t f[10];
        if (!source.readFullyAt(pos, f, 10))
            break;
        if (!isUpper(f[0]))
            break; // padding or garbage
        const int64_t size = m_majorVersion == 3 ? be32(f + 4) : syncSafe(f + 4);
        const int64_t dataPos = pos + 10;
        const int slot = slotOf(f, m_majorVersion);
        if (slot >= 0) {
            const int64_t want = std::min({size, fileSize - dataPos, kMaxTextBytes});
            std::string data(size_t(std::max<int64_t>(want, 0)), '\0');
            const int64_t got = source.readAt(dataPos, data.data(), int64_t(data.size()));
            if (got < 0)
                break;
            data.resize(size_t(got));
            slots[size_t(slot)] = std::move(data);
        }
        pos = dataPos + size;
    }

    m_title = frameText(slots[kTitle]);
    m_artist = frameText(slots[kArtist]);
    m_album = frameText(slots[kAlbum]);
    m_track = trackNumber(frameText(slots[kTrack]));
    m_year = frameText(slots[kYear]);
    m_genre = genreText(frameText(slots[kGenre]));
    m_comment = commentText(slots[kComment]);
    m_composer = frameText(slots[kComposer]);
    m_encoder = frameText(slots[kEncoder]);
    m_copyright = frameText(slots[kCopyright]);
    m_language = frameText(slots[kLanguage]);
    m_link = linkText(slots[kLink]);
    for (size_t i = 0; i < kSlotCount; ++i)
        m_loaded[i] = slotText(i);
    return true;
}

std::string TID3v2::slotText(size_t slot) const {
    switch (slot) {
    case kTitle:
        return m_title;
    case kArtist:
        return m_artist;
    case kAlbum:
        return m_album;
    case kTrack:
        return m_track ? std::to_string(m_track) : std::string();
    case kYear:
        return m_year;
    case kGenre:
        return m_genre;
    case kComment:
        return m_comment;
    case kComposer:
        return m_composer;
    case kEncoder:
        return m_encoder;
    case kCopyright:
        return m_copyright;
    case kLanguage:
        return m_language;
    case kLink:
        return m_link;
    default:
        return {};
    }
}

namespace {

// Latin-1 when every character fits, else UTF-16 with BOM; returns the encoding byte.
uint8_t encodeText(const std::string& text, std::string& out) {
    bool fits = false;
    const std::string latin = utf8ToLatin1(text, &fits);
    if (fits) {
        out += latin;
        return 0;
    }
    out += utf8ToUtf16Bom(text);
    return 1;
}

// A URL is Latin-1; characters beyond it are written percent-encoded.
std::string urlBytes(const std::string& text) {
    bool fits = false;
    std::string latin = utf8ToLatin1(text, &fits);
    if (fits)
        return latin;
    static const char hex[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : text) {
        if (c < 0x80) {
            out += char(c);
        } else {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
    return out;
}

void appendFrame(std::string& tag, std::string_view id, uint16_t flags, std::string_view data) {
    tag += id;
    putBe32(tag, uint32_t(data.size()));
    tag += char(flags >> 8);
    tag += char(flags & 0xFF);
    tag += data;
}

} // namespace

std::string TID3v2::Render(std::string_view oldStart, const std::string& fileName) const {
    try {
        return render(oldStart, fileName);
    } catch (...) {
        RENDOLO_RETHROW_WHEN_FUZZING();
        return {};
    }
}

std::string TID3v2::render(std::string_view oldStart, const std::string& fileName) const {
    std::array<std::string, kSlotCount> own;
    // A field keeps the old tag's frames when it was not changed since it was read from
    // this file (or, for a file not read, when it is empty); otherwise our frame
    // replaces them.
    std::array<bool, kSlotCount> keep{};
    const bool loadedHere = !m_loadedFrom.empty() && m_loadedFrom == fileName;
    for (size_t s = 0; s < kSlotCount; ++s) {
        own[s] = slotText(s);
        keep[s] = loadedHere ? own[s] == m_loaded[s] : own[s].empty();
    }

    std::array<bool, kSlotCount> carried{};
    std::string frames;
    if (oldStart.size() >= 10) {
        const auto* h = reinterpret_cast<const uint8_t*>(oldStart.data());
        const int64_t stated = id3v2StatedSize(h);
        if (stated > 0 && stated <= int64_t(oldStart.size())) {
            const uint8_t major = h[3];
            const auto old = carriedFrames(oldStart.substr(0, size_t(stated)));
            // The comment and link Load read are the last frames of their IDs.
            auto lastOf = [&](const char* id) {
                for (size_t i = old.size(); i-- > 0;)
                    if (old[i].id == id)
                        return i;
                return old.size();
            };
            const size_t readComment = major >= 3 ? lastOf("COMM") : old.size();
            const size_t readLink = major >= 3 ? lastOf("WXXX") : old.size();
            for (size_t i = 0; i < old.size(); ++i) {
                const Id3Frame& f = old[i];
                const int slot = slotOf(reinterpret_cast<const uint8_t*>(f.id.data()), 3);
                if (slot >= 0 && !keep[size_t(slot)]) {
                    bool replaced = true;
                    if (slot == kComment || slot == kLink) {
                        // Comments and links with a description belong to other programs
                        // (iTunNORM, ...) and always stay. Of the others, the one Load read
                        // and any with the key ours is written under give way.
                        const bool undescribed = describedBy(f.id, f.data).empty();
                        const bool sameKey = !own[size_t(slot)].empty() && undescribed &&
                                             (slot == kLink || (f.data.size() >= 4 &&
                                                                f.data.compare(1, 3, "eng") == 0));
                        const bool wasRead = i == (slot == kComment ? readComment : readLink);
                        replaced = sameKey || (wasRead && undescribed);
                    }
                    if (replaced)
                        continue;
                }
                if (slot >= 0)
                    carried[size_t(slot)] = true;
                appendFrame(frames, f.id, f.flags, f.data);
            }
        }
    }

    for (size_t s = 0; s < kSlotCount; ++s) {
        const std::string& text = own[s];
        // A kept field whose frame could not be carried (damaged) is written anew.
        if (text.empty() || (keep[s] && carried[s]))
            continue;
        std::string data(1, '\0');
        if (s == kComment) {
            std::string body;
            const uint8_t enc = encodeText(text, body);
            data[0] = char(enc);
            data += "eng";
            data += enc == 1 ? std::string(2, '\0') : std::string(1, '\0');
            data += body;
        } else if (s == kLink) {
            data += '\0';
            data += urlBytes(text);
        } else {
            std::string body;
            data[0] = char(encodeText(text, body));
            data += body;
        }
        appendFrame(frames, FrameIds[s], 0, data);
    }

    if (frames.size() >= (size_t(1) << 28))
        return {};
    std::string tag("ID3\x03\x00\x00", 6);
    const auto n = uint32_t(frames.size());
    tag += char((n >> 21) & 0x7F);
    tag += char((n >> 14) & 0x7F);
    tag += char((n >> 7) & 0x7F);
    tag += char(n & 0x7F);
    return tag + frames;
}

namespace {

// Creates the temporary file beside `fileName`: its name with "~" appended, or, when a
// file of that name exists already (it is not ours to overwrite), with "~1", "~2", ...
std::FILE* createTemp(const std::string& fileName, std::string& tempName) {
    for (int n = 0; n < 100; ++n) {
        tempName = fileName + "~" + (n ? std::to_string(n) : std::string());
        if (std::FILE* f = std::fopen(tempName.c_str(), "wbx"))
            return f;
        if (errno != EEXIST)
            return nullptr;
    }
    return nullptr;
}

} // namespace

bool TID3v2::Save(const std::string& fileName) const {
    try {
        return save(fileName);
    } catch (...) {
        RENDOLO_RETHROW_WHEN_FUZZING();
        return false;
    }
}

bool TID3v2::save(const std::string& fileName) const {
    namespace fs = std::filesystem;
    std::error_code ec;
    if (!fs::is_regular_file(fileName, ec) || !makeWritable(fileName))
        return false;
    MediaFile in;
    uint8_t h[10];
    if (!in.open(fileName) || !in.readFullyAt(0, h, 10))
        return false;
    const int64_t size = in.size();

    int64_t start = 0;
    std::string oldTag;
    const int64_t stated = id3v2StatedSize(h);
    if (stated > 0 && stated <= size) {
        start = stated;
        oldTag.resize(size_t(stated));
        if (!in.readFullyAt(0, oldTag.data(), stated))
            return false;
        uint8_t footer[3];
        if (h[3] == 4 && (h[5] & 0x10) && in.readFullyAt(start, footer, 3) &&
            std::memcmp(footer, "3DI", 3) == 0)
            start += 10; // the footer of a version 4 tag goes with it
    }
    const std::string tag = Render(oldTag, fileName);
    if (tag.empty())
        return false;

    std::string tempName;
    std::FILE* out = createTemp(fileName, tempName);
    if (!out)
        return false;
    bool ok = std::fwrite(tag.data(), 1, tag.size(), out) == tag.size();
    std::vector<char> buffer(1 << 20);
    for (int64_t pos = start; ok && pos < size;) {
        const int64_t n =
            in.readAt(pos, buffer.data(), std::min<int64_t>(int64_t(buffer.size()), size - pos));
        if (n <= 0) {
            ok = false;
            break;
        }
        ok = std::fwrite(buffer.data(), 1, size_t(n), out) == size_t(n);
        pos += n;
    }
    ok = ok && flushToDisk(out);
    ok = (std::fclose(out) == 0) && ok;
    in.close();
    if (ok) {
        // The new file takes over the old one's permissions (writable by its owner).
        const auto perms = fs::status(fileName, ec).permissions();
        ok = !ec;
        if (ok)
            fs::permissions(tempName, perms | fs::perms::owner_write, ec);
        // Renaming replaces the original in one step; a file that vanished meanwhile is
        // not brought back.
        ok = ok && !ec && fs::exists(fileName, ec);
        if (ok) {
            fs::rename(tempName, fileName, ec);
            ok = !ec;
        }
    }
    if (!ok)
        fs::remove(tempName, ec);
    return ok;
}

void TID3v2::SetTitle(std::string_view v) {
    m_title = trimControl(v);
}
void TID3v2::SetArtist(std::string_view v) {
    m_artist = trimControl(v);
}
void TID3v2::SetAlbum(std::string_view v) {
    m_album = trimControl(v);
}
void TID3v2::SetYear(std::string_view v) {
    m_year = trimControl(v);
}
void TID3v2::SetGenre(std::string_view v) {
    m_genre = trimControl(v);
}
void TID3v2::SetComment(std::string_view v) {
    m_comment = trimControl(v);
}
void TID3v2::SetComposer(std::string_view v) {
    m_composer = trimControl(v);
}
void TID3v2::SetEncoder(std::string_view v) {
    m_encoder = trimControl(v);
}
void TID3v2::SetCopyright(std::string_view v) {
    m_copyright = trimControl(v);
}
void TID3v2::SetLanguage(std::string_view v) {
    m_language = trimControl(v);
}
void TID3v2::SetLink(std::string_view v) {
    m_link = trimControl(v);
}
