#include "lists/editcommands.h"
#include "lists/rowscan.h"

#include "base/commandenv.h"
#include "base/progressscope.h"
#include "base/prompt.h"
#include "base/settings.h"
#include "base/translator.h"
#include "lists/selectcommands.h"

#include <QRandomGenerator>

#include <algorithm>
#include <functional>
#include <limits>
#include <numeric>

namespace {
bool hasFolder(const SongItem& item) {
    return item.has(SongItem::Location) && !item.view(SongItem::Location).isEmpty();
}

QString folderOf(const SongItem& item) {
    QString folder = item.text(SongItem::Location);
    if (!folder.endsWith('/'))
        folder += '/';
    return folder;
}

// "/music/abba/" -> "abba"; "" for the root.
QString lastFolderName(const QString& folder) {
    QString f = folder;
    while (f.size() > 1 && f.endsWith('/'))
        f.chop(1);
    return f == "/" ? QString() : f.mid(f.lastIndexOf('/') + 1);
}

// "/music/abba/" -> "/music/"
QString parentFolder(const QString& folder) {
    QString f = folder;
    while (f.size() > 1 && f.endsWith('/'))
        f.chop(1);
    const qsizetype slash = f.lastIndexOf('/');
    return slash < 0 ? QString() : f.left(slash + 1);
}

// The new last folder name from a typed text: a name stays in the old parent; a path
// must keep the old parent (a rename moves no folder elsewhere). Empty when unchanged.
QString folderNameFromTyped(const QString& oldFolder, const QString& typed, QString* error) {
    QString t = typed;
    while (t.size() > 1 && t.endsWith('/'))
        t.chop(1);
    if (!t.startsWith('/'))
        return t;
    if (t + '/' == oldFolder || t == oldFolder)
        return {};
    if (parentFolder(t + '/') != parentFolder(oldFolder)) {
        *error = T("ErrorFolderParent", "a folder is renamed in its own parent folder only");
        return {};
    }
    return lastFolderName(t + '/');
}

FileChange failedChange(FileChange::Kind kind, const QString& from, const QString& to,
                        const QString& why) {
    FileChange c;
    c.kind = kind;
    c.from = from;
    c.to = to;
    c.result = FileOperations::Result::failure(why);
    return c;
}

// The batch loop of change case and separator change: newName(text, isFolder) gives
// the new file name or last folder name of a row.
FileChanges renameEach(CommandEnv& env, PaneRef pane, const std::vector<int>& rows, RenameType type,
                       const std::function<QString(const QString&, bool)>& newName) {
    FileChanges changes;
    SongListModel& model = *pane.model;
    {
        std::optional<ProgressScope> progress;
        if (type != RenameType::OnlyList && rows.size() > 1)
            progress.emplace(env.progress, QStringLiteral("rename"));
        for (const int row : rows) {
            if (row < 0 || row >= model.size())
                continue;
            const SongItem& item = model.item(row);
            const QString shown = item.text(SongItem::FileName);
            if (type == RenameType::Directory) {
                // Only the last folder name changes: "/music/abba/" ALL CAPS gives
                // "/music/ABBA/", never "/MUSIC/ABBA/".
                if (hasFolder(item)) {
                    const QString folder = folderOf(item);
                    const QString last = lastFolderName(folder);
                    const QString name = last.isEmpty() ? last : newName(last, true);
                    if (name != last)
                        changes.push_back(renameFolderOfRows(env, pane, folder, name));
                }
            } else {
                const QString name = newName(shown, false);
                if (name != shown) {
                    FileChanges one = applyRenameType(env, pane, row, name, type);
                    changes.insert(changes.end(), one.begin(), one.end());
                }
            }
            if (progress) {
                progress->item("( " + shown + " )");
                if (progress->cancelled())
                    break;
            }
        }
    }
    reportFailures(env, changes);
    return changes;
}
} // namespace

void checkAll(SongListModel& model) {
    model.setAllChecked(true);
}

void uncheckAll(SongListModel& model) {
    model.setAllChecked(false);
    model.clearAllErrorMarks();
}

void invertChecked(SongListModel& model) {
    model.invertAllChecked();
}

int randomCheck(SongListModel& model, int percent, std::uint32_t seed) {
    percent = std::clamp(percent, 1, 99);
    QRandomGenerator random(seed);
    std::vector<int> rows;
    for (int r = 0; r < model.size(); ++r)
        if (int(random.bounded(100u)) < percent)
            rows.push_back(r);
    model.setAllChecked(false);
    model.changeChecks(rows, SongListModel::CheckChange::Check, false);
    return int(rows.size());
}

