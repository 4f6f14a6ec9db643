// Carrying the frames of an old tag into the ID3v2.3 tag a save writes (conversion from
// versions 2.2 and 2.4), and reading what other programs write: unsynchronisation,
// frames that run past the tag, lists of values. Values are checked through mutagen
// where it is installed (what another reader sees), and on the bytes where not.
#include "media/id3v2.h"
#include "media/mediafile.h"
#include "mediafixtures.h"

#include <gtest/gtest.h>

using namespace fixtures;

namespace {

std::string be16(const std::u16string& s) {
    std::string out;
    for (char16_t c : s) {
        out += char(c >> 8);
        out += char(c & 0xFF);
    }
    return out;
}

std::string z(const std::string& s) {
    return s + std::string(1, '\0');
}

// A Latin-1 text frame body: encoding byte 0, then the bytes.
std::string lat(const std::string& s) {
    return std::string(1, '\0') + s;
}

std::string z2(const std::string& s) {
    return s + std::string(2, '\0');
}

std::string time32(uint32_t ms) {
    return {char(ms >> 24), char(ms >> 16), char(ms >> 8), char(ms)};
}

std::string syncSafe(uint32_t n) {
    return {char((n >> 21) & 0x7F), char((n >> 14) & 0x7F), char((n >> 7) & 0x7F), char(n & 0x7F)};
}

// A version 2.4 frame with format flags (0x02 unsynchronised, 0x01 data length).
std::string frame24(const std::string& id, const std::string& data, uint8_t format = 0) {
    std::string payload = data;
    if (format & 0x01)
        payload = syncSafe(uint32_t(data.size())) + payload;
    return id + syncSafe(uint32_t(payload.size())) + std::string(1, '\0') + char(format) + payload;
}

std::string tagOf(int major, const std::string& frames, uint8_t flags = 0, int padding = 16) {
    const std::string body = frames + std::string(size_t(padding), '\0');
    return "ID3" + std::string(1, char(major)) + std::string(1, '\0') + char(flags) +
           syncSafe(uint32_t(body.size())) + body;
}

// Every 0xFF gets a 0x00 behind it (what an unsynchronising writer does at the worst).
std::string unsync(const std::string& s) {
    std::string out;
    for (char c : s) {
        out += c;
        if (uint8_t(c) == 0xFF)
            out += '\0';
    }
    return out;
}

// Asked once: every question starts a Python.
bool haveMutagen() {
    static const bool available = mutagenAvailable();
    return available;
}

TID3v2 loaded(const std::string& tag) {
    const std::string bytes = tag + cbrAudio(2);
    media::MemorySource src(bytes);
    TID3v2 t;
    EXPECT_TRUE(t.Load(src));
    return t;
}

// Saves `tag` + audio with a new title, returns mutagen's view of the saved v2.3 tag
// (frame by frame, encodings left out) and the notes of the save.
const char* kDump = R"(
import sys
from mutagen.id3 import ID3
def show(f):
    parts = [f.HashKey]
    for spec in f._framespec + f._optionalspec:
        if spec.name == "encoding" or not hasattr(f, spec.name):
            continue
        v = getattr(f, spec.name)
        if spec.name == "sub_frames":
            v = [show(s) for s in sorted(v.values(), key=lambda s: s.HashKey)]
        parts.append("%s=%r" % (spec.name, v))
    return " ".join(parts)
t = ID3(sys.argv[1], translate=False)
print("version", t.version[1])
for k in sorted(t.keys()):
    print(show(t[k]))
)";

struct Saved {
    std::string dump;
    std::vector<std::string> notes;
};

Saved saveAndDump(const std::string& tag) {
    TempDir dir;
    const std::string f = dir.file("song.mp3");
    writeFile(f, tag + cbrAudio(4));
    TID3v2 t;
    EXPECT_TRUE(t.Load(f));
    t.SetTitle("x");
    media::SaveReport report;
    EXPECT_TRUE(t.Save(f, &report)) << report.error;
    return {haveMutagen() ? runPython(kDump, f) : std::string(), report.notes};
}

struct Case {
    const char* name;
    std::string frames;                // version 2.4 frames (or 2.2 for the 2.2 table)
    std::vector<std::string> expected; // lines mutagen shows for the v2.3 tag
    std::vector<std::string> leftOut;  // notes that must be reported
};

