#include "media/id3v1.h"
#include "media/mediafile.h"
#include "mediafixtures.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <sys/resource.h>

using namespace fixtures;
namespace fs = std::filesystem;

namespace {

TID3v1 parsed(const std::string& block) {
    TID3v1 t;
    t.Parse(reinterpret_cast<const uint8_t*>(block.data()));
    return t;
}

// Runs `f` while the process may not make any file longer than `limit` bytes, so that
// writes fail as they would on a full disk.
template <typename F> auto withFileSizeLimit(rlim_t limit, F f) {
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    rlimit lim = old;
    lim.rlim_cur = limit;
    setrlimit(RLIMIT_FSIZE, &lim);
    auto result = f();
    setrlimit(RLIMIT_FSIZE, &old);
    return result;
}

} // namespace

TEST(Id3v1, ParsesVariantsTrackAndTrailingRuns) {
    struct Case {
        const char* name;
        std::string block;
        int variant;
        int track;
        std::string comment;
    };
    const std::string c30 = "abcdefghijklmnopqrstuvwxyz0123";
    const Case cases[] = {
        {"1.0, 30-character comment", id3v1Block("T", "", c30), 1, 0, c30},
        {"1.1: zero marker, track 7", id3v1Block("T", "", "hello", 0, 7), 2, 7, "hello"},
        {"1.1: blank marker, track 65", id3v1Block("T", "", "hello", 32, 65), 2, 65, "hello"},
        {"blank marker with blank track is 1.0", id3v1Block("T", "", "hi", 32, 32), 1, 0, "hi"},
        {"zero marker with zero track is 1.0", id3v1Block("T", "", "hi", 0, 0), 1, 0, "hi"},
        {"1.1 comment is 28 characters", id3v1Block("T", "", c30, 0, 3), 2, 3, c30.substr(0, 28)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const TID3v1 t = parsed(c.block);
        EXPECT_TRUE(t.Present());
        EXPECT_EQ(t.Variant(), c.variant);
        EXPECT_EQ(t.Track(), c.track);
        EXPECT_EQ(t.Comment(), c.comment);
    }
}

TEST(Id3v1, KeepsInnerZeroBytesAndTrimsOnlyTheTrailingRun) {
    const TID3v1 t = parsed(id3v1Block(std::string("abc\0def", 7) + std::string(23, ' ')));
    EXPECT_EQ(t.Title(), std::string("abc\0def", 7));
}

TEST(Id3v1, ReadsLatin1AsUtf8) {
    const TID3v1 t = parsed(id3v1Block("Caf\xE9", "\xC4rzte"));
    EXPECT_EQ(t.Title(), "Caf\u00E9");
    EXPECT_EQ(t.Artist(), "\u00C4rzte");
}

TEST(Id3v1, GenreNames) {
    TID3v1 t;
    t.SetGenreIndex(17);
    EXPECT_EQ(t.GenreName(), "Rock");
    t.SetGenreIndex(147);
    EXPECT_EQ(t.GenreName(), "Synthpop");
    t.SetGenreIndex(133);
    EXPECT_EQ(t.GenreName(), "Negerpunk");
    for (int i : {148, 200, 255}) {
        t.SetGenreIndex(uint8_t(i));
        EXPECT_EQ(t.GenreName(), "") << i;
    }
    EXPECT_EQ(GenreIndexOf("hip-hop"), 7);
    EXPECT_EQ(GenreIndexOf("No Such Genre"), -1);
}

TEST(Id3v1, SettersTrimTrailingControlsAndCutToWidth) {
    TID3v1 t;
    t.SetTitle("  Title \t\n");
    EXPECT_EQ(t.Title(), "  Title");
    t.SetYear("199999");
    EXPECT_EQ(t.Year(), "1999");
    t.SetArtist(std::string(40, 'x'));
    EXPECT_EQ(t.Artist(), std::string(30, 'x'));
    t.SetAlbum(std::string(29, 'a') + "\u00E9\u00E9"); // width counts characters
    EXPECT_EQ(t.Album(), std::string(29, 'a') + "\u00E9");
}

TEST(Id3v1, RenderParseSymmetry) {
    TID3v1 t;
    t.SetTitle("Song \u00E9");
    t.SetArtist("Artist");
    t.SetAlbum("Album");
    t.SetYear("2001");
    t.SetComment("abcdefghijklmnopqrstuvwxyz0123"); // 30 characters
    t.SetTrack(5);
    t.SetGenreIndex(13);
    const auto block = t.Render();
    EXPECT_EQ(block[125], 0);
    EXPECT_EQ(block[126], 5);
    const TID3v1 back = parsed(std::string(block.begin(), block.end()));
    EXPECT_EQ(back.Variant(), 2);
    EXPECT_EQ(back.Track(), 5);
    EXPECT_EQ(back.Comment(), "abcdefghijklmnopqrstuvwxyz01");
    EXPECT_EQ(back.Title(), "Song \u00E9");
    EXPECT_EQ(back.GenreIndex(), 13);

    t.SetTrack(0); // without a track the 1.0 form keeps all 30 comment characters
    const auto b10 = t.Render();
    EXPECT_EQ(parsed(std::string(b10.begin(), b10.end())).Comment(),
              "abcdefghijklmnopqrstuvwxyz0123");
}

TEST(Id3v1, ShortFilesFailToLoadStripAndSave) {
    TempDir dir;
    for (size_t size : {0, 1, 127}) {
        const std::string f = dir.file("short.mp3");
        writeFile(f, std::string(size, 'x'));
        TID3v1 t;
        EXPECT_FALSE(t.Load(f)) << size;
        EXPECT_FALSE(t.Strip(f)) << size;
        EXPECT_FALSE(t.Save(f)) << size;
        EXPECT_EQ(readFile(f), std::string(size, 'x'));
    }
    TID3v1 t;
    EXPECT_FALSE(t.Load(dir.file("missing.mp3")));
}

TEST(Id3v1, SaveAppendsOrOverwritesInPlaceAndStripRemoves) {
    TempDir dir;
    const std::string f = dir.file("a.mp3");
    const std::string audioBytes = cbrAudio(3);
    writeFile(f, audioBytes);
    TID3v1 t;
    ASSERT_TRUE(t.Load(f));
    EXPECT_FALSE(t.Present());
    t.SetTitle("First");
    ASSERT_TRUE(t.Save(f));
    EXPECT_EQ(fs::file_size(f), audioBytes.size() + 128);
    t.SetTitle("Second");
    t.SetTrack(9);
    ASSERT_TRUE(t.Save(f));
    EXPECT_EQ(fs::file_size(f), audioBytes.size() + 128);
    TID3v1 back;
    ASSERT_TRUE(back.Load(f));
    EXPECT_TRUE(back.Present());
    EXPECT_EQ(back.Title(), "Second");
    EXPECT_EQ(back.Track(), 9);
    ASSERT_TRUE(back.Strip(f));
    EXPECT_EQ(readFile(f), audioBytes);
    EXPECT_TRUE(back.Strip(f)); // nothing to remove is no failure
    EXPECT_EQ(readFile(f), audioBytes);
}

TEST(Id3v1, SaveMakesAReadOnlyFileWritable) {
    TempDir dir;
    const std::string f = dir.file("ro.mp3");
    writeFile(f, cbrAudio(2));
    fs::permissions(f, fs::perms::owner_read | fs::perms::group_read);
    TID3v1 t;
    t.SetTitle("x");
    ASSERT_TRUE(t.Save(f));
    EXPECT_NE(fs::status(f).permissions() & fs::perms::owner_write, fs::perms::none);
}

TEST(Id3v1, FailedAppendLeavesTheFileAsItWas) {
    TempDir dir;
    const std::string f = dir.file("full.mp3");
    const std::string original = cbrAudio(3);
    writeFile(f, original);
    TID3v1 t;
    t.SetTitle("does not fit");
    // No room at all, and room for 50 of the 128 bytes (the write is cut short: the
    // part written must go again).
    for (rlim_t room : {rlim_t(0), rlim_t(50)}) {
        SCOPED_TRACE(room);
        media::SaveReport report;
        const bool saved =
            withFileSizeLimit(original.size() + room, [&] { return t.Save(f, &report); });
        EXPECT_FALSE(saved);
        EXPECT_FALSE(report.error.empty());
        EXPECT_EQ(readFile(f), original);
    }
}
