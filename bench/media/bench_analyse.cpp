// bench_analyse DIR [REPEAT]: analyses every .mp3 under DIR with TMPEGaudio (the fields a
// song row takes: both tags, bit rate, sample rate, play time, header flags) and prints
// files per second; then the bare I/O floor (open, read 4 KiB, read the last 128 bytes,
// close) on the same files.
#include "benchfiles.h"

#include "media/mpegaudio.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_analyse DIR [REPEAT]\n");
        return 2;
    }
    const auto files = mp3FilesUnder(argv[1]);
    const int repeat = argc > 2 ? std::atoi(argv[2]) : 3;
    if (files.empty()) {
        std::fprintf(stderr, "no .mp3 files under %s\n", argv[1]);
        return 1;
    }
    double check = 0;
    TMPEGaudio a; // one analyser serves every file, as in the program
    measure("analyse", files, repeat, [&](const std::vector<std::string>& list) {
        for (const auto& f : list) {
            a.Analyse(f);
            check += a.DurationSeconds() + a.BitRateKbps() + a.SampleRateHz() +
                     a.Tag1().Title().size() + a.Tag2().Title().size() + a.Tag1().GenreIndex() +
                     a.Frame().CrcProtected + a.Frame().OriginalBit + a.Frame().CopyrightBit;
        }
    });
    measure("bare-io", files, repeat, [&](const std::vector<std::string>& list) {
        char head[4096], tail[128];
        for (const auto& f : list) {
            std::FILE* fp = std::fopen(f.c_str(), "rb");
            if (!fp)
                continue;
            std::setvbuf(fp, nullptr, _IONBF, 0);
            check += double(std::fread(head, 1, sizeof head, fp));
            if (std::fseek(fp, -128, SEEK_END) == 0)
                check += double(std::fread(tail, 1, sizeof tail, fp));
            std::fclose(fp);
        }
    });
    std::printf("(checksum %.1f)\n", check);
    return 0;
}
