#include "tools/ui/barchart.h"

#include <QHelpEvent>
#include <QLocale>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

#include <algorithm>
#include <cmath>

namespace {
constexpr int kMargin = 8;
constexpr int kGap = 4;
constexpr double kMaxBarPitch = 24;
constexpr double kMinBarPitch = 8;

// Blue bars; grey for the bar that stands for the rest ("Other", "No year").
const QColor kBarColour(66, 113, 196);
const QColor kRestColour(150, 150, 150);
const QColor kHoverColour(242, 160, 38);
const QColor kGridColour(225, 228, 235);

QString valueText(std::int64_t v) {
    return QLocale().toString(qlonglong(v));
}
} // namespace

BarChart::BarChart(Kind kind, QWidget* parent) : QWidget(parent), m_kind(kind) {
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void BarChart::setData(ChartData data) {
    m_data = std::move(data);
    m_hover = -1;
    update();
}

BarChart::Geometry BarChart::geometry() const {
    const QFontMetrics fm(font());
    QFont titleFont = font();
    titleFont.setBold(true);
    const int top = kMargin + QFontMetrics(titleFont).height() + kGap;
    const int n = int(m_data.bars.size());
    Geometry g{};
    if (m_kind == Kind::Bars) {
        int widest = 0;
        for (const ChartBar& b : m_data.bars)
            widest = std::max(widest, fm.horizontalAdvance(b.label));
        g.labelWidth = std::min(widest + 2, width() * 2 / 5) + kGap;
        g.plot = QRect(kMargin + g.labelWidth, top, width() - 2 * kMargin - g.labelWidth,
                       height() - top - kMargin);
        g.pitch = n > 0 ? std::clamp(double(g.plot.height()) / n, kMinBarPitch, kMaxBarPitch) : 0;
        g.thickness = std::max(2.0, std::min(g.pitch - 3, fm.height() + 2.0));
        g.labelEvery = 1;
    } else {
        g.labelWidth = fm.horizontalAdvance(valueText(m_data.maximum())) + kGap;
        g.plot = QRect(kMargin + g.labelWidth, top + fm.height() / 2,
                       width() - 2 * kMargin - g.labelWidth,
                       height() - top - fm.height() / 2 - kMargin - fm.height() - kGap);
        g.pitch = n > 0 ? double(g.plot.width()) / n : 0;
        g.thickness = std::max(1.0, g.pitch * 0.75);
        int widest = fm.horizontalAdvance(QStringLiteral("0000"));
        for (const ChartBar& b : m_data.bars)
            widest = std::max(widest, std::min(fm.horizontalAdvance(b.label), 80));
        g.labelEvery = g.pitch > 0 ? std::max(1, int(std::ceil((widest + kGap) / g.pitch))) : 1;
    }
    return g;
}

QRect BarChart::barRect(int i) const {
    if (i < 0 || i >= int(m_data.bars.size()))
        return {};
    const Geometry g = geometry();
    const std::int64_t maximum = std::max<std::int64_t>(1, m_data.maximum());
    const double share = double(m_data.bars[size_t(i)].value) / double(maximum);
    if (m_kind == Kind::Bars) {
        const double y = g.plot.top() + i * g.pitch + (g.pitch - g.thickness) / 2;
        if (y + g.thickness > g.plot.bottom() + 1)
            return {}; // no room left: the chart shows as many bars as fit
        const int valueRoom = QFontMetrics(font()).horizontalAdvance(valueText(maximum)) + kGap;
        const int length = std::max(1, int((g.plot.width() - valueRoom) * share));
        return QRect(g.plot.left(), int(y), length, int(g.thickness));
    }
    const double x = g.plot.left() + i * g.pitch + (g.pitch - g.thickness) / 2;
    const int h = std::max(1, int(g.plot.height() * share));
    return QRect(int(x), g.plot.bottom() - h + 1, std::max(1, int(g.thickness)), h);
}

int BarChart::barAt(QPoint pos) const {
    const Geometry g = geometry();
    const int n = int(m_data.bars.size());
    if (n == 0 || g.pitch <= 0)
        return -1;
    // The whole band of a bar answers, not only its painted part: short bars stay easy to hit.
    if (m_kind == Kind::Bars) {
        if (pos.y() < g.plot.top() || pos.x() < kMargin || pos.x() > width() - kMargin)
            return -1;
        const int i = int((pos.y() - g.plot.top()) / g.pitch);
        return i < n && !barRect(i).isNull() ? i : -1;
    }
    if (pos.x() < g.plot.left() || pos.y() < g.plot.top() || pos.y() > height() - kMargin)
        return -1;
    const int i = int((pos.x() - g.plot.left()) / g.pitch);
    return i < n ? i : -1;
}

QColor BarChart::colourOf(int i) const {
    if (i == m_hover)
        return kHoverColour;
    return m_data.bars[size_t(i)].rest ? kRestColour : kBarColour;
}

void BarChart::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    p.setRenderHint(QPainter::Antialiasing, false);
    QFont titleFont = font();
    titleFont.setBold(true);
    p.setFont(titleFont);
    p.setPen(palette().color(QPalette::WindowText));
    p.drawText(QRect(kMargin, kMargin, width() - 2 * kMargin, QFontMetrics(titleFont).height()),
               Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, m_data.title);
    p.setFont(font());
    if (m_data.bars.empty())
        return;
    const Geometry g = geometry();
    if (m_kind == Kind::Bars)
        paintBars(p, g);
    else
        paintColumns(p, g);
}

