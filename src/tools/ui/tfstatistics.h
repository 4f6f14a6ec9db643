// The statistics window: general figures, the genre list and, in the detailed form,
// the artist list, with charts beside them on request. It shows a result of
// computeStatistics (tools/statistics.h) and keeps it until it is shown again.
#pragma once

#include "lists/pane.h"
#include "tools/statistics.h"

#include <QWidget>

#include <memory>

class QAction;
class QGridLayout;
class QGroupBox;
class QLabel;
class QMenu;
class QPushButton;
class QSortFilterProxyModel;
class QTabWidget;
class QTreeView;
class ArtistListView;
class BarChart;
class Progress;
class StatisticsListModel;
struct CommandEnv;

class TFStatistics : public QWidget {
    Q_OBJECT
public:
    static constexpr QSize SimpleSize{430, 158};
    static constexpr QSize DetailedSize{520, 390};
    static constexpr int ChartsWidth = 470;

    explicit TFStatistics(QWidget* parent = nullptr);

    // "Statistics" / "Detailed Statistics": a window on screen comes to the front as it
    // is; otherwise it takes the form, shows and computes the pane's selected songs.
    void open(CommandEnv& env, const PaneRef& pane, bool detailed);
    // "Show Details": the detailed form, computed again.
    void showDetails(CommandEnv& env, const PaneRef& pane);

    bool detailed() const { return m_detailed; }
    bool computing() const { return m_progress != nullptr; }
    const std::shared_ptr<const StatisticsResult>& result() const { return m_result; }
    // The chart panel beside the lists ("Charts >>").
    void setChartsShown(bool on);
    bool chartsShown() const;

    // The artist list's context menu.
    void toggleShowAlbums();
    void copyAllArtists();
    void copyThisAlbums();
    void copyThisYears();

public slots:
    // Texts built from messages and numbers in the language's format, again.
    void retranslate();

signals:
    // The "Show Details" button; the binder runs it as a command, so the router checks
    // the selection and keeps the pane from changing while it runs.
    void detailsRequested();

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override; // Esc closes

private:
    void compute(CommandEnv& env, const PaneRef& pane);
    void setForm(bool detailed);
    void fitWindow();
    void showResult();
    // The selected artist row; null when none is selected.
    const StatisticsArtist* selectedArtist() const;

    bool m_detailed = false;
    bool m_placed = false;
    Progress* m_progress = nullptr; // while computing: Cancel for a closed window
    std::shared_ptr<const StatisticsResult> m_result;

    QWidget* m_figures;
    QGridLayout* m_grid;
    QGroupBox* m_general;
    QLabel* m_files;
    QLabel* m_size;
    QLabel* m_playtime;
    QLabel* m_artistsLabel;
    QLabel* m_artists;
    QLabel* m_albumsLabel;
    QLabel* m_albums;
    QPushButton* m_showDetails;
    QPushButton* m_charts;
    StatisticsListModel* m_genreModel;
    QSortFilterProxyModel* m_genreSort;
    QTreeView* m_genreView;
    StatisticsListModel* m_artistModel;
    QSortFilterProxyModel* m_artistSort;
    ArtistListView* m_artistView;
    QMenu* m_artistMenu;
    QAction* m_showAlbums;
    QTabWidget* m_chartTabs;
    BarChart* m_genreChart;
    BarChart* m_yearChart;
    BarChart* m_albumsChart;
};
