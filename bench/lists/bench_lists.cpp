// List files: the real saveList / loadList on the pane benchmark's rows, with time and
// memory; the group-by playlists; an M3U of a folder tree against scanning that tree;
// an ".xls" through LibreOffice with the interval between progress updates and the time
// Cancel takes.
// usage: bench_lists rows [N...]            (default 100000 1000000; files kept in $TMPDIR)
//        bench_lists groups [N] [ARTISTS]   (default 100000 3000)
//        bench_lists m3u DIR                (an M3U of every song under DIR)
//        bench_lists xls [N]                (default 65536; needs soffice)
#include "base/commandenv.h"
#include "base/scripted.h"
#include "base/settings.h"
#include "base/texts.h"
#include "fileops/fileoperations.h"
#include "lists/folderscanner.h"
#include "lists/listfiles.h"
#include "lists/playlists.h"
#include "lists/songlistmodel.h"
#include "lists/songtags.h"

#include "panerows.h"
#include "residentmemory.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>
#include <fstream>
#include <string>

namespace {

// The peak resident memory (VmHWM) in KB; resetPeak() starts a new peak from now.
long peakKb() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stol(line.substr(6));
    return 0;
}
void resetPeak() {
    std::ofstream("/proc/self/clear_refs") << "5";
}

// Progress that records the longest gap between two updates and can cancel at a time.
class TimedProgress : public Progress {
public:
    void cancelAfterMs(qint64 ms) { m_cancelAfter = ms; }
    qint64 longestGapMs() const { return m_longest; }
    qint64 cancelledAtMs() const { return m_cancelledAt; }
    qint64 elapsedMs() const { return m_clock.elapsed(); }

    void startProgress(const QString&) override {
        clearCancel();
        m_clock.start();
        m_last = 0;
        m_longest = 0;
        m_cancelledAt = -1;
    }
    void showProgressItem(const QString&) override {
        const qint64 now = m_clock.elapsed();
        m_longest = std::max(m_longest, now - m_last);
        m_last = now;
        if (m_cancelAfter > 0 && now >= m_cancelAfter && !cancelRequested()) {
            m_cancelledAt = now;
            requestCancel();
        }
    }
    void endProgress() override {}

private:
    QElapsedTimer m_clock;
    qint64 m_last = 0, m_longest = 0, m_cancelAfter = 0, m_cancelledAt = -1;
};

struct Env {
    explicit Env(Progress& progress)
        : settings(home.path() + "/"), tags(settings, yesNo, files),
          env{home.path() + "/", settings, prompt, progress, yesNo, tags, files} {}
    QTemporaryDir home;
    Settings settings;
    ScriptedPrompt prompt;
    YesNo yesNo;
    FileOperations files;
    SongTags tags;
    CommandEnv env;
};

QString workFolder() {
    const QString dir = QDir::tempPath() + "/rendolo-bench-lists";
    QDir().mkpath(dir);
    return dir + "/";
}

double seconds(const QElapsedTimer& t) {
    return t.nsecsElapsed() / 1e9;
}

void rows(int n) {
    SilentProgress progress;
    Env e(progress);
    const QString folder = workFolder();
    const long base = residentKb();
    {
        SongListModel model(&e.settings);
        model.beginBulk();
        PaneRows gen;
        for (int i = 0; i < n; ++i)
            model.append(gen.next());
        model.endBulk();
        const long filled = residentKb();
        std::printf("N=%d  the pane holds %.1f MB\n", n, (filled - base) / 1024.0);
        for (const char* ext : {".rnl", ".csv"}) {
            const QString file = folder + QString("rows-%1%2").arg(n).arg(ext);
            ListFileState state;
            QElapsedTimer t;
            t.start();
            const bool ok = saveList(e.env, model, state, file, listFormatOfPath(file));
            std::printf("  save %s  %.2f s  %.1f MB%s\n", ext, seconds(t),
                        QFileInfo(file).size() / 1048576.0, ok ? "" : "  FAILED");
            std::fflush(stdout);
        }
    }
    // Each load in a fresh process, so that its memory is measured alone.
    for (const char* ext : {".rnl", ".csv"}) {
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedChannels);
        child.start(QCoreApplication::applicationFilePath(),
                    {"load", folder + QString("rows-%1%2").arg(n).arg(ext)});
        child.waitForFinished(-1);
    }
}

void load(const QString& file) {
    SilentProgress progress;
    Env e(progress);
    const long before = residentKb();
    resetPeak();
    QElapsedTimer t;
    t.start();
    SongListModel model(&e.settings);
    ListFileState state;
    loadList(e.env, model, state, file);
    const double s = seconds(t);
    const long after = residentKb();
    const long peak = peakKb();
    std::printf("  load %s  %.2f s  %d rows  pane %.1f MB  peak above the pane %.1f MB\n",
                qPrintable(QFileInfo(file).suffix()), s, model.size(), (after - before) / 1024.0,
                (peak - after) / 1024.0);
    std::fflush(stdout);
}

