// rendolo-cli db create|save|load|compact: catalogue files through the same store
// and commands the program uses.
#include "base/commandenv.h"
#include "base/nativepath.h"
#include "base/programfolder.h"
#include "base/scripted.h"
#include "base/settings.h"
#include "base/texts.h"
#include "catalog/catalogue.h"
#include "catalog/cataloguecommands.h"
#include "catalog/cataloguestore.h"
#include "catalog/compaction.h"
#include "cli/clicommand.h"
#include "cli/rowtext.h"
#include "fileops/fileoperations.h"
#include "lists/songlistmodel.h"
#include "lists/songtags.h"

#include <QCoreApplication>

#include <fstream>
#include <iostream>

namespace {
constexpr int ExitError = 1;
constexpr int ExitUsage = 2;
constexpr int ExitKeyInUse = 3;
constexpr int KeyMaxLength = 50;

const char kUsage[] = "usage: rendolo-cli db create [--kind catalogue|lyrics] PATH\n"
                      "       rendolo-cli db save --db PATH --key KEY (DIR... | --rows FILE|-)\n"
                      "       rendolo-cli db load --db PATH [--key KEY] [--names-only]\n"
                      "       rendolo-cli db compact PATH...\n";

std::string local(const QString& text) {
    return toNativePathString(text); // names that are not UTF-8 print as their bytes
}

QString argPath(const std::string& arg) {
    return fromNativePath(arg);
}

int usage(std::ostream& err, const std::string& problem = {}) {
    if (!problem.empty())
        err << "rendolo-cli db: " << problem << "\n";
    err << kUsage;
    return ExitUsage;
}

// The program's services for commands that scan folders: the settings of the
// program folder decide how tags are read, as in the program.
struct CliEnv {
    CliEnv()
        : folder(resolveProgramFolder(QCoreApplication::applicationDirPath())), settings(folder),
          tags(settings, yesNo, files), env{folder, settings, prompt, progress, yesNo, tags, files},
          catalogue(folder) {
        env.catalogue = &catalogue;
    }
    QString folder;
    Settings settings;
    ScriptedPrompt prompt; // no one answers: a question is a refusal
    SilentProgress progress;
    YesNo yesNo;
    FileOperations files;
    SongTags tags;
    CommandEnv env;
    Catalogue catalogue;
};

int create(const std::vector<std::string>& args, std::ostream&, std::ostream& err) {
    StoreKind kind = StoreKind::Catalogue;
    std::vector<std::string> paths;
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--kind" && i + 1 < args.size()) {
            const std::string& k = args[++i];
            if (k == "catalogue")
                kind = StoreKind::Catalogue;
            else if (k == "lyrics")
                kind = StoreKind::Lyrics;
            else
                return usage(err, "unknown kind " + k);
        } else if (args[i].rfind("--", 0) == 0) {
            return usage(err, "unknown option " + args[i]);
        } else {
            paths.push_back(args[i]);
        }
    }
    if (paths.size() != 1)
        return usage(err);
    const QString path = argPath(paths.front());
    if (checkStoreFileHeader(path).code != StoreStatus::Code::Missing) {
        err << local(path) << ": the file already exists\n";
        return ExitError;
    }
    if (const StoreStatus s = createStoreFile(path, kind); !s) {
        err << local(s.message) << "\n";
        return ExitError;
    }
    return 0;
}

// The rows of a file (or stdin) in the format scan prints; false with a message on
// a line that is not a row.
bool readRows(const std::string& source, std::vector<SongItem>& rows, std::ostream& err) {
    std::ifstream file;
    std::istream* in = &std::cin;
    if (source != "-") {
        file.open(toNativePathString(argPath(source)), std::ios::binary);
        if (!file) {
            err << source << ": cannot be read\n";
            return false;
        }
        in = &file;
    }
    std::string line;
    int number = 0;
    while (std::getline(*in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty())
            continue;
        const std::optional<QStringList> texts = parseRowLine(line);
        if (!texts) {
            err << source << ":" << number << ": not a row (at most " << SongItem::ColumnCount
                << " tab-separated texts, escapes \\\\ \\t \\r \\n)\n";
            return false;
        }
        rows.emplace_back(*texts);
    }
    return true;
}

