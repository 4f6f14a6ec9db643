#include "lists/addfiles.h"

#include "base/commandenv.h"
#include "base/progressscope.h"
#include "lists/folderscanner.h"
#include "lists/songlistmodel.h"
#include "lists/songtags.h"

#include <QFileInfo>

QString pathExtension(const QString& path) {
    const QString name = path.mid(path.lastIndexOf('/') + 1);
    const int dot = int(name.lastIndexOf('.'));
    return dot < 0 ? QString() : name.mid(dot).toLower();
}

CommandLinePlan planCommandLine(const QStringList& paths) {
    CommandLinePlan plan;
    if (paths.isEmpty())
        return plan;
    if (paths.size() == 1) {
        const QString ext = pathExtension(paths.first());
        if (ext == QLatin1String(".db3")) {
            plan.result = StartResult::Db;
            plan.file = paths.first();
            return plan;
        }
        if (ext == QLatin1String(".lyr")) {
            plan.result = StartResult::Lyr;
            plan.file = paths.first();
            return plan;
        }
        if (ext != QLatin1String(".mp3") && !QFileInfo(paths.first()).isDir()) {
            plan.result = StartResult::Load;
            plan.file = paths.first();
            return plan;
        }
    }
    plan.result = StartResult::Mp3;
    for (const QString& p : paths)
        if (pathExtension(p) == QLatin1String(".mp3") || QFileInfo(p).isDir())
            plan.adds << p;
    return plan;
}

namespace {
void addOne(CommandEnv& env, SongListModel& model, const QString& path) {
    model.append(env.tags.makeSongItem(QFileInfo(path).absoluteFilePath(), {}, -1, -1));
}
} // namespace

int addSongs(CommandEnv& env, SongListModel& model, const QStringList& paths) {
    const int before = model.size();
    ProgressScope progress(env.progress, QStringLiteral("add"));
    SongListModel::BulkScope bulk(model);
    for (const QString& path : paths) {
        if (progress.cancelled())
            break;
        if (QFileInfo(path).isDir()) {
            model.flushPending();
            FolderScanner(model, env.tags, env.progress).scanFolder(path, true);
        } else if (pathExtension(path) == QLatin1String(".mp3")) {
            addOne(env, model, path);
        } else {
            continue;
        }
        progress.item("( " + path + " )");
    }
    model.flushPending();
    return model.size() - before;
}

QString addDropped(CommandEnv& env, SongListModel& model, const QStringList& paths) {
    ProgressScope progress(env.progress, QStringLiteral("add"));
    SongListModel::BulkScope bulk(model);
    for (const QString& path : paths) {
        if (progress.cancelled())
            break;
        const QString ext = pathExtension(path);
        if (ext == QLatin1String(".") || ext == QLatin1String(".."))
            continue;
        if (ext.isEmpty() || QFileInfo(path).isDir()) {
            model.flushPending();
            FolderScanner(model, env.tags, env.progress).scanFolder(path, true);
        } else if (ext == QLatin1String(".mp3")) {
            addOne(env, model, path);
        } else {
            progress.item("( " + path + " )");
            return path; // a list file ends the drop
        }
        progress.item("( " + path + " )");
    }
    return {};
}
