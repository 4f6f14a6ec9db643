#include "media/id3v2.h"
#include "media/mediafile.h"
#include "mediafixtures.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <sys/resource.h>
#include <unistd.h>

using namespace fixtures;
namespace fs = std::filesystem;

namespace {

// Loads a tag followed by some audio from memory.
TID3v2 loaded(const std::string& tag) {
    const std::string bytes = tag + cbrAudio(2);
    media::MemorySource src(bytes);
    TID3v2 t;
    EXPECT_TRUE(t.Load(src));
    return t;
}

TID3v2 withFrame(const std::string& id, const std::string& data, int major = 3) {
    return loaded(id3v2Tag(major, {{id, data}}));
}

std::string utf16le(const std::u16string& s) {
    std::string out;
    for (char16_t c : s) {
        out += char(c & 0xFF);
        out += char(c >> 8);
    }
    return out;
}

std::string utf16be(const std::u16string& s) {
    std::string out;
    for (char16_t c : s) {
        out += char(c >> 8);
        out += char(c & 0xFF);
    }
    return out;
}

} // namespace

TEST(Id3v2, TrackGenreCommentAndLinkRules) {
    struct Case {
        const char* id;
        std::string data;
        std::string field; // which field to check
        std::string expected;
    };
    const Case cases[] = {
        {"TRCK", text(0, "3/12"), "track", "3"},
        {"TRCK", text(0, "A1"), "track", "0"},
        {"TRCK", text(0, "300"), "track", "44"},
        {"TRCK", text(0, " 7 "), "track", "7"},
        {"TCON", text(0, "(13)"), "genre", ""},
        {"TCON", text(0, "(13)Pop"), "genre", "Pop"},
        {"TCON", text(0, "(17)(18)Beat"), "genre", "Beat"},
        {"TCON", text(0, "Rock"), "genre", "Rock"},
        {"COMM", text(0, std::string("eng\0The text", 12)), "comment", "The text"},
        {"COMM", text(0, std::string("engdesc\0The text", 16)), "comment", "The text"},
        {"COMM",
         text(1, "eng" + utf16le(u"\uFEFFd") + std::string(2, '\0') + utf16le(u"\uFEFFT\u00E9xt")),
         "comment", "T\u00E9xt"},
        {"WXXX", text(0, std::string("\0http://a.b/", 12)), "link", "http://a.b/"},
        {"WXXX", text(1, utf16le(u"\uFEFFdesc") + std::string(2, '\0') + "http://x.y/\xE9"), "link",
         "http://x.y/\u00E9"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.id) + " " + c.expected);
        const TID3v2 t = withFrame(c.id, c.data);
        const std::string got = c.field == "track"     ? std::to_string(t.Track())
                                : c.field == "genre"   ? t.Genre()
                                : c.field == "comment" ? t.Comment()
                                                       : t.Link();
        EXPECT_EQ(got, c.expected);
    }
}