void check(int major, const Case& c) {
    SCOPED_TRACE(c.name);
    const Saved s = saveAndDump(tagOf(major, c.frames));
    std::string notes;
    for (const auto& n : s.notes)
        notes += n + "\n";
    for (const auto& l : c.leftOut)
        EXPECT_NE(notes.find(l), std::string::npos) << "missing note " << l << " in\n" << notes;
    if (!haveMutagen())
        return;
    EXPECT_NE(s.dump.find("version 3\n"), std::string::npos) << s.dump;
    for (const auto& line : c.expected)
        EXPECT_NE(s.dump.find(line), std::string::npos) << line << "\nnot in\n" << s.dump;
}

} // namespace

TEST(Id3v2Frames, Version24FramesKeepEveryTextPartInVersion23) {
    const std::string sylt = "eng\x02\x01";
    const Case cases[] = {
        {"SYLT in UTF-8",
         frame24("SYLT", "\x03" + sylt + z("d\xC3\xA9") + z("Zeile \xC3\xA9") + time32(1000) +
                             z("two") + time32(2000)),
         {"SYLT:d\u00E9:eng lang='eng' format=2 type=1 desc='d\u00E9' "
          "text=[('Zeile \u00E9', 1000), ('two', 2000)]"},
         {}},
        {"SYLT in UTF-16BE",
         frame24("SYLT", "\x02" + sylt + z2(be16(u"d")) + z2(be16(u"\u65E5")) + time32(5) +
                             z2(be16(u"b")) + time32(6)),
         {"SYLT:d:eng lang='eng' format=2 type=1 desc='d' text=[('\u65E5', 5), ('b', 6)]"},
         {}},
        {"COMM and USLT",
         frame24("COMM", "\x03"
                         "deu" +
                             z("d\xC3\xA9") + "t\xC3\xABxt") +
             frame24("USLT", "\x02"
                             "eng" +
                                 z2(be16(u"l")) + be16(u"Lied \u00E9")),
         {"COMM:d\u00E9:deu lang='deu' desc='d\u00E9' text=['t\u00EBxt']",
          "USLT:l:eng lang='eng' desc='l' text='Lied \u00E9'"},
         {}},
        {"TXXX values, WXXX description, USER",
         frame24("TXXX", "\x03" + z("M\xC3\xB6") + z("a") + "b") +
             frame24("WXXX", "\x03" + z("d\xC3\xA9") + "http://x/") +
             frame24("USER", "\x03"
                             "eng"
                             "Nutzung \xC3\xA9"),
         {"TXXX:M\u00F6 desc='M\u00F6' text=['a/b']", "WXXX:d\u00E9 desc='d\u00E9' url='http://x/'",
          "USER:eng lang='eng' text='Nutzung \u00E9'"},
         {}},
        {"APIC and GEOB descriptions",
         frame24("APIC", "\x03" + z("image/png") + "\x03" + z("c\xC3\xB6ver") + "PNGDATA") +
             frame24("GEOB", "\x02" + z("text/plain") + z2(be16(u"f\u00E9.txt")) +
                                 z2(be16(u"G\u00E9o")) + "DATA"),
         {"APIC:c\u00F6ver mime='image/png' type=<PictureType.COVER_FRONT: 3> desc='c\u00F6ver' "
          "data=b'PNGDATA'",
          "GEOB:G\u00E9o mime='text/plain' filename='f\u00E9.txt' desc='G\u00E9o' data=b'DATA'"},
         {}},
        {"OWNE and COMR",
         frame24("OWNE", "\x03" + z("EUR1") + "20240101" + "H\xC3\xA4ndler") +
             frame24("COMR", "\x03" + z("EUR2") + "20250101" + z("http://s/") + "\x01" +
                                 z("S\xC3\xA9ller") + z("D\xC3\xA9sc") + z("image/png") + "LOGO"),
         {"OWNE price='EUR1' date='20240101' seller='H\u00E4ndler'",
          "price='EUR2' valid_until='20250101' contact='http://s/' format=1 "
          "seller='S\u00E9ller' desc='D\u00E9sc' mime='image/png' logo=b'LOGO'"},
         {}},
        {"lists of values become /-joined values",
         frame24("TPE1", lat(z("A") + z("B") + "C")) + frame24("TCON", "\x03" + z("Rock") + "Pop"),
         {"TPE1 text=['A/B/C']", "TCON text=['Rock/Pop']"},
         {}},
        {"TIPL and TMCL become IPLS",
         frame24("TIPL", "\x03" + z("producer") + "P\xC3\xA9") +
             frame24("TMCL", lat(z("guitar") + "G")),
         {"IPLS people=[['producer', 'P\u00E9'], ['guitar', 'G']]"},
         {}},
        {"recording time",
         frame24("TDRC", lat(z("2004-05-06T10:20") + "2005")),
         {"TYER text=['2004']", "TDAT text=['0605']", "TIME text=['1020']"},
         {"TDRC: ID3v2.3 keeps one recording time (kept the first)"}},
        {"recording month without a day",
         frame24("TDRC", std::string("\x03") + "2004-05"),
         {"TYER text=['2004']"},
         {"TDRC: ID3v2.3 keeps no month without a day"}},
        {"original release time and sort frames",
         frame24("TDOR", lat("1999-02-03")) + frame24("TSOP", "\x03S\xC3\xB6rt") +
             frame24("TSOA", lat("Album")) + frame24("TSOT", lat("Title")),
         {"TORY text=['1999']", "TSOP text=['S\u00F6rt']", "TSOA text=['Album']",
          "TSOT text=['Title']"},
         {}},
        {"frames that exist only in version 2.4",
         frame24("RVA2", z("track") + std::string("\x01\x00\x10\x00", 4)) +
             frame24("TMOO", lat("calm")) + frame24("TDRL", lat("2001")) +
             frame24("TSST", lat("Disc set")) + frame24("TPE1", lat("kept")),
         {"TPE1 text=['kept']"},
         {"RVA2: exists only in ID3v2.4", "TMOO: exists only in ID3v2.4",
          "TDRL: exists only in ID3v2.4", "TSST: exists only in ID3v2.4"}},
        {"chapters: embedded frames of 128 bytes and more",
         frame24("CHAP", z("ch1") + time32(0) + time32(1000) + time32(0xFFFFFFFF) +
                             time32(0xFFFFFFFF) +
                             frame24("TIT2", "\x03" + std::string(200, 'c') + "\xC3\xA9") +
                             frame24("TMOO", lat("x"))) +
             frame24("CTOC", z("toc") + "\x03\x01" + z("ch1") +
                                 frame24("TIT2", "\x02" + be16(std::u16string(70, u'T')))),
         {"CHAP:ch1 element_id='ch1' start_time=0 end_time=1000 start_offset=4294967295 "
          "end_offset=4294967295 sub_frames=[\"TIT2 text=['" +
              std::string(200, 'c') + "\u00E9']\"]",
          "child_element_ids=['ch1'] sub_frames=[\"TIT2 text=['" + std::string(70, 'T') + "']\"]"},
         {"TMOO in CHAP ch1: exists only in ID3v2.4"}},
    };
    for (const auto& c : cases)
        check(4, c);
}

