// The main window: menus, the two list panes, status bar, tray icon. It routes every
// command through its command router; the commands themselves live in the core and are
// registered by each subsystem's binder.
#pragma once

#include "app/ui/mainmenu.h"
#include "lists/addfiles.h"

#include <QMainWindow>

class QLabel;
class QSplitter;
class QSystemTrayIcon;
class QMenu;
class CommandRouter;
class TFFrame;
struct CommandEnv;

class TFMain : public QMainWindow {
    Q_OBJECT
public:
    explicit TFMain(CommandEnv& env, QWidget* parent = nullptr);
    ~TFMain() override;

    // The paths from the command line, handled at the first activation.
    void setCommandLine(const QStringList& paths) { m_commandLine = paths; }
    // A window shown once the main window is on screen (the donation reminder).
    void showAfterStart(QWidget* window) { m_showAfterStart = window; }

    CommandRouter& router() const { return *m_router; }
    TFFrame* frame1() const { return m_frame1; }
    TFFrame* frame2() const { return m_frame2; }
    QSplitter* splitter() const { return m_splitter; }
    TFFrame* activePane() const { return m_active; }
    TFFrame* otherPane() const { return m_active == m_frame1 ? m_frame2 : m_frame1; }
    StartResult startResult() const { return m_startResult; }
    const MainMenu& mainMenu() const { return m_menu; }

    // 0 side by side, 1 stacked, 2 one pane.
    void setLayoutMode(int layout);
    int layoutMode() const { return m_layout; }
    void changeFocus();
    void restoreFromTray();
    void hideToTray();
    // Files dropped on a pane, as a drop from the file manager: the pane becomes active.
    void handleDrop(TFFrame* target, const QStringList& paths);
    // "Exit": ends the program even when closing would minimise to the tray.
    void exitProgram();
    // Ticks the pattern entries of the menus from the settings.
    void syncPatternMenus();
    // Re-sets the texts the window builds from messages after a language change.
    void retranslate();

signals:
    // The first activation handled the command line: the subsystems' start-up work
    // (default catalogue, compaction) runs now, before the donation reminder.
    void firstActivated();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void firstActivation();
    void addOwnCommands();
    void commandStateChanged();
    void setPaneActive(TFFrame* pane, bool active);
    void onFocusChanged(QWidget* old, QWidget* now);
    bool frame2Collapsed() const;
    void createTrayIcon();

    CommandEnv& m_env;
    MainMenu m_menu;
    QSplitter* m_splitter;
    TFFrame* m_frame1;
    TFFrame* m_frame2;
    TFFrame* m_active;
    CommandRouter* m_router;
    QLabel* m_selectionSize;
    QLabel* m_playerBarPanel;
    QLabel* m_playerTime;
    QSystemTrayIcon* m_tray = nullptr;
    QMenu* m_trayMenu = nullptr;
    QWidget* m_showAfterStart = nullptr;
    QStringList m_commandLine;
    StartResult m_startResult = StartResult::Nothing;
    int m_layout = 0;
    double m_selectionKb = 0; // what the status bar's size panel shows
    bool m_firstActivationDone = false;
    bool m_closing = false;
    bool m_exitRequested = false;
};
