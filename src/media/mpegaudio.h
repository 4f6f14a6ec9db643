// The MPEG audio analyser: finds the first audio frame and a VBR header, guesses the
// encoder, and reads the file's ID3v1 and ID3v2 tags through its own Tag1 and Tag2.
// One instance serves one thread at a time; separate instances may run in parallel.
#pragma once

#include "media/id3v1.h"
#include "media/id3v2.h"

#include <array>
#include <cstdint>
#include <string>

namespace media {
class ByteSource;
}

struct VbrInfo {
    bool Found = false;
    std::string Signature; // "Xing" or "VBRI"
    int32_t FrameCount = 0;
    int32_t ByteCount = 0;
    uint8_t Quality = 0;
    std::string EncoderTag; // Xing: the eight bytes behind the quality byte, as Latin-1
};

struct FrameInfo {
    bool Found = false;
    int32_t Offset = 0; // within the search window the frame was found in
    uint16_t FrameLength = 0;
    bool ZeroSideInfo = false;
    std::array<uint8_t, 4> HeaderBytes{};
    uint8_t VersionCode = 1; // 3 MPEG 1, 2 MPEG 2, 0 MPEG 2.5, 1 reserved
    uint8_t LayerCode = 0;   // 3 Layer I, 2 Layer II, 1 Layer III, 0 reserved
    bool CrcProtected = false;
    uint16_t BitRateIndex = 0;
    uint16_t SampleRateIndex = 3;
    bool Padded = false;
    bool PrivateBit = false;
    uint8_t ModeCode = 4;      // 0 stereo, 1 joint stereo, 2 dual channel, 3 mono, 4 none
    uint8_t ModeExtension = 4; // 4 none
    bool CopyrightBit = false;
    bool OriginalBit = false;
    uint8_t EmphasisCode = 2;
};

class TMPEGaudio {
public:
    // Size of each search window: twice the longest frame the tables allow.
    static constexpr int WindowSize = 3458;

    TMPEGaudio() { Clear(); }

    // Analyses the file; true when it could be opened and read as far as the analysis
    // goes (whether audio was found is Frame().Found).
    bool Analyse(const std::string& fileName);
    // The same on bytes in memory (the whole file).
    bool Analyse(media::ByteSource& source);
    void Clear();

    int64_t FileSize() const { return m_fileSize; }
    const std::string& TailEncoderTag() const { return m_tailEncoderTag; }
    const VbrInfo& Vbr() const { return m_vbr; }
    const FrameInfo& Frame() const { return m_frame; }
    TID3v1& Tag1() { return m_tag1; }
    const TID3v1& Tag1() const { return m_tag1; }
    TID3v2& Tag2() { return m_tag2; }
    const TID3v2& Tag2() const { return m_tag2; }

    uint16_t BitRateKbps() const;
    uint16_t SampleRateHz() const;
    double DurationSeconds() const;
    std::string VersionText() const;
    std::string ChannelModeText() const;
    std::string EmphasisText() const;
    int EncoderIndex() const; // 0..6
    std::string EncoderText() const;
    // 1..3 for Layer I..III, 0 for none.
    int Layer() const { return m_frame.LayerCode ? 4 - m_frame.LayerCode : 0; }

    // Tables shared with the tools and tests.
    static uint16_t TableBitRate(int versionCode, int layerCode, int bitRateIndex);
    static uint16_t TableSampleRate(int versionCode, int sampleRateIndex);
    static bool IsFrameHeader(const uint8_t* b);

private:
    bool analyseSource(media::ByteSource& source, const std::string& fileName);
    bool analyseSteps(media::ByteSource& source, const std::string& fileName);
    void searchFirstFrame(const uint8_t* window, int length);
    void readVbrHeader(const uint8_t* window, int p);
    void searchTailEncoder(const uint8_t* window);
    int coefficient() const;
    int paddingSize() const;

    int64_t m_fileSize;
    std::string m_tailEncoderTag;
    VbrInfo m_vbr;
    FrameInfo m_frame;
    TID3v1 m_tag1;
    TID3v2 m_tag2;
};
