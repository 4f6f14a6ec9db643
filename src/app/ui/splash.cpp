#include "app/ui/splash.h"

#include "base/translator.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>

TFSplash::TFSplash()
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName("FSplash");
    setWindowTitle("Rendolo ...");
    setFixedSize(259, 94);
    setAttribute(Qt::WA_TranslucentBackground);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(16, 10, 16, 10);
    auto* picture = new QLabel(this);
    picture->setPixmap(QPixmap(":/icons/rendolo.png")
                           .scaled(56, 56, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    m_status = new QLabel(T("SplashLoading", "Loading ..."), this);
    m_status->setObjectName("LStatus");
    QFont bold = m_status->font();
    bold.setBold(true);
    m_status->setFont(bold);
    m_status->setWordWrap(true);
    layout->addWidget(picture);
    layout->addWidget(m_status, 1);
    if (QScreen* screen = QApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
}

void TFSplash::showStep(const char* key, const char* def) {
    m_status->setText(T(key, def));
    m_status->repaint();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void TFSplash::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QPainterPath shape;
    shape.addRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 11, 11);
    p.fillPath(shape, Qt::white);
    p.setPen(QPen(Qt::blue, 1, Qt::DotLine));
    p.drawPath(shape);
}
