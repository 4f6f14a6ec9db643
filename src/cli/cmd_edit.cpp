// rendolo-cli edit: the list editing commands on one pane, in the order given, with
// the same core commands the panes' menus run. Prints one JSON line per file operation
// and per find or jump, then the pane's rows and counters.
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
#include "lists/editcommands.h"
#include "lists/findrows.h"
#include "lists/folderscanner.h"
#include "lists/selectcommands.h"
#include "lists/songlistmodel.h"
#include "lists/songtags.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <map>
#include <optional>

namespace {
const char* kUsage =
    "usage: rendolo-cli edit SOURCE... ACTION...\n"
    "  SOURCE: [-r] DIR (its songs, with -r its subfolders' too) or an .mp3 file\n"
    "  ACTION, run in order on one pane:\n"
    "    --type file|list|directory        what renames, case and separator changes act on\n"
    "    --select all|checked|ROWS         ROWS 1-based, as \"1,3-5\"\n"
    "    --check all|none|invert|selected|unselected|invert-selected\n"
    "    --random-check SEED\n"
    "    --case first-letters|beginning|all-caps|all-small|first-word|last-word\n"
    "    --separator FROM TO\n"
    "    --rename TEXT                     the first selected row\n"
    "    --rate up|down|reset\n"
    "    --remove selected|checked|empty\n"
    "    --delete selected|checked         to the trash; files on a file system without one\n"
    "                                      only with --permanent\n"
    "    --find TEXT [--scope file-name|artist|song-title|album|genre|track|length|year]\n"
    "               [--case-sensitive] [--whole-words] [--find-all]\n"
    "    --jump WORDS\n"
    "    --note TEXT\n";

// Answers like a user who said Yes to the warning; files without a trash are deleted for
// good only when asked for. Messages go to stderr.
class CliPrompt : public Prompt {
public:
    CliPrompt(std::ostream& err, bool permanent) : m_err(err), m_permanent(permanent) {}
    void information(const QString& text) override {
        m_err << toNativePath(text).toStdString() << '\n';
    }
    bool askYesNo(const QString&) override { return true; }
    bool askYesNoList(const QString&, const QStringList&) override { return m_permanent; }
    Answer askYesNoAll(const QString&) override { return Answer::Yes; }
    Answer askOkIgnoreNoToAll(const QString&) override { return Answer::Ok; }
    std::optional<QString> input(const QString&, const QString&, const QString&, int) override {
        return std::nullopt;
    }
    QString chooseFolder(const QString&, const QString&) override { return {}; }
    QString chooseOpenFile(const QString&, const QString&, const QString&) override { return {}; }
    QString chooseSaveFile(const QString&, const QString&, const QString&) override { return {}; }
    QString chooseSaveFileType(const QString&, const QStringList&, const QString&, int&) override {
        return {};
    }

private:
    std::ostream& m_err;
    bool m_permanent;
};

std::string json(const QString& text) {
    return JsonWriter::quote(toNativePath(text).toStdString());
}

std::string rowsLine(const char* op, const std::vector<int>& rows) {
    std::string line = std::string("{\"op\": \"") + op + "\", \"rows\": [";
    for (size_t i = 0; i < rows.size(); ++i)
        line += (i ? ", " : "") + std::to_string(rows[i] + 1);
    return line + "]}";
}

// "1,3-5" -> rows 0, 2, 3, 4; nullopt when a part is no row of the pane.
std::optional<std::vector<int>> parseRows(const std::string& spec, int count) {
    std::vector<int> rows;
    for (const QString& part : QString::fromStdString(spec).split(',')) {
        const QStringList ends = part.split('-');
        bool ok1 = false, ok2 = true;
        const int from = ends[0].trimmed().toInt(&ok1);
        const int to = ends.size() == 2 ? ends[1].trimmed().toInt(&ok2) : from;
        if (!ok1 || !ok2 || ends.size() > 2 || from < 1 || to < from || to > count)
            return std::nullopt;
        for (int r = from; r <= to; ++r)
            rows.push_back(r - 1);
    }
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

template <typename T>
std::optional<T> pick(const std::map<std::string, T>& choices, const std::string& word) {
    const auto it = choices.find(word);
    return it == choices.end() ? std::nullopt : std::optional<T>(it->second);
}

struct Run {
    CommandEnv& env;
    PaneRef pane;
    std::ostream& out;
    std::ostream& err;
    RenameType type = RenameType::File;
    bool failed = false;

    void print(const FileChanges& changes) {
        static const char* ops[] = {"rename", "trash", "delete"};
        for (const FileChange& c : changes) {
            out << "{\"op\": \"" << ops[c.kind] << "\", \"from\": " << json(c.from)
                << ", \"to\": " << json(c.to) << ", \"ok\": " << (c.result ? "true" : "false")
                << ", \"error\": " << json(c.result.error) << "}\n";
            failed = failed || !c.result;
        }
    }
    // The router's rule: a command that needs a selection or checks says so instead.
    bool has(RowTarget target) {
        if (!targetRows(pane, target).empty())
            return true;
        env.prompt.information(target == RowTarget::Selected ? "There are no items selected."
                                                             : "There are no items checked.");
        return false;
    }
};

void dump(const SongListModel& model, std::ostream& out) {
    for (const SongItem& it : model.items()) {
        std::string line = "{\"texts\": [";
        for (int c = 0; c < it.textCount(); ++c)
            line += (c ? ", " : "") + json(it.text(c));
        line += "], \"checked\": ";
        line += it.checked() ? "true" : "false";
        line += ", \"flags\": " + std::to_string(it.stateFlags()) + "}\n";
        out << line;
    }
    out << "{\"count\": " << model.counter(SongListModel::Count)
        << ", \"checked\": " << model.counter(SongListModel::Checked)
        << ", \"errors\": " << model.counter(SongListModel::Errors) << ", \"separator\": \",\"}\n";
}

int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    size_t first = 0;
    while (first < args.size() && !(args[first].rfind("--", 0) == 0))
        ++first;
    if (first == 0) {
        err << kUsage;
        return 2;
    }
    bool permanent = false;
    for (size_t i = first; i < args.size(); ++i)
        permanent = permanent || args[i] == "--permanent";

    const QString programFolder = resolveProgramFolder(QCoreApplication::applicationDirPath());
    Settings settings(programFolder);
    CliPrompt prompt(err, permanent);
    SilentProgress progress;
    YesNo yesNo;
    FileOperations files;
    SongTags tags(settings, yesNo, files);
    CommandEnv env{programFolder, settings, prompt, progress, yesNo, tags, files};
    SongListModel model(&settings);
    QItemSelectionModel selection(&model);
    Run r{env, PaneRef{&model, &selection, 0}, out, err};

    // The sources, as a pane gets them.
    bool recursive = false;
    for (size_t i = 0; i < first; ++i) {
        if (args[i] == "-r") {
            recursive = true;
            continue;
        }
        QString path = fromNativePath(args[i]);
        if (!path.startsWith('/')) // rows carry full paths
            path = QDir::cleanPath(QDir::currentPath() + '/' + path);
        if (QFileInfo(path).isDir()) {
            FolderScanner(model, tags, progress).scanFolder(path, recursive);
        } else if (pathExtension(path) == ".mp3") {
            addSongs(env, model, {path});
        } else {
            err << "rendolo-cli edit: not a folder or an .mp3 file: " << args[i] << '\n';
            return 1;
        }
        recursive = false;
    }

    const std::map<std::string, RenameType> types = {{"file", RenameType::File},
                                                     {"list", RenameType::OnlyList},
                                                     {"directory", RenameType::Directory}};
    const std::map<std::string, CaseRule> rules = {
        {"first-letters", CaseRule::FirstLetters}, {"beginning", CaseRule::Beginning},
        {"all-caps", CaseRule::AllCaps},           {"all-small", CaseRule::AllSmall},
        {"first-word", CaseRule::FirstWord},       {"last-word", CaseRule::LastWord}};
    const std::map<std::string, RateAction> rates = {
        {"up", RateAction::Up}, {"down", RateAction::Down}, {"reset", RateAction::Reset}};
    const std::map<std::string, int> scopes = {
        {"file-name", SongItem::FileName},   {"artist", SongItem::Artist},
        {"song-title", SongItem::SongTitle}, {"album", SongItem::Album},
        {"genre", SongItem::Genre},          {"track", SongItem::TrackNumber},
        {"length", SongItem::LengthSec},     {"year", SongItem::Year}};
    using CC = SongListModel::CheckChange;

    const auto bad = [&](const std::string& what) {
        err << "rendolo-cli edit: " << what << "\n" << kUsage;
        return 2;
    };
    for (size_t i = first; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size();
        const std::string value = hasValue ? args[i + 1] : std::string();
        const QString text = fromNativePath(value);
        if (a == "--permanent")
            continue;
        if (!hasValue)
            return bad("missing value after " + a);
        ++i;
        if (a == "--type") {
            const auto t = pick(types, value);
            if (!t)
                return bad("unknown type " + value);
            r.type = *t;
        } else if (a == "--select") {
            if (value == "all") {
                selectAll(r.pane);
            } else if (value == "checked") {
                selectChecked(r.pane);
            } else {
                const auto rows = parseRows(value, model.size());
                if (!rows)
                    return bad("no such rows: " + value);
                selectRows(r.pane, *rows, true);
            }
        } else if (a == "--check") {
            if (value == "all")
                checkAll(model);
            else if (value == "none")
                uncheckAll(model);
            else if (value == "invert")
                invertChecked(model);
            else if (value == "selected" || value == "unselected" || value == "invert-selected") {
                if (r.has(RowTarget::Selected))
                    checkSelected(r.pane, value == "selected"     ? CC::Check
                                          : value == "unselected" ? CC::Uncheck
                                                                  : CC::Invert);
            } else {
                return bad("unknown check " + value);
            }
        } else if (a == "--random-check") {
            bool ok = false;
            const uint seed = text.toUInt(&ok);
            if (!ok)
                return bad("the seed is no number: " + value);
            randomCheck(model, settings.number("SERandomSeed_skip_"), seed);
        } else if (a == "--case") {
            const auto rule = pick(rules, value);
            if (!rule)
                return bad("unknown case rule " + value);
            if (r.has(RowTarget::Selected))
                r.print(changeCase(env, r.pane, r.pane.selectedRows(), *rule, r.type));
        } else if (a == "--separator") {
            if (i + 1 >= args.size())
                return bad("--separator needs FROM and TO");
            const QString to = fromNativePath(args[++i]);
            if (r.has(RowTarget::Selected))
                r.print(changeSeparator(env, r.pane, r.pane.selectedRows(), {text, to}, r.type));
        } else if (a == "--rename") {
            if (r.has(RowTarget::Selected) && !text.isEmpty())
                r.print(applyRenameType(env, r.pane, r.pane.selectedRows().front(), text, r.type));
        } else if (a == "--rate") {
            const auto action = pick(rates, value);
            if (!action)
                return bad("unknown rating " + value);
            if (r.has(RowTarget::Selected))
                rate(env, r.pane, r.pane.selectedRows(), *action);
        } else if (a == "--remove") {
            if (value == "empty")
                removeEmptyLines(r.pane);
            else if (value == "selected" || value == "checked") {
                const RowTarget t = value == "selected" ? RowTarget::Selected : RowTarget::Checked;
                if (r.has(t))
                    removeFromList(env, r.pane, targetRows(r.pane, t));
            } else {
                return bad("unknown rows " + value);
            }
        } else if (a == "--delete") {
            if (value != "selected" && value != "checked")
                return bad("unknown rows " + value);
            const RowTarget t = value == "selected" ? RowTarget::Selected : RowTarget::Checked;
            if (r.has(t))
                r.print(deleteFromDisc(env, r.pane, targetRows(r.pane, t)));
        } else if (a == "--find") {
            FindOptions o;
            o.text = text;
            while (i + 1 < args.size()) {
                const std::string& m = args[i + 1];
                if (m == "--case-sensitive")
                    o.caseSensitive = true;
                else if (m == "--whole-words")
                    o.wholeWords = true;
                else if (m == "--find-all")
                    o.findAll = true;
                else if (m == "--scope" && i + 2 < args.size()) {
                    const auto column = pick(scopes, args[i + 2]);
                    if (!column)
                        return bad("unknown scope " + args[i + 2]);
                    o.column = *column;
                    ++i;
                } else {
                    break;
                }
                ++i;
            }
            selection.clearSelection();
            out << rowsLine("find", findNext(r.pane, o, -1).rows) << '\n';
        } else if (a == "--jump") {
            JumpIndex jump;
            jump.rebuild(model);
            const std::vector<int> rows = jump.filter(text);
            if (rows.size() == 1) // as Enter in the jump window
                selectRows(r.pane, rows, true);
            out << rowsLine("jump", rows) << '\n';
        } else if (a == "--note") {
            appendNote(model, text);
        } else {
            return bad("unknown action " + a);
        }
    }
    dump(model, out);
    return r.failed ? 1 : 0;
}
} // namespace

static CliRegistrar reg({"edit",
                         "edit SOURCE... ACTION...  the list editing commands on one pane "
                         "(checks, renames, case, rating, remove, delete to the trash, find, "
                         "jump); JSON Lines of file operations, then the rows and counters",
                         &run});
