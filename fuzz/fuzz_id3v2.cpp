// ID3v2: the frame reader, the text decoders, and the carrying of old frames that Save
// builds its new tag from (the conversions from v2.2 and v2.4 with the notes of what a
// v2.3 tag leaves out).
#include "media/id3v2.h"
#include "media/mediafile.h"

#include <string>
#include <string_view>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    media::MemorySource src(bytes);
    TID3v2 tag;
    tag.Load(src, "input");
    // Render over the same bytes: unchanged fields carry their frames, a changed one
    // replaces them.
    std::vector<std::string> dropped;
    const std::string same = tag.Render(bytes, "input", &dropped);
    tag.SetTitle("changed \xC3\xA9");
    tag.SetComment(tag.Artist());
    const std::string changed = tag.Render(bytes, "input");
    // What we write must read back.
    for (const std::string* out : {&same, &changed}) {
        media::MemorySource back(*out);
        TID3v2 reread;
        reread.Load(back);
    }
    return 0;
}
