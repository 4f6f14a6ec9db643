#include "lists/listfiles.h"

#include "base/commandenv.h"
#include "base/progressscope.h"
#include "base/prompt.h"
#include "base/translator.h"
#include "lists/listio.h"
#include "lists/listtext.h"
#include "lists/songlistmodel.h"

#include <QDir>
#include <QFileInfo>

void ListFileState::setTitle(const QString& text, bool listFile) {
    title = text;
    if (showTitle)
        showTitle(text, listFile);
}

char ListFileState::separator() const {
    return csvSeparator.isNull() ? ',' : char(csvSeparator.toLatin1());
}

void markLyricsOnLoad(CommandEnv&, SongItem&) {
    // Asks the lyrics store once it exists (SetHasLyrics); until then nothing is known
    // about lyrics, and a row's flags stay as its file gave them.
}

namespace {
QString shown(const QString& path) {
    return listtext::displayText(path);
}

QString unknownType(const QString& file) {
    const QString name = QFileInfo(file).fileName();
    const qsizetype dot = name.lastIndexOf('.');
    return T("InfoUnknownListType",
             "%1 cannot be loaded: only .txt, .csv, .xls, .m3u, .rnl and .dat list files can, "
             "and \"%2\" is none of these.")
        .arg(shown(file), dot > 0 ? name.mid(dot) : name);
}
} // namespace

bool saveList(CommandEnv& env, const SongListModel& model, ListFileState& state,
              const QString& file, ListFormat format, const ListSaveOptions& options) {
    QString error;
    bool ok = false;
    bool cancelled = false;
    {
        ProgressScope progress(env.progress, QStringLiteral("save"));
        listio::WriteJob job{env, model, progress, state.separator(), options, {}, false};
        using namespace listio;
        switch (format) {
        case ListFormat::Txt:
            ok = writeTxt(job, file);
            break;
        case ListFormat::Csv:
            ok = writeCsv(job, file);
            break;
        case ListFormat::Xls:
            ok = writeXls(job, file);
            break;
        case ListFormat::Doc:
            ok = writeDoc(job, file);
            break;
        case ListFormat::Htm:
            ok = writeHtm(job, file);
            break;
        case ListFormat::M3u:
            ok = writeM3u(job, file);
            break;
        case ListFormat::Rnl:
            ok = writeRnl(job, file);
            break;
        case ListFormat::Dat:
            ok = writeDat(job, file);
            break;
        case ListFormat::Xml:
            ok = writeXml(job, file);
            break;
        case ListFormat::None:
            job.error = T("InfoNoListType", "no list file type was chosen");
            break;
        }
        error = job.error;
        cancelled = job.cancelled;
    }
    if (ok) {
        state.setTitle(file, true);
        return true;
    }
    if (!cancelled)
        env.prompt.information(T("InfoCannotSaveList",
                                 "The list could not be saved to %1:~~%2~~An older file of "
                                 "that name was left as it was.")
                                   .arg(shown(file), error));
    return false;
}

ListLoadResult loadList(CommandEnv& env, SongListModel& model, ListFileState& state,
                        const QString& file) {
    ListLoadResult result;
    result.format = listFormatOfPath(file);
    if (!listFormatLoadable(result.format)) {
        env.prompt.information(unknownType(file));
        return result;
    }
    if (!QFileInfo(file).isFile()) {
        env.prompt.information(T("InfoListFileNotFound", "File %1 not found").arg(shown(file)));
        return result;
    }
    QString message;
    {
        ProgressScope progress(env.progress, QStringLiteral("load"));
        listio::ReadJob job{env, model, state, progress, {}, false};
        using namespace listio;
        switch (result.format) {
        case ListFormat::Txt:
            readTxt(job, file);
            break;
        case ListFormat::Csv:
            readCsv(job, file);
            break;
        case ListFormat::Xls:
            readXls(job, file);
            break;
        case ListFormat::M3u:
            readM3u(job, file);
            break;
        case ListFormat::Rnl:
            readRnl(job, file);
            break;
        case ListFormat::Dat:
            readDat(job, file);
            break;
        default:
            break;
        }
        result.loaded = job.loaded;
        message = job.message;
    }
    if (result.loaded) {
        // What the tools counted belongs to the rows that were there.
        model.setDuplicateCount(0);
        model.setMistakeCount(0);
        state.setTitle(file, true);
        result.resetHeaders = result.format == ListFormat::Xls || result.format == ListFormat::Dat;
    }
    if (!message.isEmpty())
        env.prompt.information(message);
    return result;
}

void pressSave(CommandEnv& env, const SongListModel& model, ListFileState& state, int preselect,
               const ListSaveOptions& options) {
    if (model.size() == 0) {
        env.prompt.information(T("InfoSaveNothing", "There are no items in list to save."));
        return;
    }
    // A list file in the title line is proposed, with its type.
    const int fromTitle = listSaveEntryFor(state.title);
    int entry = preselect > 0 && preselect <= ListFormatCount ? preselect : fromTitle;
    if (entry <= 0)
        entry = int(ListFormat::Rnl);
    QString start;
    if (fromTitle > 0)
        start = withListExtension(state.title, ListFormat(entry));
    else if (state.title.endsWith('/') && QFileInfo(state.title).isDir())
        start = state.title;
    else
        start = QDir::homePath();
    int type = entry - 1;
    const QString chosen = env.prompt.chooseSaveFileType(T("DialogSaveList", "Save list to file"),
                                                         listSaveFilters(), start, type);
    if (chosen.isEmpty())
        return;
    const ListFormat format =
        type >= 0 && type < ListFormatCount ? ListFormat(type + 1) : ListFormat(entry);
    const QString file = withListExtension(chosen, format);
    // The dialog asked about the name as typed; the file written may be another.
    if (QFileInfo::exists(file) &&
        !env.prompt.askYesNo(
            T("WarningOverwriteFile", "%1 already exists.~~Do you want to replace it?")
                .arg(shown(file))))
        return;
    saveList(env, model, state, file, format, options);
}

ListLoadResult pressLoad(CommandEnv& env, SongListModel& model, ListFileState& state) {
    const QString file = env.prompt.chooseOpenFile(
        T("DialogLoadList", "Load list from file"), listOpenFilters().join(QStringLiteral(";;")),
        state.title.isEmpty() ? QDir::homePath() : state.title);
    if (file.isEmpty())
        return {};
    return loadList(env, model, state, file);
}
