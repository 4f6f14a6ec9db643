// Fills a list pane with N synthetic rows the way a folder scan fills it and prints
// the time and resident memory per row; then times the bulk commands on the view.
// usage: bench_panes [N...]   (default 100000 1000000)
#include "base/settings.h"
#include "lists/songlistmodel.h"
#include "lists/ui/songlistview.h"

#include "panerows.h"
#include "residentmemory.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>

namespace {
void run(int n) {
    QTemporaryDir dir;
    Settings settings(dir.path() + "/");
    PaneRows rows;
    const long before = residentKb();
    QElapsedTimer t;
    t.start();
    {
        SongListModel model(&settings);
        SongListView view;
        view.setModel(&model);
        model.beginBulk();
        for (int i = 0; i < n; ++i)
            model.append(rows.next());
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
