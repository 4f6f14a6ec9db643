// SongListModel's bulk edits for the list editing commands.
#include "lists/songlistmodel.h"

#include <algorithm>

void SongListModel::changeChecks(const std::vector<int>& rows, CheckChange change,
                                 bool clearErrorMarks) {
    int first = -1, last = -1;
    for (const int r : rows) {
        if (r < 0 || r >= size())
            continue;
        SongItem& it = m_rows[size_t(r)];
        const bool on = change == CheckChange::Check     ? true
                        : change == CheckChange::Uncheck ? false
                                                         : !it.checked();
        if (it.checked() == on)
            continue;
        it.setChecked(on);
        m_checked += on ? 1 : -1;
        if (clearErrorMarks && it.hasFlag(SongItem::ErrorMark)) {
            it.setFlag(SongItem::ErrorMark, false);
            --m_errors;
        }
        first = first < 0 ? r : std::min(first, r);
        last = std::max(last, r);
    }
    if (first < 0)
        return;
    emit dataChanged(index(first, 0), index(last, 0), {Qt::CheckStateRole, ErrorMarkRole});
    emit countersChanged();
}

void SongListModel::removeMany(std::vector<int> rows) {
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    rows.erase(
        std::remove_if(rows.begin(), rows.end(), [&](int r) { return r < 0 || r >= size(); }),
        rows.end());
    if (rows.empty())
        return;
    int runs = 1;
    for (size_t i = 1; i < rows.size(); ++i)
        runs += rows[i] != rows[i - 1] + 1;
    // Each announced run costs the views (and the vector) a pass over the rows after it;
    // scattered rows over a large list are removed in one pass instead.
    if (runs <= 16 || int(rows.size()) == size()) {
        removeRows(std::move(rows));
        return;
    }
    beginResetModel();
    size_t next = 0, out = 0;
    for (size_t r = 0; r < m_rows.size(); ++r) {
        if (next < rows.size() && rows[next] == int(r)) {
            ++next;
            const SongItem& it = m_rows[r];
            m_checked -= int(it.checked());
            m_errors -= int(it.hasFlag(SongItem::ErrorMark));
            continue;
        }
        if (out != r)
            m_rows[out] = std::move(m_rows[r]);
        ++out;
    }
    m_rows.resize(out);
    m_selected = 0;
    endResetModel();
    emit countersChanged();
}

void SongListModel::reorder(const std::vector<int>& order) {
    if (order.size() != m_rows.size() || m_rows.empty())
        return;
    // Only the span that moves is touched: after one rating, a sorted list moves a few rows.
    size_t lo = 0, hi = order.size();
    while (lo < hi && order[lo] == int(lo))
        ++lo;
    while (hi > lo && order[hi - 1] == int(hi - 1))
        --hi;
    if (lo == hi)
        return;
    std::vector<int> newRow(hi - lo, -1);
    for (size_t i = lo; i < hi; ++i) {
        const int from = order[i];
        if (from < int(lo) || from >= int(hi) || newRow[size_t(from) - lo] >= 0)
            return; // not a permutation: leave the rows alone
        newRow[size_t(from) - lo] = int(i);
    }
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList from = persistentIndexList();
    QModelIndexList to;
    to.reserve(from.size());
    for (const QModelIndex& i : from) {
        const size_t row = size_t(i.row());
        to.append(row >= lo && row < hi ? index(newRow[row - lo], i.column()) : i);
    }
    changePersistentIndexList(from, to);
    std::vector<SongItem> moved;
    moved.reserve(hi - lo);
    for (size_t i = lo; i < hi; ++i) {
        // Rows are taken in a random order: the next ones are asked for early.
        if (i + 16 < hi) {
            const char* ahead = reinterpret_cast<const char*>(&m_rows[size_t(order[i + 16])]);
            __builtin_prefetch(ahead);
            __builtin_prefetch(ahead + sizeof(SongItem) - 1);
        }
        moved.push_back(std::move(m_rows[size_t(order[i])]));
    }
    std::move(moved.begin(), moved.end(), m_rows.begin() + std::ptrdiff_t(lo));
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void SongListModel::setColumnTexts(int column,
                                   const std::vector<std::pair<int, QString>>& changes) {
    int first = -1, last = -1;
    for (const auto& [row, text] : changes) {
        if (row < 0 || row >= size())
            continue;
        m_rows[size_t(row)].setText(column, text);
        first = first < 0 ? row : std::min(first, row);
        last = std::max(last, row);
    }
    if (first >= 0)
        emit dataChanged(index(first, column), index(last, column));
}

int SongListModel::replaceLocationPrefix(const QString& oldFolder, const QString& newFolder) {
    if (oldFolder.isEmpty() || oldFolder == newFolder)
        return 0;
    int changed = 0, first = -1, last = -1;
    // Rows of one folder share their folder text; so do their new ones.
    const QChar* lastOld = nullptr;
    qsizetype lastOldSize = -1;
    QString lastNew;
    for (size_t r = 0; r < m_rows.size(); ++r) {
        SongItem& it = m_rows[r];
        const QStringView loc = it.view(SongItem::Location);
        if (!loc.startsWith(oldFolder))
            continue;
        if (loc.data() != lastOld || loc.size() != lastOldSize) {
            lastOld = loc.data();
            lastOldSize = loc.size();
            lastNew = newFolder + loc.mid(oldFolder.size()).toString();
        }
        it.setText(SongItem::Location, lastNew);
        ++changed;
        first = first < 0 ? int(r) : first;
        last = int(r);
    }
    if (changed)
        emit dataChanged(index(first, SongItem::Location), index(last, SongItem::Location));
    return changed;
}
