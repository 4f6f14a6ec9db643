#include "media/mpegaudio.h"

#include "media/mediafile.h"
#include "media/textcodec.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

using namespace media;

namespace {

// kbit/s by version code, layer code and bit-rate index (ISO/IEC 11172-3 and 13818-3;
// MPEG 2.5 shares the MPEG 2 rows).
constexpr uint16_t kMpeg1[4][16] = {
    {},
    {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0},     // Layer III
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, 0},    // Layer II
    {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448, 0}, // Layer I
};
constexpr uint16_t kMpeg2[4][16] = {
    {},
    {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0},
    {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0},
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256, 0},
};
constexpr uint16_t kSampleRates[4][4] = {
    {11025, 12000, 8000, 0}, // MPEG 2.5
    {0, 0, 0, 0},            // reserved
    {22050, 24000, 16000, 0},
    {44100, 48000, 32000, 0},
};
constexpr const char* kVersionTexts[4] = {"MPEG 2.5", "MPEG ?", "MPEG 2", "MPEG 1"};
constexpr const char* kModeTexts[5] = {"Stereo", "Joint Stereo", "Dual Channel", "Mono", "Unknown"};
constexpr const char* kEmphasisTexts[4] = {"None", "50/15 ms", "Unknown", "CCIT J.17"};
constexpr const char* kEncoderNames[7] = {"Unknown", "Xing", "FhG",  "LAME",
                                          "Blade",   "GoGo", "Shine"};

constexpr int kHalfWindow = TMPEGaudio::WindowSize / 2; // 1729, the longest frame
// Room behind a window so that every look beyond what was read finds zero bytes, which
// can never start a frame header.
constexpr int kWindowBuffer = TMPEGaudio::WindowSize + kHalfWindow + 256;

int32_t be32s(const uint8_t* p) {
    return int32_t(uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3]);
}

} // namespace

uint16_t TMPEGaudio::TableBitRate(int versionCode, int layerCode, int bitRateIndex) {
    if (versionCode < 0 || versionCode > 3 || versionCode == 1 || layerCode < 1 || layerCode > 3 ||
        bitRateIndex < 0 || bitRateIndex > 15)
        return 0;
    return versionCode == 3 ? kMpeg1[layerCode][bitRateIndex] : kMpeg2[layerCode][bitRateIndex];
}

uint16_t TMPEGaudio::TableSampleRate(int versionCode, int sampleRateIndex) {
    if (versionCode < 0 || versionCode > 3 || sampleRateIndex < 0 || sampleRateIndex > 3)
        return 0;
    return kSampleRates[versionCode][sampleRateIndex];
}

bool TMPEGaudio::IsFrameHeader(const uint8_t* b) {
    return b[0] == 0xFF && (b[1] & 0xE0) == 0xE0 && ((b[1] >> 3) & 3) != 1 &&
           ((b[1] >> 1) & 3) != 0 && (b[2] >> 4) != 0 && (b[2] >> 4) != 15 &&
           ((b[2] >> 2) & 3) != 3 && (b[3] & 3) != 2;
}

void TMPEGaudio::Clear() {
    m_fileSize = 0;
    m_tailEncoderTag.clear();
    m_vbr = VbrInfo();
    m_frame = FrameInfo();
    m_tag1.Clear();
    m_tag2.Clear();
}

int TMPEGaudio::coefficient() const {
    const bool layer1 = m_frame.LayerCode == 3;
    if (m_frame.VersionCode == 3)
        return layer1 ? 48 : 144;
    return layer1 ? 24 : 72;
}

int TMPEGaudio::paddingSize() const {
    if (!m_frame.Padded)
        return 0;
    return m_frame.LayerCode == 3 ? 4 : 1;
}

void TMPEGaudio::readVbrHeader(const uint8_t* w, int p) {
    m_vbr = VbrInfo();
    if (std::memcmp(w + p, "Xing", 4) == 0) {
        m_vbr.Found = true;
        m_vbr.Signature = "Xing";
        m_vbr.FrameCount = be32s(w + p + 8);
        m_vbr.ByteCount = be32s(w + p + 12);
        m_vbr.Quality = w[p + 119];
        m_vbr.EncoderTag =
            latin1ToUtf8(std::string_view(reinterpret_cast<const char*>(w + p + 120), 8));
    } else if (std::memcmp(w + p, "VBRI", 4) == 0) {
        m_vbr.Found = true;
        m_vbr.Signature = "VBRI";
        m_vbr.Quality = w[p + 9];
        m_vbr.ByteCount = be32s(w + p + 10);
        m_vbr.FrameCount = be32s(w + p + 14);
    }
}

