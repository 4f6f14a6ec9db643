#include "base/ui/progressanimation.h"

#include <QConicalGradient>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>

namespace {
using K = ProgressAnimationKind;

constexpr int kFrameMs = 40; // 25 frames a second
constexpr int kLoopMs = 1800;

const QColor kOutline(70, 70, 80);
const QColor kFolder(242, 201, 76);
const QColor kFolderDark(184, 134, 11);
const QColor kNote(43, 108, 176);
const QColor kStore(91, 141, 184);
const QColor kStoreDark(52, 92, 130);

qreal clamp01(qreal v) {
    return std::clamp(v, 0.0, 1.0);
}
// 0 before a, 1 after b, eased in between.
qreal ease(qreal t, qreal a, qreal b) {
    const qreal u = clamp01((t - a) / (b - a));
    return u * u * (3 - 2 * u);
}
QPointF lerp(QPointF a, QPointF b, qreal u) {
    return a + (b - a) * u;
}
// A point on a hop from a to b that rises by height in the middle.
QPointF hop(QPointF a, QPointF b, qreal u, qreal height) {
    return lerp(a, b, u) - QPointF(0, std::sin(u * M_PI) * height);
}

void folderBack(QPainter& p, const QRectF& r) {
    QPainterPath back;
    back.moveTo(r.left(), r.bottom());
    back.lineTo(r.left(), r.top());
    back.lineTo(r.left() + r.width() * 0.38, r.top());
    back.lineTo(r.left() + r.width() * 0.46, r.top() + 5);
    back.lineTo(r.right(), r.top() + 5);
    back.lineTo(r.right(), r.bottom());
    back.closeSubpath();
    p.setPen(QPen(kFolderDark, 1));
    p.setBrush(kFolder.darker(112));
    p.drawPath(back);
}

void folderFront(QPainter& p, const QRectF& r) {
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, kFolder.lighter(115));
    g.setColorAt(1, kFolder);
    QPainterPath front;
    front.moveTo(r.left(), r.bottom());
    front.lineTo(r.left() + 3, r.top() + 12);
    front.lineTo(r.right() + 3, r.top() + 12);
    front.lineTo(r.right(), r.bottom());
    front.closeSubpath();
    p.setPen(QPen(kFolderDark, 1));
    p.setBrush(g);
    p.drawPath(front);
}

// A sheet with a folded corner and a note on it: one song file, centred on c.
void songFile(QPainter& p, QPointF c, qreal opacity = 1.0) {
    p.save();
    p.setOpacity(opacity);
    const QRectF r(c.x() - 8, c.y() - 10, 16, 20);
    QPainterPath sheet;
    sheet.moveTo(r.topLeft());
    sheet.lineTo(r.right() - 5, r.top());
    sheet.lineTo(r.right(), r.top() + 5);
    sheet.lineTo(r.bottomRight());
    sheet.lineTo(r.bottomLeft());
    sheet.closeSubpath();
    p.setPen(QPen(kOutline, 1));
    p.setBrush(Qt::white);
    p.drawPath(sheet);
    p.drawLine(QPointF(r.right() - 5, r.top()), QPointF(r.right() - 5, r.top() + 5));
    p.drawLine(QPointF(r.right() - 5, r.top() + 5), QPointF(r.right(), r.top() + 5));
    // an eighth note
    p.setPen(QPen(kNote, 1.4));
    p.setBrush(kNote);
    p.drawEllipse(QPointF(c.x() - 2, c.y() + 5), 2.6, 2.0);
    p.drawLine(QPointF(c.x() + 0.5, c.y() + 5), QPointF(c.x() + 0.5, c.y() - 4));
    p.drawLine(QPointF(c.x() + 0.5, c.y() - 4), QPointF(c.x() + 3.5, c.y() - 1));
    p.restore();
}

