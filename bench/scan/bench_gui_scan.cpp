// Scans a folder tree into a real list pane through its add button's command path
// (progress window included) and prints files per second and the resident memory.
// usage: bench_gui_scan DIR [REPEAT]
#include "base/commandenv.h"
#include "base/scripted.h"
#include "base/settings.h"
#include "base/texts.h"
#include "base/ui/tfmsg.h"
#include "fileops/fileoperations.h"
#include "lists/commandrouter.h"
#include "lists/songlistmodel.h"
#include "lists/songtags.h"
#include "lists/ui/listcommands.h"
#include "lists/ui/tfframe.h"

#include "residentmemory.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_gui_scan DIR [REPEAT]\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const int repeat = argc > 2 ? std::atoi(argv[2]) : 3;
    QTemporaryDir home;
    Settings settings(home.path() + "/");
    YesNo yesNo;
    FileOperations files;
    SongTags reader(settings, yesNo, files);
    ScriptedPrompt prompt;
    QWidget window;
    TFMsg progress(&window);
    TFFrame pane(settings, 0, &window);
    CommandEnv env{home.path() + "/", settings, prompt, progress, yesNo, reader, files};
    // The pane's "++" button, through the router as in the program.
    CommandRouter router(
        env, [&pane] { return pane.paneRef(); }, [&pane] { return pane.paneRef(); });
    bindListCommands(router, pane, pane);
    window.resize(1000, 700);
    window.show();
    QApplication::processEvents();

    double best = 0;
    for (int r = 0; r < repeat; ++r) {
        pane.model().clear();
        const long before = residentKb();
        QElapsedTimer t;
        t.start();
        pane.setFolderText(folder);
        emit pane.addRequested(true);
        const double s = t.nsecsElapsed() / 1e9;
        const int rows = pane.model().size();
        const long after = residentKb();
        best = std::max(best, rows / s);
        std::printf(
            "pane scan: %d rows in %.3f s = %.0f files/s, resident +%.1f MB (%.0f bytes/row)\n",
            rows, s, rows / s, (after - before) / 1024.0,
            rows ? (after - before) * 1024.0 / rows : 0.0);
    }
    std::printf("best: %.0f files/s\n", best);
    return 0;
}