TEST(Id3v2, DecodesTextByItsEncodingByte) {
    struct Case {
        const char* name;
        std::string data;
        std::string expected;
    };
    const Case cases[] = {
        {"Latin-1", text(0, "Caf\xE9"), "Caf\u00E9"},
        {"UTF-16 LE with BOM", text(1, utf16le(u"\uFEFFCaf\u00E9 \u65E5")), "Caf\u00E9 \u65E5"},
        {"UTF-16 BE with BOM", text(1, utf16be(u"\uFEFFCaf\u00E9")), "Caf\u00E9"},
        {"UTF-16 without BOM is little-endian", text(1, utf16le(u"Abc")), "Abc"},
        {"UTF-16BE", text(2, utf16be(u"Caf\u00E9")), "Caf\u00E9"},
        {"UTF-8", text(3, "Caf\xC3\xA9"), "Caf\u00E9"},
        {"broken UTF-8 becomes U+FFFD", text(3, "a\xC3z"), "a\uFFFDz"},
        {"odd UTF-16 byte becomes U+FFFD", text(1, utf16le(u"\uFEFFab") + "c"), "ab\uFFFD"},
        {"values keep their separator", text(0, std::string("a\0b", 3)), std::string("a\0b", 3)},
        {"trimmed at both ends", text(0, std::string("\0 x y \0\0", 8)), "x y"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(withFrame("TIT2", c.data).Title(), c.expected);
    }
}

TEST(Id3v2, FrameLoop) {
    // A text longer than 250 bytes is read whole and the next frame is still found.
    const std::string longText(600, 'L');
    TID3v2 t = loaded(id3v2Tag(3, {{"TIT2", text(0, longText)}, {"TPE1", text(0, "Artist")}}));
    EXPECT_EQ(t.Title(), longText);
    EXPECT_EQ(t.Artist(), "Artist");

    // A later frame of the same ID replaces an earlier one; padding ends the loop.
    std::string tag = id3v2Tag(3, {{"TIT2", text(0, "one")}, {"TIT2", text(0, "two")}}, 20);
    t = loaded(tag + "TALB");
    EXPECT_EQ(t.Title(), "two");
    EXPECT_EQ(t.Album(), "");

    // A lower-case first character stops the loop as well.
    t = loaded(id3v2Tag(3, {{"TIT2", text(0, "a")}, {"xxxx", "zz"}, {"TPE1", text(0, "b")}}));
    EXPECT_EQ(t.Title(), "a");
    EXPECT_EQ(t.Artist(), "");
}

TEST(Id3v2, VersionsAndSizes) {
    // Version 4: synchsafe frame sizes, TDRC gives the year.
    const std::string big(200, 'b');
    TID3v2 t = loaded(
        id3v2Tag(4, {{"TIT2", text(3, big)}, {"TDRC", text(0, "2004")}, {"TPE1", text(0, "A")}}));
    EXPECT_EQ(t.MajorVersion(), 4);
    EXPECT_EQ(t.Title(), big);
    EXPECT_EQ(t.Year(), "2004");
    EXPECT_EQ(t.Artist(), "A");

    // Version 2: present with its size, no fields.
    const std::string v22 = id3v2Tag(2, {{"TT2", text(0, "Title")}});
    t = loaded(v22);
    EXPECT_TRUE(t.Present());
    EXPECT_EQ(t.MajorVersion(), 2);
    EXPECT_EQ(t.TagSize(), int64_t(v22.size()));
    EXPECT_EQ(t.Title(), "");

    // A stated size beyond the file gives TagSize 0 and no fields.
    std::string huge = id3v2Tag(3, {{"TIT2", text(0, "T")}});
    huge[6] = 0x7F;
    media::MemorySource src(huge);
    ASSERT_TRUE(t.Load(src));
    EXPECT_TRUE(t.Present());
    EXPECT_EQ(t.TagSize(), 0);
    EXPECT_EQ(t.Title(), "");

    // Fewer than 10 bytes cannot be read.
    media::MemorySource tiny(std::string_view("ID3\x03", 4));
    EXPECT_FALSE(t.Load(tiny));
}

TEST(Id3v2, SkipsExtendedHeaders) {
    std::string v3 = id3v2Tag(3, {{"TIT2", text(0, "v3")}}, 0, 0x40);
    v3.insert(10, std::string("\0\0\0\x06\0\0\0\0\0\0", 10));
    v3[9] = char(v3[9] + 10);
    EXPECT_EQ(loaded(v3).Title(), "v3");

    std::string v4 = id3v2Tag(4, {{"TIT2", text(0, "v4")}}, 0, 0x40);
    v4.insert(10, std::string("\0\0\0\x06\x01\0", 6));
    v4[9] = char(v4[9] + 6);
    EXPECT_EQ(loaded(v4).Title(), "v4");
}

TEST(Id3v2, RenderLayout) {
    TID3v2 t;
    EXPECT_EQ(t.Render({}), std::string("ID3\x03\0\0\0\0\0\0", 10)); // bare header

    t.SetComment("Hi");
    std::string tag = t.Render({});
    EXPECT_EQ(tag.substr(10), std::string("COMM\0\0\0\x07\0\0\0eng\0Hi", 17));

    // Characters beyond Latin-1 switch the frame to UTF-16 with BOM.
    TID3v2 u;
    u.SetTitle("\u65E5");
    EXPECT_EQ(u.Render({}).substr(10), std::string("TIT2\0\0\0\x05\0\0\x01\xFF\xFE\xE5\x65", 15));

    // 20000 bytes of frames: size bytes 0, 1, 28, 32.
    TID3v2 big;
    big.SetTitle(std::string(20000 - 11, 'x'));
    tag = big.Render({});
    EXPECT_EQ(tag.substr(6, 4), std::string("\x00\x01\x1C\x20", 4));
}

TEST(Id3v2, RenderLoadSymmetry) {
    TID3v2 t;
    t.SetTitle("Title \u00E9");
    t.SetArtist("\u041A\u0438\u043D\u043E");
    t.SetAlbum("Album");
    t.SetTrack(12);
    t.SetYear("1999");
    t.SetGenre("Rock");
    t.SetComment("Comment \u65E5\u672C");
    t.SetComposer("Composer");
    t.SetEncoder("Encoder");
    t.SetCopyright("(C)");
    t.SetLanguage("eng");
    t.SetLink("http://example.org/x");
    const TID3v2 b = loaded(t.Render({}));
    EXPECT_EQ(b.MajorVersion(), 3);
    EXPECT_EQ(b.Title(), t.Title());
    EXPECT_EQ(b.Artist(), t.Artist());
    EXPECT_EQ(b.Album(), t.Album());
    EXPECT_EQ(b.Track(), 12);
    EXPECT_EQ(b.Year(), t.Year());
    EXPECT_EQ(b.Genre(), t.Genre());
    EXPECT_EQ(b.Comment(), t.Comment());
    EXPECT_EQ(b.Composer(), t.Composer());
    EXPECT_EQ(b.Encoder(), t.Encoder());
    EXPECT_EQ(b.Copyright(), t.Copyright());
    EXPECT_EQ(b.Language(), t.Language());
    EXPECT_EQ(b.Link(), t.Link());
}

TEST(Id3v2, SettersTrimBothEnds) {
    TID3v2 t;
    t.SetTitle("\t  x  \n");
    EXPECT_EQ(t.Title(), "x");
}

namespace {

const std::string kPicture = std::string("\x89PNG\r\n\x1A\n", 8) + std::string(3000, '\xAB');

// Old tags of each version with a picture and a frame this program does not know.
std::string oldTag(int major) {
    if (major == 2)
        return id3v2Tag(2,
                        {{"TT2", text(0, "Old title")},
                         {"TP1", text(0, "Old artist")},
                         {"TRK", text(0, "02/10")},
                         {"PIC", text(0, "PNG") + std::string("\x03", 1) + "cover" +
                                     std::string(1, '\0') + kPicture},
                         {"TXX", text(0, std::string("MOOD\0calm", 9))}},
                        64);
    if (major == 3)
        return id3v2Tag(3,
                        {{"TIT2", text(1, utf16le(u"\uFEFFOld title"))},
                         {"TPE1", text(0, "Old artist")},
                         {"TRCK", text(0, "02/10")},
                         {"TCON", text(0, "(17)")},
                         {"APIC", text(0, std::string("image/png\0\x03", 11)) + "cover" +
                                      std::string(1, '\0') + kPicture},
                         {"COMM", text(0, std::string("engiTunNORM\0 0001 0002", 22))},
                         {"TXXX", text(0, std::string("MOOD\0calm", 9))},
                         {"PRIV", std::string("owner\0\x01\x02\x03", 9)}},
                        128);
    return id3v2Tag(4,
                    {{"TIT2", text(3, "Old title")},
                     {"TPE1", text(3, "Old artist \xC3\xA9")},
                     {"TRCK", text(0, "02/10")},
                     {"TDRC", text(0, "2013-06-14")},
                     {"APIC", text(3, std::string("image/png\0\x03", 11)) + "c\xC3\xB6ver" +
                                  std::string(1, '\0') + kPicture},
                     {"TXXX", text(3, std::string("MOOD\0ruhig \xC3\xA9", 14))},
                     {"TSOP", text(3, "Sort \xC3\xA9")}},
                    128);
}

const char* kMutagenDump = R"(
import sys, mutagen.id3
t = mutagen.id3.ID3(sys.argv[1], load_v1=False)
print("version", t.version[1])
for k in sorted(t.keys()):
    f = t[k]
    if hasattr(f, "data"):
        print(k, getattr(f, "mime", ""), getattr(f, "type", ""), getattr(f, "desc", ""),
              len(f.data), f.data[:8].hex())
    elif hasattr(f, "url"):
        print(k, f.url)
    else:
        print(k, "|".join(str(x) for x in f.text))
)";

} // namespace