// A disc seen from the front, turned by angle degrees.
void disc(QPainter& p, QPointF c, qreal radius, qreal angle) {
    QConicalGradient shine(c, -angle);
    const QColor silver(214, 218, 224);
    shine.setColorAt(0.00, silver);
    shine.setColorAt(0.10, QColor(250, 200, 210));
    shine.setColorAt(0.18, QColor(190, 230, 250));
    shine.setColorAt(0.26, silver);
    shine.setColorAt(0.50, QColor(245, 245, 250));
    shine.setColorAt(0.60, QColor(200, 240, 210));
    shine.setColorAt(0.68, QColor(250, 235, 190));
    shine.setColorAt(0.76, silver);
    shine.setColorAt(1.00, silver);
    p.setPen(QPen(QColor(140, 145, 155), 1));
    p.setBrush(shine);
    p.drawEllipse(c, radius, radius);
    p.setBrush(QColor(236, 238, 242));
    p.drawEllipse(c, radius * 0.34, radius * 0.34);
    p.setBrush(Qt::white);
    p.drawEllipse(c, radius * 0.13, radius * 0.13);
}

// A database: a cylinder standing in r, filled up to level (0..1).
void store(QPainter& p, const QRectF& r, qreal level = 0) {
    const qreal e = 8; // height of the end ellipses
    QLinearGradient g(r.topLeft(), r.topRight());
    g.setColorAt(0, kStore.lighter(130));
    g.setColorAt(0.4, kStore);
    g.setColorAt(1, kStoreDark);
    QPainterPath body;
    body.moveTo(r.left(), r.top() + e / 2);
    body.lineTo(r.left(), r.bottom() - e / 2);
    body.arcTo(QRectF(r.left(), r.bottom() - e, r.width(), e), 180, 180);
    body.lineTo(r.right(), r.top() + e / 2);
    body.closeSubpath();
    p.setPen(QPen(kStoreDark, 1));
    p.setBrush(g);
    p.drawPath(body);
    // the bands of a disk stack
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kStoreDark.lighter(120), 1));
    for (qreal y : {r.top() + r.height() / 3, r.top() + 2 * r.height() / 3})
        p.drawArc(QRectF(r.left(), y - e / 2, r.width(), e), 180 * 16, 180 * 16);
    if (level > 0) {
        const qreal h = (r.height() - e) * level;
        p.fillRect(QRectF(r.right() + 3, r.bottom() - e / 2 - h, 3, h), QColor(80, 180, 90));
    }
    p.setPen(QPen(kStoreDark, 1));
    p.setBrush(kStore.lighter(150));
    p.drawEllipse(QRectF(r.left(), r.top(), r.width(), e));
}

// A small list of rows; the first `filled` rows hold a song, `highlight` is marked.
void songList(QPainter& p, const QRectF& r, int rows, qreal filled, int highlight = -1,
              const QColor& mark = QColor(255, 230, 120)) {
    p.setPen(QPen(kOutline, 1));
    p.setBrush(Qt::white);
    p.drawRect(r);
    p.fillRect(QRectF(r.left() + 0.5, r.top() + 0.5, r.width() - 1, 6), QColor(205, 222, 242));
    const qreal rowH = (r.height() - 8) / rows;
    for (int i = 0; i < rows; ++i) {
        const QRectF row(r.left() + 3, r.top() + 8 + i * rowH, r.width() - 6, rowH);
        if (i == highlight)
            p.fillRect(row.adjusted(-2, 0, 2, 0), mark);
        const qreal share = clamp01(filled - i);
        if (share <= 0)
            continue;
        p.save();
        p.setOpacity(share);
        p.fillRect(QRectF(row.left(), row.center().y() - 1, 4, 2.5), kNote);
        const qreal len = (row.width() - 8) * (0.55 + 0.4 * std::fmod(i * 0.37, 1.0));
        p.fillRect(QRectF(row.left() + 7, row.center().y() - 1, len, 2.5), QColor(120, 125, 135));
        p.restore();
    }
}

