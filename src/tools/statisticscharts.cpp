#include "tools/statisticscharts.h"

#include "base/translator.h"
#include "tools/statistics.h"

#include <QLocale>

#include <algorithm>
#include <map>
#include <numeric>

namespace {
// Indexes sorted by a value, largest first; ties keep their order.
template <class Less> std::vector<std::size_t> order(std::size_t n, Less largerFirst) {
    std::vector<std::size_t> idx(n);
    std::iota(idx.begin(), idx.end(), std::size_t(0));
    std::stable_sort(idx.begin(), idx.end(), largerFirst);
    return idx;
}

// The year a "Year" text names: "1991", "991" or the start of "1991-05-01"; -1 for
// blank or odd texts.
int yearOf(const QString& text) {
    const QString t = text.trimmed();
    int digits = 0;
    while (digits < t.size() && t[digits] >= u'0' && t[digits] <= u'9')
        ++digits;
    if (digits == 0 || digits > 4)
        return -1;
    if (digits < t.size() && !(digits == 4 && t[digits] == u'-'))
        return -1;
    return t.left(digits).toInt();
}

QString songsText(std::int64_t n) {
    return n == 1 ? T("StatChartOneSong", "1 song") : T("StatChartSongCount", "%1 songs").arg(n);
}
QString albumsText(std::int64_t n) {
    return n == 1 ? T("StatChartOneAlbum", "1 album")
                  : T("StatChartAlbumCount", "%1 albums").arg(n);
}
} // namespace

std::int64_t ChartData::maximum() const {
    std::int64_t m = 0;
    for (const ChartBar& b : bars)
        m = std::max(m, b.value);
    return m;
}

ChartData genreChart(const StatisticsResult& result, int largest) {
    ChartData chart;
    chart.title = T("StatChartGenres", "Genres");
    // Genres that show as blank ("", " ") make one "(none)" bar: the list keeps them
    // apart, as the songs' texts differ, but a chart of several empty labels says nothing.
    std::vector<StatisticsGenre> genres;
    std::size_t blank = result.genres.size();
    for (const StatisticsGenre& g : result.genres) {
        if (!g.name.trimmed().isEmpty()) {
            genres.push_back(g);
        } else if (blank == result.genres.size()) {
            blank = genres.size();
            genres.push_back({QString(), g.songs});
        } else {
            genres[blank].songs += g.songs;
        }
    }
    const std::vector<std::size_t> idx = order(genres.size(), [&](std::size_t a, std::size_t b) {
        return genres[a].songs > genres[b].songs;
    });
    const QLocale locale;
    const auto tip = [&](const QString& label, std::int64_t songs) {
        const double share = result.songs > 0 ? double(songs) * 100.0 / double(result.songs) : 0;
        return T("StatChartShareTip", "%1: %2 (%3 %)")
            .arg(label, songsText(songs), shareText(share, locale));
    };
    std::int64_t rest = 0;
    for (std::size_t i = 0; i < idx.size(); ++i) {
        const StatisticsGenre& g = genres[idx[i]];
        if (int(i) >= largest && idx.size() > std::size_t(largest) + 1) {
            rest += g.songs;
            continue;
        }
        const QString label = g.name.isEmpty() ? T("StatChartNone", "(none)") : g.name;
        chart.bars.push_back({label, g.songs, tip(label, g.songs), false});
    }
    if (rest > 0) {
        const QString label = T("StatChartOther", "Other");
        chart.bars.push_back({label, rest, tip(label, rest), true});
    }
    return chart;
}

ChartData yearChart(const StatisticsResult& result) {
    ChartData chart;
    chart.title = T("StatChartYears", "Songs per year");
    std::map<int, std::int64_t> perYear;
    std::int64_t without = 0;
    for (const StatisticsYear& y : result.years) {
        const int year = yearOf(y.year);
        if (year < 0)
            without += y.songs;
        else
            perYear[year] += y.songs;
    }
    for (const auto& [year, songs] : perYear) {
        const QString label = QString::number(year);
        chart.bars.push_back(
            {label, songs, T("StatChartTip", "%1: %2").arg(label, songsText(songs)), false});
    }
    if (without > 0) {
        const QString label = T("StatChartNoYear", "No year");
        chart.bars.push_back(
            {label, without, T("StatChartTip", "%1: %2").arg(label, songsText(without)), true});
    }
    return chart;
}

ChartData albumsChart(const StatisticsResult& result, int largest) {
    ChartData chart;
    chart.title = T("StatChartAlbums", "Albums per artist");
    const auto& artists = result.artists;
    const std::vector<std::size_t> idx = order(artists.size(), [&](std::size_t a, std::size_t b) {
        if (artists[a].albums.size() != artists[b].albums.size())
            return artists[a].albums.size() > artists[b].albums.size();
        return artists[a].songs > artists[b].songs;
    });
    for (std::size_t i = 0; i < idx.size() && int(chart.bars.size()) < largest; ++i) {
        const StatisticsArtist& a = artists[idx[i]];
        if (a.name.trimmed().isEmpty())
            continue; // songs without an artist are no artist's albums
        const QString& label = a.name;
        const std::int64_t albums = std::int64_t(a.albums.size());
        chart.bars.push_back({label, albums,
                              T("StatChartAlbumsTip", "%1: %2, %3")
                                  .arg(label, albumsText(albums), songsText(a.songs)),
                              false});
    }
    return chart;
}
