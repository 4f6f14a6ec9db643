// rendolo-cli stats: the statistics window's figures for the songs of folder scans and
// song files, every song selected, in the order a pane gets them.
#include "base/commandenv.h"
#include "base/nativepath.h"
#include "base/programfolder.h"
#include "base/scripted.h"
#include "base/settings.h"
#include "base/texts.h"
#include "cli/clicommand.h"
#include "cli/jsonwriter.h"
#include "fileops/fileoperations.h"
#include "lists/addfiles.h"
#include "lists/folderscanner.h"
#include "lists/songlistmodel.h"
#include "lists/songtags.h"
#include "tools/statistics.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QLocale>

namespace {
std::string utf8(const QString& s) {
    return s.toStdString();
}

std::string stringArray(const QStringList& items) {
    std::string out = "[";
    for (qsizetype i = 0; i < items.size(); ++i) {
        if (i)
            out += ", ";
        out += JsonWriter::quote(utf8(items[i]));
    }
    return out + "]";
}

// The result as one JSON object; genres and artists in the order first met.
std::string statisticsJson(const StatisticsResult& r) {
    std::string out = "{\"files\": " + std::to_string(r.files);
    out += ", \"size_text\": " + JsonWriter::quote(utf8(r.sizeText()));
    out += ", \"playtime_text\": " + JsonWriter::quote(utf8(timeText(r.playtimeSeconds)));
    out += ", \"playtime_seconds\": " + std::to_string(r.playtimeSeconds);
    out += ", \"genres\": [";
    for (std::size_t i = 0; i < r.genres.size(); ++i) {
        if (i)
            out += ", ";
        out += "[" + JsonWriter::quote(utf8(r.genres[i].name)) + ", " +
               JsonWriter::quote(utf8(shareText(r.share(r.genres[i]), QLocale::c()))) + "]";
    }
    out += "], \"artists\": [";
    for (std::size_t i = 0; i < r.artists.size(); ++i) {
        const StatisticsArtist& a = r.artists[i];
        if (i)
            out += ", ";
        out += "{\"artist\": " + JsonWriter::quote(utf8(a.name)) +
               ", \"songs\": " + std::to_string(a.songs) +
               ", \"albums\": " + std::to_string(a.albums.size()) +
               ", \"years\": " + stringArray(a.years) +
               ", \"album_names\": " + stringArray(a.albums) + "}";
    }
    out += "], \"artist_count\": " + std::to_string(r.artists.size());
    out += ", \"album_count\": " + std::to_string(r.albumCount) + "}\n";
    return out;
}
} // namespace

static int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    static const char* kUsage = "usage: rendolo-cli stats [--detailed] [-r] PATH...\n";
    bool detailed = false;
    bool recursive = false;
    bool unknownOption = false;
    QStringList paths;
    for (const std::string& a : args) {
        if (a == "--detailed")
            detailed = true;
        else if (a == "-r")
            recursive = true;
        else if (a.size() > 1 && a[0] == '-')
            unknownOption = true;
        else
            paths << fromNativePath(QByteArray::fromStdString(a));
    }
    if (paths.isEmpty() || unknownOption) {
        err << kUsage;
        return 2;
    }
    for (const QString& p : paths)
        if (!QFileInfo::exists(p)) {
            err << "stats: no such file or folder: " << toNativePath(p).toStdString() << "\n";
            return 1;
        }

    // The same settings the program reads (" Load ID3 Tag on " decides whether tags are read).
    const QString programFolder = resolveProgramFolder(QCoreApplication::applicationDirPath());
    Settings settings(programFolder);
    YesNo yesNo;
    FileOperations files;
    SongTags tags(settings, yesNo, files);
    ScriptedPrompt prompt;
    SilentProgress progress;
    CommandEnv env{programFolder, settings, prompt, progress, yesNo, tags, files};

    SongListModel model(&settings);
    {
        FolderScanner scanner(model, tags, progress);
        SongListModel::BulkScope bulk(model);
        for (const QString& p : paths) {
            if (QFileInfo(p).isDir())
                scanner.scanFolder(p, recursive);
            else
                addSongs(env, model, {p});
        }
    }
    QItemSelectionModel selection(&model);
    if (model.size() > 0)
        selection.select(QItemSelection(model.index(0, 0), model.index(model.size() - 1, 0)),
                         QItemSelectionModel::Select | QItemSelectionModel::Rows);
    const StatisticsResult result =
        computeStatistics(env, PaneRef{&model, &selection, 0}, detailed);
    out << statisticsJson(result);
    return 0;
}

static CliRegistrar reg({"stats",
                         "stats [--detailed] [-r] PATH...  the statistics of the songs of the "
                         "folders (with -r their subfolders too) and song files, all selected: "
                         "one JSON object",
                         &run});
