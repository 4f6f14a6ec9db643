#include "lists/addfiles.h"

#include "base/progress.h"
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
        if (ext != QLatin1String(".mp3")) {
            plan.result = StartResult::Load;
            plan.file = paths.first();
            return plan;
        }
    }
    plan.result = StartResult::Mp3;
    for (const QString& p : paths)
        if (pathExtension(p) == QLatin1String(".mp3"))
            plan.mp3s << p;
    return plan;
}

AddFiles::AddFiles(SongListModel& model, SongTags& reader, Progress& progress, Hooks hooks)
    : m_model(model), m_reader(reader), m_progress(progress), m_hooks(std::move(hooks)) {}

void AddFiles::addOne(const QString& path) {
    m_model.append(m_reader.makeSongItem(QFileInfo(path).absoluteFilePath(), {}, -1, -1));
}

int AddFiles::addSongs(const QStringList& paths) {
    const int before = m_model.size();
    m_progress.startProgress(QStringLiteral("add"));
    m_model.beginBulk();
    for (const QString& path : paths) {
        if (m_progress.cancelRequested())
            break;
        if (pathExtension(path) != QLatin1String(".mp3"))
            continue;
        addOne(path);
        m_progress.showProgressItem("( " + path + " )");
    }
    m_model.endBulk();
    m_progress.endProgress();
    return m_model.size() - before;
}

void AddFiles::addDropped(const QStringList& paths) {
    m_progress.startProgress(QStringLiteral("add"));
    m_model.beginBulk();
    for (const QString& path : paths) {
        if (m_progress.cancelRequested())
            break;
        const QString ext = pathExtension(path);
        bool stop = false;
        if (ext == QLatin1String(".") || ext == QLatin1String("..")) {
            continue;
        } else if (ext.isEmpty() || QFileInfo(path).isDir()) {
            if (m_hooks.scanFolder) {
                m_model.flushPending();
                m_hooks.scanFolder(path);
            }
        } else if (ext == QLatin1String(".mp3")) {
            addOne(path);
        } else {
            if (m_hooks.loadList) {
                m_model.flushPending();
                m_hooks.loadList(path);
            }
            stop = true;
        }
        m_progress.showProgressItem("( " + path + " )");
        if (stop)
            break;
    }
    m_model.endBulk();
    m_progress.endProgress();
}
