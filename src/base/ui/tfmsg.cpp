#include "base/ui/tfmsg.h"

#include "base/progressoperations.h"
#include "base/settings.h"
#include "base/ui/progressanimation.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QScreen>
#include <QThread>
#include <QWindow>

#include <algorithm>
#include <utility>

namespace {
constexpr int kWidth = 280;
constexpr int kHeight = 115;
constexpr int kCorner = 22; // the rounded corners are 22 x 22
constexpr int kStatusWidth = 240;
// A loop of many quick items repaints and lets events run this often: often enough
// for a live status line and a prompt Cancel, rarely enough to cost the loop nothing.
constexpr int kPumpMs = 50;
// How long a start waits for the window system to put the window on screen.
constexpr int kMapWaitMs = 100;
} // namespace

TFMsg::TFMsg(QWidget* mainWindow, const Settings* settings)
    : QDialog(mainWindow), m_mainWindow(mainWindow), m_settings(settings) {
    setObjectName("FMsg");
    setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setFixedSize(kWidth, kHeight);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    pal.setColor(QPalette::WindowText, Qt::black);
    setPalette(pal);

    QPainterPath outline;
    outline.addRoundedRect(QRectF(0, 0, kWidth, kHeight), kCorner / 2.0, kCorner / 2.0);
    setMask(QRegion(outline.toFillPolygon().toPolygon()));

    m_animation = new ProgressAnimation(this);
    m_animation->move((kWidth - ProgressAnimation::Width) / 2, 4);

    m_status = new QLabel(this);
    m_status->setObjectName("LStatus");
    m_status->setAlignment(Qt::AlignCenter);
    m_status->setGeometry((kWidth - kStatusWidth) / 2, StatusTopWithAnimation, kStatusWidth, 18);

    m_cancel = new QPushButton(QStringLiteral("Cancel"), this);
    m_cancel->setObjectName("BCancel");
    m_cancel->setAutoDefault(false); // Enter typed for another window must not cancel
    m_cancel->setGeometry((kWidth - 75) / 2, kHeight - 8 - 25, 75, 25);
    connect(m_cancel, &QPushButton::clicked, this, &TFMsg::reject);
}

void TFMsg::setMainWindow(QWidget* mainWindow) {
    setParent(mainWindow, windowFlags());
    m_mainWindow = mainWindow;
}

void TFMsg::startProgress(const QString& operation) {
    QCoreApplication::processEvents();
    // An unknown name keeps the previous title but has no animation.
    const ProgressOperation* known = findProgressOperation(operation);
    if (known) {
        m_operation = known;
        m_operationText = progressTitle(*known);
    }
    m_animation->setKind(known ? known->animation : ProgressAnimationKind::None);

    const bool animations = !m_settings || m_settings->flag("CBAnimations");
    m_animation->setVisible(animations);
    m_status->move(m_status->x(), animations ? StatusTopWithAnimation : StatusTopWithoutAnimation);
    m_item.clear();
    showStatus();
    clearCancel();

    placeOverMainWindow();
    show();
    raise();
    activateWindow();
    // Let the window system map the window and the window paint before the work starts.
    QElapsedTimer wait;
    wait.start();
    QCoreApplication::processEvents();
    while (windowHandle() && !windowHandle()->isExposed() && wait.elapsed() < kMapWaitMs) {
        QThread::msleep(2);
        QCoreApplication::processEvents();
    }
    m_lastShown.invalidate(); // the first item is shown at once
}

void TFMsg::showProgressItem(const QString& text) {
    m_item = text;
    // Called for every item of loops of a million: between the pumps this is one
    // string assignment and one clock read.
    if (m_lastShown.isValid() && m_lastShown.elapsed() < kPumpMs)
        return;
    m_lastShown.start();
    showStatus();
    QCoreApplication::processEvents();
}

void TFMsg::endProgress() {
    hide();
    m_animation->setKind(ProgressAnimationKind::None);
}

void TFMsg::resumeAfterCancel() {
    clearCancel();
    placeOverMainWindow();
    show();
    raise();
    m_lastShown.invalidate();
}

void TFMsg::retranslate() {
    if (!m_operation)
        return;
    m_operationText = progressTitle(*m_operation);
    showStatus();
}

void TFMsg::reject() {
    requestCancel();
    QDialog::reject(); // hides the window; the loop ends at its next check
}

void TFMsg::showStatus() {
    // Callers pass the whole item, "( " + item + " )" or "(" + number + ")"; this is the
    // one place it is shortened. The title stays whole where it can; a long item loses
    // its middle (a path keeps its start and its file name) and keeps its brackets.
    const QFontMetrics fm = m_status->fontMetrics();
    if (m_item.isEmpty()) {
        m_status->setText(fm.elidedText(m_operationText, Qt::ElideRight, kStatusWidth));
        return;
    }
    QString open, inner = m_item, close;
    for (const auto& [o, c] : {std::pair{QStringLiteral("( "), QStringLiteral(" )")},
                               std::pair{QStringLiteral("("), QStringLiteral(")")}})
        if (m_item.size() >= o.size() + c.size() && m_item.startsWith(o) && m_item.endsWith(c)) {
            open = o;
            close = c;
            inner = m_item.mid(o.size(), m_item.size() - o.size() - c.size());
            break;
        }
    QString head = m_operationText + ' ';
    int room = kStatusWidth - fm.horizontalAdvance(head + open + close);
    if (room < kStatusWidth / 3) { // a long title gives way to the item
        head = fm.elidedText(head, Qt::ElideRight, kStatusWidth / 3);
        room = kStatusWidth - fm.horizontalAdvance(head + open + close);
    }
    m_status->setText(head + open + fm.elidedText(inner, Qt::ElideMiddle, std::max(room, 0)) +
                      close);
}

void TFMsg::placeOverMainWindow() {
    QRect over;
    if (m_mainWindow && m_mainWindow->isVisible() && !m_mainWindow->isMinimized())
        over = m_mainWindow->frameGeometry();
    else if (const QScreen* screen =
                 m_mainWindow ? m_mainWindow->screen() : QGuiApplication::primaryScreen())
        over = screen->availableGeometry();
    if (over.isValid())
        move(over.center() - rect().center());
}

void TFMsg::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::white); // whatever style sheet a parent may carry
    p.setPen(QPen(QColor(0, 0, 255), 1, Qt::DotLine));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(0.5, 0.5, kWidth - 2, kHeight - 2), kCorner / 2.0 - 1,
                      kCorner / 2.0 - 1);
}

void TFMsg::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        event->accept(); // acted on when released, as the button is
        return;
    }
    QDialog::keyPressEvent(event);
}

void TFMsg::keyReleaseEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && !event->isAutoRepeat()) {
        event->accept();
        reject();
        return;
    }
    QDialog::keyReleaseEvent(event);
}
