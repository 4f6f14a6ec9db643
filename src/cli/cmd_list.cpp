// rendolo-cli list: list files through the same load and save the panes use.
//   list dump [--tags begining|edit|never] FILE...
//   list save [--tags ...] [--separator C] SOURCE... OUT
//   list playlists --by artist|album|genre|year SOURCE... DIR
// A SOURCE is a list file or [-r] DIR (the rows a scan gives).
#include "base/commandenv.h"
#include "base/nativepath.h"
#include "base/programfolder.h"
#include "base/scripted.h"
#include "base/settings.h"
#include "base/texts.h"
#include "cli/clicommand.h"
#include "cli/jsonwriter.h"
#include "fileops/fileoperations.h"
#include "lists/folderscanner.h"
#include "lists/listfiles.h"
#include "lists/listtext.h"
#include "lists/playlists.h"
#include "lists/songlistmodel.h"
#include "lists/songtags.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {

const char* kUsage =
    "usage: rendolo-cli list dump [--tags begining|edit|never] FILE...\n"
    "       rendolo-cli list save [--tags begining|edit|never] [--separator C] SOURCE... OUT\n"
    "       rendolo-cli list playlists --by artist|album|genre|year SOURCE... DIR\n"
    "  SOURCE: a list file, or [-r] DIR for the rows a scan of DIR (with -r its subfolders) "
    "gives\n";

// The program's services as the panes have them, with no windows: questions get No,
// messages are collected and printed.
struct CliEnv {
    CliEnv()
        : programFolder(resolveProgramFolder(QCoreApplication::applicationDirPath())),
          settings(programFolder),
          tags(settings, yesNo, files), env{programFolder, settings, prompt, progress,
                                            yesNo,         tags,     files},
          model(&settings) {}
    QString programFolder;
    Settings settings;
    ScriptedPrompt prompt;
    SilentProgress progress;
    YesNo yesNo;
    FileOperations files;
    SongTags tags;
    CommandEnv env;
    SongListModel model;
    ListFileState state;
    int toldSoFar = 0;

    // Prints what the commands said since the last call; true when they said anything.
    bool reportMessages(std::ostream& err) {
        bool any = false;
        for (; toldSoFar < prompt.informed().size(); ++toldSoFar) {
            QString text = prompt.informed().at(toldSoFar);
            text.replace('\n', ' ');
            err << "rendolo-cli: " << toNativePath(text).toStdString() << "\n";
            any = true;
        }
        return any;
    }
};

bool setTags(CliEnv& c, const std::string& mode, std::ostream& err) {
    static const std::pair<const char*, const char*> modes[] = {
        {"begining", "RBLTBegining"}, {"edit", "RBLTEdit"}, {"never", "RBLTNever"}};
    for (const auto& [name, key] : modes)
        if (mode == name) {
            for (const auto& [other, otherKey] : modes)
                c.settings.setValue(otherKey, std::string_view(other) == name);
            return true;
        }
    err << "rendolo-cli: --tags takes begining, edit or never\n";
    return false;
}

// Options common to the three commands; the remaining arguments in `rest`.
bool parseOptions(CliEnv& c, const std::vector<std::string>& args, bool separator, std::string* by,
                  std::vector<std::string>& rest, std::ostream& err) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == "--tags" && hasValue) {
            if (!setTags(c, args[++i], err))
                return false;
        } else if (a == "--separator" && separator && hasValue) {
            const std::string v = args[++i];
            const std::string sep = v == "tab" || v == "\\t" ? "\t" : v;
            if (sep.size() != 1 || sep[0] == '"' || sep[0] == '\r' || sep[0] == '\n') {
                err << "rendolo-cli: --separator takes one character\n";
                return false;
            }
            c.state.csvSeparator = QChar::fromLatin1(sep[0]);
        } else if (a == "--by" && by && hasValue) {
            *by = args[++i];
        } else {
            rest.push_back(a);
        }
    }
    return true;
}

// Loads the sources in order into the one pane; false (the message printed) on failure.
bool loadSources(CliEnv& c, const std::vector<std::string>& sources, std::ostream& err) {
    bool recursive = false;
    for (const std::string& s : sources) {
        if (s == "-r") {
            recursive = true;
            continue;
        }
        const QString path = fromNativePath(s);
        if (QFileInfo(path).isDir()) {
            SongListModel::BulkScope bulk(c.model);
            FolderScanner(c.model, c.tags, c.progress).scanFolder(path, recursive);
        } else {
            loadList(c.env, c.model, c.state, path);
            if (c.reportMessages(err))
                return false;
        }
        recursive = false;
    }
    return true;
}