TEST(Id3v2, SaveCarriesOtherFramesFromEveryVersion) {
    const bool mutagen = mutagenAvailable();
    for (int major : {2, 3, 4}) {
        SCOPED_TRACE("old tag version " + std::to_string(major));
        TempDir dir;
        const std::string f = dir.file("song.mp3");
        const std::string music = cbrAudio(10);
        writeFile(f, oldTag(major) + music);

        TID3v2 t;
        ASSERT_TRUE(t.Load(f));
        t.SetTitle("Neuer Titel \u65E5\u672C");
        t.SetComment("Latin comment");
        ASSERT_TRUE(t.Save(f));

        const std::string saved = readFile(f);
        EXPECT_EQ(saved.substr(0, 4), "ID3\x03");
        TID3v2 back;
        ASSERT_TRUE(back.Load(f));
        EXPECT_EQ(saved.substr(size_t(back.TagSize())), music); // audio untouched
        EXPECT_EQ(back.Title(), "Neuer Titel \u65E5\u672C");
        EXPECT_EQ(back.Comment(), "Latin comment");
        EXPECT_EQ(back.Track(), 2);
        if (major != 2) {
            EXPECT_EQ(back.Artist(), t.Artist());
        }
        EXPECT_FALSE(fs::exists(f + "~"));

        if (!mutagen)
            continue;
        const std::string dump = runPython(kMutagenDump, f);
        EXPECT_NE(dump.find("version 3"), std::string::npos) << dump;
        EXPECT_NE(dump.find("TIT2 Neuer Titel \u65E5\u672C"), std::string::npos) << dump;
        EXPECT_NE(dump.find("COMM::eng Latin comment"), std::string::npos) << dump;
        EXPECT_NE(dump.find("TRCK 02/10"), std::string::npos) << dump;
        EXPECT_NE(dump.find("image/png PictureType.COVER_FRONT"), std::string::npos) << dump;
        EXPECT_NE(dump.find(" 3008 89504e470d0a1a0a"), std::string::npos) << dump;
        EXPECT_NE(dump.find("TXXX:MOOD"), std::string::npos) << dump;
        if (major == 3) {
            EXPECT_NE(dump.find("TCON Rock"), std::string::npos) << dump; // (17), kept
            EXPECT_NE(dump.find("COMM:iTunNORM:eng"), std::string::npos) << dump;
            EXPECT_NE(dump.find("PRIV:owner"), std::string::npos) << dump;
        }
        if (major == 4) {
            EXPECT_NE(dump.find("TPE1 Old artist \u00E9"), std::string::npos) << dump;
            EXPECT_NE(dump.find("TDRC 2013-06-14"), std::string::npos) << dump;
            EXPECT_NE(dump.find("TXXX:MOOD ruhig \u00E9"), std::string::npos) << dump;
            EXPECT_NE(dump.find("TSOP Sort \u00E9"), std::string::npos) << dump;
            EXPECT_NE(dump.find("APIC:c\u00F6ver"), std::string::npos) << dump;
        }
        if (major == 2) {
            EXPECT_NE(dump.find("TPE1 Old artist"), std::string::npos) << dump;
        }
    }
}

