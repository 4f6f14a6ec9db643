#include "app/ui/tfmain.h"

#include "base/commandenv.h"
#include "base/progress.h"
#include "base/settings.h"
#include "base/translator.h"
#include "lists/commandrouter.h"
#include "lists/patternchoices.h"
#include "lists/selectionsize.h"
#include "lists/ui/songlistview.h"
#include "lists/ui/tfframe.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QSystemTrayIcon>
#include <QTimer>

#include <algorithm>

TFMain::TFMain(CommandEnv& env, QWidget* parent) : QMainWindow(parent), m_env(env) {
    setObjectName("FMain");
    setWindowTitle("Rendolo");
    setWindowIcon(QIcon(":/icons/rendolo.png"));
    m_menu.build(menuBar());

    m_splitter = new QSplitter(Qt::Horizontal, this);
    m_splitter->setObjectName("Splitter1");
    m_splitter->setHandleWidth(5);
    m_splitter->setStyleSheet("QSplitter::handle { background: rgb(198, 211, 239); }");
    m_frame1 = new TFFrame(m_env.settings, 0, m_splitter);
    m_frame2 = new TFFrame(m_env.settings, 1, m_splitter);
    m_splitter->addWidget(m_frame1);
    m_splitter->addWidget(m_frame2);
    m_splitter->setStretchFactor(0, 1);
    m_splitter->setStretchFactor(1, 1);
    m_splitter->setChildrenCollapsible(false); // dragging stops at a pane's minimum of 60
    setCentralWidget(m_splitter);
    m_active = m_frame1;
    m_router = new CommandRouter(
        m_env, [this] { return m_active->paneRef(); }, [this] { return otherPane()->paneRef(); },
        this);

    m_selectionSize = new QLabel(sizeText(0), this);
    m_selectionSize->setObjectName("StatusSelection_skip_");
    m_selectionSize->setFixedWidth(100);
    m_selectionSize->setAlignment(Qt::AlignCenter);
    m_playerBarPanel = new QLabel(this);
    m_playerBarPanel->setObjectName("StatusPlayerBar_skip_");
    m_playerBarPanel->setFixedWidth(0); // holds the player's position bar while a song plays
    m_playerTime = new QLabel(this);
    m_playerTime->setObjectName("StatusPlayerTime_skip_");
    m_playerTime->setFixedWidth(50);
    statusBar()->addWidget(m_selectionSize);
    statusBar()->addWidget(m_playerBarPanel);
    statusBar()->addWidget(m_playerTime);

    for (TFFrame* f : {m_frame1, m_frame2}) {
        connect(f, &TFFrame::selectionSizeChanged, this, [this](double kb) {
            m_selectionKb = kb;
            m_selectionSize->setText(sizeText(kb));
        });
        connect(f, &TFFrame::filesDropped, this,
                [this, f](const QStringList& p) { handleDrop(f, p); });
        connect(f, &TFFrame::settingsPageRequested, this,
                [this](const QString& page) { m_router->run("MSettings", {page}); });
    }
    connect(qApp, &QApplication::focusChanged, this, &TFMain::onFocusChanged);
    connect(&m_env.settings, &Settings::changed, this, [this](const QString& key) {
        if (key == "RBHorizontal" || key == "RBVertical" || key == "RBWhole") {
            if (m_env.settings.flag(key))
                setLayoutMode(key == "RBHorizontal" ? 0 : key == "RBVertical" ? 1 : 2);
        } else if (key == "CBDimWindow") {
            setPaneActive(m_active, true);
            setPaneActive(otherPane(), false);
        } else if (key == "Mp3FileFormat" || key == "Mp3FileFormat_text" ||
                   key == "MoveCopyFileFormat" || key == "CBDirStruct_skip_") {
            syncPatternMenus();
        }
    });

    connect(m_router, &CommandRouter::stateChanged, this, &TFMain::commandStateChanged);
    m_router->offerActions(m_menu.actions.values());
    addOwnCommands();
    syncPatternMenus();
    m_layout = m_env.settings.flag("RBHorizontal") ? 0 : m_env.settings.flag("RBVertical") ? 1 : 2;
    createTrayIcon();
    // Maximised; the geometry also covers desktops without a window manager.
    if (const QScreen* screen = QApplication::primaryScreen())
        setGeometry(screen->availableGeometry());
    setWindowState(Qt::WindowMaximized);
}

TFMain::~TFMain() = default;

void TFMain::addOwnCommands() {
    const auto own = [this](const char* name, std::function<void()> body) {
        m_router->add(name, CommandFlag::None, [body](CommandContext&) { body(); });
    };
    own("MExit", [this] { exitProgram(); });
    own("MVerticalSplit", [this] { setLayoutMode(0); });
    own("MHorizontalSplit", [this] { setLayoutMode(1); });
    own("MFullScreen", [this] { setLayoutMode(2); });
    own("MChangeFocus", [this] { changeFocus(); });
}

void TFMain::commandStateChanged() {
    m_menu.refreshSubmenus();
    for (TFFrame* f : {m_frame1, m_frame2})
        f->setAddingEnabled(m_router->enabledOn("BAdd", f->paneRef()));
}

void TFMain::syncPatternMenus() {
    const int file = choiceIndex(fileNameChoices(), m_env.settings.text("Mp3FileFormat_text"));
    if (file >= 0 && file < int(FileNamePatternActions.size()) && FileNamePatternActions[file])
        m_menu.action(FileNamePatternActions[file])->setChecked(true);
    const int folder = m_env.settings.number("CBDirStruct_skip_");
    if (folder >= 0 && folder < int(FolderPatternActions.size()) && FolderPatternActions[folder])
        m_menu.action(FolderPatternActions[folder])->setChecked(true);
}