void TMPEGaudio::searchFirstFrame(const uint8_t* w, int /*length*/) {
    m_frame.Found = false;
    for (int i = 0; i <= kHalfWindow; ++i) {
        const uint8_t* b = w + i;
        if (!IsFrameHeader(b))
            continue;
        FrameInfo& f = m_frame;
        std::memcpy(f.HeaderBytes.data(), b, 4);
        f.VersionCode = (b[1] >> 3) & 3;
        f.LayerCode = (b[1] >> 1) & 3;
        f.CrcProtected = (b[1] & 1) == 0;
        f.BitRateIndex = b[2] >> 4;
        f.SampleRateIndex = (b[2] >> 2) & 3;
        f.Padded = (b[2] >> 1) & 1;
        f.PrivateBit = b[2] & 1;
        f.ModeCode = b[3] >> 6;
        f.ModeExtension = (b[3] >> 4) & 3;
        f.CopyrightBit = (b[3] >> 3) & 1;
        f.OriginalBit = (b[3] >> 2) & 1;
        f.EmphasisCode = b[3] & 3;
        const double rate = TableBitRate(f.VersionCode, f.LayerCode, f.BitRateIndex);
        const double hz = TableSampleRate(f.VersionCode, f.SampleRateIndex);
        const auto length =
            uint16_t(int(std::trunc(coefficient() * rate * 1000.0 / hz)) + paddingSize());
        // The successor may start at most a few bytes behind the window; those bytes are
        // zero in the buffer, so they never pass the test.
        if (i + length + 4 <= kWindowBuffer && IsFrameHeader(w + i + length)) {
            f.Found = true;
            f.Offset = i;
            f.FrameLength = length;
            f.ZeroSideInfo = std::all_of(b + 4, b + 10, [](uint8_t c) { return c == 0; });
            const bool mono = f.ModeCode == 3;
            const int sideInfo = f.VersionCode == 3 ? (mono ? 21 : 36) : (mono ? 13 : 21);
            readVbrHeader(w, i + sideInfo);
            return;
        }
    }
    m_vbr = VbrInfo();
}

void TMPEGaudio::searchTailEncoder(const uint8_t* t) {
    for (int k = 0; k <= 2 * int(m_frame.FrameLength); ++k) {
        const int at = WindowSize - 8 - k;
        if (at < 0)
            break; // never before the start of the window
        if (std::memcmp(t + at, "LAME", 4) == 0) {
            m_tailEncoderTag =
                latin1ToUtf8(std::string_view(reinterpret_cast<const char*>(t + at), 8));
            return;
        }
        if (std::memcmp(t + at, "GOGO", 4) == 0) {
            m_tailEncoderTag = "GOGO";
            return;
        }
    }
}

bool TMPEGaudio::Analyse(const std::string& fileName) {
    Clear();
    MediaFile file;
    bool ok = file.open(fileName) && analyseSource(file, fileName);
    if (!m_frame.Found)
        Clear();
    return ok;
}

bool TMPEGaudio::Analyse(ByteSource& source) {
    Clear();
    const bool ok = analyseSource(source, {});
    if (!m_frame.Found)
        Clear();
    return ok;
}

bool TMPEGaudio::analyseSource(ByteSource& source, const std::string& fileName) {
    try {
        return analyseSteps(source, fileName);
    } catch (...) { // out of memory: a failed analysis like any other
        RENDOLO_RETHROW_WHEN_FUZZING();
        return false;
    }
}

bool TMPEGaudio::analyseSteps(ByteSource& source, const std::string& fileName) {
    if (!m_tag1.Load(source) || !m_tag2.Load(source, fileName))
        return false;
    m_fileSize = source.size();

    std::vector<uint8_t> window(kWindowBuffer, 0);
    const int64_t got = source.readAt(m_tag2.TagSize(), window.data(), WindowSize);
    if (got < 0)
        return false;
    searchFirstFrame(window.data(), int(got));

    if (!m_frame.Found && got == WindowSize) {
        std::fill(window.begin(), window.end(), 0);
        const int64_t middle = (m_fileSize - m_tag2.TagSize()) / 2;
        // Near the end of a small file this window may come out short, as the first may.
        const int64_t gotMiddle = source.readAt(middle, window.data(), WindowSize);
        if (gotMiddle < 0)
            return false;
        searchFirstFrame(window.data(), int(gotMiddle));
    }

    if (m_frame.Found && !m_vbr.Found) {
        const int64_t start = m_fileSize - WindowSize - (m_tag1.Present() ? 128 : 0);
        std::fill(window.begin(), window.end(), 0);
        if (start < 0 || !source.readFullyAt(start, window.data(), WindowSize))
            return false;
        searchTailEncoder(window.data());
    }
    return true;
}

