// The main window: menus, the two list panes, status bar, tray icon. It routes
// commands to the parts that carry them out.
#pragma once

#include "app/ui/mainmenu.h"
#include "lists/addfiles.h"

#include <QMainWindow>
#include <QPointer>

#include <functional>

class QLabel;
class QSplitter;
class QSystemTrayIcon;
class QMenu;
class Prompt;
class Progress;
class Settings;
class SongTags;
class TFFrame;

class TFMain : public QMainWindow {
    Q_OBJECT
public:
    struct Services {
        Settings& settings;
        Prompt& prompt;
        SongTags& reader;
        QString programFolder;
    };
    // Windows created after the main window that its menus open.
    struct Windows {
        Progress* progress = nullptr;
        QWidget* about = nullptr;
        QWidget* donation = nullptr;
        std::function<void(const QString& page)> showSettings;
        std::function<void()> showTranslate;
        // The "Custom" pattern entries of the menus; false when cancelled.
        std::function<bool()> customFileFormat;
        std::function<bool()> customFolderFormat;
    };

    explicit TFMain(Services services, QWidget* parent = nullptr);
    ~TFMain() override;

    void setWindows(Windows windows);
    // The paths from the command line, handled at the first activation.
    void setCommandLine(const QStringList& paths) { m_commandLine = paths; }
    void setDonationDue(bool due) { m_donationDue = due; }

    TFFrame* frame1() const { return m_frame1; }
    TFFrame* frame2() const { return m_frame2; }
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
    // Handles files dropped on a pane, as a drop from the file manager.
    void handleDrop(TFFrame* target, const QStringList& paths);
    // "Exit": ends the program even when closing would minimise to the tray.
    void exitProgram();
    // Re-sets the texts the window builds from messages after a language change.
    void retranslate();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void firstActivation();
    void handleCommandLine();
    void connectMenu();
    void enableCommand(const char* name, std::function<void()> slot);
    void setPaneActive(TFFrame* pane, bool active);
    void onFocusChanged(QWidget* old, QWidget* now);
    bool frame2Collapsed() const;
    void fillDatabaseFileMenu();
    void createTrayIcon();
    void syncPatternMenus();
    // File menu "Add (folder)" / "AddS (folder and subfolders)".
    void addFolderFromDialog(bool recursive);
    void findAllMp3s();
    // While a scan runs, no other command may add to the panes.
    void setScanRunning(bool running);

    Services m_s;
    Windows m_windows;
    MainMenu m_menu;
    QSplitter* m_splitter;
    TFFrame* m_frame1;
    TFFrame* m_frame2;
    TFFrame* m_active;
    QLabel* m_selectionSize;
    QLabel* m_playerBarPanel;
    QLabel* m_playerTime;
    QSystemTrayIcon* m_tray = nullptr;
    QMenu* m_trayMenu = nullptr;
    QStringList m_commandLine;
    StartResult m_startResult = StartResult::Nothing;
    int m_layout = 0;
    bool m_firstActivationDone = false;
    bool m_donationDue = false;
    bool m_closing = false;
    bool m_exitRequested = false;
    bool m_scanRunning = false;
};
