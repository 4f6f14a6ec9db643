// Shared by the analyser benchmarks: the files of a folder tree and a timer.
#pragma once

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

std::vector<std::string> mp3FilesUnder(const std::string& folder);

// Runs `pass` over all files once to warm the cache, then `repeat` timed times, and
// prints files per second of the best pass.
template <typename Pass>
void measure(const char* what, const std::vector<std::string>& files, int repeat, Pass pass) {
    pass(files); // warm-up: every file in the page cache
    double best = 1e300;
    for (int r = 0; r < repeat; ++r) {
        const auto t0 = std::chrono::steady_clock::now();
        pass(files);
        const double s =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        best = std::min(best, s);
    }
    std::printf("%-10s %zu files  best of %d: %.3f s  %.0f files/s\n", what, files.size(), repeat,
                best, double(files.size()) / best);
}
