// What the statistics window's charts show, taken from the same result as its lists:
// genre shares as sorted bars, songs per year as columns, and albums per artist for
// the artists with the most albums.
#pragma once

#include <QString>

#include <cstdint>
#include <vector>

struct StatisticsResult;

struct ChartBar {
    QString label; // plain text, never markup
    std::int64_t value = 0;
    QString tip;       // shown on hover: the label and the value in words
    bool rest = false; // stands for the rest ("Other", "No year"), drawn apart
};

struct ChartData {
    QString title;
    std::vector<ChartBar> bars;
    std::int64_t maximum() const;
};

// The largest genres by songs (ties keep the order met), the rest summed into "Other";
// a blank genre is "(none)". Tips carry the count and the share.
ChartData genreChart(const StatisticsResult& result, int largest = 12);
// Songs per year, years in ascending order; songs whose "Year" is not a year (blank or
// odd text) in one column of their own at the end.
ChartData yearChart(const StatisticsResult& result);
// The artists with the most albums (ties: more songs first, then the order met); songs
// without an artist are left out.
ChartData albumsChart(const StatisticsResult& result, int largest = 15);