TEST(Id3v2, ClearedFieldRemovesItsFrame) {
    TempDir dir;
    const std::string f = dir.file("song.mp3");
    writeFile(f, oldTag(3) + cbrAudio(4));
    TID3v2 t;
    ASSERT_TRUE(t.Load(f));
    t.SetArtist("");
    ASSERT_TRUE(t.Save(f));
    TID3v2 back;
    ASSERT_TRUE(back.Load(f));
    EXPECT_EQ(back.Artist(), "");
    EXPECT_EQ(back.Title(), "Old title");
}

TEST(Id3v2, SaveOnAFileWithoutTagAndOnAReadOnlyFile) {
    TempDir dir;
    const std::string f = dir.file("plain.mp3");
    const std::string music = cbrAudio(5);
    writeFile(f, music);
    fs::permissions(f, fs::perms::owner_read | fs::perms::group_read);
    TID3v2 t;
    ASSERT_TRUE(t.Load(f));
    EXPECT_FALSE(t.Present());
    t.SetArtist("Somebody");
    ASSERT_TRUE(t.Save(f));
    EXPECT_NE(fs::status(f).permissions() & fs::perms::owner_write, fs::perms::none);
    const std::string saved = readFile(f);
    EXPECT_EQ(saved.substr(saved.size() - music.size()), music);
    TID3v2 back;
    ASSERT_TRUE(back.Load(f));
    EXPECT_EQ(back.Artist(), "Somebody");
}

