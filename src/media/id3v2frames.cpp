#include "media/id3v2frames.h"

#include "media/textcodec.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace media {
namespace id3 {

uint32_t be32(const uint8_t* p) {
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

uint32_t syncSafe(const uint8_t* p) {
    return (uint32_t(p[0]) << 21) + (uint32_t(p[1]) << 14) + (uint32_t(p[2]) << 7) + p[3];
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

bool isWide(uint8_t encoding) {
    return encoding == 1 || encoding == 2;
}

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

} // namespace id3

namespace {

using namespace id3;

// Chapters may hold chapters; deeper nesting than this is not followed.
constexpr int kMaxDepth = 4;

bool isUpper(uint8_t c) {
    return c >= 'A' && c <= 'Z';
}

void putBe32(std::string& out, uint32_t v) {
    out += char(v >> 24);
    out += char(v >> 16);
    out += char(v >> 8);
    out += char(v);
}

// A frame as its tag holds it: version 2.2/2.3/2.4 name, version 3 flags, and its data
// with unsynchronisation, group byte and data length undone (and re-stated in version 3
// form in front of the data of a compressed or encrypted frame, which stays as it is).
struct RawFrame {
    std::string id;
    uint16_t flags = 0;
    std::string data;
    bool packed = false; // compressed or encrypted: its content cannot be converted
    // Version 2.4: what version 2.3 states in front of the content for the flags
    // (uncompressed size, encryption method, group).
    std::string prefix;
};

struct Context {
    uint8_t major = 3;
    bool tagUnsync = false; // version 2.4: the header's flag covers every frame
    std::vector<std::string>* dropped = nullptr;
    std::string where; // " in chapter ..." for embedded frames
    int depth = 0;
};

void note(const Context& c, const std::string& id, const std::string& why) {
    if (c.dropped)
        c.dropped->push_back(id + c.where + ": " + why);
}

std::vector<RawFrame> readFrames(std::string_view body, const Context& c) {
    std::vector<RawFrame> frames;
    const size_t headerBytes = c.major == 2 ? 6 : 10;
    const auto* b = reinterpret_cast<const uint8_t*>(body.data());
    size_t pos = 0;
    while (pos + headerBytes <= body.size()) {
        const uint8_t* f = b + pos;
        if (!isUpper(f[0]))
            break; // padding or garbage, as when reading
        const size_t size = c.major == 2   ? (size_t(f[3]) << 16 | size_t(f[4]) << 8 | f[5])
                            : c.major == 3 ? size_t(be32(f + 4))
                                           : size_t(syncSafe(f + 4));
        const size_t dataPos = pos + headerBytes;
        // A frame running past the tag keeps what lies inside it, as other readers do.
        const std::string_view data = body.substr(dataPos, std::min(size, body.size() - dataPos));
        pos = dataPos + data.size();

        RawFrame frame;
        frame.id.assign(reinterpret_cast<const char*>(f), c.major == 2 ? 3 : 4);
        if (c.major == 2) {
            frame.data.assign(data);
        } else if (c.major == 3) {
            frame.flags = uint16_t(f[8] << 8 | f[9]);
            frame.packed = (frame.flags & 0x00C0) != 0;
            frame.data.assign(data);
        } else {
            const uint8_t status = f[8], format = f[9];
            size_t at = 0;
            std::string group, method;
            uint32_t plainSize = 0;
            if (format & 0x40 && at < data.size())
                group = std::string(data.substr(at++, 1));
            if (format & 0x04 && at < data.size())
                method = std::string(data.substr(at++, 1));
            if (format & 0x01) {
                if (at + 4 > data.size()) {
                    note(c, frame.id, "damaged (shorter than its data length)");
                    continue;
                }
                plainSize = syncSafe(reinterpret_cast<const uint8_t*>(data.data()) + at);
                at += 4;
            }
            std::string payload(data.substr(std::min(at, data.size())));
            if (format & 0x02 || c.tagUnsync)
                payload = removeUnsync(payload);
            if ((format & 0x08) && !(format & 0x01)) {
                note(c, frame.id, "compressed without its size, which ID3v2.3 needs");
                continue;
            }
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
            frame.packed = (format & 0x0C) != 0;
            frame.prefix = std::move(prefix);
            frame.data = std::move(payload);
        }
        frames.push_back(std::move(frame));
    }
    return frames;
}

// --- text encodings ------------------------------------------------------------------

// One string of encoding 2 (UTF-16BE) or 3 (UTF-8) as UTF-16 with BOM; false for UTF-8
// that is not valid (its bytes cannot be carried into another encoding unchanged).
bool toUtf16(uint8_t enc, std::string_view raw, std::string& out) {
    if (raw.empty())
        return true;
    if (enc == 2) {
        out += "\xFE\xFF"; // the same code units, now with their byte order stated
        out += raw;
        return true;
    }
    if (sanitizeUtf8(raw) != raw)
        return false;
    out += utf8ToUtf16Bom(raw);
    return true;
}

std::string_view terminatorOf(uint8_t enc) {
    return isWide(enc) ? std::string_view("\0\0", 2) : std::string_view("\0", 1);
}

// Splits a list of values; a terminator at the very end ends the last value.
std::vector<std::string_view> splitValues(std::string_view raw, uint8_t enc) {
    std::vector<std::string_view> values;
    size_t from = 0;
    while (true) {
        const size_t end = afterTerminator(raw, from, enc);
        if (end == std::string_view::npos) {
            if (from < raw.size() || values.empty())
                values.push_back(raw.substr(from));
            break;
        }
        values.push_back(raw.substr(from, end - from - terminatorOf(enc).size()));
        from = end;
        if (from == raw.size())
            break;
    }
    return values;
}

// Frame layouts behind the encoding byte, one letter per part:
//   digit  that many bytes kept as they are     l  Latin-1 string with terminator
//   s      encoded string with terminator       t  encoded text to the end
//   v      encoded values to the end, "/"-joined in version 2.3
//   w      encoded values to the end, kept apart (IPLS pairs)
//   u      Latin-1 to the end (a URL)           b  binary data to the end
//   y      synchronised lyrics: encoded strings with terminator, each followed by a
//          four-byte time stamp, to the end
const char* layoutOf(const std::string& id) {
    static const struct {
        const char* id;
        const char* layout;
    } kLayouts[] = {{"TXXX", "sv"},  {"WXXX", "su"},       {"COMM", "3st"},  {"USLT", "3st"},
                    {"USER", "3t"},  {"SYLT", "5sy"},      {"APIC", "l1sb"}, {"GEOB", "lssb"},
                    {"OWNE", "l8t"}, {"COMR", "l8l1sslb"}, {"IPLS", "w"},    {"TIPL", "w"},
                    {"TMCL", "w"},   {"GRP1", "v"},        {"MVNM", "v"},    {"MVIN", "v"}};
    for (const auto& l : kLayouts)
        if (id == l.id)
            return l.layout;
    return id[0] == 'T' ? "v" : nullptr;
}

// Rebuilds an unpacked frame for version 2.3: encodings 2 and 3 become 1, and (for a
// version 2.4 frame, `join`) lists of values become one "/"-joined value. A frame that
// needs neither keeps its bytes. False when its UTF-8 is not valid: then it is kept as
// it is.
bool recode(const char* layout, const std::string& data, bool join, std::string& out) {
    const auto enc = uint8_t(data[0]);
    const bool reencode = enc == 2 || enc == 3;
    const uint8_t outEnc = reencode ? 1 : enc;
    std::string_view rest(data);
    rest.remove_prefix(1);
    out.assign(1, char(outEnc));
    auto string = [&](std::string_view raw) {
        if (!reencode) {
            out += raw;
            return true;
        }
        return toUtf16(enc, raw, out);
    };
    auto latin = [&](bool terminated) {
        const size_t end = terminated ? rest.find('\0') : std::string_view::npos;
        const size_t n = end == std::string_view::npos ? rest.size() : end + 1;
        out += rest.substr(0, n);
        rest.remove_prefix(n);
    };
    auto encoded = [&](bool& ended) {
        const size_t end = afterTerminator(rest, 0, enc);
        if (end == std::string_view::npos) {
            ended = true; // unterminated: it was the last part
            const bool ok = string(rest);
            rest = {};
            return ok;
        }
        const bool ok = string(rest.substr(0, end - terminatorOf(enc).size()));
        out += terminatorOf(outEnc);
        rest.remove_prefix(end);
        return ok;
    };
    for (const char* p = layout; *p && !rest.empty(); ++p) {
        bool ended = false;
        switch (*p) {
        case 'l':
            latin(true);
            break;
        case 'u':
        case 'b':
            latin(false);
            break;
        case 's':
            if (!encoded(ended))
                return false;
            break;
        case 'y':
            while (!rest.empty() && !ended) {
                if (!encoded(ended))
                    return false;
                const size_t n = std::min<size_t>(4, rest.size());
                out += rest.substr(0, n);
                rest.remove_prefix(n);
            }
            break;
        case 't': // a text may hold several, each with its own byte order mark
        case 'v':
        case 'w': {
            const auto values = splitValues(rest, enc);
            if (*p == 'v' && join && values.size() > 1) {
                // Version 2.3 has no lists of values; "/" is what its readers split on.
                std::string text;
                for (size_t i = 0; i < values.size(); ++i) {
                    if (i)
                        text += '/';
                    if (enc == 3 && sanitizeUtf8(values[i]) != values[i])
                        return false;
                    text += decodeId3Text(enc, values[i]);
                }
                if (enc == 0) {
                    bool fits = false;
                    out += utf8ToLatin1(text, &fits); // it came from Latin-1
                } else {
                    out[0] = char(1);
                    out += utf8ToUtf16Bom(text);
                }
            } else if (!reencode) {
                out += rest;
            } else {
                for (size_t i = 0; i < values.size(); ++i) {
                    if (i)
                        out += terminatorOf(outEnc);
                    if (!string(values[i]))
                        return false;
                }
            }
            rest = {};
            break;
        }
        default: {
            const size_t n = std::min<size_t>(size_t(*p - '0'), rest.size());
            out += rest.substr(0, n);
            rest.remove_prefix(n);
        }
        }
    }
    out += rest;
    return true;
}

// --- version 2.4 frames version 2.3 does not have --------------------------------------

// Date and time parts of an ID3v2.4 time stamp (yyyy[-MM[-dd[THH[:mm[:ss]]]]]); false
// when the text is not one.
struct TimeStamp {
    std::string year, month, day, hour, minute;
};

bool parseTimeStamp(const std::string& text, TimeStamp& t) {
    auto digits = [&](size_t at, size_t n) {
        if (text.size() < at + n)
            return false;
        for (size_t i = at; i < at + n; ++i)
            if (text[i] < '0' || text[i] > '9')
                return false;
        return true;
    };
    const size_t n = text.size();
    if (!digits(0, 4))
        return false;
    size_t used = 4;
    t.year = text.substr(0, 4);
    if (n >= 7 && text[4] == '-' && digits(5, 2)) {
        t.month = text.substr(5, 2);
        used = 7;
        if (n >= 10 && text[7] == '-' && digits(8, 2)) {
            t.day = text.substr(8, 2);
            used = 10;
            if (n >= 13 && text[10] == 'T' && digits(11, 2)) {
                t.hour = text.substr(11, 2);
                used = 13;
                if (n >= 16 && text[13] == ':' && digits(14, 2)) {
                    t.minute = text.substr(14, 2);
                    used = 16;
                    if (n >= 19 && text[16] == ':' && digits(17, 2))
                        used = 19;
                }
            }
        }
    }
    return used == n;
}

Id3Frame latinTextFrame(const char* id, uint16_t flags, const std::string& text) {
    return Id3Frame{id, flags, std::string(1, '\0') + text};
}

// The first value of a text frame, trimmed.
std::string firstValue(const std::string& data) {
    if (data.empty())
        return {};
    const auto enc = uint8_t(data[0]);
    const auto values = splitValues(std::string_view(data).substr(1), enc);
    return values.empty() ? std::string() : trimControl(decodeId3Text(enc, values[0]));
}

bool has(const std::vector<RawFrame>& frames, const char* id) {
    return std::any_of(frames.begin(), frames.end(), [&](const RawFrame& f) { return f.id == id; });
}

// --- version 2.2 names ---------------------------------------------------------------

struct V22Name {
    const char* from;
    const char* to;
};

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
    {"TSC", "TSOC"},
    {"GP1", "GRP1"},
    {"MVN", "MVNM"},
    {"MVI", "MVIN"},
    // iTunes podcast frames
    {"PCS", "PCST"},
    {"TDS", "TDES"},
    {"TGR", "TCAT"},
    {"TCT", "TCAT"},
    {"TKW", "TKWD"},
    {"TID", "TGID"},
    {"WFD", "WFED"},
    {"TDR", "TDRL"}};

const char* v23NameOf(const std::string& id) {
    for (const auto& n : kV22Names)
        if (id == n.from)
            return n.to;
    return nullptr;
}

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

// A version 2.2 frame without a version 2.3 name: text and links are kept under TXXX
// and WXXX with the old name as their description.
bool describedFromV22(RawFrame& f) {
    if (f.id[0] == 'T' && !f.data.empty()) {
        const auto enc = uint8_t(f.data[0]);
        std::string data(1, char(enc));
        data += enc == 1 ? utf8ToUtf16Bom(f.id) : f.id;
        data += terminatorOf(enc);
        data += f.data.substr(1);
        f = RawFrame{"TXXX", 0, std::move(data), false, {}};
        return true;
    }
    if (f.id[0] == 'W') {
        f = RawFrame{"WXXX", 0, std::string(1, '\0') + f.id + '\0' + f.data, false, {}};
        return true;
    }
    return false;
}

std::vector<Id3Frame> convert(std::string_view body, const Context& c);

// CHAP and CTOC: the element ID (and for CTOC its flags and child IDs) stay as they are;
// the embedded frames are converted as top-level frames are.
bool convertChapter(const RawFrame& f, const Context& c, std::string& out) {
    std::string_view d(f.data);
    size_t at = d.find('\0');
    if (at == std::string_view::npos)
        return false;
    const std::string element(d.substr(0, at));
    ++at;
    if (f.id == "CHAP") {
        at += 16;
    } else {
        if (at + 2 > d.size())
            return false;
        const auto count = uint8_t(d[at + 1]);
        at += 2;
        for (int i = 0; i < count; ++i) {
            const size_t z = d.find('\0', at);
            if (z == std::string_view::npos)
                return false;
            at = z + 1;
        }
    }
    if (at > d.size())
        return false;
    Context inner = c;
    inner.where = c.where + " in " + f.id + " " + element;
    inner.depth = c.depth + 1;
    inner.tagUnsync = false; // the chapter's own bytes were already restored
    out.assign(d.substr(0, at));
    for (const Id3Frame& sub : convert(d.substr(at), inner)) {
        out += sub.id;
        putBe32(out, uint32_t(sub.data.size()));
        out += char(sub.flags >> 8);
        out += char(sub.flags & 0xFF);
        out += sub.data;
    }
    return true;
}

std::vector<Id3Frame> convert(std::string_view body, const Context& c) {
    std::vector<RawFrame> frames = readFrames(body, c);
    std::vector<Id3Frame> out;
    if (c.major == 2) {
        for (RawFrame& f : frames) {
            const std::string old = f.id;
            if (const char* name = v23NameOf(old)) {
                f.id = name;
                if (old == "PIC")
                    f.data = pictureFromV22(f.data);
                else if (old == "LNK" && f.data.size() >= 3) {
                    // The linked frame's name is a version 2.2 name as well.
                    const char* linked = v23NameOf(f.data.substr(0, 3));
                    f.data = (linked ? std::string(linked) : f.data.substr(0, 3) + ' ') +
                             f.data.substr(3);
                }
            } else if (!describedFromV22(f)) {
                note(c, old, "an ID3v2.2 frame that ID3v2.3 has no frame for");
                f.id.clear();
            }
        }
    }
    if (c.major == 3) {
        for (RawFrame& f : frames)
            out.push_back(Id3Frame{std::move(f.id), f.flags, std::move(f.data)});
        return out;
    }

    // Versions 2.2 and 2.4: frames of 2.4 that 2.3 lacks, then the encodings.
    const bool hasTyer = has(frames, "TYER"), hasTdat = has(frames, "TDAT"),
               hasTime = has(frames, "TIME"), hasTory = has(frames, "TORY"),
               hasIpls = has(frames, "IPLS");
    bool peopleDone = false;
    for (RawFrame& f : frames) {
        if (f.id.empty())
            continue;
        static const char* const kOnlyV24[] = {"ASPI", "EQU2", "RVA2", "SEEK", "SIGN", "TDEN",
                                               "TDRL", "TDTG", "TMOO", "TPRO", "TSST"};
        if (std::any_of(std::begin(kOnlyV24), std::end(kOnlyV24),
                        [&](const char* id) { return f.id == id; })) {
            note(c, f.id, "exists only in ID3v2.4");
            continue;
        }
        const bool convertible = !f.packed && !f.data.empty();
        // Frames made anew have no group byte or other prefix.
        const auto plain = uint16_t(f.flags & 0xFF1F);
        if (f.id == "TDRC" || f.id == "TDOR") {
            const std::string text = convertible ? firstValue(f.data) : std::string();
            TimeStamp t;
            const bool stamp = parseTimeStamp(text, t);
            if (f.id == "TDOR") {
                if (stamp && !hasTory)
                    out.push_back(latinTextFrame("TORY", plain, t.year));
                else
                    note(c, f.id,
                         hasTory ? "TORY already holds the original year"
                                 : "not a time stamp ID3v2.3 can hold");
                continue;
            }
            if (!convertible) {
                note(c, f.id, "compressed or encrypted: cannot be split into TYER/TDAT/TIME");
                continue;
            }
            if (!stamp) { // kept whole as the year text
                std::string data;
                if (hasTyer)
                    note(c, f.id, "not a time stamp, and TYER already holds the year");
                else if (recode("v", f.data, true, data))
                    out.push_back(Id3Frame{"TYER", f.flags, f.prefix + data});
                else
                    out.push_back(Id3Frame{"TYER", f.flags, f.prefix + f.data});
                continue;
            }
            if (!hasTyer)
                out.push_back(latinTextFrame("TYER", plain, t.year));
            if (!t.day.empty() && !hasTdat)
                out.push_back(latinTextFrame("TDAT", plain, t.day + t.month));
            if (!t.minute.empty() && !hasTime)
                out.push_back(latinTextFrame("TIME", plain, t.hour + t.minute));
            if (!t.month.empty() && t.day.empty())
                note(c, f.id, "ID3v2.3 keeps no month without a day (kept the year)");
            if (splitValues(std::string_view(f.data).substr(1), uint8_t(f.data[0])).size() > 1)
                note(c, f.id, "ID3v2.3 keeps one recording time (kept the first)");
            continue;
        }
        if (f.id == "TIPL" || f.id == "TMCL") {
            if (peopleDone)
                continue;
            peopleDone = true;
            if (hasIpls) {
                note(c, f.id, "IPLS already holds the people");
                continue;
            }
            // Both lists go into one IPLS frame, in UTF-16 unless all is Latin-1.
            std::string pairs;
            bool latin = true;
            for (const char* id : {"TIPL", "TMCL"}) // the people involved, then the musicians
                for (const RawFrame& p : frames) {
                    if (p.id != id || p.packed || p.data.empty())
                        continue;
                    const auto enc = uint8_t(p.data[0]);
                    latin = latin && enc == 0;
                    for (auto v : splitValues(std::string_view(p.data).substr(1), enc)) {
                        pairs += decodeId3Text(enc, v);
                        pairs += '\0';
                    }
                }
            std::string data;
            if (latin) {
                data = std::string(1, '\0') + utf8ToLatin1(pairs);
            } else {
                data = std::string(1, char(1));
                size_t from = 0;
                for (size_t z; (z = pairs.find('\0', from)) != std::string::npos; from = z + 1)
                    data += utf8ToUtf16Bom(pairs.substr(from, z - from)) + std::string(2, '\0');
            }
            out.push_back(Id3Frame{"IPLS", plain, std::move(data)});
            continue;
        }
        if ((f.id == "CHAP" || f.id == "CTOC") && !f.packed) {
            std::string data;
            if (c.depth < kMaxDepth && convertChapter(f, c, data))
                out.push_back(Id3Frame{f.id, f.flags, f.prefix + data});
            else
                out.push_back(Id3Frame{f.id, f.flags, f.prefix + f.data});
            continue;
        }
        const char* layout = convertible ? layoutOf(f.id) : nullptr;
        if (layout) {
            std::string data;
            if (recode(layout, f.data, c.major == 4, data))
                f.data = std::move(data);
            else
                note(c, f.id, "kept in UTF-8: its text is not valid UTF-8");
        }
        out.push_back(Id3Frame{std::move(f.id), f.flags, f.prefix + f.data});
    }
    return out;
}

} // namespace

std::vector<Id3Frame> carriedFrames(std::string_view tag, std::vector<std::string>* dropped) {
    if (tag.size() < 10)
        return {};
    const auto* h = reinterpret_cast<const uint8_t*>(tag.data());
    Context c;
    c.major = h[3];
    c.dropped = dropped;
    const uint8_t flags = h[5];
    if (c.major < 2 || c.major > 4)
        return {};
    if (c.major == 2 && (flags & 0x40)) {
        note(c, "ID3v2.2 tag", "compressed, which was never defined: nothing can be read");
        return {};
    }
    std::string body(tag.substr(10));
    if (flags & 0x80) {
        if (c.major < 4)
            body = removeUnsync(body); // 2.2 and 2.3 unsynchronise the whole tag
        else
            c.tagUnsync = true;
    }
    size_t pos = 0;
    const auto* b = reinterpret_cast<const uint8_t*>(body.data());
    if (c.major >= 3 && (flags & 0x40) && body.size() >= 4)
        pos = std::min(body.size(), c.major == 3 ? 4 + size_t(be32(b)) : size_t(syncSafe(b)));
    return convert(std::string_view(body).substr(pos), c);
}

} // namespace media
