// The progress window: Cancel and Esc, titles, the animation area and the status line.
#include "base/settings.h"
#include "base/ui/progressanimation.h"
#include "base/ui/tfmsg.h"

#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

class TestProgressWindow : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    std::unique_ptr<Settings> m_settings;
    std::unique_ptr<QWidget> m_main;
    std::unique_ptr<TFMsg> m_msg;

    QLabel* status() const { return m_msg->findChild<QLabel*>("LStatus"); }
    ProgressAnimation* animation() const { return m_msg->findChild<ProgressAnimation*>(); }

private slots:
    void init() {
        m_settings = std::make_unique<Settings>(m_dir.path() + '/');
        m_main = std::make_unique<QWidget>();
        m_main->setGeometry(100, 100, 800, 600);
        m_main->show();
        m_msg = std::make_unique<TFMsg>(m_main.get(), m_settings.get());
    }
    void cleanup() {
        m_msg.reset();
        m_main.reset();
    }

    void cancelAndEscSetTheFlagAndANewStartClearsIt() {
        auto* cancel = m_msg->findChild<QPushButton*>("BCancel");
        QVERIFY(cancel);
        m_msg->startProgress("add");
        QVERIFY(m_msg->isVisible());
        QCOMPARE(m_msg->geometry().center(), m_main->frameGeometry().center());
        QTest::mouseClick(cancel, Qt::LeftButton);
        QVERIFY(m_msg->cancelRequested());
        QVERIFY(!m_msg->isVisible());

        m_msg->startProgress("add");
        QVERIFY(!m_msg->cancelRequested());
        // The button has the focus; the key reaches the window through it.
        QTest::keyPress(cancel, Qt::Key_Escape);
        QVERIFY(!m_msg->cancelRequested()); // acted on when released
        QVERIFY(m_msg->isVisible());
        QTest::keyRelease(cancel, Qt::Key_Escape);
        QVERIFY(m_msg->cancelRequested());
        QVERIFY(!m_msg->isVisible());

        m_msg->startProgress("copy");
        QVERIFY(!m_msg->cancelRequested());
        m_msg->endProgress();
        QVERIFY(!m_msg->isVisible());
        QVERIFY(!m_msg->cancelRequested()); // ending is not cancelling
    }

    // A loop that only calls showProgressItem sees a click on Cancel: the window
    // lets events run between items.
    void aLoopOfQuickItemsSeesCancel() {
        m_msg->startProgress("add");
        auto* cancel = m_msg->findChild<QPushButton*>("BCancel");
        QTimer::singleShot(20, cancel, [cancel] { cancel->click(); });
        QElapsedTimer guard;
        guard.start();
        int items = 0;
        while (!m_msg->cancelRequested() && guard.elapsed() < 5000)
            m_msg->showProgressItem(QStringLiteral("(%1)").arg(++items));
        QVERIFY(m_msg->cancelRequested());
        QVERIFY(items > 1);
        QVERIFY(status()->text().startsWith("Adding files ... ("));
    }

    void statusLineIsTitleAndItemWithinItsWidth() {
        m_msg->startProgress("copy");
        QCOMPARE(status()->text(), QString("Copying files ..."));
        m_msg->showProgressItem("( a.mp3 )");
        QCOMPARE(status()->text(), QString("Copying files ... ( a.mp3 )"));
        QTest::qWait(60);
        const QString item = "( /music/" + QString(200, 'x') + "/end.mp3 )";
        m_msg->showProgressItem(item);
        // Shortened in the middle, brackets kept.
        QVERIFY(status()->text().startsWith("Copying files ... ( /music/"));
        QVERIFY2(status()->text().endsWith("/end.mp3 )"), qPrintable(status()->text()));
        QVERIFY(status()->fontMetrics().horizontalAdvance(status()->text()) <= 240);
        QVERIFY(status()->geometry().width() <= 240);
    }

    void unknownNameKeepsThePreviousTitleWithoutAnimation() {
        m_msg->startProgress("mistakes");
        QCOMPARE(animation()->kind(), ProgressAnimationKind::Mistakes);
        m_msg->startProgress("no such operation");
        QCOMPARE(m_msg->operationText(), QString("Searching for mistakes ..."));
        QCOMPARE(status()->text(), QString("Searching for mistakes ..."));
        QCOMPARE(animation()->kind(), ProgressAnimationKind::None);
        QVERIFY(!animation()->running());
        m_msg->startProgress("stat");
        QCOMPARE(status()->text(), QString("Writing statistics ..."));
    }

    void animationsOffMoveTheStatusLineUp() {
        m_msg->startProgress("save");
        QCOMPARE(status()->y(), 64);
        QVERIFY(animation()->isVisible());
        QVERIFY(animation()->running());
        m_msg->endProgress();
        QVERIFY(!animation()->running()); // stops when hidden

        m_settings->setValue("CBAnimations", false);
        m_msg->startProgress("save");
        QCOMPARE(status()->y(), 40);
        QVERIFY(!animation()->isVisible());
        QVERIFY(!animation()->running());

        m_settings->setValue("CBAnimations", true);
        m_msg->startProgress("save");
        QCOMPARE(status()->y(), 64);
        QVERIFY(animation()->running());
    }

    // Each kind draws something, and something that moves.
    void everyAnimationPaintsAndMoves() {
        using K = ProgressAnimationKind;
        for (K kind : {K::Copy, K::Move, K::Compare, K::Mistakes, K::CopyFromCd, K::Delete, K::Load,
                       K::Save}) {
            QImage frames[2];
            const qreal phases[2] = {0.3, 0.6};
            for (int i = 0; i < 2; ++i) {
                frames[i] = QImage(ProgressAnimation::Width, ProgressAnimation::Height,
                                   QImage::Format_RGB32);
                frames[i].fill(Qt::white);
                QPainter p(&frames[i]);
                ProgressAnimation::paintFrame(p, kind, phases[i]);
            }
            QImage blank(frames[0].size(), frames[0].format());
            blank.fill(Qt::white);
            QVERIFY2(frames[0] != blank, qPrintable(QString::number(int(kind))));
            QVERIFY2(frames[0] != frames[1], qPrintable(QString::number(int(kind))));
        }
    }
};

QTEST_MAIN(TestProgressWindow)
#include "test_tfmsg.moc"
