// Fills a list pane with N synthetic rows the way a folder scan fills it and prints
// the time and resident memory per row; then times the bulk commands on the view.
// usage: bench_panes [N...]   (default 100000 1000000)
#include "base/settings.h"
#include "lists/songlistmodel.h"
#include "lists/ui/songlistview.h"

#include "residentmemory.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <random>

namespace {
QString word(std::mt19937& rng, int length) {
    static const char letters[] = "abcdefghijklmnopqrstuvwxyz";
    QString w;
    w.reserve(length);
    for (int i = 0; i < length; ++i)
        w += QChar(i == 0 ? letters[rng() % 26] - 32 : letters[rng() % 26]);
    return w;
}

void run(int n) {
    QTemporaryDir dir;
    Settings settings(dir.path() + "/");
    std::mt19937 rng(42);
    // Shared texts as a scan produces them: one folder string per few hundred songs.
    const QString yes = "Yes", no = "No", weight = "0", blank = "", freq = "44100";
    const long before = residentKb();
    QElapsedTimer t;
    t.start();
    {
        SongListModel model(&settings);
        SongListView view;
        view.setModel(&model);
        model.beginBulk();
        QString folder, artist, album;
        for (int i = 0; i < n; ++i) {
            if (i % 300 == 0)
                folder =
                    "/home/someone/Music/Collection/" + word(rng, 12) + "/" + word(rng, 14) + "/";
            if (i % 12 == 0) {
                artist = word(rng, 9) + " " + word(rng, 10);
                album = word(rng, 8) + " " + word(rng, 11);
            }
            const QString title = word(rng, 8) + " " + word(rng, 11);
            SongItem it;
            it.append(artist + " - " + title + " (" + QString::number(i % 99) + ").mp3");
            it.append(QString::number(2000 + rng() % 9000) + "." +
                      QString::number(10 + rng() % 90));
            it.append(folder);
            it.append(title);
            it.append(artist);
            it.append(album);
            it.append(QString::number(1960 + rng() % 60));
            it.append("Rock");
            it.append(QString::number(1 + i % 12));
            it.append(blank);
            it.append(QString::number(120 + rng() % 300));
            it.append(QString::number((rng() % 2) ? 128000 : 192000));
            it.append(freq);
            it.append(no);
            it.append(yes);
            it.append(no);
            it.append(blank);
            it.append(weight);
            model.append(std::move(it));
        }
        model.endBulk();
        const qint64 fillMs = t.elapsed();
        const long after = residentKb();
        std::printf("N=%d  fill %.2f s  resident %.1f MB  %.0f bytes/row\n", n, fillMs / 1000.0,
                    (after - before) / 1024.0, (after - before) * 1024.0 / n);

        t.restart();
        view.selectAll();
        const qint64 selectMs = t.elapsed();
        t.restart();
        model.setAllChecked(true);
        const qint64 checkMs = t.elapsed();
        t.restart();
        view.scrollToBottom();
        QApplication::processEvents();
        const qint64 scrollMs = t.elapsed();
        std::printf("        select all %lld ms, check all %lld ms, scroll to end %lld ms\n",
                    (long long)selectMs, (long long)checkMs, (long long)scrollMs);
    }
}
} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QList<int> sizes;
    for (int i = 1; i < argc; ++i)
        sizes << QString(argv[i]).toInt();
    if (sizes.isEmpty())
        sizes = {100000, 1000000};
    for (int n : sizes)
        run(n);
    return 0;
}
