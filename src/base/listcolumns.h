// The number of columns of a list pane: the file name and the 17 sub-items of a song.
// Settings keep a visibility flag per column; the song record, the list model and the
// column table are built on the same number.
#pragma once

inline constexpr int ListColumnCount = 18;
