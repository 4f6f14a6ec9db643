// The small looping picture of the progress window: one per kind of operation,
// painted as it runs and still while hidden.
#pragma once

#include "base/progressoperations.h"

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>

class QPainter;

class ProgressAnimation : public QWidget {
    Q_OBJECT
public:
    static constexpr int Width = 240;
    static constexpr int Height = 60;

    explicit ProgressAnimation(QWidget* parent = nullptr);

    // Starts the loop from its beginning; None shows an empty area.
    void setKind(ProgressAnimationKind kind);
    ProgressAnimationKind kind() const { return m_kind; }
    // Whether frames are being drawn (a kind is set and the area is on screen).
    bool running() const { return m_timer.isActive(); }

    // One frame of a kind at a point of its loop (0 <= phase < 1), drawn into
    // the Width x Height area at the painter's origin.
    static void paintFrame(QPainter& p, ProgressAnimationKind kind, qreal phase);

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void updateTimer();

    ProgressAnimationKind m_kind = ProgressAnimationKind::None;
    QTimer m_timer;
    QElapsedTimer m_clock;
};