void trashBin(QPainter& p, const QRectF& r, qreal lidOpen) {
    const QColor metal(138, 143, 152);
    QLinearGradient g(r.topLeft(), r.topRight());
    g.setColorAt(0, metal.lighter(135));
    g.setColorAt(1, metal.darker(110));
    QPainterPath body;
    body.moveTo(r.left(), r.top() + 6);
    body.lineTo(r.right(), r.top() + 6);
    body.lineTo(r.right() - 4, r.bottom());
    body.lineTo(r.left() + 4, r.bottom());
    body.closeSubpath();
    p.setPen(QPen(metal.darker(160), 1));
    p.setBrush(g);
    p.drawPath(body);
    p.setPen(QPen(metal.darker(140), 1));
    for (qreal x = r.left() + r.width() / 4; x < r.right() - 2; x += r.width() / 4)
        p.drawLine(QPointF(x, r.top() + 10),
                   QPointF(x + (x - r.center().x()) * -0.1, r.bottom() - 3));
    // the lid hinges at its right end
    p.save();
    p.translate(r.right() + 1, r.top() + 5);
    p.rotate(105 * lidOpen); // up and over to the right, out of the file's way
    p.setPen(QPen(metal.darker(160), 1));
    p.setBrush(metal.lighter(120));
    p.drawRect(QRectF(-r.width() - 2, -3, r.width() + 2, 4));
    p.drawRect(QRectF(-r.width() / 2 - 5, -6, 8, 3));
    p.restore();
}

