#include "lists/ui/songlistview.h"

#include "lists/songlistmodel.h"

#include <QApplication>
#include <QDrag>
#include <QDragEnterEvent>
#include <QHeaderView>
#include <QHelpEvent>
#include <QMimeData>
#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>
#include <QStyleOption>
#include <QToolTip>

#include <algorithm>
#include <vector>

void SongRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                            const QModelIndex& index) const {
    QStyleOptionViewItem opt = option;
    initStyleOption(&opt, index);
    // A folder differs from its neighbours at its end: a narrow Location keeps that end.
    if (index.column() == SongItem::Location)
        opt.textElideMode = Qt::ElideLeft;
    // A selected row keeps its text black on the selection colour.
    if (opt.state & QStyle::State_Selected)
        opt.palette.setColor(QPalette::HighlightedText, Qt::black);
    const QWidget* widget = option.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);

    if (index.column() != 0 || opt.checkState != Qt::Checked ||
        !index.data(SongListModel::ErrorMarkRole).toBool())
        return;
    // The checked box of a row whose file operation failed carries a red tick.
    const QRect box = style->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &opt, widget);
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->fillRect(box.adjusted(2, 2, -2, -2), Qt::white);
    QPen pen(QColor(220, 0, 0), 2.2);
    painter->setPen(pen);
    QPainterPath tick;
    const QRectF r = QRectF(box).adjusted(3, 3, -3, -3);
    tick.moveTo(r.left(), r.center().y());
    tick.lineTo(r.left() + r.width() * 0.4, r.bottom());
    tick.lineTo(r.right(), r.top());
    painter->drawPath(tick);
    painter->restore();
}

SongListHeader::SongListHeader(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {
    setSectionsClickable(true);
    setSectionsMovable(true);
    setHighlightSections(false);
    setSortIndicatorShown(true);
    setSortIndicator(-1, Qt::AscendingOrder); // unsorted until the first click
    // Captions start at the left, as the texts below them do.
    setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

void SongListHeader::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const {
    if (!rect.isValid())
        return;
    QStyleOptionHeaderV2 opt;
    initStyleOption(&opt);
    initStyleOptionForIndex(&opt, logicalIndex);
    opt.rect = rect;
    // The style (a style sheet is set on the list) would clip the caption on both sides.
    const int margin = style()->pixelMetric(QStyle::PM_HeaderMargin, &opt, this);
    int room = rect.width() - 2 * margin;
    if (opt.sortIndicator != QStyleOptionHeader::None)
        room -= style()->pixelMetric(QStyle::PM_HeaderMarkSize, &opt, this) + margin;
    opt.text = opt.fontMetrics.elidedText(opt.text, Qt::ElideRight, std::max(room, 0));
    opt.textElideMode = Qt::ElideNone;
    // The sort arrow is drawn here: the style (under the list's style sheet) leaves its
    // painter clipped to the caption, which cuts the arrow away.
    const auto indicator = opt.sortIndicator;
    opt.sortIndicator = QStyleOptionHeader::None;
    painter->save();
    style()->drawControl(QStyle::CE_Header, &opt, painter, this);
    painter->restore();
    if (indicator != QStyleOptionHeader::None) {
        painter->save();
        // A small triangle at the right: pointing up for ascending, down for descending.
        const int size = std::min(style()->pixelMetric(QStyle::PM_HeaderMarkSize, &opt, this), 9);
        const QPointF c(rect.right() - margin - size / 2.0, rect.center().y() + 0.5);
        const double h = size / 2.0 - 1;
        const double dir = sortIndicatorOrder() == Qt::AscendingOrder ? -1 : 1;
        QColor colour = opt.palette.color(QPalette::WindowText);
        colour.setAlpha(170);
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setPen(Qt::NoPen);
        painter->setBrush(colour);
        painter->drawPolygon(
            QPolygonF({c + QPointF(-h, -dir * h / 1.5), c + QPointF(h, -dir * h / 1.5),
                       c + QPointF(0, dir * h / 1.5)}));
        painter->restore();
    }
}

SongListView::SongListView(QWidget* parent) : QTableView(parent) {
    setObjectName("LVList");
    setItemDelegate(new SongRowDelegate(this));
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setShowGrid(true);
    setWordWrap(false);
    setTextElideMode(Qt::ElideRight);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setAcceptDrops(true);
    setDropIndicatorShown(false);
    setDragDropMode(QAbstractItemView::DropOnly);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumSectionSize(17);
    verticalHeader()->setDefaultSectionSize(17);
    setHorizontalHeader(new SongListHeader(this));
    horizontalHeader()->setSortIndicatorShown(true); // setting a header turned it off
    // The sort the header's indicator now shows; the rows follow through the pane.
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int column) {
        emit sortRequested(column, horizontalHeader()->sortIndicatorOrder());
    });
    horizontalHeader()->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(
        horizontalHeader(), &QWidget::customContextMenuRequested, this,
        [this](const QPoint& p) { emit headerMenuRequested(horizontalHeader()->mapToGlobal(p)); });
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& p) { emit cellMenuRequested(viewport()->mapToGlobal(p)); });
    QPalette pal = palette();
    pal.setColor(QPalette::Highlight, QColor(198, 211, 239));
    pal.setColor(QPalette::HighlightedText, Qt::black);
    pal.setColor(QPalette::Inactive, QPalette::Highlight, QColor(198, 211, 239));
    pal.setColor(QPalette::Inactive, QPalette::HighlightedText, Qt::black);
    setPalette(pal);
}

