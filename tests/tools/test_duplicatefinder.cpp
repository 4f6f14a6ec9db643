#include "tools/duplicatefinder.h"

#include "compare/namegen.h"

#include <gtest/gtest.h>

namespace {

std::vector<DuplicatePair>
collect(const std::function<bool(const DuplicateFinder::PairFound&)>& run) {
    std::vector<DuplicatePair> pairs;
    run([&](const DuplicatePair& p) { pairs.push_back(p); });
    return pairs;
}

// The fast loops must find exactly what Compare finds on every pair, in the same order,
// whatever the threshold and properties.
TEST(DuplicateFinder, FastLoopsEqualPlainCompare) {
    const auto names = namegen::fileNames(500, 7);
    const std::vector<std::string> left(names.begin(), names.begin() + 200);
    const std::vector<std::string> right(names.begin() + 200, names.end());
    const std::pair<double, bool> settings[] = {{85.0, true},  {70.0, true}, {95.0, true},
                                                {100.0, true}, {30.0, true}, {85.0, false}};
    for (const auto& [threshold, doubleLetters] : settings) {
        {
            SCOPED_TRACE(testing::Message() << threshold << " " << doubleLetters);
            TStringCompare compare;
            compare.SetPercentage(threshold);
            compare.SetExcludeDoubleLetters(doubleLetters);
            const DuplicateFinder finder(compare);
            const auto fast = collect([&](auto& f) { return finder.FindItself(names, f); });
            const auto plain = collect([&](auto& f) { return finder.FindItselfPlain(names, f); });
            EXPECT_EQ(fast, plain);
            EXPECT_FALSE(fast.empty());
            const auto fastOther =
                collect([&](auto& f) { return finder.FindOther(left, right, f); });
            const auto plainOther =
                collect([&](auto& f) { return finder.FindOtherPlain(left, right, f); });
            EXPECT_EQ(fastOther, plainOther);
        }
    }
}

TEST(DuplicateFinder, PairsComeInLoopOrder) {
    TStringCompare compare;
    const DuplicateFinder finder(compare);
    const std::vector<std::string> names = {"Abba - Waterloo.mp3", "Queen - Innuendo.mp3",
                                            "abba - waterloo.mp3", "ABBA - Waterloo.MP3",
                                            "Queen - Inuendo.mp3"};
    const auto pairs = collect([&](auto& f) { return finder.FindItself(names, f); });
    const std::vector<std::pair<std::size_t, std::size_t>> expected = {
        {0, 2}, {0, 3}, {1, 4}, {2, 3}};
    ASSERT_EQ(pairs.size(), expected.size());
    for (std::size_t k = 0; k < pairs.size(); ++k) {
        EXPECT_EQ(pairs[k].first, expected[k].first);
        EXPECT_EQ(pairs[k].second, expected[k].second);
    }
    EXPECT_EQ(pairs[0].percent, 100.0);

    const auto other = collect([&](auto& f) {
        return finder.FindOther({"Queen - Inuendo.mp3", "x.mp3"}, names, f);
    });
    ASSERT_EQ(other.size(), 2u);
    EXPECT_EQ(other[0], (DuplicatePair{0, 1, 100.0}));
    EXPECT_EQ(other[1], (DuplicatePair{0, 4, 100.0}));

    EXPECT_TRUE(collect([&](auto& f) { return finder.FindItself({}, f); }).empty());
    EXPECT_TRUE(collect([&](auto& f) { return finder.FindOther(names, {}, f); }).empty());
}

TEST(DuplicateFinder, ProgressCountsPositionsAndCanStop) {
    TStringCompare compare;
    const DuplicateFinder finder(compare);
    const std::vector<std::string> names(50, "Same - Name.mp3");
    std::uint64_t last = 0;
    int calls = 0;
    std::size_t found = 0;
    const bool completed = finder.FindItself(
        names, [&](const DuplicatePair&) { ++found; },
        [&](std::uint64_t position, std::uint64_t total) {
            EXPECT_EQ(total, 50u * 50u);
            EXPECT_GE(position, last);
            last = position;
            return ++calls < 3; // stop at the end of the third row
        });
    EXPECT_FALSE(completed);
    EXPECT_EQ(found, 49u + 48u + 47u);
}

} // namespace