void checkSelected(PaneRef pane, SongListModel::CheckChange change) {
    pane.model->changeChecks(pane.selectedRows(), change, true);
}

std::vector<int> targetRows(PaneRef pane, RowTarget target) {
    if (target == RowTarget::Selected)
        return pane.selectedRows();
    std::vector<int> rows;
    const std::vector<SongItem>& items = pane.model->items();
    for (size_t r = 0; r < items.size(); ++r)
        if (items[r].checked())
            rows.push_back(int(r));
    return rows;
}

void removeRowsKeepingSelection(PaneRef pane, std::vector<int> rows) {
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    if (rows.empty())
        return;
    // Where the selected rows that stay will be.
    std::vector<int> keep;
    int current = -1;
    const auto newIndex = [&rows](int old) {
        const auto it = std::lower_bound(rows.begin(), rows.end(), old);
        if (it != rows.end() && *it == old)
            return -1;
        return old - int(it - rows.begin());
    };
    if (pane.selection) {
        for (const int s : pane.selectedRows())
            if (const int n = newIndex(s); n >= 0)
                keep.push_back(n);
        if (const QModelIndex c = pane.selection->currentIndex(); c.isValid())
            current = newIndex(c.row());
    }
    pane.model->removeMany(std::move(rows));
    // Removing many scattered rows resets the list; its selection comes back here.
    if (pane.selection && !keep.empty() && !pane.selection->hasSelection())
        selectRows(pane, keep, true, current);
}

void removeFromList(CommandEnv& env, PaneRef pane, const std::vector<int>& rows) {
    ProgressScope progress(env.progress, QStringLiteral("delete"));
    removeRowsKeepingSelection(pane, rows);
}

FileChanges deleteFromDisc(CommandEnv& env, PaneRef pane, const std::vector<int>& rows) {
    FileChanges changes;
    SongListModel& model = *pane.model;
    if (rows.empty())
        return changes;
    if (env.settings.flag("CBWarnings") &&
        !env.prompt.askYesNo(T("WarningDeleteToTrash", "You are about to move files to the "
                                                       "trash.~~Do you wish to continue ?")))
        return changes;
    // Files whose file system has no trash: named in one question before anything starts.
    std::vector<int> withoutTrash;
    QStringList paths;
    for (const int row : rows) {
        if (row < 0 || row >= model.size())
            continue;
        const SongItem& item = model.item(row);
        if (item.subItemCount() >= 2 && env.files.lacksTrash(item.path())) {
            withoutTrash.push_back(row);
            paths << item.path();
        }
    }
    const bool forGood =
        !paths.isEmpty() &&
        env.prompt.askYesNoList(T("WarningDeleteFromDisc",
                                  "You are about to permanently delete files from your "
                                  "disc.~~Do you wish to continue ?"),
                                paths);
    std::vector<int> removed;
    {
        ProgressScope progress(env.progress, QStringLiteral("delete"));
        for (const int row : rows) {
            if (row < 0 || row >= model.size())
                continue;
            const SongItem& item = model.item(row);
            const QString shown = item.text(SongItem::FileName);
            if (item.subItemCount() < 2) {
                removed.push_back(row); // a line without a file: only the row goes
            } else {
                FileChange c;
                c.from = item.path();
                const bool noTrash =
                    std::binary_search(withoutTrash.begin(), withoutTrash.end(), row);
                if (noTrash && !forGood) {
                    c.kind = FileChange::Delete;
                    c.declined = true;
                    c.result = FileOperations::Result::failure(
                        T("InfoKeptNoTrash", "kept: its file system has no trash"));
                } else if (noTrash) {
                    c.kind = FileChange::Delete;
                    c.result = env.files.deleteFile(c.from);
                } else {
                    c.kind = FileChange::Trash;
                    c.result = env.files.moveToTrash(c.from);
                    c.to = c.result.target;
                }
                if (c.result)
                    removed.push_back(row);
                else
                    model.setErrorMark(row, true);
                changes.push_back(std::move(c));
            }
            progress.item("( " + shown + " )");
            if (progress.cancelled())
                break;
        }
        removeRowsKeepingSelection(pane, removed);
    }
    reportFailures(env, changes);
    return changes;
}

