#include "tools/ui/statisticslists.h"

#include <QHeaderView>
#include <QLocale>
#include <QPainter>
#include <QStyledItemDelegate>

namespace {
// Texts drawn in a cell or a line stop here: an artist with 100,000 albums has a
// joined text of megabytes, which no one reads on screen ("Copy this Albums" copies
// it whole).
constexpr qsizetype kShownChars = 2000;

QString shownJoined(const QStringList& items) {
    QString out;
    for (const QString& item : items) {
        if (out.size() > kShownChars) {
            out += QStringLiteral("...");
            break;
        }
        out += item + QStringLiteral(", ");
    }
    return out;
}

const char* const kGenreHeaders[] = {"Genres", "% "};
const char* const kArtistHeaders[] = {"Artist", "Num. Songs", "Num. Albums", "Years", "Albums"};

// Cells of the artist list: the first line of a tall row, grid lines on plain rows.
class ArtistDelegate : public QStyledItemDelegate {
public:
    explicit ArtistDelegate(ArtistListView* view) : QStyledItemDelegate(view), m_view(view) {}

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        QSize s = QStyledItemDelegate::sizeHint(option, index);
        s.setHeight(m_view->showAlbums() ? ArtistListView::AlbumRowHeight
                                         : ArtistListView::PlainRowHeight);
        return s;
    }
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        QStyleOptionViewItem first = option;
        if (m_view->showAlbums()) {
            first.rect.setHeight(ArtistListView::PlainRowHeight);
            QStyledItemDelegate::paint(painter, first, index);
            return;
        }
        QStyledItemDelegate::paint(painter, first, index);
        painter->save();
        painter->setPen(QColor(220, 220, 220));
        painter->drawLine(option.rect.bottomLeft(), option.rect.bottomRight());
        painter->drawLine(option.rect.topRight(), option.rect.bottomRight());
        painter->restore();
    }

private:
    ArtistListView* m_view;
};
} // namespace

StatisticsListModel::StatisticsListModel(Kind kind, QObject* parent)
    : QAbstractTableModel(parent), m_kind(kind) {
    if (kind == Kind::Genres)
        for (const char* h : kGenreHeaders)
            m_headers << QString::fromLatin1(h);
    else
        for (const char* h : kArtistHeaders)
            m_headers << QString::fromLatin1(h);
}

void StatisticsListModel::setResult(std::shared_ptr<const StatisticsResult> result) {
    beginResetModel();
    m_result = std::move(result);
    endResetModel();
}

void StatisticsListModel::refreshTexts() {
    if (rowCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

int StatisticsListModel::rowCount(const QModelIndex& parent) const {
    if (parent.isValid() || !m_result)
        return 0;
    return int(m_kind == Kind::Genres ? m_result->genres.size() : m_result->artists.size());
}

int StatisticsListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_headers.size());
}

QVariant StatisticsListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || !m_result || index.row() >= rowCount())
        return {};
    const size_t row = size_t(index.row());
    if (m_kind == Kind::Genres) {
        const StatisticsGenre& g = m_result->genres[row];
        const double share = m_result->share(g);
        if (role == Qt::DisplayRole || role == Qt::ToolTipRole)
            return index.column() == 0 ? g.name : shareText(share, QLocale());
        if (role == SortRole)
            return index.column() == 0 ? QVariant(g.name.toCaseFolded()) : QVariant(share);
        if (role == Qt::TextAlignmentRole && index.column() == 1)
            return int(Qt::AlignRight | Qt::AlignVCenter);
        return {};
    }
    const StatisticsArtist& a = m_result->artists[row];
    if (role == AlbumsLineRole)
        return shownJoined(a.albums);
    if (role == Qt::TextAlignmentRole &&
        (index.column() == ArtistSongs || index.column() == ArtistAlbums))
        return int(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole && role != SortRole)
        return {};
    switch (index.column()) {
    case ArtistName:
        return role == SortRole ? QVariant(a.name.toCaseFolded()) : QVariant(a.name);
    case ArtistSongs:
        return role == SortRole ? QVariant(qlonglong(a.songs)) : QVariant(QString::number(a.songs));
    case ArtistAlbums:
        return role == SortRole ? QVariant(qlonglong(a.albums.size()))
                                : QVariant(QString::number(a.albums.size()));
    case ArtistYears:
        return shownJoined(a.years);
    case ArtistAlbumNames:
        return shownJoined(a.albums);
    default:
        return {};
    }
}

QVariant StatisticsListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= m_headers.size())
        return {};
    return m_headers[section];
}

bool StatisticsListModel::setHeaderData(int section, Qt::Orientation orientation,
                                        const QVariant& value, int role) {
    if (orientation != Qt::Horizontal || (role != Qt::DisplayRole && role != Qt::EditRole) ||
        section < 0 || section >= m_headers.size())
        return false;
    m_headers[section] = value.toString();
    emit headerDataChanged(orientation, section, section);
    return true;
}

ArtistListView::ArtistListView(QWidget* parent) : QTreeView(parent) {
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setItemDelegate(new ArtistDelegate(this));
}

void ArtistListView::setShowAlbums(bool on) {
    if (on == m_showAlbums)
        return;
    m_showAlbums = on;
    // Row heights come from the delegate: let the view measure them again.
    scheduleDelayedItemsLayout();
    doItemsLayout();
    viewport()->update();
}

void ArtistListView::drawRow(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
    QTreeView::drawRow(painter, option, index);
    if (!m_showAlbums)
        return;
    // The albums on the second line, across the whole row.
    const QRect lower(0, option.rect.y() + PlainRowHeight, viewport()->width(),
                      option.rect.height() - PlainRowHeight);
    const QRect line = lower.adjusted(6, 0, -4, -2);
    painter->save();
    const bool selected = selectionModel() && selectionModel()->isSelected(index);
    if (selected)
        painter->fillRect(lower, palette().color(QPalette::Highlight));
    painter->setPen(selected ? palette().color(QPalette::HighlightedText) : QColor(40, 70, 150));
    painter->drawText(line, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                      index.siblingAtColumn(StatisticsListModel::ArtistAlbumNames)
                          .data(StatisticsListModel::AlbumsLineRole)
                          .toString());
    painter->restore();
}