std::string bytesOf(const SongItem& item, int column) {
    const QStringView v = item.view(column);
    return (column == SongItem::FileName || column == SongItem::Location ? listtext::nativeBytes(v)
                                                                         : listtext::utf8Bytes(v))
        .toStdString();
}

int dump(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    CliEnv c;
    std::vector<std::string> files;
    if (!parseOptions(c, args, false, nullptr, files, err))
        return 2;
    if (files.empty()) {
        err << kUsage;
        return 2;
    }
    for (const std::string& f : files) {
        loadList(c.env, c.model, c.state, fromNativePath(f));
        if (c.reportMessages(err))
            return 1;
    }
    std::string line;
    std::vector<std::string> texts;
    for (int r = 0; r < c.model.size(); ++r) {
        const SongItem& item = c.model.item(r);
        texts.clear();
        for (int col = 0; col < item.textCount(); ++col)
            texts.push_back(bytesOf(item, col));
        JsonWriter j;
        j.beginObject();
        j.field("texts", texts);
        j.field("checked", item.checked());
        j.field("flags", int(item.stateFlags()));
        j.endObject();
        out << j.text() << '\n';
    }
    JsonWriter j;
    j.beginObject();
    j.field("count", c.model.counter(SongListModel::Count));
    j.field("checked", c.model.counter(SongListModel::Checked));
    j.field("errors", c.model.counter(SongListModel::Errors));
    j.field("separator", std::string(1, c.state.separator()));
    j.endObject();
    out << j.text() << '\n';
    return 0;
}

int save(const std::vector<std::string>& args, std::ostream&, std::ostream& err) {
    CliEnv c;
    std::vector<std::string> rest;
    if (!parseOptions(c, args, true, nullptr, rest, err))
        return 2;
    if (rest.size() < 2) {
        err << kUsage;
        return 2;
    }
    const QString target = QFileInfo(fromNativePath(rest.back())).absoluteFilePath();
    rest.pop_back();
    const ListFormat format = listFormatOfPath(target);
    if (format == ListFormat::None) {
        err << "rendolo-cli: the extension of " << toNativePath(target).toStdString()
            << " names no list file type (.txt .csv .xls .doc .htm .html .m3u .m3u8 .rnl .dat "
               ".xml)\n";
        return 1;
    }
    if (!loadSources(c, rest, err))
        return 1;
    const bool ok = saveList(c.env, c.model, c.state, target, format);
    c.reportMessages(err);
    return ok ? 0 : 1;
}

int playlists(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    CliEnv c;
    std::vector<std::string> rest;
    std::string by;
    if (!parseOptions(c, args, false, &by, rest, err))
        return 2;
    static const std::pair<const char*, PlaylistGroup> groups[] = {
        {"artist", PlaylistGroup::Artist},
        {"album", PlaylistGroup::Album},
        {"genre", PlaylistGroup::Genre},
        {"year", PlaylistGroup::Year}};
    const PlaylistGroup* group = nullptr;
    for (const auto& g : groups)
        if (by == g.first)
            group = &g.second;
    if (!group || rest.size() < 2) {
        err << kUsage;
        return 2;
    }
    const QString folder = fromNativePath(rest.back());
    rest.pop_back();
    if (!loadSources(c, rest, err))
        return 1;
    if (!QDir().mkpath(folder)) {
        err << "rendolo-cli: cannot make the folder " << toNativePath(folder).toStdString() << "\n";
        return 1;
    }
    const std::vector<GroupPlaylist> written = writeGroupPlaylists(c.env, c.model, folder, *group);
    for (const GroupPlaylist& p : written)
        out << toNativePath(p.path).toStdString() << '\t' << p.entries << '\n';
    return c.reportMessages(err) ? 1 : 0;
}

int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.empty()) {
        err << kUsage;
        return 2;
    }
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (args[0] == "dump")
        return dump(rest, out, err);
    if (args[0] == "save")
        return save(rest, out, err);
    if (args[0] == "playlists")
        return playlists(rest, out, err);
    err << kUsage;
    return 2;
}

} // namespace

static CliRegistrar reg({"list",
                         "list dump|save|playlists ...  list files as the panes load and save "
                         "them (rendolo-cli list for the details)",
                         &run});
