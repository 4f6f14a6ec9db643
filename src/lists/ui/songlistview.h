// The table of a list pane: 17-pixel rows with grid, the selection colour, the red
// tick of rows with an error mark, the information hint and drops from the file manager.
#pragma once

#include <QHeaderView>
#include <QStyledItemDelegate>
#include <QTableView>

class SongRowDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
};

// The column headers: a click sorts by the column (a second click reverses), and a
// caption that does not fit ends in "…" instead of being clipped on both sides.
class SongListHeader : public QHeaderView {
    Q_OBJECT
public:
    explicit SongListHeader(QWidget* parent = nullptr);

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
};

class SongListView : public QTableView {
    Q_OBJECT
public:
    explicit SongListView(QWidget* parent = nullptr);

    void setHintText(const QString& html) { m_hint = html; }
    const QString& hintText() const { return m_hint; }
    void setListBackground(const QColor& colour);
    // The drag of selected rows to the other pane carries this type; its data names the
    // list the drag started in (the rows are that list's selection at the drop).
    static constexpr const char* RowsMimeType = "application/x-rendolo-pane-rows";

signals:
    // A click on a column header: sort the rows by it.
    void sortRequested(int column, Qt::SortOrder order);
    void filesDropped(const QStringList& paths);
    void headerMenuRequested(const QPoint& globalPos);
    void cellMenuRequested(const QPoint& globalPos);

protected:
    bool viewportEvent(QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void startDrag(Qt::DropActions supportedActions) override;
    void paintEvent(QPaintEvent* event) override;

private:
    // The table asks the selection, range by range, for each cell it paints: with many
    // thousands of scattered selected rows (a "Find All", a selection on the other list)
    // one paint took seconds. Then the visible rows' selection is read once and the cells
    // are painted here as the table paints them.
    void paintScattered(QPaintEvent* event, const QItemSelection& selection);

    QString m_hint;
};
