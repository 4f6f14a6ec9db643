// Times the duplicate finder's "Itself" run over n generated file names (with
// near-duplicates) and checks that the fast loop finds exactly the pairs and similarities
// of calling TStringCompare::Compare on every pair.
//
//   bench_compare [--full] [N...]      (default N: 10000 50000)
//
// The plain loop runs over every pair for n <= 10000 (or with --full); for larger n it runs
// over a sample of rows, which checks those rows exactly and gives the plain rate from which
// the plain total is estimated.
#include "compare/namegen.h"
#include "tools/duplicatefinder.h"
#include "tools/stringcompare.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

int runOne(std::size_t n, bool full) {
    const auto names = namegen::fileNames(n, 2026);
    TStringCompare compare; // the finder's settings: defaults, threshold 85
    const DuplicateFinder finder(compare);
    const double pairsTotal = static_cast<double>(n) * (n - 1) / 2;

    std::vector<DuplicatePair> fast;
    auto start = Clock::now();
    finder.FindItself(names, [&](const DuplicatePair& p) { fast.push_back(p); });
    const double fastSeconds = secondsSince(start);
    std::size_t identical = 0;
    for (const auto& p : fast)
        identical += p.percent == 100.0;

    std::printf("n = %zu: %.0f pairs, %zu found (%zu identical)\n", n, pairsTotal, fast.size(),
                identical);
    std::printf("  fast : %8.2f s  %12.0f pairs/s\n", fastSeconds, pairsTotal / fastSeconds);

    bool equal = true;
    if (full || n <= 10000) {
        std::vector<DuplicatePair> plain;
        start = Clock::now();
        finder.FindItselfPlain(names, [&](const DuplicatePair& p) { plain.push_back(p); });
        const double plainSeconds = secondsSince(start);
        equal = plain == fast;
        std::printf("  plain: %8.2f s  %12.0f pairs/s\n", plainSeconds, pairsTotal / plainSeconds);
        std::printf("  speed-up %.1fx; fast == plain on all pairs: %s\n",
                    plainSeconds / fastSeconds, equal ? "yes" : "NO");
    } else {
        // Every 97th row, all its pairs, through Compare itself.
        TStringCompare plainCompare;
        std::vector<DuplicatePair> sampleFast;
        std::vector<DuplicatePair> samplePlain;
        std::size_t fastIndex = 0;
        double samplePairs = 0;
        start = Clock::now();
        for (std::size_t i = 0; i < n; i += 97) {
            for (std::size_t j = i + 1; j < n; ++j)
                if (plainCompare.Compare(names[i], names[j]))
                    samplePlain.push_back({i, j, plainCompare.LastPercentage()});
            samplePairs += static_cast<double>(n - i - 1);
            while (fastIndex < fast.size() && fast[fastIndex].first < i)
                ++fastIndex;
            for (; fastIndex < fast.size() && fast[fastIndex].first == i; ++fastIndex)
                sampleFast.push_back(fast[fastIndex]);
        }
        const double plainSeconds = secondsSince(start);
        const double plainRate = samplePairs / plainSeconds;
        equal = samplePlain == sampleFast;
        std::printf(
            "  plain: %8.2f s  %12.0f pairs/s over a sample of %.0f pairs (every 97th row)\n",
            plainSeconds, plainRate, samplePairs);
        std::printf("  plain total estimated %.0f s; speed-up about %.1fx; fast == plain on the "
                    "sample (%zu pairs): %s\n",
                    pairsTotal / plainRate, pairsTotal / plainRate / fastSeconds,
                    samplePlain.size(), equal ? "yes" : "NO");
    }
    std::fflush(stdout);
    return equal ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    bool full = false;
    std::vector<std::size_t> sizes;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--full") == 0)
            full = true;
        else
            sizes.push_back(static_cast<std::size_t>(std::strtoull(argv[i], nullptr, 10)));
    }
    if (sizes.empty())
        sizes = {10000, 50000};
    int rc = 0;
    for (std::size_t n : sizes)
        if (n >= 2)
            rc |= runOne(n, full);
    return rc;
}
