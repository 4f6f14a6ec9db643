// The list editing commands that select, copy and jump: "Select Checked", "Select On
// Other List", "Copy Selected To Other List" (and drops from the other pane), "Go To
// Line", and the texts "Copy To Clipboard" takes.
#pragma once

#include "lists/pane.h"

#include <QString>

#include <vector>

struct CommandEnv;
class SongItem;
class SongListModel;

// Selects the rows (ascending), clearing the selection first when asked; `current` (or
// the first row) becomes the current row, which the list shows.
void selectRows(PaneRef pane, const std::vector<int>& rows, bool clear = true, int current = -1);
void selectAll(PaneRef pane);
// Every row becomes selected exactly when it is checked.
void selectChecked(PaneRef pane);
// Selects, in `other`, the first row with the file name (without regard to case) of each
// row selected in `pane`. False (nothing changed) when nothing is selected or `other` is
// empty.
bool selectOnOtherList(PaneRef pane, PaneRef other);
// Appends full copies (texts, checked flag, state flags) of `from`'s selected rows to
// `to`, in list order; the counters of `to` follow. Returns the number copied.
int copySelectedRows(PaneRef from, SongListModel& to);
// "Go To Line": asks for a 1-based row number; a number in range selects and shows that
// row (true); another number does nothing; a text that is no number says so.
bool goToLine(CommandEnv& env, PaneRef pane);

// "Copy To Clipboard": the file name; the line (file name and every sub-item, blank
// separated); or "Advance" (each non-empty field on its own line after its header).
enum class ClipboardKind { FileName, Line, Advance };
QString clipboardText(const SongItem& item, ClipboardKind kind);
