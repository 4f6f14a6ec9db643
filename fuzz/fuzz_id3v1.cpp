// ID3v1: the 128-byte block parser and the tail read on arbitrary data.
#include "media/id3v1.h"
#include "media/mediafile.h"

#include <cstring>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    media::MemorySource src(bytes);
    TID3v1 tag;
    tag.Load(src);
    (void)tag.GenreName();

    uint8_t block[128] = {};
    std::memcpy(block, data, size < 128 ? size : 128);
    tag.Parse(block);
    // Whatever was read renders back into 128 bytes and parses again.
    const auto rendered = tag.Render();
    TID3v1 again;
    again.Parse(rendered.data());
    tag.SetTitle(bytes);
    tag.SetComment(bytes);
    (void)tag.Render();
    return 0;
}
