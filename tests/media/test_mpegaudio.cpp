#include "media/mediafile.h"
#include "media/mpegaudio.h"
#include "mediafixtures.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>

using namespace fixtures;
namespace fs = std::filesystem;

namespace {

// Counts the bytes the analysis reads.
class CountingSource : public media::ByteSource {
public:
    explicit CountingSource(std::string_view bytes) : m_inner(bytes) {}
    int64_t size() const override { return m_inner.size(); }
    int64_t readAt(int64_t pos, void* buffer, int64_t count) override {
        const int64_t n = m_inner.readAt(pos, buffer, count);
        if (n > 0)
            bytesRead += n;
        return n;
    }
    int64_t bytesRead = 0;

private:
    media::MemorySource m_inner;
};

bool analyse(TMPEGaudio& a, const std::string& bytes) {
    media::MemorySource src(bytes);
    return a.Analyse(src);
}

// A first frame carrying a Xing header (MPEG 1 stereo: 36 bytes behind the header).
std::string xingFrame(int32_t frames, int32_t bytes, const std::string& encoder) {
    std::string f = audio(frameHeader(), 417, 1);
    std::string x = "Xing";
    x += std::string("\0\0\0\x0F", 4);
    for (int32_t v : {frames, bytes})
        for (int s = 24; s >= 0; s -= 8)
            x += char((v >> s) & 0xFF);
    x += std::string(103, '\0');
    x += char(57); // quality at +119
    x += encoder;
    f.replace(36, x.size(), x);
    return f;
}

} // namespace