void SongListView::setListBackground(const QColor& colour) {
    // The pane's border is a style sheet, which would override a palette here.
    setStyleSheet(QStringLiteral("QTableView { background-color: %1; selection-background-color: "
                                 "rgb(198, 211, 239); selection-color: black; }")
                      .arg(colour.name()));
}

bool SongListView::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        if (!m_hint.isEmpty() && indexAt(help->pos()).isValid())
            QToolTip::showText(help->globalPos(), m_hint, viewport());
        else
            QToolTip::hideText();
        return true;
    }
    return QTableView::viewportEvent(event);
}

void SongListView::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
    else
        QTableView::dragEnterEvent(event);
}

void SongListView::dragMoveEvent(QDragMoveEvent* event) {
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
    else
        QTableView::dragMoveEvent(event);
}

void SongListView::dropEvent(QDropEvent* event) {
    if (!event->mimeData()->hasUrls()) {
        QTableView::dropEvent(event);
        return;
    }
    QStringList paths;
    for (const QUrl& url : event->mimeData()->urls())
        if (url.isLocalFile())
            paths << url.toLocalFile();
    event->acceptProposedAction();
    if (!paths.isEmpty())
        emit filesDropped(paths);
}

void SongListView::startDrag(Qt::DropActions) {
    // Not the item views' own drag, which would copy every cell of every selected row.
    if (!selectionModel() || !selectionModel()->hasSelection())
        return;
    auto* mime = new QMimeData;
    mime->setData(RowsMimeType, QByteArray::number(quintptr(this)));
    auto* drag = new QDrag(this);
    drag->setMimeData(mime);
    drag->exec(Qt::CopyAction, Qt::CopyAction);
}

void SongListView::paintEvent(QPaintEvent* event) {
    // A few ranges (any selection made by hand) cost nothing: the table's own painting.
    constexpr qsizetype fewRanges = 64;
    const QItemSelection selection =
        selectionModel() ? selectionModel()->selection() : QItemSelection();
    if (selection.size() <= fewRanges || !model()) {
        QTableView::paintEvent(event);
        return;
    }
    paintScattered(event, selection);
}

void SongListView::paintScattered(QPaintEvent* event, const QItemSelection& selection) {
    QAbstractItemModel* m = model();
    const QRect area = event->rect();
    const int firstRow = rowAt(area.top());
    if (firstRow < 0)
        return; // below the last row there is nothing to paint
    int lastRow = rowAt(area.bottom());
    if (lastRow < 0)
        lastRow = m->rowCount() - 1;
    std::vector<char> selected(size_t(lastRow - firstRow + 1), 0);
    for (const QItemSelectionRange& r : selection) {
        const int from = std::max(r.top(), firstRow), to = std::min(r.bottom(), lastRow);
        for (int row = from; row <= to; ++row)
            selected[size_t(row - firstRow)] = 1;
    }
    const QHeaderView* columns = horizontalHeader();
    int firstColumn = columns->visualIndexAt(area.left());
    int lastColumn = columns->visualIndexAt(area.right());
    if (firstColumn < 0)
        firstColumn = 0;
    if (lastColumn < 0)
        lastColumn = columns->count() - 1;

    QPainter painter(viewport());
    QStyleOptionViewItem base;
    initViewItemOption(&base);
    const QModelIndex current = currentIndex();
    const bool focus = (hasFocus() || viewport()->hasFocus()) && current.isValid();
    const int grid = showGrid() ? 1 : 0;
    const QPen gridPen(QColor::fromRgba(static_cast<QRgb>(
                           style()->styleHint(QStyle::SH_Table_GridLineColor, &base, this))),
                       0, gridStyle());
    for (int row = firstRow; row <= lastRow; ++row) {
        const int y = rowViewportPosition(row);
        const int h = rowHeight(row);
        for (int visual = firstColumn; visual <= lastColumn; ++visual) {
            const int column = columns->logicalIndex(visual);
            if (columns->isSectionHidden(column))
                continue;
            const int x = columnViewportPosition(column);
            const int w = columnWidth(column);
            const QModelIndex index = m->index(row, column);
            QStyleOptionViewItem option = base;
            option.rect = QRect(x, y, w - grid, h - grid);
            if (selected[size_t(row - firstRow)])
                option.state |= QStyle::State_Selected;
            if (focus && index == current)
                option.state |= QStyle::State_HasFocus;
            option.palette.setCurrentColorGroup(QPalette::Normal);
            style()->drawPrimitive(QStyle::PE_PanelItemViewRow, &option, &painter, this);
            itemDelegateForIndex(index)->paint(&painter, option, index);
            if (grid) {
                const QPen pen = painter.pen();
                painter.setPen(gridPen);
                painter.drawLine(x + w - 1, y, x + w - 1, y + h - 1);
                painter.drawLine(x, y + h - 1, x + w - 1, y + h - 1);
                painter.setPen(pen);
            }
        }
    }
}
