// The list editing commands on a pane's rows: checks, removing rows and deleting their
// files, renames and re-casing of files, folders and list entries, rating, notes. Each is
// one use case; the menus (through the router), the keys of a list and rendolo-cli call
// them alike. Questions go through env.prompt, file changes through env.files.
#pragma once

#include "fileops/fileoperations.h"
#include "lists/editrules.h"
#include "lists/pane.h"
#include "lists/songlistmodel.h"

#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

struct CommandEnv;

// What rename, change case and separator change act on: the pane menu's "Rename Type".
enum class RenameType { File, OnlyList, Directory };

// One change to a file or folder on disc, for the summary of a batch and for rendolo-cli.
struct FileChange {
    enum Kind { Rename, Trash, Delete };
    Kind kind = Rename;
    QString from;
    QString to; // the new path, or where the file lies in the trash
    FileOperations::Result result;
    bool declined = false; // kept because the user said No (a file without a trash)
};
using FileChanges = std::vector<FileChange>;

// Checks. "Check All" keeps error marks; "UnCheck All" clears them.
void checkAll(SongListModel& model);
void uncheckAll(SongListModel& model);
void invertChecked(SongListModel& model);
// Unchecks every row, then checks each with a chance of percent in 100 (the draws are
// the same for the same seed). Returns the number checked.
int randomCheck(SongListModel& model, int percent, std::uint32_t seed);
// "Check Selected", "UnCheck Selected", "Invert Check Selected" (Space): a row whose
// flag changes loses its error mark.
void checkSelected(PaneRef pane, SongListModel::CheckChange change);

// The rows a remove or delete acts on.
enum class RowTarget { Selected, Checked };
std::vector<int> targetRows(PaneRef pane, RowTarget target);
// Removes rows from the list (the selection of the others stays).
void removeRowsKeepingSelection(PaneRef pane, std::vector<int> rows);
// "Remove From List": under the progress window "delete".
void removeFromList(CommandEnv& env, PaneRef pane, const std::vector<int>& rows);
// "Delete From Disc": asks (with warnings on), then moves each file to the desktop trash
// and removes its row. Files on a file system without a trash are named in one question
// (asked even with warnings off) and deleted for good only on Yes. A file that is not
// trashed or deleted keeps its row with an error mark; a row without a folder (a note)
// only leaves the list. Cancel stops after the current file. Ends with one summary of
// what failed.
FileChanges deleteFromDisc(CommandEnv& env, PaneRef pane, const std::vector<int>& rows);
// "Clear Current List": asks with warnings on; false when nothing was cleared.
bool clearList(CommandEnv& env, SongListModel& model);
// A row "Remove Empty Lines" removes: its file name is empty, one blank, or starts with
// a control character.
bool isEmptyLine(const SongItem& item);
int removeEmptyLines(PaneRef pane);

// Renames one row as the rename type says: "Only List" changes the row's file name;
// "File" renames the file in its folder (one name, never replacing) and changes the row
// when that worked; "Directory" renames the row's folder (below). newText is the new file
// name, or for "Directory" the new folder name or the folder's path with a new last name.
FileChanges applyRenameType(CommandEnv& env, PaneRef pane, int row, const QString& newText,
                            RenameType type);
// A folder rename: the last folder of oldFolder becomes newName in the same parent; then
// every row of the pane at or below the old folder gets the new one.
FileChange renameFolderOfRows(CommandEnv& env, PaneRef pane, const QString& oldFolder,
                              const QString& newName);
// "Rename" (F2) on the first selected row: asks for the new text; a failure says why.
FileChanges renameWithPrompt(CommandEnv& env, PaneRef pane, RenameType type);
// "Change Case" and "Separator Change" on the given rows: file names (the case rule
// keeps the extension in lower case), list entries, or the last folder name of each row.
FileChanges changeCase(CommandEnv& env, PaneRef pane, const std::vector<int>& rows, CaseRule rule,
                       RenameType type);
FileChanges changeSeparator(CommandEnv& env, PaneRef pane, const std::vector<int>& rows,
                            const SeparatorPair& pair, RenameType type);
// "Custom" separator: asks "Change from" and "Change to"; nullopt when either is cancelled.
std::optional<SeparatorPair> askCustomSeparator(CommandEnv& env);
// One message naming what failed in a batch (nothing when all went well).
void reportFailures(CommandEnv& env, const FileChanges& changes);

// "Rating": Up, Down, Reset on the rows that carry a rating (a row of 16 sub-items first
// gets "0"). Ratings are 64-bit and stay at the ends instead of overflowing. A rating
// that is not an integer stops the command there with a message (false); rows before it
// keep their change. With "Resort On Weight Change" the pane is then sorted by rating.
enum class RateAction { Up, Down, Reset };
bool rate(CommandEnv& env, PaneRef pane, const std::vector<int>& rows, RateAction action);
// Sorts the rows by rating, highest first; equal ratings keep their order, rows without a
// numeric rating go last; the selection stays on its rows.
void sortByWeight(PaneRef pane);

// "Add Line Note": asks for the note and appends it as a row with only a file name.
bool addLineNote(CommandEnv& env, SongListModel& model);
void appendNote(SongListModel& model, const QString& note);
