// A click on a column header: sorts N synthetic rows (a view attached, a few rows
// selected) by text and number columns, both directions, and prints the time of each
// against the bound of one second for a million rows.
// usage: bench_sort [N]   (default 1000000)
#include "base/settings.h"
#include "lists/columns.h"
#include "lists/listsort.h"
#include "lists/songlistmodel.h"
#include "lists/ui/songlistview.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QItemSelectionModel>
#include <QTemporaryDir>

#include <cstdio>
#include <ctime>
#include <random>

namespace {
// Processor time of this process in ms: on a machine shared with other work the wall
// clock says more about the others than about the sort.
double cpuMs() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return ts.tv_sec * 1000.0 + ts.tv_nsec / 1e6;
}

QString word(std::mt19937& rng, int length) {
    static const char letters[] = "abcdefghijklmnopqrstuvwxyz";
    QString w;
    w.reserve(length);
    for (int i = 0; i < length; ++i)
        w += QChar(i == 0 ? letters[rng() % 26] - 32 : letters[rng() % 26]);
    return w;
}

void fill(SongListModel& model, int n) {
    std::mt19937 rng(42);
    SongListModel::BulkScope bulk(model);
    QString folder, artist, album;
    for (int i = 0; i < n; ++i) {
        if (i % 300 == 0)
            folder = "/home/someone/Music/Collection/" + word(rng, 12) + "/" + word(rng, 14) + "/";
        if (i % 12 == 0) {
            artist = word(rng, 9) + " " + word(rng, 10);
            album = word(rng, 8) + " " + word(rng, 11);
        }
        const QString title = word(rng, 8) + " " + word(rng, 11);
        SongItem it;
        it.append(artist + " - " + title + ".mp3");
        it.append(QString::number(2000 + rng() % 9000) + "." + QString::number(10 + rng() % 90));
        it.append(folder);
        it.append(title);
        it.append(artist);
        it.append(album);
        it.append(QString::number(1960 + rng() % 60));
        it.append("Rock");
        it.append(QString::number(1 + i % 12));
        it.append(i % 5 ? QString() : word(rng, 20));
        it.append(QString::number(120 + rng() % 300));
        it.append(QString::number((rng() % 2) ? 128000 : 192000));
        it.append("44100");
        it.append("No");
        it.append("Yes");
        it.append("No");
        it.append("");
        it.append(QString::number(int(rng() % 11) - 5));
        model.append(std::move(it));
    }
}
} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int n = argc > 1 ? QString(argv[1]).toInt() : 1000000;
    QTemporaryDir dir;
    Settings settings(dir.path() + "/");
    SongListModel model(&settings);
    SongListView view;
    view.setModel(&model);
    view.resize(1200, 800);
    view.show();
    QElapsedTimer t;
    t.start();
    fill(model, n);
    std::printf("N=%d  filled in %.2f s\n", n, t.elapsed() / 1000.0);
    // A few selected rows, which the sort keeps on the same songs.
    for (int r : {1, n / 3, n / 2, n - 1})
        view.selectionModel()->select(model.index(r, 0),
                                      QItemSelectionModel::Select | QItemSelectionModel::Rows);
    QApplication::processEvents();

    const int bound = int(1000.0 * n / 1000000);
    double worstCpu = 0;
    qint64 worstWall = 0;
    for (int column : {int(SongItem::FileName), int(SongItem::SongTitle), int(SongItem::Artist),
                       int(SongItem::Location), int(SongItem::Comment), int(SongItem::FileSizeKb),
                       int(SongItem::Year), int(SongItem::BitRate), int(SongItem::Weight)}) {
        for (Qt::SortOrder order : {Qt::AscendingOrder, Qt::DescendingOrder}) {
            t.restart();
            const double cpu0 = cpuMs();
            const std::vector<int> rows = sortedOrder(model.items(), column, order);
            const double cpu1 = cpuMs();
            model.reorder(rows);
            QApplication::processEvents(); // the view redraws
            const double cpu = cpuMs() - cpu0;
            const qint64 wall = t.elapsed();
            worstCpu = std::max(worstCpu, cpu);
            worstWall = std::max(worstWall, wall);
            std::printf("  %-18s %-10s cpu %5.0f ms (order %4.0f, rows and view %4.0f), wall %5lld "
                        "ms\n",
                        listColumns()[size_t(column)].text,
                        order == Qt::AscendingOrder ? "ascending" : "descending", cpu, cpu1 - cpu0,
                        cpu - (cpu1 - cpu0), (long long)wall);
        }
    }
    std::printf("worst: cpu %.0f ms, wall %lld ms; bound %d ms: %s\n", worstCpu,
                (long long)worstWall, bound, worstCpu <= bound ? "within" : "OVER");
    std::printf("selected rows after sorting: %lld\n",
                (long long)view.selectionModel()->selectedRows().size());
    // Every row selected: the selection follows the rows too.
    view.selectAll();
    QApplication::processEvents();
    t.restart();
    const double cpu0 = cpuMs();
    sortList(model, SongItem::SongTitle, Qt::AscendingOrder);
    QApplication::processEvents();
    std::printf("all rows selected, by title: cpu %.0f ms, wall %lld ms\n", cpuMs() - cpu0,
                (long long)t.elapsed());
    return worstCpu <= bound ? 0 : 1;
}
