// The statistics window (forms, figures, no recount while open, the artist list's menu,
// plain tag texts), one offscreen render of the charts, and the first-time organiser's
// window.
#include "lists/commandrouter.h"
#include "lists/songlistmodel.h"
#include "support/testenv.h"
#include "tools/statisticscharts.h"
#include "tools/ui/barchart.h"
#include "tools/ui/statisticslists.h"
#include "tools/ui/tffirsttime.h"
#include "tools/ui/tfstatistics.h"

#include <QApplication>
#include <QClipboard>
#include <QHelpEvent>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QToolButton>
#include <QToolTip>
#include <QTreeView>
#include <QtTest>

namespace {
SongItem song(const QString& genre, const QString& artist, const QString& album,
              const QString& year, const QString& length) {
    QStringList t;
    for (int c = 0; c < SongItem::ColumnCount; ++c)
        t << QString();
    t[SongItem::FileName] = "s.mp3";
    t[SongItem::FileSizeKb] = "1024.00";
    t[SongItem::Location] = "/m/";
    t[SongItem::Genre] = genre;
    t[SongItem::Artist] = artist;
    t[SongItem::Album] = album;
    t[SongItem::Year] = year;
    t[SongItem::LengthSec] = length;
    return SongItem(t);
}

QString labelText(QWidget& w, const char* name) {
    auto* l = w.findChild<QLabel*>(name);
    return l ? l->text() : QStringLiteral("<missing>");
}
} // namespace

