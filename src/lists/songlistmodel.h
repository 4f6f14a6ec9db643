// The rows of one list pane and the counters that go with them. Every change to
// rows goes through this model so that the counters always equal what they count
// and views are told once per operation, not once per row.
#pragma once

#include "lists/songitem.h"

#include <QAbstractTableModel>
#include <QColor>

#include <utility>
#include <vector>

class Settings;

class SongListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Role { ErrorMarkRole = Qt::UserRole + 1 };
    enum Counter { Count, Selected, Checked, Duplicates, Errors, Mistakes, CounterCount };

    explicit SongListModel(const Settings* settings, QObject* parent = nullptr);

    // QAbstractTableModel
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    int size() const { return int(m_rows.size()); }
    const SongItem& item(int row) const { return m_rows[size_t(row)]; }
    const std::vector<SongItem>& items() const { return m_rows; }

    // Appends rows. Inside a bulk update they are announced when it ends (or on
    // flushPending), so a scan of many files signals the views a few times only.
    void append(SongItem item);
    void append(std::vector<SongItem> items);
    void beginBulk();
    void endBulk();
    void flushPending();
    // Holds a bulk update for its lifetime; nests.
    class BulkScope {
    public:
        explicit BulkScope(SongListModel& model) : m_model(model) { m_model.beginBulk(); }
        ~BulkScope() { m_model.endBulk(); }
        BulkScope(const BulkScope&) = delete;
        BulkScope& operator=(const BulkScope&) = delete;

    private:
        SongListModel& m_model;
    };
    int pendingCount() const { return int(m_pending.size()); }

    void setText(int row, int column, const QString& text);
    void setItem(int row, SongItem item);
    void setChecked(int row, bool on);
    // The row check box: also clears the row's error mark.
    void toggleCheckedByUser(int row);
    void setAllChecked(bool on);
    void invertAllChecked();
    void setErrorMark(int row, bool on);
    void clearAllErrorMarks();
    void setHasLyrics(int row, bool on);
    void removeRows(std::vector<int> rows);
    void clear();

    // Counters: Count, Checked and Errors are kept from the rows; Selected is
    // told by the view; Duplicates and Mistakes by the tools that find them.
    int counter(Counter c) const;
    void setSelectedCount(int n);
    void setDuplicateCount(int n);
    void setMistakeCount(int n);
    static QString counterKey(Counter c);
    static QString counterDefault(Counter c);

    // Drawing state: the pane's active flag dims the bit-rate colours.
    void setActive(bool active);
    bool isActive() const { return m_active; }
    // Tells views that colours or headers changed (settings, language).
    void refreshAll();

    // First row from `from` whose file name equals name (without regard to case)
    // and, when location is not empty, whose location equals it exactly; -1 if none.
    int findSongItem(const QString& name, const QString& location = {}, int from = 0) const;

    // Bulk edits of the list editing commands (songlistmodeledit.cpp): each tells the
    // views once, so a million rows change in one step.
    enum class CheckChange { Check, Uncheck, Invert };
    // Changes the checked flag of the given rows (ascending); with clearErrorMarks a row
    // whose flag changes loses its error mark, as with its check box.
    void changeChecks(const std::vector<int>& rows, CheckChange change, bool clearErrorMarks);
    // Removes rows, also many scattered ones: a few runs go one by one (the views keep
    // their selection), many at once with a reset (the caller restores the selection).
    void removeMany(std::vector<int> rows);
    // Puts the rows in a new order: row i becomes the row that was order[i] (a permutation
    // of all rows; anything else leaves the rows alone). The views' selection and current
    // row follow their rows.
    void reorder(const std::vector<int>& order);
    // Sets one column's text in many rows: (row, text) pairs in ascending row order.
    void setColumnTexts(int column, const std::vector<std::pair<int, QString>>& changes);
    // Rows whose Location is oldFolder or lies below it get newFolder in its place (both
    // end with "/"). Returns the number of rows changed.
    int replaceLocationPrefix(const QString& oldFolder, const QString& newFolder);

signals:
    void countersChanged();
    // A bulk update holds its first row back: counters may be redrawn now and then
    // (the pane does it at the progress window's pace) until the rows are announced.
    void pendingStarted();

private:
    void emitRowChanged(int row);

    const Settings* m_settings;
    std::vector<SongItem> m_rows;
    std::vector<SongItem> m_pending;
    int m_bulkDepth = 0;
    int m_checked = 0;
    int m_errors = 0;
    int m_selected = 0;
    int m_duplicates = 0;
    int m_mistakes = 0;
    bool m_active = true;
};
