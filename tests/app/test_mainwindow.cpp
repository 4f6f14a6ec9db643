// The main window's layouts, active pane, drops and column visibility.
#include "app/ui/shellcommands.h"
#include "app/ui/tfmain.h"
#include "app/ui/tfsettings.h"
#include "app/ui/windowstate.h"
#include "base/scripted.h"
#include "base/settings.h"
#include "base/texts.h"
#include "base/translator.h"
#include "lists/listfiles.h"
#include "lists/songlistmodel.h"
#include "lists/songtags.h"
#include "lists/ui/listcommands.h"
#include "lists/ui/songlistview.h"
#include "lists/ui/tfframe.h"
#include "support/testenv.h"

#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QSplitter>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

class TestMainWindow : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    std::unique_ptr<TestEnv> m_env;
    Settings* m_settings = nullptr;
    std::unique_ptr<Translator> m_messages;
    std::unique_ptr<TFMain> m_main;
    std::unique_ptr<TFSettings> m_settingsWindow;
    std::unique_ptr<QWidget> m_other;

private slots:
    void init() {
        m_env = std::make_unique<TestEnv>(m_dir.path() + "/");
        m_settings = &m_env->settings;
        m_main = std::make_unique<TFMain>(m_env->env);
        m_messages = std::make_unique<Translator>(m_dir.path() + "/language/", "English");
        m_settingsWindow =
            std::make_unique<TFSettings>(*m_settings, m_env->prompt, *m_messages, m_main.get());
        m_other = std::make_unique<QWidget>();
        // Commands as the program binds them.
        bindListCommands(m_main->router(), *m_main->frame1(), *m_main->frame2());
        bindShellCommands(*m_main, {*m_settingsWindow, *m_other, *m_other, *m_other});
        m_main->resize(1000, 700);
        m_main->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_main.get()));
        QCoreApplication::processEvents();
    }
    void cleanup() {
        m_settingsWindow.reset();
        m_main.reset();
        m_other.reset();
        m_messages.reset();
        m_env.reset();
    }

    void startsWithFrame1ActiveAndBothPanesSideBySide() {
        QCOMPARE(m_main->activePane(), m_main->frame1());
        QVERIFY(!m_main->frame2()->isActive());
        const auto* splitter = qobject_cast<QSplitter*>(m_main->centralWidget());
        QCOMPARE(splitter->orientation(), Qt::Horizontal);
        QVERIFY(splitter->sizes()[1] > 100);
    }

    void changeFocusSwapsPanesButNotInOnePaneLayout() {
        m_main->changeFocus();
        QCOMPARE(m_main->activePane(), m_main->frame2());
        QVERIFY(m_main->frame2()->isActive() && !m_main->frame1()->isActive());
        // Choosing a layout makes Frame1 active again.
        m_main->setLayoutMode(2);
        QCOMPARE(m_main->activePane(), m_main->frame1());
        m_main->changeFocus();
        QCOMPARE(m_main->activePane(), m_main->frame1());
        m_main->setLayoutMode(1);
        const auto* splitter = qobject_cast<QSplitter*>(m_main->centralWidget());
        QCOMPARE(splitter->orientation(), Qt::Vertical);
        m_main->changeFocus();
        QCOMPARE(m_main->activePane(), m_main->frame2());
    }

    void everyMenuCommandExistsAndUnbuiltOnesAreDisabled() {
        const MainMenu& menu = m_main->mainMenu();
        QCOMPARE(menu.action("MChangeFocus")->shortcut(), QKeySequence("Ctrl+Tab"));
        QCOMPARE(menu.action("MDetailedStatistics")->shortcut(), QKeySequence("Shift+Alt+S"));
        QCOMPARE(menu.action("MCopyTo")->text(), QString("Copy to  (Ctrl+C)"));
        QVERIFY(menu.action("MExit")->isEnabled());
        QVERIFY(!menu.action("MCompare")->isEnabled());
        QCOMPARE(m_main->menuBar()->actions().size(), 11);
    }

    void patternMenusFollowTheSettingsListsEntryByEntry() {
        const MainMenu& menu = m_main->mainMenu();
        menu.action("MFmtTrackSong")->trigger();
        QCOMPARE(m_settings->text("Mp3FileFormat"), QString("[T] - S"));
        QCOMPARE(m_settings->text("Mp3FileFormat_text"), QString("[Track] - Song Title.mp3"));
        m_settings->setValue("Mp3FileFormat_text", "Song Title.mp3");
        QVERIFY(menu.action("MFmtSong")->isChecked());
        // Checked by position, so a translated caption still matches.
        menu.action("MFmtSong")->setText("Liedtitel.mp3");
        m_settings->setValue("Mp3FileFormat_text", "Automatically");
        QVERIFY(menu.action("MFmtAuto")->isChecked());
        menu.action("MDirGenreArtist")->trigger();
        QCOMPARE(m_settings->text("MoveCopyFileFormat"), QString("G/A"));
        QCOMPARE(m_settings->number("CBDirStruct_skip_"), 5);
    }

    void dropOnTheInactivePaneMakesItActiveAndAddsThere() {
        const QString song = m_dir.path() + "/dropped.mp3";
        QFile f(song);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("not really audio");
        f.close();
        m_main->handleDrop(m_main->frame2(), {song});
        QCOMPARE(m_main->activePane(), m_main->frame2());
        QCOMPARE(m_main->frame2()->model().size(), 1);
        QCOMPARE(m_main->frame1()->model().size(), 0);
        QCOMPARE(m_env->progress.operations().last(), QString("add"));
    }

    // A list file among dropped files is loaded (and ends the drop); the pane's buttons,
    // its title line and the File menu reach the same commands.
    void listFilesFromDropsButtonsAndTheMenu() {
        const MainMenu& menu = m_main->mainMenu();
        for (const char* name : {"MLoad", "MSave", "MPlaylistWhole", "MPlaylistArtist",
                                 "MPlaylistAlbum", "MPlaylistGenre", "MPlaylistYear"})
            QVERIFY2(menu.action(name)->isEnabled(), name);
        QCOMPARE(menu.action("MLoad")->shortcut(), QKeySequence("Ctrl+L"));

        SongListModel rows(m_settings);
        rows.append(SongItem(QStringList{"listed.mp3", "1.00", "/x/"}));
        ListFileState st;
        const QString list = m_dir.path() + "/dropped.rnl";
        QVERIFY(saveList(m_env->env, rows, st, list, ListFormat::Rnl));
        const QString song = m_dir.path() + "/dropped.mp3";
        QFile f(song);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.close();
        m_main->handleDrop(m_main->frame2(), {song, list, m_dir.path() + "/after.mp3"});
        TFFrame* pane = m_main->frame2();
        QCOMPARE(pane->model().size(), 1); // the .rnl replaced the song it came after
        QCOMPARE(pane->model().item(0).text(0), QString("listed.mp3"));
        const auto* title = pane->findChild<QLabel*>("LFile_skip_");
        QCOMPARE(title->text(), " " + list + " ");
        QVERIFY(title->font().bold());

        // The pane's save button: the dialog proposes the loaded file.
        const QString csv = m_dir.path() + "/saved.csv";
        m_env->prompt.push(ScriptedPrompt::FileChoice{csv, 1});
        pane->findChild<QToolButton*>("BSave")->click();
        QCOMPARE(m_env->prompt.lastFileDialog().start, list);
        QCOMPARE(m_env->prompt.lastFileDialog().type, 6);
        QVERIFY(QFile::exists(csv));
        QCOMPARE(pane->listFileState().title, csv);

        // A double click on the title line loads, as the load button does.
        m_env->prompt.push(list);
        QTest::mouseDClick(const_cast<QLabel*>(title), Qt::LeftButton);
        QCOMPARE(m_env->prompt.lastFileDialog().start, csv);
        QCOMPARE(pane->listFileState().title, list);
    }

    void hidingAColumnHidesItInBothPanes() {
        m_settings->setColumnVisible(9, false);
        QVERIFY(!m_main->frame1()->columnVisible(9));
        QVERIFY(!m_main->frame2()->columnVisible(9));
        m_settings->setColumnVisible(9, true);
        QVERIFY(m_main->frame2()->columnVisible(9));
        QCOMPARE(m_main->frame2()->list().horizontalHeader()->sectionSize(9), 200);
    }

    // Size, position, splitter, column widths and order come back after a restart; the
    // Window menu ticks the layout in use.
    void windowComesBackAsItWasLeft() {
        m_main->setWindowState(Qt::WindowNoState);
        m_main->setGeometry(20, 30, 700, 500);
        QCoreApplication::processEvents();
        m_main->splitter()->setSizes({250, 445});
        QHeaderView* header = m_main->frame1()->list().horizontalHeader();
        header->resizeSection(0, 123);
        header->moveSection(header->visualIndex(3), 1);
        header->setSortIndicator(4, Qt::DescendingOrder);
        const QList<int> sizes = m_main->splitter()->sizes();
        QVERIFY(m_main->mainMenu().action("MVerticalSplit")->isChecked());
        QVERIFY(WindowState(*m_settings, *m_main).save());

        TFMain again(m_env->env);
        WindowState(*m_settings, again).restore();
        again.show();
        QVERIFY(QTest::qWaitForWindowExposed(&again));
        QCoreApplication::processEvents();
        QCOMPARE(again.geometry(), QRect(20, 30, 700, 500));
        QCOMPARE(again.splitter()->sizes(), sizes);
        QHeaderView* restored = again.frame1()->list().horizontalHeader();
        QCOMPARE(restored->sectionSize(0), 123);
        QCOMPARE(restored->visualIndex(3), 1);
        QCOMPARE(restored->sortIndicatorSection(), -1); // the rows are not sorted after a start
        again.setLayoutMode(2);
        QVERIFY(again.mainMenu().action("MFullScreen")->isChecked());
        QVERIFY(!again.mainMenu().action("MVerticalSplit")->isChecked());
    }

    void countersAndSelectionSizeShowInTheirLabels() {
        TFFrame* pane = m_main->frame1();
        for (const char* size : {"100.00", "200.50", "50.00"})
            pane->model().append(SongItem(QStringList{"a.mp3", size, "/"}));
        pane->model().setErrorMark(1, true);
        QCOMPARE(pane->counterLabel(SongListModel::Count)->text(), QString("Num: 3"));
        QCOMPARE(pane->counterLabel(SongListModel::Errors)->text(), QString("Errors: 1"));
        auto* sel = pane->list().selectionModel();
        double shown = -1;
        connect(pane, &TFFrame::selectionSizeChanged, this, [&](double kb) { shown = kb; });
        sel->select(pane->model().index(0, 0),
                    QItemSelectionModel::Select | QItemSelectionModel::Rows);
        QCOMPARE(shown, 100.0);
        sel->select(pane->model().index(1, 0),
                    QItemSelectionModel::Select | QItemSelectionModel::Rows);
        sel->select(pane->model().index(2, 0),
                    QItemSelectionModel::Select | QItemSelectionModel::Rows);
        QCOMPARE(shown, 350.5);
        QCOMPARE(pane->positionLabel()->text(), QString(" / 1"));
        sel->select(pane->model().index(0, 0),
                    QItemSelectionModel::Deselect | QItemSelectionModel::Rows);
        QCOMPARE(shown, 250.5);
        QCOMPARE(pane->positionLabel()->text(), QString(" / 2"));
        QCOMPARE(pane->counterLabel(SongListModel::Selected)->text(), QString("Sel: 2"));
    }
};

QTEST_MAIN(TestMainWindow)
#include "test_mainwindow.moc"