bool clearList(CommandEnv& env, SongListModel& model) {
    if (model.size() == 0)
        return false;
    if (env.settings.flag("CBWarnings") &&
        !env.prompt.askYesNo(T("WarningClear", "You are about to remove all items from "
                                               "list.~~Do you wish to continue ?")))
        return false;
    model.clear();
    return true;
}

bool isEmptyLine(const SongItem& item) {
    const QStringView name = item.view(SongItem::FileName);
    if (name.isEmpty() || name == u" ")
        return true;
    const char16_t first = name.front().unicode();
    return first < 0x20 || first == 0x7F;
}

int removeEmptyLines(PaneRef pane) {
    std::vector<int> rows;
    const std::vector<SongItem>& items = pane.model->items();
    for (size_t r = 0; r < items.size(); ++r)
        if (prefetchRow(items, r, SongItem::FileName), isEmptyLine(items[r]))
            rows.push_back(int(r));
    removeRowsKeepingSelection(pane, rows);
    return int(rows.size());
}

FileChange renameFolderOfRows(CommandEnv& env, PaneRef pane, const QString& oldFolder,
                              const QString& newName) {
    FileChange c;
    c.kind = FileChange::Rename;
    c.from = oldFolder;
    c.result = env.files.renameFolder(oldFolder, newName);
    c.to = c.result ? c.result.target : parentFolder(oldFolder) + newName + '/';
    if (c.result)
        pane.model->replaceLocationPrefix(oldFolder, c.result.target);
    return c;
}

FileChanges applyRenameType(CommandEnv& env, PaneRef pane, int row, const QString& newText,
                            RenameType type) {
    SongListModel& model = *pane.model;
    if (row < 0 || row >= model.size())
        return {};
    const SongItem& item = model.item(row);
    switch (type) {
    case RenameType::OnlyList:
        model.setText(row, SongItem::FileName, newText);
        return {};
    case RenameType::File: {
        const QString name = item.text(SongItem::FileName);
        if (!hasFolder(item) || newText == name)
            return {};
        const QString folder = folderOf(item);
        FileChange c;
        c.kind = FileChange::Rename;
        c.from = folder + name;
        c.result = env.files.renameFile(folder, name, newText);
        c.to = c.result ? c.result.target : folder + newText;
        if (c.result)
            model.setText(row, SongItem::FileName, newText);
        return {c};
    }
    case RenameType::Directory: {
        if (!hasFolder(item))
            return {};
        const QString folder = folderOf(item);
        QString error;
        const QString name = folderNameFromTyped(folder, newText, &error);
        if (!error.isEmpty())
            return {failedChange(FileChange::Rename, folder, newText, error)};
        if (name.isEmpty() || name == lastFolderName(folder))
            return {};
        return {renameFolderOfRows(env, pane, folder, name)};
    }
    }
    return {};
}

FileChanges renameWithPrompt(CommandEnv& env, PaneRef pane, RenameType type) {
    const std::vector<int> rows = pane.selectedRows();
    if (rows.empty())
        return {};
    const int row = rows.front();
    const SongItem& item = pane.model->item(row);
    const bool folder = type == RenameType::Directory;
    // The two titles have keys of their own, so a language file can tell them apart.
    const std::optional<QString> answer = env.prompt.input(
        folder ? T("DialogRenameDirectory", "Rename directory") : T("DialogRename", "Rename file"),
        T("DialogRenameNew", "New name") + ": ",
        folder ? item.text(SongItem::Location) : item.text(SongItem::FileName));
    if (!answer || answer->isEmpty() || !item.has(SongItem::Location))
        return {};
    FileChanges changes = applyRenameType(env, pane, row, *answer, type);
    for (const FileChange& c : changes)
        if (!c.result)
            env.prompt.information(T("InfoRenameFailed", "\"%1\" could not be renamed to "
                                                         "\"%2\":~~%3")
                                       .arg(c.from, c.to, c.result.error));
    return changes;
}

FileChanges changeCase(CommandEnv& env, PaneRef pane, const std::vector<int>& rows, CaseRule rule,
                       RenameType type) {
    return renameEach(env, pane, rows, type, [rule](const QString& text, bool isFolder) {
        return isFolder ? applyCaseRule(rule, text) : changeFileNameCase(rule, text);
    });
}