TEST(Id3v2Frames, UneditedFramesKeepTheirBytes) {
    // Invalid UTF-8 is not turned into U+FFFD: the frame keeps its bytes (and its
    // encoding), and the save says so. Latin-1 and UTF-16 frames, a lone surrogate
    // included, are carried byte for byte.
    const std::string badUtf8 = "\x03"
                                "Caf\xE9 \xC3\xA9";
    const std::string loneSurrogate = std::string("\x01\xFF\xFE\x00\xD8"
                                                  "A\0",
                                                  7);
    const std::string latin = lat("Caf\xE9");
    const std::string tag = tagOf(4, frame24("TPE2", badUtf8) + frame24("TPE1", loneSurrogate) +
                                         frame24("TALB", latin));
    std::vector<std::string> dropped;
    const auto frames = media::carriedFrames(tag, &dropped);
    ASSERT_EQ(frames.size(), 3u);
    EXPECT_EQ(frames[0].data, badUtf8);
    EXPECT_EQ(frames[1].data, loneSurrogate);
    EXPECT_EQ(frames[2].data, latin);
    ASSERT_EQ(dropped.size(), 1u);
    EXPECT_EQ(dropped[0], "TPE2: kept in UTF-8: its text is not valid UTF-8");
}

TEST(Id3v2Frames, AFrameRunningPastTheTagKeepsWhatLiesInside) {
    // The last frame states one byte more than the tag holds: other readers keep it.
    std::string tag = tagOf(
        3, std::string("TPE1\0\0\0\x02\0\0\0A", 12) + std::string("TALB\0\0\0\x07\0\0\0Album", 16),
        0, 0);
    const auto frames = media::carriedFrames(tag);
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[1].id, "TALB");
    EXPECT_EQ(frames[1].data, std::string("\0Album", 6));
    const Saved s = saveAndDump(tag);
    if (haveMutagen()) {
        EXPECT_NE(s.dump.find("TALB text=['Album']"), std::string::npos) << s.dump;
    }
}

