// The first-time organiser's window: a small white rounded step list on top of the
// main window's right edge, dragged by any point. The steps and what they run are
// FirstTimeOrganiser's (tools/firsttime.h).
#pragma once

#include "tools/firsttime.h"

#include <QFont>
#include <QPoint>
#include <QWidget>

#include <array>

class QToolButton;
class CommandRouter;
class Prompt;

class TFFirstTime : public QWidget {
    Q_OBJECT
public:
    static constexpr int ClientWidth = 189;
    static constexpr int ClientHeight = 207;

    TFFirstTime(CommandRouter& router, Prompt& prompt, QWidget* mainWindow);

    // "First Time Use (organize all)": shows the window at the main window's right edge.
    void showBeside();
    const FirstTimeOrganiser& organiser() const { return m_organiser; }
    QToolButton* stepButton(int k) const { return m_steps[size_t(k)]; }

    // A step's line was clicked.
    void clickStep(int k);
    // Enables the steps whose commands can run and shows the steps taken in bold.
    void refreshSteps();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // Dragging: the window system moves the window where it can; elsewhere the window
    // follows the pointer itself.
    void beginDrag(QPoint globalPos);
    // The lines' font: the window's, smaller where a caption would not fit.
    void fitCaptions();

    FirstTimeOrganiser m_organiser;
    QWidget* m_mainWindow;
    std::array<QToolButton*, FirstTimeOrganiser::StepCount> m_steps{};
    enum class Drag {
        None,
        Pressed,   // a press on a step line: a click, or a drag once the pointer moves
        Following, // the window follows the pointer
        BySystem   // the window system moves the window
    };
    Drag m_drag = Drag::None;
    QFont m_lineFont;
    QPoint m_pressPos;   // global position of the press on a step line
    QPoint m_dragOffset; // pointer minus window position while following the pointer
};
