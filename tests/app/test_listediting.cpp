// The list editing commands as the windows bind them: the pane menu acts on its own pane,
// the keys of a list, drags of rows between the panes, the clear button and the find window.
#include "app/ui/tfmain.h"
#include "base/scripted.h"
#include "base/settings.h"
#include "lists/commandrouter.h"
#include "lists/selectcommands.h"
#include "lists/songlistmodel.h"
#include "lists/ui/listcommands.h"
#include "lists/ui/listeditcommands.h"
#include "lists/ui/panemenu.h"
#include "lists/ui/songlistview.h"
#include "lists/ui/tffilter.h"
#include "lists/ui/tffind.h"
#include "lists/ui/tfframe.h"
#include "support/testenv.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

class TestListEditing : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    std::unique_ptr<TestEnv> m_env;
    std::unique_ptr<TFMain> m_main;
    std::unique_ptr<TFFind> m_find;
    std::unique_ptr<TFFilter> m_filter;

    SongListModel& model(int pane) {
        return (pane == 0 ? m_main->frame1() : m_main->frame2())->model();
    }
    void fill(int pane, QStringList names) {
        for (const QString& n : names)
            model(pane).append(SongItem(QStringList{n, "1.00", "/m/", "title " + n}));
    }
    // A drag of the source pane's selected rows arriving on the target pane's list.
    bool drop(TFFrame* source, TFFrame* target) {
        QMimeData mime;
        mime.setData(SongListView::RowsMimeType, QByteArray::number(quintptr(&source->list())));
        QWidget* viewport = target->list().viewport();
        const QPoint at = viewport->rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(viewport, &enter);
        if (!enter.isAccepted())
            return false;
        QDropEvent dropped(QPointF(at), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(viewport, &dropped);
        return dropped.isAccepted();
    }

private slots:
    void init() {
        m_env = std::make_unique<TestEnv>(m_dir.path() + "/");
        m_env->settings.setValue("CBWarnings", false);
        m_main = std::make_unique<TFMain>(m_env->env);
        m_find = std::make_unique<TFFind>(m_main.get());
        m_filter = std::make_unique<TFFilter>(m_main.get());
        bindListCommands(m_main->router(), *m_main->frame1(), *m_main->frame2());
        bindListEditCommands(m_main->router(), *m_main->frame1(), *m_main->frame2(), *m_find,
                             *m_filter);
        m_main->resize(1000, 700);
        m_main->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_main.get()));
        QCoreApplication::processEvents();
    }
    void cleanup() {
        m_filter.reset();
        m_find.reset();
        m_main.reset();
        m_env.reset();
    }

    void thePaneMenuActsOnItsOwnPane() {
        fill(0, {"a.mp3", "b.mp3"});
        fill(1, {"c.mp3", "d.mp3", "e.mp3"});
        QCOMPARE(m_main->activePane(), m_main->frame1());
        selectRows(m_main->frame2()->paneRef(), {0, 2});
        QAction* copy = m_main->frame2()->paneMenu().entry("CopySelectedToOtherList1");
        QVERIFY(copy->isEnabled());
        copy->trigger();
        QCOMPARE(model(0).size(), 4);
        QCOMPARE(model(0).item(3).text(0), QString("e.mp3"));
        QCOMPARE(model(1).size(), 3);
        // The main menu's entries act on the active pane: Frame1 has nothing selected.
        m_main->mainMenu().action("MCheckSelected")->trigger();
        QCOMPARE(m_env->prompt.informed().last(), QString("There are no items selected."));
        QCOMPARE(model(1).counter(SongListModel::Checked), 0);
        // "Rename Type" is per pane.
        m_main->frame2()->paneMenu().entry("OnlyList1")->trigger();
        QCOMPARE(m_main->frame2()->paneMenu().renameType(), RenameType::OnlyList);
        QCOMPARE(m_main->frame1()->paneMenu().renameType(), RenameType::File);
    }

    void keysOfAList() {
        fill(0, {"a.mp3", "b.mp3", "c.mp3"});
        SongListView& list = m_main->frame1()->list();
        list.setFocus();
        selectRows(m_main->frame1()->paneRef(), {0, 1});
        QTest::keyClick(&list, Qt::Key_Space);
        QCOMPARE(model(0).counter(SongListModel::Checked), 2);
        // Del removes the checked rows, not the selected ones.
        selectRows(m_main->frame1()->paneRef(), {2});
        QTest::keyClick(&list, Qt::Key_Delete);
        QCOMPARE(model(0).size(), 1);
        QCOMPARE(model(0).item(0).text(0), QString("c.mp3"));
        // Rating keys: Shift with the keypad's plus and minus.
        model(0).setText(0, SongItem::Weight, "0");
        QTest::keyClick(&list, Qt::Key_Plus, Qt::ShiftModifier | Qt::KeypadModifier);
        QCOMPARE(model(0).item(0).text(SongItem::Weight), QString("1"));
        QTest::keyClick(&list, Qt::Key_Minus, Qt::ShiftModifier | Qt::KeypadModifier);
        QTest::keyClick(&list, Qt::Key_Minus, Qt::ShiftModifier | Qt::KeypadModifier);
        QCOMPARE(model(0).item(0).text(SongItem::Weight), QString("-1"));
        // Esc asks running loops to stop and clears the selection.
        QTest::keyClick(&list, Qt::Key_Escape);
        QVERIFY(m_env->progress.cancelRequested());
        QVERIFY(!list.selectionModel()->hasSelection());
    }

    void rowsDragBetweenPanesNeverOntoThemselves() {
        fill(0, {"a.mp3", "b.mp3", "c.mp3"});
        fill(1, {"x.mp3"});
        model(0).setChecked(1, true);
        model(0).setErrorMark(1, true);
        selectRows(m_main->frame1()->paneRef(), {1, 2});
        QVERIFY(!drop(m_main->frame1(), m_main->frame1()));
        QCOMPARE(model(0).size(), 3);
        QVERIFY(drop(m_main->frame1(), m_main->frame2()));
        QCOMPARE(model(1).size(), 3);
        QCOMPARE(model(1).counter(SongListModel::Checked), 1);
        QCOMPARE(model(1).counter(SongListModel::Errors), 1);
        QCOMPARE(m_main->frame2()->counterLabel(SongListModel::Count)->text(), QString("Num: 3"));
    }

    void clearButtonAndFindWindow() {
        fill(0, {"Love Me Do.mp3", "Glove.mp3", "All You Need Is Love.mp3"});
        m_main->mainMenu().action("MFind")->trigger();
        QVERIFY(m_find->isVisible());
        auto* text = m_find->findChild<QComboBox*>("CBText_skip_");
        text->setEditText("love");
        QCOMPARE(m_find->windowTitle(), QString("Find: love"));
        m_find->findChild<QCheckBox*>("CBWWO")->setChecked(true);
        m_find->findChild<QPushButton*>("BFind")->click();
        QVERIFY(m_find->folded());
        QCOMPARE(m_main->frame1()->paneRef().selectedRows(), std::vector<int>({0}));
        // F3 in the list finds the next match; "Stay selected" keeps the first.
        QTest::keyClick(&m_main->frame1()->list(), Qt::Key_F3);
        QCOMPARE(m_main->frame1()->paneRef().selectedRows(), std::vector<int>({0, 2}));

        m_main->frame1()->findChild<QToolButton*>("BClear")->click();
        QCOMPARE(model(0).size(), 0);
        QCOMPARE(m_main->frame1()->counterLabel(SongListModel::Count)->text(), QString("Num: 0"));
    }
};

QTEST_MAIN(TestListEditing)
#include "test_listediting.moc"