TEST(MpegAudio, HeaderTest) {
    struct Case {
        const char* name;
        std::string header;
        bool accepted;
    };
    const Case cases[] = {
        {"MPEG 1 Layer III", frameHeader(), true},
        {"MPEG 2.5 Layer I", frameHeader(0, 3, 1, 2), true},
        {"free format", frameHeader(3, 1, 0), false},
        {"bit-rate index 15", frameHeader(3, 1, 15), false},
        {"sample-rate index 3", frameHeader(3, 1, 9, 3), false},
        {"reserved version", frameHeader(1, 1, 9), false},
        {"reserved layer", frameHeader(3, 0, 9), false},
        {"emphasis 2", frameHeader(3, 1, 9, 0, false, 0x42), false},
        {"no sync", std::string("\xFF\xC0\x90\x40", 4), false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TMPEGaudio::IsFrameHeader(reinterpret_cast<const uint8_t*>(c.header.data())),
                  c.accepted)
            << c.name;
}

TEST(MpegAudio, ConstantBitRateFile) {
    std::string bytes = cbrAudio(2398);
    bytes.resize(1000000, '\0');
    TMPEGaudio a;
    ASSERT_TRUE(analyse(a, bytes));
    const FrameInfo& f = a.Frame();
    EXPECT_TRUE(f.Found);
    EXPECT_EQ(f.Offset, 0);
    EXPECT_EQ(f.FrameLength, 417);
    EXPECT_EQ(a.BitRateKbps(), 128);
    EXPECT_EQ(a.SampleRateHz(), 44100);
    EXPECT_DOUBLE_EQ(a.DurationSeconds(), 62.5);
    EXPECT_EQ(a.VersionText(), "MPEG 1");
    EXPECT_EQ(a.Layer(), 3);
    EXPECT_EQ(a.ChannelModeText(), "Joint Stereo");
    EXPECT_EQ(a.EmphasisText(), "None");
    EXPECT_EQ(a.EncoderText(), "FhG");
    EXPECT_FALSE(a.Vbr().Found);
}

TEST(MpegAudio, SkipsAHeaderWithoutSuccessor) {
    // A lone valid header, then the real stream three bytes later.
    const std::string bytes = frameHeader() + std::string(3, '\0') + cbrAudio(20);
    TMPEGaudio a;
    ASSERT_TRUE(analyse(a, bytes));
    EXPECT_EQ(a.Frame().Offset, 7);
}

TEST(MpegAudio, XingHeader) {
    struct Case {
        int32_t frames, bytes;
        std::string encoder;
        uint16_t kbps;
        double seconds;
        std::string encoderText;
    };
    const double fileSeconds = (417.0 * 20) * 8 / 128 / 1000;
    const Case cases[] = {
        {1000, 417000, "LAME3.90", 128, 1000 * 144 * 8 / 44100.0, "LAME 3.90"},
        {1000, 417000, "LAME3.9x", 128, 1000 * 144 * 8 / 44100.0, "LAME"},
        {0, 417000, "LAME3.97", 128, fileSeconds, "LAME 3.97"}, // no frame count: table and size
        {500, 100000, std::string("\0\0\0\0\0\0\0\0", 8), 61, 500 * 144 * 8 / 44100.0, "Xing"},
        {1000, 417000, "GOGO-1.0", 128, 1000 * 144 * 8 / 44100.0, "GoGo"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.encoderText);
        const std::string bytes = xingFrame(c.frames, c.bytes, c.encoder) + cbrAudio(19);
        TMPEGaudio a;
        ASSERT_TRUE(analyse(a, bytes));
        EXPECT_TRUE(a.Vbr().Found);
        EXPECT_EQ(a.Vbr().Signature, "Xing");
        EXPECT_EQ(a.Vbr().Quality, 57);
        EXPECT_EQ(a.BitRateKbps(), c.kbps);
        EXPECT_DOUBLE_EQ(a.DurationSeconds(), c.seconds);
        EXPECT_EQ(a.EncoderText(), c.encoderText);
    }
}

TEST(MpegAudio, VbriHeader) {
    std::string first = audio(frameHeader(), 417, 1);
    std::string v = "VBRI";
    v += std::string("\0\x01\0\0\0", 5); // version, delay, quality high byte
    v += char(75);
    v += std::string("\0\x06\x5D\xD0", 4); // 417232 bytes
    v += std::string("\0\0\x03\xE8", 4);   // 1000 frames
    first.replace(36, v.size(), v);
    TMPEGaudio a;
    ASSERT_TRUE(analyse(a, first + cbrAudio(19)));
    EXPECT_EQ(a.Vbr().Signature, "VBRI");
    EXPECT_EQ(a.Vbr().Quality, 75);
    EXPECT_EQ(a.Vbr().ByteCount, 417232);
    EXPECT_EQ(a.Vbr().FrameCount, 1000);
    EXPECT_EQ(a.EncoderText(), "FhG");
}

TEST(MpegAudio, TailEncoderTags) {
    struct Case {
        std::string mark;
        bool withId3v1;
        std::string expected;
    };
    const Case cases[] = {
        {"LAME3.96", false, "LAME 3.96"},
        {"LAME3.96", true, "LAME 3.96"},
        {"GOGO", true, "GoGo"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mark);
        std::string bytes = cbrAudio(20);
        bytes.replace(bytes.size() - 300, c.mark.size(), c.mark);
        if (c.withId3v1)
            bytes += id3v1Block("t");
        TMPEGaudio a;
        ASSERT_TRUE(analyse(a, bytes));
        EXPECT_EQ(a.EncoderText(), c.expected);
    }
}

TEST(MpegAudio, SearchWindows) {
    // A stated ID3v2 size beyond the file: the search starts at the beginning.
    std::string header = id3v2Tag(3, {});
    header[6] = 0x7F;
    TMPEGaudio a;
    ASSERT_TRUE(analyse(a, header + cbrAudio(20)));
    EXPECT_EQ(a.Tag2().TagSize(), 0);
    EXPECT_TRUE(a.Frame().Found);
    EXPECT_EQ(a.Frame().Offset, 10);

    // No frame pair in the first window: the middle window finds one, offset relative to it.
    const std::string middle = std::string(6000, '\0') + cbrAudio(20);
    ASSERT_TRUE(analyse(a, middle));
    EXPECT_TRUE(a.Frame().Found);
    EXPECT_EQ(a.Frame().Offset, 6000 + 3 * 417 - int(middle.size() / 2));

    // Audio after a real tag is searched from the tag's end.
    const std::string tag = id3v2Tag(3, {{"TIT2", text(0, "x")}}, 5000);
    ASSERT_TRUE(analyse(a, tag + cbrAudio(20)));
    EXPECT_EQ(a.Frame().Offset, 0);
    EXPECT_EQ(a.Tag2().Title(), "x");
}

TEST(MpegAudio, FailuresAndFilesWithoutAudio) {
    TMPEGaudio a;
    // Shorter than an ID3v1 tag: false, everything cleared.
    EXPECT_FALSE(analyse(a, cbrAudio(1).substr(0, 100)));
    EXPECT_EQ(a.FileSize(), 0);
    EXPECT_FALSE(a.Frame().Found);
    EXPECT_EQ(a.VersionText(), "MPEG ?");
    EXPECT_EQ(a.EncoderText(), "Unknown");
    EXPECT_EQ(a.ChannelModeText(), "Unknown");
    EXPECT_EQ(a.EmphasisText(), "Unknown");

    // No audio: true, tags cleared too.
    ASSERT_TRUE(analyse(a, id3v2Tag(3, {{"TIT2", text(0, "x")}}) + std::string(5000, '\0') +
                               id3v1Block("title")));
    EXPECT_FALSE(a.Frame().Found);
    EXPECT_FALSE(a.Tag1().Present());
    EXPECT_FALSE(a.Tag2().Present());
    EXPECT_EQ(a.FileSize(), 0);

    // A constant-bit-rate file too short for the tail window fails with the frame kept.
    EXPECT_FALSE(analyse(a, cbrAudio(5)));
    EXPECT_TRUE(a.Frame().Found);

    // A missing file.
    EXPECT_FALSE(a.Analyse("/nonexistent/rendolo/file.mp3"));
}

TEST(MpegAudio, ReadsOnlyTheTagsAndThreeWindows) {
    // A large picture in the ID3v2 tag is skipped without reading it.
    const std::string picture(500000, '\x11');
    const std::string tag =
        id3v2Tag(3, {{"APIC", text(0, std::string("image/png\0\x03\0", 12)) + picture},
                     {"TIT2", text(0, "t")}});
    CountingSource src(tag + cbrAudio(100) + id3v1Block("t"));
    TMPEGaudio a;
    ASSERT_TRUE(a.Analyse(src));
    EXPECT_TRUE(a.Frame().Found);
    EXPECT_EQ(a.Tag2().Title(), "t");
    EXPECT_LE(src.bytesRead, 128 + 10 + 2 * 10 + 2 + 3 * TMPEGaudio::WindowSize);
}

TEST(MpegAudio, FiveGigabyteSparseFile) {
    TempDir dir;
    const std::string f = dir.file("big.mp3");
    {
        std::ofstream out(f, std::ios::binary);
        out << id3v2Tag(3, {{"TIT2", text(0, "Big")}}) << cbrAudio(20);
    }
    const uintmax_t size = 5ull * 1000 * 1000 * 1000;
    std::error_code ec;
    fs::resize_file(f, size - 128, ec);
    if (ec)
        GTEST_SKIP() << "cannot make a sparse file here";
    {
        std::ofstream out(f, std::ios::binary | std::ios::app);
        out << id3v1Block("Tail");
    }
    TMPEGaudio a;
    ASSERT_TRUE(a.Analyse(f));
    EXPECT_EQ(a.FileSize(), int64_t(size));
    EXPECT_TRUE(a.Frame().Found);
    EXPECT_EQ(a.Tag1().Title(), "Tail");
    EXPECT_EQ(a.Tag2().Title(), "Big");
    EXPECT_NEAR(a.DurationSeconds(), double(size - a.Tag2().TagSize()) * 8 / 128000, 1e-6);

    TID3v1& t1 = a.Tag1();
    t1.SetTitle("Changed");
    ASSERT_TRUE(t1.Save(f));
    EXPECT_EQ(fs::file_size(f), size);
    TID3v1 back;
    ASSERT_TRUE(back.Load(f));
    EXPECT_EQ(back.Title(), "Changed");
}
