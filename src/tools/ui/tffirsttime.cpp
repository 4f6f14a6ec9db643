#include "tools/ui/tffirsttime.h"

#include "lists/commandrouter.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWindow>

namespace {
constexpr int kCorner = 22; // the corners are rounded on a 22 x 22 ellipse
constexpr int kLineHeight = 25;
const QColor kBorder(49, 106, 197);
const char* const kStepNames[FirstTimeOrganiser::StepCount] = {
    "BStep1", "BStep2", "BStep3", "BStep4", "BStep5", "BStep6", "BFinish"};
} // namespace

TFFirstTime::TFFirstTime(CommandRouter& router, Prompt& prompt, QWidget* mainWindow)
    : QWidget(mainWindow, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      m_organiser(router, prompt), m_mainWindow(mainWindow) {
    setObjectName("FFirstTime");
    setWindowTitle("First Time Use");
    setFixedSize(ClientWidth, ClientHeight);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    pal.setColor(QPalette::Button, Qt::white);
    pal.setColor(QPalette::WindowText, Qt::black);
    pal.setColor(QPalette::ButtonText, Qt::black);
    // A step whose command the program does not have (yet) shows greyed.
    pal.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(160, 160, 160));
    pal.setColor(QPalette::Disabled, QPalette::WindowText, QColor(160, 160, 160));
    setPalette(pal);
    setWindowOpacity(200.0 / 255.0);

    QPainterPath outline;
    outline.addRoundedRect(QRectF(0, 0, ClientWidth, ClientHeight), kCorner / 2.0, kCorner / 2.0);
    setMask(QRegion(outline.toFillPolygon().toPolygon()));

    auto* lines = new QVBoxLayout(this);
    lines->setContentsMargins(5, 9, 5, 9);
    lines->setSpacing(1);
    for (int k = 0; k < FirstTimeOrganiser::StepCount; ++k) {
        auto* b = new QToolButton(this);
        b->setObjectName(QString::fromLatin1(kStepNames[k]));
        b->setText(QString::fromLatin1(FirstTimeOrganiser::step(k).caption));
        b->setAutoRaise(true); // flat; raised under the pointer, lowered while pressed
        b->setToolButtonStyle(Qt::ToolButtonTextOnly);
        b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        b->setFixedHeight(kLineHeight);
        b->setFocusPolicy(Qt::NoFocus);
        b->installEventFilter(this);
        connect(b, &QToolButton::clicked, this, [this, k] { clickStep(k); });
        lines->addWidget(b);
        m_steps[size_t(k)] = b;
    }
    connect(&router, &CommandRouter::stateChanged, this, &TFFirstTime::refreshSteps);
    fitCaptions();
    refreshSteps();
}

void TFFirstTime::fitCaptions() {
    // The window keeps its size: a long caption (a language's, say) gets a smaller font
    // rather than losing its end.
    const int room = ClientWidth - 10 - 12;
    QFont f = font();
    for (qreal size = f.pointSizeF(); size > 6; size -= 0.5) {
        f.setPointSizeF(size);
        QFont bold = f;
        bold.setBold(true);
        int widest = 0;
        for (QToolButton* b : m_steps)
            widest = std::max(widest, QFontMetrics(bold).horizontalAdvance(b->text()));
        if (widest <= room)
            break;
    }
    m_lineFont = f;
}

void TFFirstTime::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // The captions are in the interface language by now.
    fitCaptions();
    refreshSteps();
}

void TFFirstTime::showBeside() {
    refreshSteps();
    if (m_mainWindow) {
        // The right edge at the main window's left edge plus its client width, centred
        // vertically on it.
        const QRect main = m_mainWindow->frameGeometry();
        move(main.left() + m_mainWindow->width() - width(),
             main.top() + (main.height() - height()) / 2);
    }
    show();
    raise();
}

void TFFirstTime::clickStep(int k) {
    const FirstTimeOrganiser::Result r = m_organiser.click(k);
    refreshSteps();
    if (r == FirstTimeOrganiser::Result::Finished)
        close();
}

void TFFirstTime::refreshSteps() {
    for (int k = 0; k < FirstTimeOrganiser::StepCount; ++k) {
        QToolButton* b = m_steps[size_t(k)];
        b->setEnabled(m_organiser.available(k));
        QFont f = m_lineFont;
        f.setBold(m_organiser.taken(k));
        b->setFont(f);
    }
}

void TFFirstTime::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(kBorder, 2));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), kCorner / 2.0 - 1, kCorner / 2.0 - 1);
}

void TFFirstTime::beginDrag(QPoint globalPos) {
    m_dragOffset = globalPos - pos();
    m_drag = windowHandle() && windowHandle()->startSystemMove() ? Drag::BySystem : Drag::Following;
}

void TFFirstTime::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        beginDrag(event->globalPosition().toPoint());
}

void TFFirstTime::mouseMoveEvent(QMouseEvent* event) {
    if (m_drag == Drag::Following)
        move(event->globalPosition().toPoint() - m_dragOffset);
}

void TFFirstTime::mouseReleaseEvent(QMouseEvent*) {
    m_drag = Drag::None;
}

bool TFFirstTime::eventFilter(QObject* watched, QEvent* event) {
    auto* button = qobject_cast<QToolButton*>(watched);
    if (!button)
        return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto* e = static_cast<QMouseEvent*>(event);
        m_drag = e->button() == Qt::LeftButton ? Drag::Pressed : Drag::None;
        m_pressPos = e->globalPosition().toPoint();
        return false;
    }
    case QEvent::MouseMove: {
        const QPoint at = static_cast<QMouseEvent*>(event)->globalPosition().toPoint();
        switch (m_drag) {
        case Drag::Pressed:
            if ((at - m_pressPos).manhattanLength() < QApplication::startDragDistance())
                return false;
            // A press on a line that moves drags the window instead of choosing the step.
            button->setDown(false);
            beginDrag(m_pressPos);
            if (m_drag == Drag::Following)
                move(at - m_dragOffset);
            return true;
        case Drag::Following:
            move(at - m_dragOffset);
            return true;
        case Drag::BySystem:
            return true;
        case Drag::None:
            return false;
        }
        return false;
    }
    case QEvent::MouseButtonRelease: {
        const bool dragged = m_drag == Drag::Following || m_drag == Drag::BySystem;
        m_drag = Drag::None;
        if (dragged)
            button->setDown(false);
        return dragged; // the end of a drag chooses nothing
    }
    default:
        return false;
    }
}
