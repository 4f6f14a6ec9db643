// The whole analysis: both tag reads, the frame search in its windows, the VBR header
// and the tail encoder search, and every query on the result.
#include "media/mediafile.h"
#include "media/mpegaudio.h"

#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    media::MemorySource src(std::string_view(reinterpret_cast<const char*>(data), size));
    TMPEGaudio a;
    a.Analyse(src);
    (void)a.BitRateKbps();
    (void)a.SampleRateHz();
    (void)a.DurationSeconds();
    (void)a.VersionText();
    (void)a.ChannelModeText();
    (void)a.EmphasisText();
    (void)a.EncoderText();
    (void)a.Layer();
    return 0;
}