class TestToolWindows : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    std::unique_ptr<TestEnv> t;
    std::unique_ptr<SongListModel> model;
    std::unique_ptr<QItemSelectionModel> selection;

    PaneRef pane() { return PaneRef{model.get(), selection.get(), 0}; }
    void selectAll() {
        selection->select(QItemSelection(model->index(0, 0), model->index(model->size() - 1, 0)),
                          QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }

private slots:
    void cleanup() {
        selection.reset();
        model.reset();
        t.reset();
    }
    void init() {
        t = std::make_unique<TestEnv>(dir.path() + "/");
        model = std::make_unique<SongListModel>(&t->settings);
        selection = std::make_unique<QItemSelectionModel>(model.get());
        model->append(song("Rock", "ABBA", "The Best", "1991", "3600"));
        model->append(song("rock", "abba", "Best", "991", "59"));
        model->append(song("<b>Pop</b>", "Queen", "Live", "1986", "abc"));
        selectAll();
    }

    void figuresInBothFormsAndNoRecountWhileOpen() {
        TFStatistics w;
        w.open(t->env, pane(), false);
        QVERIFY(w.isVisible());
        QCOMPARE(w.size(), TFStatistics::SimpleSize);
        QCOMPARE(labelText(w, "LFilesValue_skip_"), QString("3"));
        QCOMPARE(labelText(w, "LSizeValue_skip_"), w.result()->sizeText());
        QCOMPARE(labelText(w, "LPlaytimeValue_skip_"), QString("1:00:59  (3659 sec)"));
        QVERIFY(!w.findChild<QTreeView*>("LVArtists")->isVisibleTo(&w));
        auto* genres = w.findChild<QTreeView*>("LVGenres");
        QCOMPARE(genres->model()->rowCount(), 2);
        QCOMPARE(genres->model()->index(0, 0).data().toString(), QString("Rock"));
        QCOMPARE(genres->model()->index(0, 1).data().toString(), QLocale().toString(66.7, 'f', 1));
        QCOMPARE(genres->model()->headerData(1, Qt::Horizontal).toString(), QString("% "));

        // Shown already: brought to the front as it is.
        w.open(t->env, pane(), true);
        QCOMPARE(t->progress.operations().size(), 1);
        QVERIFY(!w.detailed());

        w.showDetails(t->env, pane());
        QCOMPARE(t->progress.operations(), (QStringList{"stat", "stat"}));
        QCOMPARE(w.size(), TFStatistics::DetailedSize);
        QVERIFY(w.findChild<QTreeView*>("LVArtists")->isVisibleTo(&w));
        QCOMPARE(labelText(w, "LArtistsValue_skip_"), QString("2"));
        QCOMPARE(labelText(w, "LAlbumsValue_skip_"), QString("3"));

        w.setChartsShown(true);
        QCOMPARE(w.width(), TFStatistics::DetailedSize.width() + TFStatistics::ChartsWidth);
        QCOMPARE(w.findChild<BarChart*>("TSGenreChart")->data().bars.size(), size_t(2));
        w.setChartsShown(false);
        QCOMPARE(w.size(), TFStatistics::DetailedSize);
    }

    void artistMenuShowsAlbumsAndCopies() {
        TFStatistics w;
        w.open(t->env, pane(), true);
        auto* artists = w.findChild<ArtistListView*>("LVArtists");
        QVERIFY(artists);
        QCoreApplication::processEvents();
        const QModelIndex first = artists->model()->index(0, 0);
        QCOMPARE(artists->visualRect(first).height(), ArtistListView::PlainRowHeight);
        w.toggleShowAlbums();
        QCOMPARE(artists->visualRect(first).height(), ArtistListView::AlbumRowHeight);
        w.toggleShowAlbums();
        QCOMPARE(artists->visualRect(first).height(), ArtistListView::PlainRowHeight);

        QClipboard* clipboard = QGuiApplication::clipboard();
        clipboard->setText("before");
        w.copyThisAlbums();
        w.copyThisYears();
        w.copyAllArtists();
        QCOMPARE(clipboard->text(), QString("before")); // no artist row selected
        artists->selectionModel()->select(first,
                                          QItemSelectionModel::Select | QItemSelectionModel::Rows);
        w.copyThisAlbums();
        QCOMPARE(clipboard->text(), QString("The Best, Best, "));
        w.copyThisYears();
        QCOMPARE(clipboard->text(), QString("1991, 991, "));
        w.copyAllArtists();
        QCOMPARE(clipboard->text(), QString("ABBA, Queen, "));
    }

    void tagTextsStayPlainText() {
        TFStatistics w;
        w.open(t->env, pane(), true);
        for (QLabel* l : w.findChildren<QLabel*>())
            if (l->objectName().endsWith("_skip_"))
                QCOMPARE(l->textFormat(), Qt::PlainText);
        w.setChartsShown(true);
        auto* chart = w.findChild<BarChart*>("TSGenreChart");
        chart->resize(400, 300);
        const int pop = chart->data().bars[1].label == "<b>Pop</b>" ? 1 : -1;
        QCOMPARE(pop, 1);
        const QPoint at = chart->barRect(pop).center();
        QCOMPARE(chart->barAt(at), pop);
        QHelpEvent help(QEvent::ToolTip, at, chart->mapToGlobal(at));
        QApplication::sendEvent(chart, &help);
        QVERIFY2(!Qt::mightBeRichText(QToolTip::text()), qPrintable(QToolTip::text()));
        QVERIFY2(QString(QToolTip::text()).remove(QChar(0x2060)).startsWith("<b>Pop</b>: "),
                 qPrintable(QToolTip::text()));
    }

    void chartsRenderOffscreen() {
        StatisticsResult r;
        for (int i = 0; i < 5000; ++i) {
            r.genres.push_back({QString("Genre %1").arg(i), 1 + i % 50});
            r.songs += 1 + i % 50;
        }
        for (int y = 1925; y < 2025; ++y)
            r.years.push_back({QString::number(y), y % 37 + 1});
        r.years.push_back({"", 12});
        for (auto [kind, data] : {std::pair{BarChart::Kind::Bars, genreChart(r)},
                                  std::pair{BarChart::Kind::Columns, yearChart(r)}}) {
            BarChart chart(kind);
            chart.resize(460, 320);
            chart.setData(data);
            const QImage image = chart.grab().toImage();
            QCOMPARE(image.size(), QSize(460, 320));
            for (int i : {0, int(data.bars.size()) - 1}) {
                const QRect bar = chart.barRect(i);
                QVERIFY2(!bar.isEmpty(), qPrintable(QString("bar %1 not drawn").arg(i)));
                QVERIFY(image.pixelColor(bar.center()) != QColor(Qt::white));
            }
        }
    }

    void firstTimeWindowFollowsTheRouter() {
        QWidget main;
        main.setGeometry(100, 80, 900, 600);
        main.show();
        CommandRouter router(
            t->env, [this] { return pane(); }, [this] { return pane(); });
        QStringList ran;
        router.add("MFindAll", CommandFlag::ChangesPane | CommandFlag::LongRunning,
                   [&](CommandContext&) { ran << "MFindAll"; });
        TFFirstTime w(router, t->prompt, &main);
        QCOMPARE(w.size(), QSize(189, 207));
        QVERIFY(w.windowFlags() & Qt::FramelessWindowHint);
        QVERIFY(w.windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(qAbs(w.windowOpacity() - 200.0 / 255.0) < 0.01);
        w.showBeside();
        QCOMPARE(w.x() + w.width(), main.frameGeometry().left() + main.width());
        QCOMPARE(w.y(), main.frameGeometry().top() + (main.frameGeometry().height() - 207) / 2);

        QVERIFY(!w.stepButton(0)->isEnabled()); // no settings window here
        QVERIFY(w.stepButton(1)->isEnabled());
        QVERIFY(!w.stepButton(2)->isEnabled());
        QVERIFY(w.stepButton(FirstTimeOrganiser::Finish)->isEnabled());
        router.add("MCompare", CommandFlag::None, [&](CommandContext&) { ran << "MCompare"; });
        QVERIFY(w.stepButton(2)->isEnabled()); // arrived: offered at once

        t->prompt.push(Prompt::Answer::Yes); // step 1 skipped
        QTest::mouseClick(w.stepButton(1), Qt::LeftButton);
        QCOMPARE(ran, QStringList{"MFindAll"});
        QVERIFY(w.stepButton(1)->font().bold());
        QVERIFY(!w.stepButton(2)->font().bold());
        QCOMPARE(w.organiser().nextStep(), 2);

        // A press on a line that moves drags the window and chooses nothing.
        const QPoint start = w.pos();
        QWidget* line = w.stepButton(2);
        QTest::mousePress(line, Qt::LeftButton, {}, QPoint(20, 10));
        QMouseEvent move(QEvent::MouseMove, QPointF(60, 30), line->mapToGlobal(QPointF(60, 30)),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(line, &move);
        QTest::mouseRelease(line, Qt::LeftButton, {}, QPoint(60, 30));
        QCOMPARE(ran, QStringList{"MFindAll"});
        QCOMPARE(w.pos(), start + QPoint(40, 20));

        QTest::mouseClick(w.stepButton(FirstTimeOrganiser::Finish), Qt::LeftButton);
        QVERIFY(w.isVisible()); // skipped steps: the question was answered No
        t->prompt.push(Prompt::Answer::Yes);
        QTest::mouseClick(w.stepButton(FirstTimeOrganiser::Finish), Qt::LeftButton);
        QVERIFY(!w.isVisible());
    }
};

QTEST_MAIN(TestToolWindows)
#include "test_toolwindows.moc"
