// A small bar chart drawn with QPainter: horizontal bars with their labels on the left
// (genres, albums per artist) or columns with labels underneath (songs per year). Each
// bar tells its value on hover; every text is drawn as plain text.
#pragma once

#include "tools/statisticscharts.h"

#include <QWidget>

class BarChart : public QWidget {
    Q_OBJECT
public:
    enum class Kind { Bars, Columns };

    explicit BarChart(Kind kind, QWidget* parent = nullptr);

    void setData(ChartData data);
    const ChartData& data() const { return m_data; }
    // The bar under a point of the widget; -1 for none.
    int barAt(QPoint pos) const;
    // Where bar i is drawn (empty when it is not drawn).
    QRect barRect(int i) const;

    QSize sizeHint() const override { return {440, 300}; }
    QSize minimumSizeHint() const override { return {160, 120}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    struct Geometry {
        QRect plot;       // where the bars go
        int labelWidth;   // Bars: the label column on the left
        double pitch;     // the distance from one bar to the next
        double thickness; // a bar's thickness
        int labelEvery;   // Columns: a label under every n-th column
    };
    Geometry geometry() const;
    void paintBars(QPainter& p, const Geometry& g);
    void paintColumns(QPainter& p, const Geometry& g);
    QColor colourOf(int i) const;

    Kind m_kind;
    ChartData m_data;
    int m_hover = -1;
};