TEST(Id3v2, TagSizeBeyondTheFileKeepsTheOldBytesBehindTheNewTag) {
    TempDir dir;
    const std::string f = dir.file("broken.mp3");
    std::string old = id3v2Tag(3, {{"TIT2", text(0, "T")}}) + cbrAudio(2);
    old[6] = 0x7F;
    writeFile(f, old);
    TID3v2 t;
    t.SetTitle("New");
    ASSERT_TRUE(t.Save(f));
    const std::string saved = readFile(f);
    EXPECT_EQ(saved.substr(saved.size() - old.size()), old);
}

TEST(Id3v2, FailedSaveLeavesTheOriginalIntact) {
    TempDir dir;
    const std::string f = dir.file("song.mp3");
    const std::string original = oldTag(4) + cbrAudio(20);
    writeFile(f, original);
    TID3v2 t;
    ASSERT_TRUE(t.Load(f));
    t.SetTitle("x");

    // Disk full: the temporary file cannot be written completely.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit lim = old;
    lim.rlim_cur = 4000;
    setrlimit(RLIMIT_FSIZE, &lim);
    const bool saved = t.Save(f);
    setrlimit(RLIMIT_FSIZE, &old);
    EXPECT_FALSE(saved);
    EXPECT_EQ(readFile(f), original);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);

    // The file is gone.
    EXPECT_FALSE(t.Save(dir.file("missing.mp3")));
    EXPECT_FALSE(fs::exists(dir.file("missing.mp3")));

    // A folder we may not write into (only meaningful without root rights).
    if (geteuid() != 0) {
        fs::permissions(dir.path(), fs::perms::owner_read | fs::perms::owner_exec);
        EXPECT_FALSE(t.Save(f));
        fs::permissions(dir.path(), fs::perms::owner_all);
        EXPECT_EQ(readFile(f), original);
    }
}

TEST(Id3v2, AnExistingTildeFileIsNotOverwritten) {
    TempDir dir;
    const std::string f = dir.file("song.mp3");
    writeFile(f, cbrAudio(3));
    writeFile(f + "~", "somebody's backup");
    TID3v2 t;
    t.SetTitle("x");
    ASSERT_TRUE(t.Save(f));
    EXPECT_EQ(readFile(f + "~"), "somebody's backup");
}

TEST(Id3v2, RenderOverDamagedOldFrames) {
    // Empty and truncated frames of the old tag (found by fuzzing) neither throw nor
    // stop the new tag from being built.
    const std::string old =
        id3v2Tag(3, {{"COMM", ""}, {"WXXX", ""}, {"COMM", text(1, "e")}, {"TIT2", text(0, "t")}});
    TID3v2 t;
    media::MemorySource src(old);
    ASSERT_TRUE(t.Load(src, "f"));
    t.SetComment("new");
    t.SetLink("http://x/");
    const std::string tag = t.Render(old, "f");
    ASSERT_FALSE(tag.empty());
    const TID3v2 back = loaded(tag);
    EXPECT_EQ(back.Comment(), "new");
    EXPECT_EQ(back.Link(), "http://x/");
    EXPECT_EQ(back.Title(), "t");
}

TEST(Id3v2, KeptFieldWhoseFrameRunsPastTheTagIsWrittenAnew) {
    std::string file = id3v2Tag(3, {{"TIT2", text(0, "abc")}, {"TPE1", text(0, "a")}}) +
                       std::string(40, 'z') + cbrAudio(2);
    file[17] = 30; // TIT2 now claims 30 bytes: it runs past the tag into what follows
    media::MemorySource src(file);
    TID3v2 t;
    ASSERT_TRUE(t.Load(src, "f"));
    ASSERT_EQ(t.Title().substr(0, 3), "abc");
    t.SetArtist("changed");
    const std::string tag = t.Render(file, "f");
    const TID3v2 back = loaded(tag);
    EXPECT_EQ(back.Title(), t.Title());
    EXPECT_EQ(back.Artist(), "changed");
}
