#include "media/id3v2.h"

#include "media/atomicreplace.h"
#include "media/mediafile.h"
#include "media/textcodec.h"

#include <algorithm>
#include <cstring>
#include <limits>

using namespace media;
using namespace media::id3;

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

// The text of a text frame. Version 4 texts may be lists of values separated by zero
// characters; `joinValues` shows them joined by " / ".
std::string frameText(std::string_view data, bool joinValues = false) {
    if (data.empty())
        return {};
    std::string text = trimControl(decodeId3Text(uint8_t(data[0]), data.substr(1)));
    if (joinValues && text.find('\0') != std::string::npos) {
        std::string joined;
        joined.reserve(text.size() + 8);
        for (char c : text)
            if (c == '\0')
                joined += " / ";
            else
                joined += c;
        text = std::move(joined);
    }
    return text;
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

} // namespace

int64_t media::id3v2StatedSize(const uint8_t* header) {
    if (std::memcmp(header, "ID3", 3) != 0)
        return -1;
    return int64_t(syncSafe(header + 6)) + 10;
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
    const bool v4 = m_majorVersion == 4;
    const bool tagUnsync = (h[5] & 0x80) != 0;

    // A version 3 tag unsynchronised as a whole is restored in memory first (version 4
    // restores frame by frame).
    ByteSource* src = &source;
    int64_t tagEnd = m_tagSize;
    std::string restored;
    MemorySource restoredSource{std::string_view()};
    if (!v4 && tagUnsync) {
        std::string raw(size_t(m_tagSize), '\0');
        if (!source.readFullyAt(0, raw.data(), m_tagSize))
            return true;
        restored = raw.substr(0, 10) + removeUnsync(std::string_view(raw).substr(10));
        restoredSource = MemorySource(restored);
        src = &restoredSource;
        tagEnd = int64_t(restored.size());
    }

    std::array<std::string, kSlotCount> slots;
    int64_t pos = 10;
    if (h[5] & 0x40) { // extended header
        uint8_t e[4];
        if (!src->readFullyAt(10, e, 4))
            pos = tagEnd;
        else
            pos = v4 ? 10 + int64_t(syncSafe(e)) : 14 + int64_t(be32(e));
    }
    while (pos + 10 <= tagEnd) {
        uint8_t f[10];
        if (!src->readFullyAt(pos, f, 10))
            break;
        if (!isUpper(f[0]))
            break; // padding or garbage
        const int64_t size = v4 ? syncSafe(f + 4) : be32(f + 4);
        const int64_t dataPos = pos + 10;
        const int slot = slotOf(f, m_majorVersion);
        if (slot >= 0) {
            // Only what lies inside the tag belongs to the frame.
            const int64_t want = std::min({size, tagEnd - dataPos, kMaxTextBytes});
            std::string data(size_t(std::max<int64_t>(want, 0)), '\0');
            const int64_t got = src->readAt(dataPos, data.data(), int64_t(data.size()));
            if (got < 0)
                break;
            data.resize(size_t(got));
            // Frame flags: compressed or encrypted texts cannot be read; a group byte and
            // a data length come before the text; version 4 unsynchronises per frame.
            size_t skip = 0;
            bool readable = true;
            if (v4) {
                const uint8_t format = f[9];
                readable = !(format & 0x0C);
                skip = (format & 0x40 ? 1 : 0) + (format & 0x01 ? 4 : 0);
                if (readable && (format & 0x02 || tagUnsync))
                    data = removeUnsync(std::string_view(data).substr(std::min(skip, data.size())));
                else
                    data.erase(0, std::min(skip, data.size()));
            } else {
                const unsigned flags = unsigned(f[8]) << 8 | f[9];
                readable = !(flags & 0x00C0);
                data.erase(0, std::min<size_t>(flags & 0x0020 ? 1 : 0, data.size()));
            }
            if (readable)
                slots[size_t(slot)] = std::move(data);
        }
        pos = dataPos + size;
    }

    m_title = frameText(slots[kTitle], v4);
    m_artist = frameText(slots[kArtist], v4);
    m_album = frameText(slots[kAlbum], v4);
    const std::string track = frameText(slots[kTrack]);
    m_track = trackNumber(track.substr(0, track.find('\0')));
    m_year = frameText(slots[kYear], v4);
    m_genre = genreText(frameText(slots[kGenre], v4));
    m_comment = commentText(slots[kComment]);
    m_composer = frameText(slots[kComposer], v4);
    m_encoder = frameText(slots[kEncoder], v4);
    m_copyright = frameText(slots[kCopyright], v4);
    m_language = frameText(slots[kLanguage], v4);
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

std::string TID3v2::Render(std::string_view oldStart, const std::string& fileName,
                           std::vector<std::string>* dropped) const {
    try {
        return render(oldStart, fileName, dropped);
    } catch (...) {
        RENDOLO_RETHROW_WHEN_FUZZING();
        return {};
    }
}

std::string TID3v2::render(std::string_view oldStart, const std::string& fileName,
                           std::vector<std::string>* dropped) const {
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
            const auto old = carriedFrames(oldStart.substr(0, size_t(stated)), dropped);
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

bool TID3v2::Save(const std::string& fileName, SaveReport* report) const {
    SaveReport local;
    SaveReport& r = report ? *report : local;
    r = SaveReport();
    try {
        return save(fileName, r);
    } catch (...) {
        RENDOLO_RETHROW_WHEN_FUZZING();
        r.error = "out of memory";
        return false;
    }
}

bool TID3v2::save(const std::string& fileName, SaveReport& report) const {
    AtomicReplace file;
    if (!file.begin(fileName)) {
        report.error = file.error();
        return false;
    }
    const int64_t size = file.sourceSize();
    uint8_t h[10];
    if (size < 10 || !file.readSource(0, h, 10)) {
        report.error = "cannot read the file's first 10 bytes";
        return false;
    }
    int64_t start = 0;
    std::string oldTag;
    const int64_t stated = id3v2StatedSize(h);
    if (stated > 0 && stated <= size) {
        start = stated;
        oldTag.resize(size_t(stated));
        if (!file.readSource(0, oldTag.data(), size_t(stated))) {
            report.error = "cannot read the old tag";
            return false;
        }
        uint8_t footer[3];
        if (h[3] == 4 && (h[5] & 0x10) && start + 10 <= size && file.readSource(start, footer, 3) &&
            std::memcmp(footer, "3DI", 3) == 0)
            start += 10; // the footer of a version 4 tag goes with it
    }
    std::vector<std::string> dropped;
    const std::string tag = Render(oldTag, fileName, &dropped);
    if (tag.empty()) {
        report.error = "the new tag would be larger than an ID3v2 tag can be";
        return false;
    }
    if (!file.write(tag.data(), tag.size()) || !file.copyFromSource(start, size - start) ||
        !file.commit()) {
        report.error = file.error();
        return false;
    }
    for (const std::string& d : dropped)
        report.notes.push_back("left out " + d);
    if (file.otherLinks() > 0)
        report.notes.push_back("the file has " + std::to_string(file.otherLinks()) +
                               " other name(s) (hard links), which keep the old tag");
    if (!file.warning().empty())
        report.notes.push_back(file.warning());
    return true;
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
