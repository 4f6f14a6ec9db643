#include "lists/pane.h"

#include <algorithm>

std::vector<int> PaneRef::selectedRows() const {
    std::vector<int> rows;
    if (!selection)
        return rows;
    for (const QItemSelectionRange& r : selection->selection())
        for (int row = r.top(); row <= r.bottom(); ++row)
            rows.push_back(row);
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}
