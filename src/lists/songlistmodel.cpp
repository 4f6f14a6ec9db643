#include "lists/songlistmodel.h"

#include "base/settings.h"
#include "base/translator.h"
#include "lists/columns.h"
#include "lists/rowcolours.h"

#include <QFont>

#include <algorithm>

SongListModel::SongListModel(const Settings* settings, QObject* parent)
    : QAbstractTableModel(parent), m_settings(settings) {}

int SongListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : size();
}

int SongListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : SongItem::ColumnCount;
}

QVariant SongListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= size())
        return {};
    const SongItem& it = m_rows[size_t(index.row())];
    const int col = index.column();
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return it.text(col);
    case Qt::CheckStateRole:
        if (col == SongItem::FileName)
            return it.checked() ? Qt::Checked : Qt::Unchecked;
        return {};
    case Qt::FontRole:
        if (col == SongItem::FileName) {
            QFont f;
            f.setBold(true);
            return f;
        }
        return {};
    case Qt::ForegroundRole:
        if (it.hasFlag(SongItem::HasLyrics) && m_settings && m_settings->flag("CBLColorFiles"))
            return QColor(0, 128, 0);
        return {};
    case Qt::BackgroundRole: {
        if (!m_settings || !it.has(SongItem::BitRate))
            return {};
        if (col != SongItem::BitRate && !m_settings->flag("CBColorBitrate"))
            return {};
        const QColor c = bitRateColor(it.text(SongItem::BitRate), *m_settings);
        return m_active ? c : dimColor(c, 30);
    }
    case Qt::TextAlignmentRole:
        // Numbers line up by their last digit.
        if (col < ListColumnCount && listColumns()[size_t(col)].numeric)
            return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
        return {};
    case ErrorMarkRole:
        return it.hasFlag(SongItem::ErrorMark);
    default:
        return {};
    }
}

bool SongListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || index.row() >= size())
        return false;
    if (role == Qt::CheckStateRole && index.column() == SongItem::FileName) {
        const bool on = value.toInt() == Qt::Checked;
        if (on != m_rows[size_t(index.row())].checked())
            toggleCheckedByUser(index.row());
        return true;
    }
    return false;
}

Qt::ItemFlags SongListModel::flags(const QModelIndex& index) const {
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled;
    if (index.column() == SongItem::FileName)
        f |= Qt::ItemIsUserCheckable;
    return f;
}

QVariant SongListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= SongItem::ColumnCount)
        return {};
    if (role == Qt::DisplayRole)
        return listColumnHeader(section);
    return {};
}

void SongListModel::append(SongItem item) {
    item.compact();
    if (item.checked())
        ++m_checked;
    if (item.hasFlag(SongItem::ErrorMark))
        ++m_errors;
    if (m_bulkDepth > 0) {
        m_pending.push_back(std::move(item));
        if (m_pending.size() == 1)
            emit pendingStarted();
        return;
    }
    beginInsertRows({}, size(), size());
    m_rows.push_back(std::move(item));
    endInsertRows();
    emit countersChanged();
}

void SongListModel::append(std::vector<SongItem> items) {
    beginBulk();
    for (auto& it : items)
        append(std::move(it));
    endBulk();
}

void SongListModel::beginBulk() {
    ++m_bulkDepth;
}

void SongListModel::endBulk() {
    if (m_bulkDepth > 0 && --m_bulkDepth == 0)
        flushPending();
}

void SongListModel::flushPending() {
    if (m_pending.empty())
        return;
    const int first = size();
    beginInsertRows({}, first, first + int(m_pending.size()) - 1);
    if (m_rows.empty()) {
        m_rows.swap(m_pending);
    } else {
        m_rows.insert(m_rows.end(), std::make_move_iterator(m_pending.begin()),
                      std::make_move_iterator(m_pending.end()));
        m_pending.clear();
    }
    endInsertRows();
    emit countersChanged();
}

void SongListModel::emitRowChanged(int row) {
    emit dataChanged(index(row, 0), index(row, SongItem::ColumnCount - 1));
}

void SongListModel::setText(int row, int column, const QString& text) {
    if (row < 0 || row >= size())
        return;
    m_rows[size_t(row)].setText(column, text);
    const QModelIndex i = index(row, column);
    emit dataChanged(i, i);
}

void SongListModel::setItem(int row, SongItem item) {
    if (row < 0 || row >= size())
        return;
    SongItem& old = m_rows[size_t(row)];
    m_checked += int(item.checked()) - int(old.checked());
    m_errors += int(item.hasFlag(SongItem::ErrorMark)) - int(old.hasFlag(SongItem::ErrorMark));
    item.compact();
    old = std::move(item);
    emitRowChanged(row);
    emit countersChanged();
}

void SongListModel::setChecked(int row, bool on) {
    if (row < 0 || row >= size())
        return;
    SongItem& it = m_rows[size_t(row)];
    if (it.checked() == on)
        return;
    it.setChecked(on);
    m_checked += on ? 1 : -1;
    const QModelIndex i = index(row, 0);
    emit dataChanged(i, i, {Qt::CheckStateRole});
    emit countersChanged();
}

void SongListModel::toggleCheckedByUser(int row) {
    if (row < 0 || row >= size())
        return;
    SongItem& it = m_rows[size_t(row)];
    it.setChecked(!it.checked());
    m_checked += it.checked() ? 1 : -1;
    if (it.hasFlag(SongItem::ErrorMark)) {
        it.setFlag(SongItem::ErrorMark, false);
        --m_errors;
    }
    emitRowChanged(row);
    emit countersChanged();
}