uint16_t TMPEGaudio::SampleRateHz() const {
    return TableSampleRate(m_frame.VersionCode, m_frame.SampleRateIndex);
}

uint16_t TMPEGaudio::BitRateKbps() const {
    if (m_vbr.Found && m_vbr.FrameCount > 0) {
        const double perFrame = double(m_vbr.ByteCount) / double(m_vbr.FrameCount);
        const double value =
            std::nearbyint((perFrame - paddingSize()) * SampleRateHz() / coefficient() / 1000.0);
        if (!std::isfinite(value) || std::fabs(value) > 9e18)
            return 0;
        return uint16_t(uint64_t(int64_t(value))); // kept in 16 bits
    }
    return TableBitRate(m_frame.VersionCode, m_frame.LayerCode, m_frame.BitRateIndex);
}

double TMPEGaudio::DurationSeconds() const {
    if (!m_frame.Found)
        return 0.0;
    if (m_vbr.Found && m_vbr.FrameCount > 0)
        return double(m_vbr.FrameCount) * coefficient() * 8.0 / SampleRateHz();
    const double rate = TableBitRate(m_frame.VersionCode, m_frame.LayerCode, m_frame.BitRateIndex);
    return double(m_fileSize - m_tag2.TagSize() - m_frame.Offset) * 8.0 / rate / 1000.0;
}

std::string TMPEGaudio::VersionText() const {
    return kVersionTexts[m_frame.VersionCode & 3];
}

std::string TMPEGaudio::ChannelModeText() const {
    return kModeTexts[m_frame.ModeCode <= 4 ? m_frame.ModeCode : 4];
}

std::string TMPEGaudio::EmphasisText() const {
    return kEmphasisTexts[m_frame.EmphasisCode & 3];
}

int TMPEGaudio::EncoderIndex() const {
    if (!m_frame.Found)
        return 0;
    const FrameInfo& f = m_frame;
    if (m_vbr.Found) {
        int index = 0;
        const std::string head = m_vbr.EncoderTag.substr(0, 4);
        if (head == "LAME")
            index = 3;
        if (head == "GOGO" || head == "MPGE")
            index = 5;
        if (m_vbr.Signature == "Xing" && head != "LAME" && head != "GOGO" && head != "MPGE")
            index = 1;
        if (m_vbr.Signature == "VBRI")
            index = 2;
        return index;
    }
    int index = 2;
    if (f.OriginalBit && f.CrcProtected)
        index = 3;
    if (TableBitRate(f.VersionCode, f.LayerCode, f.BitRateIndex) <= 160 && f.ModeCode == 0)
        index = 4;
    if (f.CopyrightBit && f.OriginalBit && !f.CrcProtected)
        index = 1;
    if (f.ZeroSideInfo && f.OriginalBit)
        index = 1;
    if (f.ModeCode == 2 && f.CrcProtected)
        index = 6;
    const std::string tail = m_tailEncoderTag.substr(0, 4);
    if (tail == "LAME")
        index = 3;
    if (tail == "GOGO")
        index = 5;
    return index;
}

std::string TMPEGaudio::EncoderText() const {
    const int index = EncoderIndex();
    std::string text = kEncoderNames[index];
    if (index == 3) {
        // Characters 5 to 8 of the encoder tag give the version (LAME3.90 is LAME 3.90).
        const std::string tag =
            utf8ToLatin1(m_tailEncoderTag.empty() ? m_vbr.EncoderTag : m_tailEncoderTag);
        auto digit = [](char c) { return c >= '0' && c <= '9'; };
        if (tag.size() >= 8 && digit(tag[4]) && tag[5] == '.' && digit(tag[6]) && digit(tag[7]))
            text += " " + tag.substr(4, 4);
    }
    return text;
}
