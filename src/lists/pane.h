// What a command sees of a list pane: its rows and its selection. The windows hand
// commands this instead of themselves, so commands run the same without windows.
#pragma once

#include <QItemSelectionModel>

#include <vector>

class SongListModel;

struct PaneRef {
    SongListModel* model = nullptr;
    QItemSelectionModel* selection = nullptr; // may be null: nothing selected
    int number = 0;                           // 0 for the first pane, 1 for the second

    explicit operator bool() const { return model != nullptr; }
    // The selected rows in ascending order.
    std::vector<int> selectedRows() const;
};