void SongListModel::setAllChecked(bool on) {
    if (m_rows.empty())
        return;
    for (auto& it : m_rows)
        it.setChecked(on);
    m_checked = on ? size() : 0;
    emit dataChanged(index(0, 0), index(size() - 1, 0), {Qt::CheckStateRole});
    emit countersChanged();
}

void SongListModel::invertAllChecked() {
    if (m_rows.empty())
        return;
    for (auto& it : m_rows)
        it.setChecked(!it.checked());
    m_checked = size() - m_checked;
    emit dataChanged(index(0, 0), index(size() - 1, 0), {Qt::CheckStateRole});
    emit countersChanged();
}

void SongListModel::setErrorMark(int row, bool on) {
    if (row < 0 || row >= size())
        return;
    SongItem& it = m_rows[size_t(row)];
    if (it.hasFlag(SongItem::ErrorMark) == on)
        return;
    it.setFlag(SongItem::ErrorMark, on);
    m_errors += on ? 1 : -1;
    const QModelIndex i = index(row, 0);
    emit dataChanged(i, i, {ErrorMarkRole});
    emit countersChanged();
}

void SongListModel::clearAllErrorMarks() {
    if (m_errors == 0)
        return;
    for (auto& it : m_rows)
        it.setFlag(SongItem::ErrorMark, false);
    m_errors = 0;
    emit dataChanged(index(0, 0), index(size() - 1, 0), {ErrorMarkRole});
    emit countersChanged();
}

void SongListModel::setHasLyrics(int row, bool on) {
    if (row < 0 || row >= size())
        return;
    SongItem& it = m_rows[size_t(row)];
    if (it.hasFlag(SongItem::HasLyrics) == on)
        return;
    it.setFlag(SongItem::HasLyrics, on);
    emitRowChanged(row);
}

void SongListModel::removeRows(std::vector<int> rows) {
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    rows.erase(
        std::remove_if(rows.begin(), rows.end(), [&](int r) { return r < 0 || r >= size(); }),
        rows.end());
    if (rows.empty())
        return;
    if (int(rows.size()) == size()) {
        clear();
        return;
    }
    // Remove contiguous runs from the end so indexes stay valid; one signal per run.
    size_t i = rows.size();
    while (i > 0) {
        size_t j = i - 1;
        while (j > 0 && rows[j - 1] == rows[j] - 1)
            --j;
        const int first = rows[j], last = rows[i - 1];
        beginRemoveRows({}, first, last);
        for (int r = first; r <= last; ++r) {
            const SongItem& it = m_rows[size_t(r)];
            m_checked -= int(it.checked());
            m_errors -= int(it.hasFlag(SongItem::ErrorMark));
        }
        m_rows.erase(m_rows.begin() + first, m_rows.begin() + last + 1);
        endRemoveRows();
        i = j;
    }
    emit countersChanged();
}

void SongListModel::clear() {
    beginResetModel();
    std::vector<SongItem>().swap(m_rows);
    m_pending.clear();
    m_checked = m_errors = m_selected = m_duplicates = m_mistakes = 0;
    endResetModel();
    emit countersChanged();
}

int SongListModel::counter(Counter c) const {
    switch (c) {
    case Count:
        return size() + pendingCount(); // rows of a running scan count before they show
    case Selected:
        return m_selected;
    case Checked:
        return m_checked;
    case Duplicates:
        return m_duplicates;
    case Errors:
        return m_errors;
    case Mistakes:
        return m_mistakes;
    default:
        return 0;
    }
}

void SongListModel::setSelectedCount(int n) {
    n = std::max(0, n);
    if (n != m_selected) {
        m_selected = n;
        emit countersChanged();
    }
}

void SongListModel::setDuplicateCount(int n) {
    m_duplicates = std::max(0, n);
    emit countersChanged();
}

void SongListModel::setMistakeCount(int n) {
    m_mistakes = std::max(0, n);
    emit countersChanged();
}

QString SongListModel::counterKey(Counter c) {
    static const char* keys[] = {"MainInfoCount",      "MainInfoSelected", "MainInfoChecked",
                                 "MainInfoDuplicates", "MainInfoError",    "MainInfoMistakes"};
    return QString::fromLatin1(keys[c]);
}

QString SongListModel::counterDefault(Counter c) {
    static const char* defs[] = {"Num", "Sel", "Checked", "Duplicates", "Errors", "Mistakes"};
    return QString::fromLatin1(defs[c]);
}

void SongListModel::setActive(bool active) {
    if (m_active == active)
        return;
    m_active = active;
    refreshAll();
}

void SongListModel::refreshAll() {
    if (!m_rows.empty())
        emit dataChanged(index(0, 0), index(size() - 1, SongItem::ColumnCount - 1));
    emit headerDataChanged(Qt::Horizontal, 0, SongItem::ColumnCount - 1);
}

int SongListModel::findSongItem(const QString& name, const QString& location, int from) const {
    for (int r = std::max(0, from); r < size(); ++r) {
        const SongItem& it = m_rows[size_t(r)];
        if (it.view(SongItem::FileName).compare(name, Qt::CaseInsensitive) != 0)
            continue;
        if (!location.isEmpty() && it.view(SongItem::Location) != location)
            continue;
        return r;
    }
    return -1;
}
