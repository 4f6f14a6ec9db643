// The shared progress window: borderless and rounded, on top of the main window,
// with the operation's animation, a status line and Cancel. Cancel and Esc only
// set the cancel flag (and close the window); the running loop stops itself.
#pragma once

#include "base/progress.h"

#include <QDialog>
#include <QElapsedTimer>

class QLabel;
class QPushButton;
class ProgressAnimation;
class Settings;
struct ProgressOperation;

class TFMsg : public QDialog, public Progress {
    Q_OBJECT
public:
    static constexpr int StatusTopWithAnimation = 64;
    static constexpr int StatusTopWithoutAnimation = 40;

    // settings: where "Show Animations on Progres" (CBAnimations) is read at each
    // start; without it animations are shown.
    explicit TFMsg(QWidget* mainWindow, const Settings* settings = nullptr);
    // The window the progress window stays on top of and centres on, once it exists
    // (the progress window is made before the main window, which commands need).
    void setMainWindow(QWidget* mainWindow);

    void startProgress(const QString& operation) override;
    void showProgressItem(const QString& text) override;
    void endProgress() override;
    void resumeAfterCancel() override;

    // The title of the current operation; it stays until a known operation starts.
    const QString& operationText() const { return m_operationText; }
    // Looks the current operation's title up again (after a language change).
    void retranslate();

public slots:
    // Cancel button, Esc released, or the window closed: ask the loop to stop.
    void reject() override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

private:
    // Sets the status line: the operation text, then the item, within its width.
    void showStatus();
    void placeOverMainWindow();

    QWidget* m_mainWindow;
    const Settings* m_settings;
    ProgressAnimation* m_animation;
    QLabel* m_status;
    QPushButton* m_cancel;
    const ProgressOperation* m_operation = nullptr; // the last known one: the title's source
    QString m_operationText;
    QString m_item;
    QElapsedTimer m_lastShown; // when the status line and the event loop last ran
};
