#include "tools/ui/tfstatistics.h"

#include "base/commandenv.h"
#include "base/progress.h"
#include "tools/statisticscharts.h"
#include "tools/ui/barchart.h"
#include "tools/ui/statisticslists.h"

#include <QAction>
#include <QClipboard>
#include <QCloseEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QSortFilterProxyModel>
#include <QTabWidget>
#include <QTreeView>

namespace {
// A label for figures and tag texts: plain text, whatever the text holds.
QLabel* valueLabel(const char* name, QWidget* parent) {
    auto* l = new QLabel(parent);
    l->setObjectName(QString::fromLatin1(name));
    l->setTextFormat(Qt::PlainText);
    l->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return l;
}

QLabel* captionLabel(const char* name, const char* caption, QWidget* parent) {
    auto* l = new QLabel(QString::fromLatin1(caption), parent);
    l->setObjectName(QString::fromLatin1(name));
    return l;
}

QSortFilterProxyModel* sorter(StatisticsListModel* model, QObject* parent) {
    auto* p = new QSortFilterProxyModel(parent);
    p->setSourceModel(model);
    p->setSortRole(StatisticsListModel::SortRole);
    return p;
}

// A list in the order the songs were met until the user clicks a column header.
void setUpList(QTreeView* view, QSortFilterProxyModel* model) {
    view->setRootIsDecorated(false);
    view->setUniformRowHeights(true);
    view->setAllColumnsShowFocus(true);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setModel(model);
    view->header()->setSortIndicator(-1, Qt::AscendingOrder);
    view->header()->setSortIndicatorShown(true);
    view->setSortingEnabled(true);
}
} // namespace