void magnifier(QPainter& p, QPointF c, qreal radius) {
    p.save();
    p.setPen(QPen(QColor(90, 70, 50), 3.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(c + QPointF(radius * 0.7, radius * 0.7), c + QPointF(radius * 1.6, radius * 1.6));
    p.setPen(QPen(QColor(60, 60, 70), 1.6));
    p.setBrush(QColor(200, 230, 255, 90));
    p.drawEllipse(c, radius, radius);
    p.restore();
}

void arrow(QPainter& p, QPointF a, QPointF b, const QColor& colour) {
    p.save();
    p.setPen(QPen(colour, 1.5, Qt::DashLine, Qt::RoundCap));
    p.drawLine(a, b - QPointF(5, 0));
    QPainterPath head;
    head.moveTo(b);
    head.lineTo(b - QPointF(6, 3.5));
    head.lineTo(b - QPointF(6, -3.5));
    head.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPath(head);
    p.restore();
}

const QRectF kLeftFolder(28, 22, 48, 32);
const QRectF kRightFolder(164, 22, 48, 32);
const QPointF kInLeft(52, 32);
const QPointF kInRight(188, 32);

// Copy: the file stays in its folder while a copy hops to the other one.
void paintCopy(QPainter& p, qreal t) {
    arrow(p, {86, 40}, {154, 40}, QColor(190, 200, 215));
    folderBack(p, kLeftFolder);
    songFile(p, kInLeft);
    folderFront(p, kLeftFolder);
    folderBack(p, kRightFolder);
    const qreal u = ease(t, 0.05, 0.75);
    if (t >= 0.75)
        songFile(p, kInRight);
    folderFront(p, kRightFolder);
    if (t > 0.05 && t < 0.75) {
        songFile(p, hop(kInLeft - QPointF(0, 8), kInRight - QPointF(0, 8), u, 12), 0.65 + 0.35 * u);
        if (u < 0.25) { // the copy leaves its original: a small "+"
            p.setPen(QPen(QColor(60, 150, 70), 2));
            p.drawLine(QPointF(62, 12), QPointF(68, 12));
            p.drawLine(QPointF(65, 9), QPointF(65, 15));
        }
    }
}

// Move: the file leaves its folder, which stays empty until the loop starts again.
void paintMove(QPainter& p, qreal t) {
    folderBack(p, kLeftFolder);
    const qreal u = ease(t, 0.1, 0.75);
    if (t < 0.1)
        songFile(p, kInLeft - QPointF(0, 8 * ease(t, 0, 0.1)));
    folderFront(p, kLeftFolder);
    folderBack(p, kRightFolder);
    if (t >= 0.75)
        songFile(p, kInRight);
    folderFront(p, kRightFolder);
    if (t >= 0.1 && t < 0.75) {
        const QPointF a = kInLeft - QPointF(0, 8), b = kInRight - QPointF(0, 8);
        for (int i = 3; i >= 1; --i) // motion trail
            songFile(p, hop(a, b, std::max<qreal>(0, u - i * 0.06), 12), 0.12 * (4 - i));
        songFile(p, hop(a, b, u, 12));
    }
}

// Compare: two lists read row by row; the mark between them says same or different.
void paintCompare(QPainter& p, qreal t) {
    const int rows = 5;
    const int row = std::min(rows - 1, int(t * rows));
    const bool same = row != 1 && row != 3;
    const QColor mark = same ? QColor(200, 240, 200) : QColor(255, 205, 205);
    songList(p, QRectF(34, 4, 62, 52), rows, rows, row, mark);
    songList(p, QRectF(144, 4, 62, 52), rows, rows, row, mark);
    const qreal y = 4 + 8 + (row + 0.5) * (52 - 8) / rows;
    p.save();
    p.setPen(
        QPen(same ? QColor(40, 150, 60) : QColor(210, 50, 50), 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(112, y - 3), QPointF(128, y - 3));
    p.drawLine(QPointF(112, y + 3), QPointF(128, y + 3));
    if (!same)
        p.drawLine(QPointF(115, y + 8), QPointF(125, y - 8));
    p.restore();
}

// Mistakes: a magnifier reads a page and underlines the slips it finds.
void paintMistakes(QPainter& p, qreal t) {
    const QRectF page(40, 4, 160, 52);
    p.setPen(QPen(kOutline, 1));
    p.setBrush(Qt::white);
    p.drawRect(page);
    struct Word {
        int line;
        qreal x, w;
        bool wrong;
    };
    static const Word words[] = {
        {0, 8, 30, false}, {0, 44, 22, false}, {0, 72, 38, true},  {0, 116, 32, false},
        {1, 8, 20, false}, {1, 34, 40, false}, {1, 80, 26, false}, {1, 112, 36, false},
        {2, 8, 34, true},  {2, 48, 28, false}, {2, 82, 24, false}, {2, 112, 30, true},
        {3, 8, 26, false}, {3, 40, 46, false}, {3, 92, 20, false},
    };
    const int lines = 4;
    const qreal progress = t * lines; // the line being read and the share of it
    const int readLine = std::min(lines - 1, int(progress));
    const qreal readX = page.left() + 8 + (progress - readLine) * (page.width() - 16);
    for (const Word& w : words) {
        const qreal y = page.top() + 9 + w.line * 11;
        const QRectF r(page.left() + w.x, y - 1.5, w.w, 3);
        p.fillRect(r, QColor(120, 125, 135));
        const bool passed = w.line < readLine || (w.line == readLine && r.right() < readX);
        if (w.wrong && passed) {
            QPainterPath wave;
            wave.moveTo(r.left(), y + 4);
            for (qreal x = r.left(); x < r.right(); x += 4) {
                wave.lineTo(x + 2, y + 6);
                wave.lineTo(x + 4, y + 4);
            }
            p.save();
            p.setPen(QPen(QColor(220, 40, 40), 1.2));
            p.setBrush(Qt::NoBrush);
            p.drawPath(wave);
            p.restore();
        }
    }
    magnifier(p, QPointF(readX, page.top() + 9 + readLine * 11), 8);
}

// Copy from CD: the disc turns while its songs hop into a folder.
void paintCopyFromCd(QPainter& p, qreal t) {
    const QPointF c(52, 32);
    disc(p, c, 25, t * 360 * 2);
    folderBack(p, kRightFolder);
    const qreal u = ease(std::fmod(t * 2, 1.0), 0.15, 0.85);
    if (std::fmod(t * 2, 1.0) >= 0.85)
        songFile(p, kInRight);
    folderFront(p, kRightFolder);
    const qreal local = std::fmod(t * 2, 1.0);
    if (local > 0.15 && local < 0.85)
        songFile(p, hop(c, kInRight - QPointF(0, 8), u, 18), 0.5 + 0.5 * ease(local, 0.15, 0.3));
}

// Delete: the file drops into the bin, whose lid opens for it.
void paintDelete(QPainter& p, qreal t) {
    const QRectF bin(162, 24, 30, 32);
    const QPointF start(62, 36), over(177, 11), inside(177, 42);
    const qreal lid = ease(t, 0.25, 0.45) * (1 - ease(t, 0.8, 0.92));
    p.save();
    p.setPen(QPen(QColor(200, 200, 205), 1));
    p.drawLine(QPointF(34, 47), QPointF(90, 47)); // the shelf the file stands on
    p.restore();
    if (t < 0.55) {
        const qreal u = ease(t, 0.1, 0.55);
        songFile(p, hop(start, over, u, 14));
    } else if (t < 0.78) {
        const qreal u = ease(t, 0.55, 0.78);
        p.save();
        p.setClipRect(QRectF(0, 0, 240, bin.top() + 7 + (bin.height() - 7) * (1 - u) + 12));
        songFile(p, lerp(over, inside, u), 1 - 0.6 * u);
        p.restore();
    }
    trashBin(p, bin, lid);
    if (t >= 0.78 && t < 0.95) {
        p.save();
        p.setOpacity(1 - ease(t, 0.85, 0.95));
        p.setPen(QPen(QColor(210, 50, 50), 2.2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(203, 10), QPointF(211, 18));
        p.drawLine(QPointF(211, 10), QPointF(203, 18));
        p.restore();
    }
}

// Load: songs come out of the store and fill the list row by row.
void paintLoad(QPainter& p, qreal t) {
    const int rows = 4;
    const QRectF list(150, 4, 66, 52);
    const qreal perRow = 0.9 / rows;
    const int current = std::min(rows - 1, int(t / perRow));
    const qreal u = clamp01((t - current * perRow) / perRow);
    const qreal filled = t >= 0.9 ? rows : current + ease(u, 0.8, 1.0);
    store(p, QRectF(34, 10, 40, 44));
    songList(p, list, rows, filled);
    if (t < 0.9) {
        const QPointF from(54, 26),
            to(list.left() + 20, list.top() + 8 + (current + 0.5) * (list.height() - 8) / rows);
        songFile(p, hop(from, to, ease(u, 0.05, 0.85), 14), 1 - 0.5 * ease(u, 0.75, 0.95));
    }
}

// Save: the rows of the list go into the store, which fills up.
void paintSave(QPainter& p, qreal t) {
    const int rows = 4;
    const QRectF list(26, 4, 66, 52);
    const qreal perRow = 0.9 / rows;
    const int current = std::min(rows - 1, int(t / perRow));
    const qreal u = clamp01((t - current * perRow) / perRow);
    const qreal done = t >= 0.9 ? rows : current + ease(u, 0.8, 1.0);
    songList(p, list, rows, rows, t < 0.9 ? current : -1, QColor(205, 222, 242));
    store(p, QRectF(168, 10, 40, 44), done / rows);
    if (t < 0.9) {
        const QPointF from(list.right() - 16,
                           list.top() + 8 + (current + 0.5) * (list.height() - 8) / rows);
        songFile(p, hop(from, QPointF(188, 22), ease(u, 0.05, 0.85), 14),
                 1 - 0.5 * ease(u, 0.75, 0.95));
    }
}
} // namespace

ProgressAnimation::ProgressAnimation(QWidget* parent) : QWidget(parent) {
    setObjectName("PAnimation_skip_");
    setFixedSize(Width, Height);
    m_timer.setInterval(kFrameMs);
    connect(&m_timer, &QTimer::timeout, this, qOverload<>(&QWidget::update));
}

void ProgressAnimation::setKind(ProgressAnimationKind kind) {
    m_kind = kind;
    m_clock.start();
    updateTimer();
    update();
}

void ProgressAnimation::updateTimer() {
    if (m_kind != K::None && isVisible())
        m_timer.start();
    else
        m_timer.stop();
}

void ProgressAnimation::showEvent(QShowEvent*) {
    updateTimer();
}

void ProgressAnimation::hideEvent(QHideEvent*) {
    updateTimer();
}

void ProgressAnimation::paintEvent(QPaintEvent*) {
    if (m_kind == K::None)
        return;
    QPainter p(this);
    const qreal phase = m_clock.isValid() ? qreal(m_clock.elapsed() % kLoopMs) / kLoopMs : 0;
    paintFrame(p, m_kind, phase);
}

void ProgressAnimation::paintFrame(QPainter& p, ProgressAnimationKind kind, qreal phase) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    phase = clamp01(phase);
    switch (kind) {
    case K::None:
        break;
    case K::Copy:
        paintCopy(p, phase);
        break;
    case K::Move:
        paintMove(p, phase);
        break;
    case K::Compare:
        paintCompare(p, phase);
        break;
    case K::Mistakes:
        paintMistakes(p, phase);
        break;
    case K::CopyFromCd:
        paintCopyFromCd(p, phase);
        break;
    case K::Delete:
        paintDelete(p, phase);
        break;
    case K::Load:
        paintLoad(p, phase);
        break;
    case K::Save:
        paintSave(p, phase);
        break;
    }
    p.restore();
}