void BarChart::paintBars(QPainter& p, const Geometry& g) {
    const QFontMetrics fm(font());
    const QColor text = palette().color(QPalette::WindowText);
    for (int i = 0; i < int(m_data.bars.size()); ++i) {
        const QRect bar = barRect(i);
        if (bar.isNull())
            break;
        const ChartBar& b = m_data.bars[size_t(i)];
        const QRect row(kMargin, bar.top() - 4, g.labelWidth - kGap, bar.height() + 8);
        p.setPen(text);
        p.drawText(row, Qt::AlignRight | Qt::AlignVCenter | Qt::TextSingleLine,
                   fm.elidedText(b.label, Qt::ElideRight, row.width()));
        p.fillRect(bar, colourOf(i));
        p.drawText(QRect(bar.right() + kGap, row.top(), width(), row.height()),
                   Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, valueText(b.value));
    }
}

void BarChart::paintColumns(QPainter& p, const Geometry& g) {
    const QFontMetrics fm(font());
    const QColor text = palette().color(QPalette::WindowText);
    const std::int64_t maximum = std::max<std::int64_t>(1, m_data.maximum());
    // Grid lines at the quarters, the values on the left.
    for (int q = 0; q <= 4; ++q) {
        const int y = g.plot.bottom() - g.plot.height() * q / 4;
        p.setPen(kGridColour);
        p.drawLine(g.plot.left(), y, g.plot.right(), y);
        p.setPen(text);
        const std::int64_t v = maximum * q / 4;
        p.drawText(QRect(kMargin, y - fm.height() / 2, g.labelWidth - kGap, fm.height()),
                   Qt::AlignRight | Qt::AlignVCenter, valueText(v));
    }
    for (int i = 0; i < int(m_data.bars.size()); ++i)
        p.fillRect(barRect(i), colourOf(i));
    p.setPen(text);
    const int labelTop = g.plot.bottom() + kGap;
    const int n = int(m_data.bars.size());
    const int w = int(g.pitch * g.labelEvery);
    // A column that stands for the rest ("No year") is always named, at the right end;
    // the regular labels leave it room.
    int restLeft = g.plot.right() + 1;
    if (m_data.bars.back().rest) {
        const QString label = m_data.bars.back().label;
        const int lw = std::min(fm.horizontalAdvance(label) + 2, g.plot.width());
        restLeft = g.plot.right() + 1 - lw;
        p.drawText(QRect(restLeft, labelTop, lw, fm.height()),
                   Qt::AlignRight | Qt::AlignTop | Qt::TextSingleLine,
                   fm.elidedText(label, Qt::ElideRight, lw));
    }
    for (int i = 0; i < n; i += g.labelEvery) {
        const double centre = g.plot.left() + (i + 0.5) * g.pitch;
        const QRect r(int(centre - w / 2.0), labelTop, w, fm.height());
        if (r.right() >= restLeft - kGap)
            break;
        p.drawText(r, Qt::AlignHCenter | Qt::AlignTop | Qt::TextSingleLine,
                   fm.elidedText(m_data.bars[size_t(i)].label, Qt::ElideRight, w));
    }
}

bool BarChart::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const int i = barAt(help->pos());
        if (i < 0) {
            QToolTip::hideText();
            event->ignore();
            return true;
        }
        // Tag texts are plain text, also in the tip: a word joiner after each "<" keeps
        // the tip from passing for markup (it shows the same).
        QString tip = m_data.bars[size_t(i)].tip;
        tip.replace(QLatin1Char('<'), QStringLiteral("<\u2060"));
        QToolTip::showText(help->globalPos(), tip, this);
        return true;
    }
    return QWidget::event(event);
}

void BarChart::mouseMoveEvent(QMouseEvent* event) {
    const int i = barAt(event->position().toPoint());
    if (i != m_hover) {
        m_hover = i;
        update();
    }
    QWidget::mouseMoveEvent(event);
}

void BarChart::leaveEvent(QEvent* event) {
    if (m_hover >= 0) {
        m_hover = -1;
        update();
    }
    QWidget::leaveEvent(event);
}
