// Sorting a pane's rows by one column, as a click on the column's header does. The
// sorted order becomes the list's order: saving, numbering and playlists follow it.
#pragma once

#include "lists/songitem.h"

#include <QStringView>
#include <Qt>

#include <vector>

class SongListModel;

// How a column sorts: size, year, track, length, bit rate, frequency and rating as
// numbers, every other column as text without regard to case.
enum class SortKind { Text, Number };
SortKind sortKindOf(int column);

// The number a cell sorts by: its leading number ("2005" of "2005-03-01", "3" of "3/12";
// sizes with either decimal separator and any grouping). A cell without one (blank,
// missing, words) sorts before every number.
double numberSortKey(QStringView text, int column);

// The rows' order sorted by a column: result[i] is the index of the row that goes to
// place i. Stable: rows with equal keys keep their order, in either direction.
std::vector<int> sortedOrder(const std::vector<SongItem>& rows, int column, Qt::SortOrder order);

// Sorts the pane's rows in place (the selection stays on the same songs).
void sortList(SongListModel& model, int column, Qt::SortOrder order);