TFStatistics::TFStatistics(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName("FStatistics");
    setWindowTitle("Statistics");

    m_figures = new QWidget(this);
    auto* grid = new QGridLayout(m_figures);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setSpacing(4);

    m_general = new QGroupBox(QStringLiteral(" General Information "), m_figures);
    m_general->setObjectName("GBGeneral");
    auto* form = new QFormLayout(m_general);
    form->setContentsMargins(6, 4, 6, 4);
    form->setVerticalSpacing(2);
    m_files = valueLabel("LFilesValue_skip_", m_general);
    m_size = valueLabel("LSizeValue_skip_", m_general);
    m_playtime = valueLabel("LPlaytimeValue_skip_", m_general);
    m_artists = valueLabel("LArtistsValue_skip_", m_general);
    m_albums = valueLabel("LAlbumsValue_skip_", m_general);
    m_artistsLabel = captionLabel("LArtists", "Number of Artists:", m_general);
    m_albumsLabel = captionLabel("LAlbums", "Number of Albums:", m_general);
    form->addRow(captionLabel("LFiles", "Num of files:", m_general), m_files);
    form->addRow(captionLabel("LSize", "File size:", m_general), m_size);
    form->addRow(captionLabel("LPlaytime", "Playtime:", m_general), m_playtime);
    form->addRow(m_artistsLabel, m_artists);
    form->addRow(m_albumsLabel, m_albums);

    m_showDetails = new QPushButton(QStringLiteral("Show Details"), m_figures);
    m_showDetails->setObjectName("BShowDetails");
    m_charts = new QPushButton(QStringLiteral("Charts"), m_figures);
    m_charts->setObjectName("BCharts");
    m_charts->setCheckable(true);
    m_charts->setToolTip(QStringLiteral("Show the figures as charts beside the lists"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_showDetails);
    buttons->addWidget(m_charts);

    m_genreModel = new StatisticsListModel(StatisticsListModel::Kind::Genres, this);
    m_genreSort = sorter(m_genreModel, this);
    m_genreView = new QTreeView(m_figures);
    m_genreView->setObjectName("LVGenres");
    setUpList(m_genreView, m_genreSort);
    m_genreView->header()->setStretchLastSection(false);
    m_genreView->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_genreView->header()->resizeSection(1, 55);

    m_artistModel = new StatisticsListModel(StatisticsListModel::Kind::Artists, this);
    m_artistSort = sorter(m_artistModel, this);
    m_artistView = new ArtistListView(m_figures);
    m_artistView->setObjectName("LVArtists");
    setUpList(m_artistView, m_artistSort);
    m_artistView->setColumnHidden(StatisticsListModel::ArtistAlbumNames, true);
    m_artistView->header()->resizeSection(StatisticsListModel::ArtistName, 160);
    m_artistView->header()->resizeSection(StatisticsListModel::ArtistSongs, 75);
    m_artistView->header()->resizeSection(StatisticsListModel::ArtistAlbums, 90);
    m_artistView->setContextMenuPolicy(Qt::CustomContextMenu);

    m_artistMenu = new QMenu(this);
    m_artistMenu->setObjectName("PMArtists");
    m_showAlbums = m_artistMenu->addAction(QStringLiteral("Show Albums"));
    m_showAlbums->setObjectName("MShowAlbums");
    m_showAlbums->setCheckable(true);
    m_artistMenu->setDefaultAction(m_showAlbums);
    QAction* copyArtists = m_artistMenu->addAction(QStringLiteral("Copy all Artists"));
    copyArtists->setObjectName("MCopyArtists");
    QAction* copyAlbums = m_artistMenu->addAction(QStringLiteral("Copy this Albums"));
    copyAlbums->setObjectName("MCopyAlbums");
    QAction* copyYears = m_artistMenu->addAction(QStringLiteral("Copy this Years"));
    copyYears->setObjectName("MCopyYears");

    grid->addWidget(m_general, 0, 0);
    grid->addLayout(buttons, 1, 0);
    grid->addWidget(m_genreView, 0, 1, 2, 1);
    grid->addWidget(m_artistView, 2, 0, 1, 2);
    grid->setColumnStretch(0, 1);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(0, 1);
    m_grid = grid;

    m_chartTabs = new QTabWidget(this);
    m_chartTabs->setObjectName("PCCharts");
    m_genreChart = new BarChart(BarChart::Kind::Bars);
    m_yearChart = new BarChart(BarChart::Kind::Columns);
    m_albumsChart = new BarChart(BarChart::Kind::Bars);
    m_genreChart->setObjectName("TSGenreChart");
    m_yearChart->setObjectName("TSYearChart");
    m_albumsChart->setObjectName("TSAlbumChart");
    m_chartTabs->addTab(m_genreChart, QStringLiteral("Genres"));
    m_chartTabs->addTab(m_yearChart, QStringLiteral("Years"));
    m_chartTabs->addTab(m_albumsChart, QStringLiteral("Albums per Artist"));
    m_chartTabs->hide();

    auto* outer = new QHBoxLayout(this);
    outer->setContentsMargins(6, 6, 6, 6);
    outer->setSpacing(6);
    outer->addWidget(m_figures, 1);
    outer->addWidget(m_chartTabs, 0);

    connect(m_showDetails, &QPushButton::clicked, this, &TFStatistics::detailsRequested);
    connect(m_charts, &QPushButton::toggled, this, &TFStatistics::setChartsShown);
    connect(m_artistView, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { m_artistMenu->popup(m_artistView->mapToGlobal(pos)); });
    connect(m_artistView, &QAbstractItemView::doubleClicked, this, &TFStatistics::toggleShowAlbums);
    connect(m_showAlbums, &QAction::triggered, this, &TFStatistics::toggleShowAlbums);
    connect(copyArtists, &QAction::triggered, this, &TFStatistics::copyAllArtists);
    connect(copyAlbums, &QAction::triggered, this, &TFStatistics::copyThisAlbums);
    connect(copyYears, &QAction::triggered, this, &TFStatistics::copyThisYears);

    m_result = std::make_shared<StatisticsResult>();
    setForm(false);
}

void TFStatistics::open(CommandEnv& env, const PaneRef& pane, bool detailed) {
    if (isVisible()) {
        raise();
        activateWindow();
        return;
    }
    setForm(detailed);
    if (!m_placed && parentWidget()) {
        // The first time over the middle of the main window; afterwards where the user left it.
        m_placed = true;
        const QRect main = parentWidget()->window()->frameGeometry();
        move(main.center() - QPoint(width() / 2, height() / 2));
    }
    show();
    raise();
    activateWindow();
    compute(env, pane);
}

void TFStatistics::showDetails(CommandEnv& env, const PaneRef& pane) {
    if (computing())
        return;
    setForm(true);
    compute(env, pane);
}

void TFStatistics::compute(CommandEnv& env, const PaneRef& pane) {
    m_result = std::make_shared<StatisticsResult>();
    showResult(); // the lists clear while the songs are counted
    for (QLabel* figure : {m_files, m_size, m_playtime, m_artists, m_albums})
        figure->clear();
    m_progress = &env.progress;
    m_showDetails->setEnabled(false);
    auto result = std::make_shared<StatisticsResult>(computeStatistics(env, pane, m_detailed));
    m_progress = nullptr;
    m_showDetails->setEnabled(true);
    m_result = std::move(result);
    showResult();
}

void TFStatistics::setForm(bool detailed) {
    m_detailed = detailed;
    m_artistView->setVisible(detailed);
    m_grid->setRowStretch(2, detailed ? 3 : 0); // the artist list takes most of the height
    m_artistsLabel->setVisible(detailed);
    m_artists->setVisible(detailed);
    m_albumsLabel->setVisible(detailed);
    m_albums->setVisible(detailed);
    m_chartTabs->setTabVisible(1, detailed);
    m_chartTabs->setTabVisible(2, detailed);
    fitWindow();
}

void TFStatistics::fitWindow() {
    const QSize form = m_detailed ? DetailedSize : SimpleSize;
    if (chartsShown()) {
        // The lists keep the form's width; the charts take what the window grows by.
        m_figures->setFixedWidth(form.width() - 12);
        resize(form.width() + ChartsWidth, std::max(form.height(), DetailedSize.height()));
        // Grown to the right: stays on the screen.
        if (isVisible() && screen()) {
            const QRect free = screen()->availableGeometry();
            QPoint at = pos();
            at.setX(std::max(free.left(),
                             std::min(at.x(), free.right() + 1 - frameGeometry().width())));
            at.setY(std::max(free.top(),
                             std::min(at.y(), free.bottom() + 1 - frameGeometry().height())));
            move(at);
        }
    } else {
        m_figures->setMinimumWidth(0);
        m_figures->setMaximumWidth(QWIDGETSIZE_MAX);
        resize(form);
    }
}

void TFStatistics::setChartsShown(bool on) {
    if (m_charts->isChecked() != on)
        m_charts->setChecked(on); // comes back here through toggled
    m_chartTabs->setVisible(on);
    fitWindow();
}

bool TFStatistics::chartsShown() const {
    return m_charts->isChecked();
}

void TFStatistics::showResult() {
    const StatisticsResult& r = *m_result;
    m_files->setText(QString::number(r.files));
    m_size->setText(r.sizeText());
    m_playtime->setText(r.playtimeText());
    m_artists->setText(QString::number(r.artists.size()));
    m_albums->setText(QString::number(r.albumCount));
    m_genreModel->setResult(m_result);
    m_artistModel->setResult(m_result);
    m_genreChart->setData(genreChart(r));
    m_yearChart->setData(yearChart(r));
    m_albumsChart->setData(albumsChart(r));
}

void TFStatistics::retranslate() {
    showResult();
}

void TFStatistics::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TFStatistics::closeEvent(QCloseEvent* event) {
    // Closing the window while it counts stops the count; the figures so far stay.
    if (m_progress)
        m_progress->requestCancel();
    QWidget::closeEvent(event);
}

const StatisticsArtist* TFStatistics::selectedArtist() const {
    const QModelIndexList rows = m_artistView->selectionModel()->selectedRows();
    if (rows.isEmpty())
        return nullptr;
    const int row = m_artistSort->mapToSource(rows.first()).row();
    if (row < 0 || row >= int(m_result->artists.size()))
        return nullptr;
    return &m_result->artists[size_t(row)];
}

void TFStatistics::toggleShowAlbums() {
    m_artistView->setShowAlbums(!m_artistView->showAlbums());
    m_showAlbums->setChecked(m_artistView->showAlbums());
}

// The copy commands, "Copy all Artists" too, do nothing while no artist row is selected.
void TFStatistics::copyAllArtists() {
    if (selectedArtist())
        QGuiApplication::clipboard()->setText(allArtistsText(*m_result));
}

void TFStatistics::copyThisAlbums() {
    if (const StatisticsArtist* a = selectedArtist())
        QGuiApplication::clipboard()->setText(joinedText(a->albums));
}

void TFStatistics::copyThisYears() {
    if (const StatisticsArtist* a = selectedArtist())
        QGuiApplication::clipboard()->setText(joinedText(a->years));
}