TEST(Id3v2Frames, ReadsWhatOtherProgramsWrite) {
    struct ReadCase {
        const char* name;
        std::string tag;
        std::string artist, album, genre;
        int track;
    };
    auto frame23 = [](const std::string& id, const std::string& data) {
        const auto n = uint32_t(data.size());
        return id + char(n >> 24) + char(n >> 16) + char(n >> 8) + char(n) + std::string(2, '\0') +
               data;
    };
    const std::string frames23 = frame23("TPE1", lat("\xFF\xFF"
                                                     "a")) +
                                 frame23("TALB", lat("Album"));
    // TPE1 claims 300 bytes; the tag ends 40 bytes after it: the rest is audio, not text.
    std::string pastEnd = tagOf(3, frame23("TPE1", lat("Artist")), 0, 30);
    pastEnd[17] = 0x2C;
    pastEnd[16] = 0x01;
    // Version 2.4 per frame: unsynchronised with a data length, and a group byte.
    const std::string decoded = lat("\xFF\xFF"
                                    "a");
    const std::string unsynced = "TPE1" + syncSafe(uint32_t(4 + unsync(decoded).size())) +
                                 std::string("\0\x03", 2) + syncSafe(4) + unsync(decoded);
    const std::string grouped =
        "TALB" + syncSafe(7) + std::string("\0\x40", 2) + "\x07" + lat("Album");
    const ReadCase cases[] = {
        {"v2.3 unsynchronised as a whole", tagOf(3, unsync(frames23), 0x80),
         "\u00FF\u00FF"
         "a",
         "Album", "", 0},
        {"v2.4 unsynchronised per frame, grouped", tagOf(4, unsynced + grouped),
         "\u00FF\u00FF"
         "a",
         "Album", "", 0},
        {"v2.4 unsynchronised as a whole", tagOf(4, frame24("TPE1", unsync(decoded)), 0x80),
         "\u00FF\u00FF"
         "a",
         "", "", 0},
        {"frame running past the tag", pastEnd, "Artist", "", "", 0},
        {"v2.4 lists of values",
         tagOf(4, frame24("TPE1", lat(z("A") + "B")) +
                      frame24("TCON", "\x03" + z("Rock") + z("Pop")) +
                      frame24("TRCK", lat(z("3") + "4"))),
         "A / B", "", "Rock / Pop", 3},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const TID3v2 t = loaded(c.tag);
        EXPECT_EQ(t.Artist(), c.artist);
        EXPECT_EQ(t.Album(), c.album);
        EXPECT_EQ(t.Genre(), c.genre);
        EXPECT_EQ(t.Track(), c.track);
    }
}

TEST(Id3v2Frames, Version22FramesWithoutADirectCounterpart) {
    auto f22 = [](const std::string& id, const std::string& data) {
        const auto n = uint32_t(data.size());
        return id + char(n >> 16) + char(n >> 8) + char(n) + data;
    };
    const Case c{
        "iTunes podcast, sort and unknown frames",
        f22("PCS", std::string("\0\0\0\x01", 4)) + f22("TDS", lat("Episode")) +
            f22("TGR", lat("Talk")) + f22("WFD", "http://feed/") + f22("TDR", lat("2010")) +
            f22("TCP", lat("1")) + f22("GP1", lat("Group")) + f22("TXY", lat("odd")) +
            f22("WXY", "http://odd/") + f22("CRM", z("owner") + "x") + f22("XYZ", "raw") +
            f22("TT2", lat("Old title")),
        {"PCST value=1", "TDES text=['Episode']", "TCAT text=['Talk']", "WFED url='http://feed/'",
         "TCMP text=['1']", "GRP1 text=['Group']", "TXXX:TXY desc='TXY' text=['odd']",
         "WXXX:WXY desc='WXY' url='http://odd/'"},
        {"TDRL: exists only in ID3v2.4", "CRM: an ID3v2.2 frame", "XYZ: an ID3v2.2 frame"}};
    check(2, c);
}
