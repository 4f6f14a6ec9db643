// Saving a list pane to a file in nine formats and loading it back from six: the
// pane's "Save list to file" (BSave) and "Load list from file" (BLoad) buttons, the
// File menu's "Save" and "Load", and what the command line and drops open.
#pragma once

#include "lists/listformats.h"

#include <QString>

#include <array>
#include <functional>

class SongItem;
class SongListModel;
struct CommandEnv;

// What a pane keeps about list files besides its rows.
struct ListFileState {
    // The pane's title line: the list file loaded or saved last, or the folder scanned.
    QString title;
    // The CSV separator; none (",") until a CSV load detects another.
    QChar csvSeparator;
    // Draws the title line (a list file is shown in bold); may be empty.
    std::function<void(const QString& text, bool listFile)> showTitle;

    void setTitle(const QString& text, bool listFile);
    char separator() const;
};

struct ListSaveOptions {
    // Column widths in pixels for ".dat" (a hidden column has 0); the defaults when empty.
    std::array<int, 18> columnWidths{};
};

// SaveList: writes the rows in the format into the file (atomically: a failure keeps
// the old file) under the progress window "save". True when the file was written,
// also when the user chose to end it early; failures are reported through env.prompt.
bool saveList(CommandEnv& env, const SongListModel& model, ListFileState& state,
              const QString& file, ListFormat format, const ListSaveOptions& options = {});

struct ListLoadResult {
    bool loaded = false; // the list changed (all rows, or those before a Cancel or an error)
    ListFormat format = ListFormat::None;
    bool resetHeaders = false; // ".xls" and ".dat" set the column headers again
};
// LoadList: ".txt", ".rnl", ".dat" and ".xls" replace the rows, ".csv" and ".m3u"
// (".m3u8") append; the extension decides without regard to case. A file that is not
// a list of its type leaves the list as it was and says why.
ListLoadResult loadList(CommandEnv& env, SongListModel& model, ListFileState& state,
                        const QString& file);

// BSave: "There are no items in list to save." for an empty pane; otherwise the save
// dialog with the file of the title line proposed and its type preselected (entry 7,
// ".rnl", when the title names no list file; `preselect` (1-9) overrides), the type's
// extension forced on the name, a question before replacing a file, then saveList.
void pressSave(CommandEnv& env, const SongListModel& model, ListFileState& state, int preselect = 0,
               const ListSaveOptions& options = {});
// BLoad: the open dialog (starting at the title line's file), then loadList.
ListLoadResult pressLoad(CommandEnv& env, SongListModel& model, ListFileState& state);

// SetHasLyrics for a row that a list load brings, while the lyrics setting "Load On
// Begining" is on. The lyrics store arrives with the lyrics subsystem; until then there
// is nothing to ask and rows keep the flags their file gave them.
void markLyricsOnLoad(CommandEnv& env, SongItem& item);
