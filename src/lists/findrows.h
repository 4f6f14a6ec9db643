// Finding rows: the find window's search (next match, or all later matches) and the
// "Jump To" name filter over a whole pane.
#pragma once

#include "lists/pane.h"

#include <QString>
#include <QStringList>

#include <string>
#include <vector>

class SongListModel;
class SongItem;

struct FindOptions {
    QString text;
    int column =
        0; // the scope: FileName, Artist, SongTitle, Album, Genre, TrackNumber, LengthSec, Year
    bool caseSensitive = false;
    bool wholeWords = false; // the text must start the field or follow a blank
    bool staySelected = true;
    bool findAll = false;
};

// Whether a row's field of the scope holds the text.
bool findMatches(const SongItem& item, const FindOptions& options);

struct FindResult {
    int lastFound = -1;    // where the next search starts after; -1 from the top
    std::vector<int> rows; // the rows selected by this search
};
// The next match after lastFound (with "Find All", it and every later match): selected,
// and the first made current so the list shows it. Unless "Stay selected" or "Find All"
// is on, the selection is cleared first. A search that runs to the end starts from the
// top next time. Nothing happens for an empty text, a single blank or an empty pane.
FindResult findNext(PaneRef pane, const FindOptions& options, int lastFound);

// The file names of a pane, lower-cased into one UTF-8 buffer, for "Jump To": each
// keystroke filters a million names in a few scans of the buffer (a UTF-8 word can only
// match at a character's start).
class JumpIndex {
public:
    void rebuild(const SongListModel& model);
    void clear();
    int size() const { return int(m_starts.empty() ? 0 : m_starts.size() - 1); }
    // The rows whose name contains every word of the text (jumpWords), in list order;
    // every row when the text has no words.
    std::vector<int> filter(const QString& text) const;

private:
    std::string m_names;               // each name lower-cased, followed by a zero byte
    std::vector<std::size_t> m_starts; // where each row's name starts; one more at the end
};