FileChanges changeSeparator(CommandEnv& env, PaneRef pane, const std::vector<int>& rows,
                            const SeparatorPair& pair, RenameType type) {
    if (pair.from.isEmpty())
        return {};
    return renameEach(env, pane, rows, type, [&pair](const QString& text, bool) {
        return replaceSeparator(text, pair.from, pair.to);
    });
}

std::optional<SeparatorPair> askCustomSeparator(CommandEnv& env) {
    const std::optional<QString> from = env.prompt.input(
        T("DialogSeparator", "Set separator"), T("DialogSeparatorFrom", "Change from") + ": ", {});
    if (!from)
        return std::nullopt;
    const std::optional<QString> to = env.prompt.input(
        T("DialogSeparator", "Set separator"), T("DialogSeparatorTo", "Change to") + ": ", {});
    if (!to)
        return std::nullopt;
    return SeparatorPair{*from, *to};
}

void reportFailures(CommandEnv& env, const FileChanges& changes) {
    const int shown = 20;
    QStringList lines;
    int failed = 0;
    for (const FileChange& c : changes) {
        if (c.result || c.declined)
            continue;
        if (++failed <= shown)
            lines << c.from + ": " + c.result.error;
    }
    if (failed == 0)
        return;
    QString text = T("InfoFilesFailed", "%1 of %2 files could not be changed:")
                       .arg(failed)
                       .arg(changes.size()) +
                   "\n\n" + lines.join('\n');
    if (failed > shown)
        text += '\n' + T("InfoAndMore", "... and %1 more").arg(failed - shown);
    env.prompt.information(text);
}

bool rate(CommandEnv& env, PaneRef pane, const std::vector<int>& rows, RateAction action) {
    SongListModel& model = *pane.model;
    constexpr qint64 top = std::numeric_limits<qint64>::max();
    constexpr qint64 bottom = std::numeric_limits<qint64>::min();
    std::vector<std::pair<int, QString>> changes;
    for (const int row : rows) {
        if (row < 0 || row >= model.size())
            continue;
        const SongItem& item = model.item(row);
        if (item.subItemCount() <= 15)
            continue;
        const QString old =
            item.subItemCount() == 16 ? QStringLiteral("0") : item.text(SongItem::Weight);
        qint64 value = 0;
        if (action != RateAction::Reset) {
            if (!parseRating(old, &value)) {
                model.setColumnTexts(SongItem::Weight, changes);
                env.prompt.information(
                    T("InfoNotInteger", "'%1' is not a valid integer value.").arg(old));
                return false;
            }
            if (action == RateAction::Up && value < top)
                ++value;
            else if (action == RateAction::Down && value > bottom)
                --value;
        }
        changes.emplace_back(row, QString::number(value));
    }
    model.setColumnTexts(SongItem::Weight, changes);
    if (env.settings.flag("CBWeightResort"))
        sortByWeight(pane);
    return true;
}

void sortByWeight(PaneRef pane) {
    SongListModel& model = *pane.model;
    const std::vector<SongItem>& items = model.items();
    struct Key {
        qint64 value;
        int row;
        bool number;
    };
    std::vector<Key> keys(items.size());
    for (size_t r = 0; r < items.size(); ++r) {
        prefetchRow(items, r, SongItem::Weight);
        qint64 v = 0;
        const bool number =
            items[r].has(SongItem::Weight) && parseRating(items[r].view(SongItem::Weight), &v);
        keys[r] = {v, int(r), number};
    }
    // Highest first, rows without a numeric rating last; equal keys keep their order (the
    // row number decides), which makes the sort stable.
    const auto before = [](const Key& a, const Key& b) {
        if (a.number != b.number)
            return a.number;
        if (a.number && a.value != b.value)
            return a.value > b.value;
        return a.row < b.row;
    };
    if (std::is_sorted(keys.begin(), keys.end(), before))
        return;
    std::sort(keys.begin(), keys.end(), before);
    std::vector<int> order(keys.size());
    for (size_t i = 0; i < keys.size(); ++i)
        order[i] = keys[i].row;
    model.reorder(order);
}

bool addLineNote(CommandEnv& env, SongListModel& model) {
    const std::optional<QString> note =
        env.prompt.input(T("AddLineNote", "Add line note"), T("Note", "Note") + ": ", {});
    if (!note)
        return false;
    appendNote(model, *note);
    return true;
}

void appendNote(SongListModel& model, const QString& note) {
    model.append(SongItem(QStringList{note}));
}
