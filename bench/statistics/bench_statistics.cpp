// Detailed statistics over N selected rows (50,000 artists, 200 genres by default) with
// the real progress window pumping events and the statistics window showing the result;
// then the charts for 5,000 genres and 100 years: their data and one drawing each.
// usage: bench_statistics [N [ARTISTS [GENRES]]]   (default 1000000 50000 200)
#include "base/commandenv.h"
#include "base/scripted.h"
#include "base/settings.h"
#include "base/texts.h"
#include "base/ui/tfmsg.h"
#include "fileops/fileoperations.h"
#include "lists/songlistmodel.h"
#include "lists/songtags.h"
#include "tools/statistics.h"
#include "tools/statisticscharts.h"
#include "tools/ui/barchart.h"
#include "tools/ui/tfstatistics.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QItemSelectionModel>
#include <QPainter>
#include <QPixmap>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <random>

namespace {
// The process's processor time: the figure that holds on a busy machine, beside the
// wall-clock time the user waits.
double cpuSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) / 1e9;
}

// A pane as a scan fills it: folder by folder, so an album's songs follow each other
// (one year and genre per album, about ten songs, the artist's spelling varying in
// letter case between albums). Shuffled, the same rows in random order: the worst case
// for every lookup.
void fill(SongListModel& model, int n, int artists, int genres, bool shuffled) {
    std::mt19937 rng(7);
    const QString folder = "/home/someone/Music/";
    std::vector<int> order(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i)
        order[size_t(i)] = i;
    if (shuffled)
        std::shuffle(order.begin(), order.end(), rng);
    const int songsPerAlbum = 10;
    const int albumsPerArtist = std::max(1, n / songsPerAlbum / artists);
    SongListModel::BulkScope bulk(model);
    for (const int i : order) {
        const int album = i / songsPerAlbum;
        const int artist = (album / albumsPerArtist) % artists;
        std::mt19937 albumRng{static_cast<unsigned>(album)}; // the album's year and genre
        SongItem it;
        it.append(QString("song %1.mp3").arg(i));
        it.append(QString::number(2000 + i % 9000) + ".25");
        it.append(folder);
        it.append(QString("Title %1").arg(i));
        it.append((album % 3 ? QString("Artist %1") : QString("ARTIST %1")).arg(artist));
        it.append(QString("Album %1").arg(album));
        it.append(QString::number(1950 + albumRng() % 75));
        it.append(QString("Genre %1").arg(albumRng() % unsigned(genres)));
        it.append(QString::number(1 + i % songsPerAlbum));
        it.append(QString());
        it.append(QString::number(120 + i % 300));
        model.append(std::move(it));
    }
}
} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int n = argc > 1 ? QString(argv[1]).toInt() : 1000000;
    const int artists = argc > 2 ? QString(argv[2]).toInt() : 50000;
    const int genres = argc > 3 ? QString(argv[3]).toInt() : 200;

    QTemporaryDir dir;
    Settings settings(dir.path() + "/");
    YesNo yesNo;
    FileOperations files;
    SongTags tags(settings, yesNo, files);
    ScriptedPrompt prompt;
    TFMsg progress(nullptr, &settings);
    CommandEnv env{dir.path() + "/", settings, prompt, progress, yesNo, tags, files};

    for (const bool shuffled : {false, true}) {
        SongListModel model(&settings);
        fill(model, n, artists, genres, shuffled);
        QItemSelectionModel selection(&model);
        selection.select(QItemSelection(model.index(0, 0), model.index(n - 1, 0)),
                         QItemSelectionModel::Select | QItemSelectionModel::Rows);
        const PaneRef pane{&model, &selection, 0};

        QElapsedTimer t;
        t.start();
        double cpu = cpuSeconds();
        const StatisticsResult core = computeStatistics(env, pane, true);
        const qint64 coreMs = t.elapsed();
        const double coreCpu = cpuSeconds() - cpu;
        std::printf("N=%d %s  artists %zu  genres %zu  albums %lld\n", n,
                    shuffled ? "shuffled" : "in folder order", core.artists.size(),
                    core.genres.size(), (long long)core.albumCount);
        std::printf("  detailed statistics (core, progress window live): %.3f s (processor "
                    "%.3f s)\n",
                    coreMs / 1000.0, coreCpu);

        TFStatistics window;
        window.setChartsShown(true);
        t.restart();
        cpu = cpuSeconds();
        window.open(env, pane, true);
        QApplication::processEvents();
        const qint64 windowMs = t.elapsed();
        std::printf("  \"Detailed Statistics\" to the window with charts shown: %.3f s "
                    "(processor %.3f s)\n",
                    windowMs / 1000.0, cpuSeconds() - cpu);
    }

    QElapsedTimer t;
    StatisticsResult many;
    for (int i = 0; i < 5000; ++i) {
        many.genres.push_back({QString("Genre %1").arg(i), 1 + (i * 37) % 500});
        many.songs += 1 + (i * 37) % 500;
    }
    for (int y = 1925; y < 2025; ++y)
        many.years.push_back({QString::number(y), 1 + (y * 13) % 200});
    many.years.push_back({QString(), 40});
    for (auto [kind, name] : {std::pair{BarChart::Kind::Bars, "genres (5,000)"},
                              std::pair{BarChart::Kind::Columns, "years (100 + none)"}}) {
        t.restart();
        ChartData data = kind == BarChart::Kind::Bars ? genreChart(many) : yearChart(many);
        const qint64 dataUs = t.nsecsElapsed() / 1000;
        BarChart chart(kind);
        chart.resize(460, 330);
        chart.setData(std::move(data));
        QPixmap pixmap(chart.size());
        t.restart();
        chart.render(&pixmap);
        const qint64 drawUs = t.nsecsElapsed() / 1000;
        std::printf("  chart %s: data %.2f ms, drawing %.2f ms\n", name, dataUs / 1000.0,
                    drawUs / 1000.0);
    }
    return 0;
}
