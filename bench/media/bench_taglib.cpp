// bench_taglib DIR [REPEAT]: the same fields as bench_analyse, read through TagLib's
// FileRef (tags and audio properties), for comparison.
#include "benchfiles.h"

#include <taglib/audioproperties.h>
#include <taglib/fileref.h>
#include <taglib/tag.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_taglib DIR [REPEAT]\n");
        return 2;
    }
    const auto files = mp3FilesUnder(argv[1]);
    const int repeat = argc > 2 ? std::atoi(argv[2]) : 3;
    if (files.empty()) {
        std::fprintf(stderr, "no .mp3 files under %s\n", argv[1]);
        return 1;
    }
    double check = 0;
    measure("taglib", files, repeat, [&](const std::vector<std::string>& list) {
        for (const auto& f : list) {
            TagLib::FileRef ref(f.c_str(), true, TagLib::AudioProperties::Average);
            if (ref.isNull())
                continue;
            if (const auto* t = ref.tag())
                check += t->title().size() + t->artist().size() + t->album().size() +
                         t->comment().size() + t->genre().size() + t->year() + t->track();
            if (const auto* p = ref.audioProperties())
                check += p->lengthInSeconds() + p->bitrate() + p->sampleRate();
        }
    });
    std::printf("(checksum %.1f)\n", check);
    return 0;
}