void groups(int n, int artists) {
    SilentProgress progress;
    Env e(progress);
    SongListModel model(&e.settings);
    model.beginBulk();
    PaneRows gen(artists);
    for (int i = 0; i < n; ++i)
        model.append(gen.next());
    model.endBulk();
    // The same rows as CSV, for the Python yardstick.
    ListFileState state;
    saveList(e.env, model, state, workFolder() + QString("groups-%1.csv").arg(n), ListFormat::Csv);
    const QString out = workFolder() + "groups";
    QDir(out).removeRecursively();
    QDir().mkpath(out);
    // The first run makes the files, the others replace them.
    for (int round = 0; round < 3; ++round) {
        QElapsedTimer t;
        t.start();
        const auto written = writeGroupPlaylists(e.env, model, out, PlaylistGroup::Artist);
        std::printf("group by artist: %d rows, %zu playlists in %.3f s\n", n, written.size(),
                    seconds(t));
    }
}

void m3u(const QString& tree) {
    SilentProgress progress;
    Env e(progress);
    const QString file = workFolder() + "tree.m3u";
    double scan = 0, load = 0;
    int scanned = 0, loaded = 0;
    for (int round = 0; round < 3; ++round) {
        SongListModel model(&e.settings);
        QElapsedTimer t;
        t.start();
        {
            SongListModel::BulkScope bulk(model);
            FolderScanner(model, e.tags, progress).scanFolder(tree, true);
        }
        const double s = seconds(t);
        scan = round == 0 ? s : std::min(scan, s);
        scanned = model.size();
        ListFileState state;
        saveList(e.env, model, state, file, ListFormat::M3u);

        SongListModel other(&e.settings);
        ListFileState otherState;
        t.restart();
        loadList(e.env, other, otherState, file);
        const double l = seconds(t);
        load = round == 0 ? l : std::min(load, l);
        loaded = other.size();
    }
    std::printf(
        "scan %d songs %.2f s; load their M3U (%d rows) %.2f s: %.2fx the scan (best of 3)\n",
        scanned, scan, loaded, load, load / scan);
}

void xls(int n) {
    TimedProgress progress;
    Env e(progress);
    SongListModel model(&e.settings);
    model.beginBulk();
    PaneRows gen;
    for (int i = 0; i < n; ++i)
        model.append(gen.next());
    model.endBulk();
    const QString file = workFolder() + QString("rows-%1.xls").arg(n);
    // The same rows as CSV, for running soffice on them by hand.
    ListFileState state;
    saveList(e.env, model, state, workFolder() + QString("rows-%1.csv").arg(n), ListFormat::Csv);
    QElapsedTimer t;
    t.start();
    const bool ok = saveList(e.env, model, state, file, ListFormat::Xls);
    std::printf("save .xls of %d rows: %.1f s%s; longest gap between progress updates %lld ms\n", n,
                seconds(t), ok ? "" : "  FAILED", (long long)progress.longestGapMs());
    if (!ok)
        std::printf("  %s\n", qPrintable(e.prompt.informed().join(' ')));
    progress.cancelAfterMs(5000);
    t.restart();
    saveList(e.env, model, state, workFolder() + "cancelled.xls", ListFormat::Xls);
    std::printf("cancel after %lld ms: returned %lld ms later\n",
                (long long)progress.cancelledAtMs(),
                (long long)(progress.elapsedMs() - progress.cancelledAtMs()));
    ListFileState back;
    SongListModel reread(&e.settings);
    progress.cancelAfterMs(0);
    t.restart();
    loadList(e.env, reread, back, file);
    std::printf("load .xls: %.1f s, %d rows\n", seconds(t), reread.size());
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    const QString mode = args.value(0, "rows");
    if (mode == "rows") {
        QList<int> sizes;
        for (const QString& a : args.mid(1))
            sizes << a.toInt();
        if (sizes.isEmpty())
            sizes = {100000, 1000000};
        for (int n : sizes)
            rows(n);
    } else if (mode == "load" && args.size() > 1) {
        load(args[1]);
    } else if (mode == "groups") {
        groups(args.value(1, "100000").toInt(), args.value(2, "3000").toInt());
    } else if (mode == "m3u" && args.size() > 1) {
        m3u(args[1]);
    } else if (mode == "xls") {
        xls(args.value(1, "65536").toInt());
    } else {
        std::fprintf(stderr, "usage: bench_lists rows [N...] | groups [N] [ARTISTS] | m3u DIR | "
                             "xls [N]\n");
        return 2;
    }
    return 0;
}