void TFMain::retranslate() {
    // A language change gives labels their design texts back; the size is the selection's.
    m_selectionSize->setText(sizeText(m_selectionKb));
    if (m_trayMenu) {
        const QList<QAction*> entries = m_trayMenu->actions();
        entries.value(0)->setText(T("TrayRestore", "Restore"));
        entries.value(1)->setText(T("TrayExit", "Exit"));
    }
}

void TFMain::createTrayIcon() {
    if (!QSystemTrayIcon::isSystemTrayAvailable())
        return;
    m_tray = new QSystemTrayIcon(windowIcon(), this);
    m_tray->setToolTip("Rendolo");
    m_trayMenu = new QMenu(this);
    m_trayMenu->setObjectName("PMTray");
    QAction* restore =
        m_trayMenu->addAction(T("TrayRestore", "Restore"), this, &TFMain::restoreFromTray);
    m_trayMenu->setDefaultAction(restore);
    m_trayMenu->addAction(T("TrayExit", "Exit"), this, &TFMain::exitProgram);
    m_tray->setContextMenu(m_trayMenu);
    connect(m_tray, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason r) {
        if (r == QSystemTrayIcon::Trigger || r == QSystemTrayIcon::DoubleClick)
            restoreFromTray();
    });
    m_tray->show();
}

void TFMain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!m_firstActivationDone) {
        // The layout's sizes need the window's real size; later shows (from the tray)
        // keep the splitter where the user left it.
        setLayoutMode(m_layout);
        m_firstActivationDone = true;
        // After the window is on screen, so that progress and questions have a parent to centre on.
        QTimer::singleShot(0, this, &TFMain::firstActivation);
    }
}

void TFMain::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    if (m_layout == 2)
        setLayoutMode(2);
}

void TFMain::firstActivation() {
    m_active->list().setFocus();
    setPaneActive(m_frame1, true);
    setPaneActive(m_frame2, false);
    // Catalogues and lyrics stores on the command line open once those parts exist;
    // songs are added to the active pane, a list file is loaded into it.
    const CommandLinePlan plan = planCommandLine(m_commandLine);
    m_startResult = plan.result;
    if (plan.result == StartResult::Mp3)
        m_router->run("CommandLineSongs", plan.adds);
    else if (plan.result == StartResult::Load)
        m_router->run("LoadListFile", {plan.file});
    emit firstActivated();
    if (m_showAfterStart) {
        m_showAfterStart->show();
        m_showAfterStart = nullptr;
    }
}

void TFMain::handleDrop(TFFrame* target, const QStringList& paths) {
    if (!m_router->enabledOn("Drop", target->paneRef()))
        return;
    if (target != m_active)
        changeFocus();
    m_router->runOn("Drop", target->paneRef(), paths);
}

bool TFMain::frame2Collapsed() const {
    if (m_frame2->isHidden())
        return true;
    const QList<int> sizes = m_splitter->sizes();
    return sizes.size() == 2 && sizes[1] == 0;
}

void TFMain::setLayoutMode(int layout) {
    m_layout = layout;
    static const char* const ticks[] = {"MVerticalSplit", "MHorizontalSplit", "MFullScreen"};
    if (QAction* tick = m_menu.action(ticks[std::clamp(layout, 0, 2)]))
        tick->setChecked(true);
    if (layout == 1)
        m_splitter->setOrientation(Qt::Vertical);
    else if (layout == 0)
        m_splitter->setOrientation(Qt::Horizontal);
    const bool vertical = m_splitter->orientation() == Qt::Vertical;
    const int total = vertical ? m_splitter->height() : m_splitter->width();
    if (layout == 2) {
        m_frame2->hide(); // "Full Screen": the second pane has no size at all
    } else {
        m_frame2->show();
        const int second = std::max(0, total / 2 - 2);
        m_splitter->setSizes({total - second, second});
    }
    if (m_active != m_frame1)
        changeFocus();
}

void TFMain::changeFocus() {
    if (frame2Collapsed() && m_active == m_frame1)
        return;
    TFFrame* next = otherPane();
    setPaneActive(m_active, false);
    setPaneActive(next, true);
    next->list().setFocus();
}

void TFMain::setPaneActive(TFFrame* pane, bool active) {
    pane->setPaneActive(active);
    if (active)
        m_active = pane;
    else if (m_active == pane)
        m_active = pane == m_frame1 ? m_frame2 : m_frame1;
    m_router->refresh(); // commands follow the active pane
}

void TFMain::onFocusChanged(QWidget*, QWidget* now) {
    if (m_closing || !now)
        return;
    if (frame2Collapsed() && m_active == m_frame1)
        return;
    for (TFFrame* f : {m_frame1, m_frame2})
        if (f != m_active && f->isAncestorOf(now)) {
            setPaneActive(m_active, false);
            setPaneActive(f, true);
            update();
        }
}

void TFMain::restoreFromTray() {
    showNormal();
    setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowMaximized);
    show();
    raise();
    activateWindow();
}

void TFMain::hideToTray() {
    hide();
}

void TFMain::exitProgram() {
    m_exitRequested = true;
    close();
}

void TFMain::closeEvent(QCloseEvent* event) {
    if (m_env.settings.flag("CBCloseMinimize") && !m_exitRequested && m_tray) {
        hideToTray();
        event->ignore();
        return;
    }
    m_closing = true;
    if (m_tray)
        m_tray->hide();
    m_env.progress.requestCancel();
    event->accept();
    QApplication::quit();
}
