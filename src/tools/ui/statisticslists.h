// The statistics window's two lists: the genres with their shares and the artists with
// their songs, albums and years, both read from one shared result. The artist list can
// show each artist's albums on a second line.
#pragma once

#include "tools/statistics.h"

#include <QAbstractTableModel>
#include <QStringList>
#include <QTreeView>

#include <memory>

// The rows of one of the two lists. Header captions can be set (the window translator
// sets them by column); the sort role holds numbers where the column counts something.
class StatisticsListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum class Kind { Genres, Artists };
    enum ArtistColumn { ArtistName, ArtistSongs, ArtistAlbums, ArtistYears, ArtistAlbumNames };
    static constexpr int SortRole = Qt::UserRole;
    // A row's albums text for the second line (artists), shortened for drawing.
    static constexpr int AlbumsLineRole = Qt::UserRole + 1;

    explicit StatisticsListModel(Kind kind, QObject* parent = nullptr);

    void setResult(std::shared_ptr<const StatisticsResult> result);
    // Shares follow the interface's number format; call after a language change.
    void refreshTexts();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    bool setHeaderData(int section, Qt::Orientation orientation, const QVariant& value,
                       int role) override;

private:
    Kind m_kind;
    std::shared_ptr<const StatisticsResult> m_result;
    QStringList m_headers;
};

// The artist list: rows of 17 pixels with grid lines, or of 60 pixels with the albums
// on a second line ("Show Albums").
class ArtistListView : public QTreeView {
    Q_OBJECT
public:
    static constexpr int PlainRowHeight = 17;
    static constexpr int AlbumRowHeight = 60;

    explicit ArtistListView(QWidget* parent = nullptr);
    void setShowAlbums(bool on);
    bool showAlbums() const { return m_showAlbums; }

protected:
    void drawRow(QPainter* painter, const QStyleOptionViewItem& option,
                 const QModelIndex& index) const override;

private:
    bool m_showAlbums = false;
};