int save(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::string db, rowsSource;
    std::optional<QString> key;
    std::vector<std::string> folders;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--db" && i + 1 < args.size())
            db = args[++i];
        else if (a == "--key" && i + 1 < args.size())
            key = argPath(args[++i]);
        else if (a == "--rows" && i + 1 < args.size())
            rowsSource = args[++i];
        else if (a.rfind("--", 0) == 0)
            return usage(err, "unknown option " + a);
        else
            folders.push_back(a);
    }
    if (db.empty() || !key || folders.empty() == rowsSource.empty())
        return usage(err);
    if (key->size() > KeyMaxLength)
        return usage(err, "a key has at most 50 characters");

    CliEnv cli;
    CatalogueStore store;
    if (const StoreStatus s = store.open(argPath(db)); !s) {
        err << local(s.message) << "\n";
        return ExitError;
    }
    if (!store.file().isWritable()) {
        err << local(store.file().readOnlyStatus().message) << "\n";
        return ExitError;
    }
    bool inUse = false;
    if (const StoreStatus s = store.keyInUse(*key, inUse); !s) {
        err << local(s.message) << "\n";
        return ExitError;
    }
    if (inUse) {
        err << "rendolo-cli db: the key \"" << local(*key) << "\" is already in use\n";
        return ExitKeyInUse;
    }
    std::vector<SongItem> rows;
    if (!rowsSource.empty()) {
        if (!readRows(rowsSource, rows, err))
            return ExitError;
    } else {
        SongListModel scanned(&cli.settings);
        QStringList paths;
        for (const std::string& f : folders)
            paths << argPath(f);
        scanFoldersForCatalogue(cli.env, scanned, paths);
        rows = scanned.items();
    }
    const SaveResult r = saveRows(store, *key, rows, cli.yesNo, cli.progress);
    if (!r.status) {
        err << local(saveFailureText(r, *key, rows)) << "\n";
        return ExitError;
    }
    out << r.saved << "\n";
    return 0;
}

int load(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    std::string db;
    std::optional<QString> key;
    bool namesOnly = false;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--db" && i + 1 < args.size())
            db = args[++i];
        else if (a == "--key" && i + 1 < args.size())
            key = argPath(args[++i]);
        else if (a == "--names-only")
            namesOnly = true;
        else
            return usage(err, "unexpected argument " + a);
    }
    if (db.empty())
        return usage(err);
    CatalogueStore store;
    // Loading never writes: the file is opened for reading only.
    if (const StoreStatus s = store.open(argPath(db), StoreFile::Access::ReadOnly); !s) {
        err << local(s.message) << "\n";
        return ExitError;
    }
    YesNo yesNo;
    SilentProgress progress;
    const LoadResult r = loadRows(store, key, namesOnly, yesNo, progress,
                                  [&out](SongItem&& item) { out << rowLine(item); });
    if (!r.status) {
        err << local(r.status.message) << "\n";
        return ExitError;
    }
    return 0;
}

int compact(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.empty())
        return usage(err);
    int rc = 0;
    for (const std::string& a : args) {
        const CompactResult r = compactStoreFile(argPath(a));
        if (!r.status) {
            err << local(r.status.message) << "\n";
            rc = ExitError;
            continue;
        }
        out << a << '\t' << r.bytesBefore << '\t' << r.bytesAfter << "\n";
    }
    return rc;
}

int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    if (args.empty())
        return usage(err);
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    if (args[0] == "create")
        return create(rest, out, err);
    if (args[0] == "save")
        return save(rest, out, err);
    if (args[0] == "load")
        return load(rest, out, err);
    if (args[0] == "compact")
        return compact(rest, out, err);
    return usage(err, "unknown db command " + args[0]);
}
} // namespace

static CliRegistrar reg({"db",
                         "db create|save|load|compact ...  catalogue files: create one, save "
                         "folders or rows under a key, print rows, compact (\"db\" alone for "
                         "details)",
                         &run});
