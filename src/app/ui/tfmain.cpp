#include "app/ui/tfmain.h"

#include "base/inifile.h"
#include "base/progress.h"
#include "base/prompt.h"
#include "base/settings.h"
#include "base/translator.h"
#include "lists/folderscanner.h"
#include "lists/patternchoices.h"
#include "lists/selectionsize.h"
#include "lists/songlistmodel.h"
#include "lists/songtags.h"
#include "lists/ui/songlistview.h"
#include "lists/ui/tfframe.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QSystemTrayIcon>
#include <QTimer>

namespace {
// The menu entries standing for the entries of the two pattern lists (none for a separator).
const char* const kFileNameActions[] = {
    "MFmtArtistSong", "MFmtArtistAlbumSong", "MFmtTrackSong", "MFmtSongArtist", "MFmtSong",
    nullptr,          "MFmtCustom",          "MFmtAuto"};
const char* const kFolderActions[] = {"MDirNormal", "MDirArtist",      "MDirAlbum",
                                      "MDirGenre",  "MDirArtistAlbum", "MDirGenreArtist",
                                      nullptr,      "MDirCustom"};
} // namespace

TFMain::TFMain(Services services, QWidget* parent) : QMainWindow(parent), m_s(std::move(services)) {
    setObjectName("FMain");
    setWindowTitle("Rendolo");
    setWindowIcon(QIcon(":/icons/rendolo.png"));
    m_menu.build(menuBar());

    m_splitter = new QSplitter(Qt::Horizontal, this);
    m_splitter->setObjectName("Splitter1");
    m_splitter->setHandleWidth(5);
    m_splitter->setStyleSheet("QSplitter::handle { background: rgb(198, 211, 239); }");
    m_frame1 = new TFFrame(m_s.settings, 0, m_splitter);
    m_frame2 = new TFFrame(m_s.settings, 1, m_splitter);
    m_splitter->addWidget(m_frame1);
    m_splitter->addWidget(m_frame2);
    m_splitter->setStretchFactor(0, 1);
    m_splitter->setStretchFactor(1, 1);
    setCentralWidget(m_splitter);
    m_active = m_frame1;

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
        connect(f, &TFFrame::selectionSizeChanged, this,
                [this](double kb) { m_selectionSize->setText(sizeText(kb)); });
        connect(f, &TFFrame::filesDropped, this,
                [this, f](const QStringList& p) { handleDrop(f, p); });
        connect(f, &TFFrame::scanRunning, this, &TFMain::setScanRunning);
        connect(f, &TFFrame::settingsPageRequested, this, [this](const QString& page) {
            if (m_windows.showSettings)
                m_windows.showSettings(page);
        });
    }
    connect(qApp, &QApplication::focusChanged, this, &TFMain::onFocusChanged);
    connect(&m_s.settings, &Settings::changed, this, [this](const QString& key) {
        if (key == "RBHorizontal" || key == "RBVertical" || key == "RBWhole") {
            if (m_s.settings.flag(key))
                setLayoutMode(key == "RBHorizontal" ? 0 : key == "RBVertical" ? 1 : 2);
        } else if (key == "CBDimWindow") {
            setPaneActive(m_active, true);
            setPaneActive(otherPane(), false);
        } else if (key == "Mp3FileFormat" || key == "Mp3FileFormat_text" ||
                   key == "MoveCopyFileFormat" || key == "CBDirStruct_skip_") {
            syncPatternMenus();
        }
    });

    fillDatabaseFileMenu();
    syncPatternMenus();
    connectMenu();
    m_menu.refreshSubmenus();
    m_layout = m_s.settings.flag("RBHorizontal") ? 0 : m_s.settings.flag("RBVertical") ? 1 : 2;
    createTrayIcon();
    // Maximised; the geometry also covers desktops without a window manager.
    if (const QScreen* screen = QApplication::primaryScreen())
        setGeometry(screen->availableGeometry());
    setWindowState(Qt::WindowMaximized);
}

TFMain::~TFMain() = default;

void TFMain::setWindows(Windows windows) {
    m_windows = std::move(windows);
    const auto enable = [this](const char* name, std::function<void()> slot) {
        enableCommand(name, slot);
    };
    if (m_windows.about)
        enable("MAbout", [this] {
            m_windows.about->show();
            m_windows.about->raise();
        });
    if (m_windows.donation)
        enable("MDonate", [this] {
            m_windows.donation->show();
            m_windows.donation->raise();
        });
    if (m_windows.showSettings)
        enable("MSettings", [this] { m_windows.showSettings({}); });
    if (m_windows.showTranslate)
        enable("MTranslate", [this] { m_windows.showTranslate(); });
    // "Custom" keeps the entry chosen before when the pattern window is cancelled.
    if (m_windows.customFileFormat)
        enable("MFmtCustom", [this] {
            m_windows.customFileFormat();
            syncPatternMenus();
        });
    if (m_windows.customFolderFormat)
        enable("MDirCustom", [this] {
            m_windows.customFolderFormat();
            syncPatternMenus();
        });
    if (m_windows.progress) {
        for (TFFrame* f : {m_frame1, m_frame2})
            f->setServices(&m_s.reader, m_windows.progress, &m_s.prompt);
        enable("MAdd", [this] { addFolderFromDialog(false); });
        enable("MAddS", [this] { addFolderFromDialog(true); });
        enable("MFindAll", [this] { findAllMp3s(); });
    }
    m_menu.refreshSubmenus();
}

void TFMain::setScanRunning(bool running) {
    m_scanRunning = running;
    for (TFFrame* f : {m_frame1, m_frame2})
        f->setAddingEnabled(!running);
    for (const char* name : {"MAdd", "MAddS", "MFindAll"})
        m_menu.action(name)->setEnabled(!running && m_windows.progress);
}

void TFMain::addFolderFromDialog(bool recursive) {
    if (m_scanRunning)
        return;
    const QString folder =
        m_s.prompt.chooseFolder(T("SelectDir", "Select Directory"), m_active->folderText());
    if (folder.isEmpty())
        return;
    m_active->setFolderText(folder.endsWith('/') ? folder : folder + '/');
    m_active->addFromFolderBox(recursive);
}

void TFMain::findAllMp3s() {
    if (m_scanRunning || !m_windows.progress)
        return;
    setScanRunning(true);
    addAllDisksToPane(m_active->model(), m_s.reader, *m_windows.progress, localDiskRoots());
    setScanRunning(false);
}

void TFMain::enableCommand(const char* name, std::function<void()> slot) {
    QAction* a = m_menu.action(QString::fromLatin1(name));
    a->setEnabled(true);
    connect(a, &QAction::triggered, this, std::move(slot));
}

void TFMain::connectMenu() {
    const auto enable = [this](const char* name, std::function<void()> slot) {
        enableCommand(name, slot);
    };
    enable("MExit", [this] { exitProgram(); });
    enable("MVerticalSplit", [this] { setLayoutMode(0); });
    enable("MHorizontalSplit", [this] { setLayoutMode(1); });
    enable("MFullScreen", [this] { setLayoutMode(2); });
    enable("MChangeFocus", [this] { changeFocus(); });
    // The pattern entries of the two menus repeat the settings window's lists, entry by entry.
    const QList<PatternChoice>& files = fileNameChoices();
    for (int i = 0; i < files.size() && i < int(std::size(kFileNameActions)); ++i)
        if (kFileNameActions[i] && files[i].kind == PatternChoice::Kind::Pattern)
            enable(kFileNameActions[i], [this, c = files[i]] {
                m_s.settings.setValue("Mp3FileFormat", QString::fromLatin1(c.pattern));
                m_s.settings.setValue("Mp3FileFormat_text", QString::fromLatin1(c.text));
            });
    const QList<PatternChoice>& folders = folderChoices();
    for (int i = 0; i < folders.size() && i < int(std::size(kFolderActions)); ++i)
        if (kFolderActions[i] && folders[i].kind == PatternChoice::Kind::Pattern)
            enable(kFolderActions[i], [this, i, c = folders[i]] {
                m_s.settings.setValue("MoveCopyFileFormat", QString::fromLatin1(c.pattern));
                m_s.settings.setValue("CBDirStruct_skip_", i);
            });
}

void TFMain::syncPatternMenus() {
    const int file = choiceIndex(fileNameChoices(), m_s.settings.text("Mp3FileFormat_text"));
    if (file >= 0 && file < int(std::size(kFileNameActions)) && kFileNameActions[file])
        m_menu.action(kFileNameActions[file])->setChecked(true);
    const int folder = m_s.settings.number("CBDirStruct_skip_");
    if (folder >= 0 && folder < int(std::size(kFolderActions)) && kFolderActions[folder])
        m_menu.action(kFolderActions[folder])->setChecked(true);
}

void TFMain::fillDatabaseFileMenu() {
    QMenu* menu = m_menu.menu("MDatabaseFile");
    auto* group = new QActionGroup(menu);
    const QString current = m_s.settings.text("DefaultDB");
    const QStringList files = QDir(m_s.programFolder).entryList({"*.db3"}, QDir::Files, QDir::Name);
    for (const QString& f : files) {
        const QString caption = QFileInfo(f).completeBaseName();
        QAction* a = menu->addAction(caption);
        a->setCheckable(true);
        a->setChecked(caption.compare(current, Qt::CaseInsensitive) == 0);
        group->addAction(a);
        connect(a, &QAction::triggered, this, [this, caption] {
            m_s.settings.setValue("DefaultDB", caption);
            m_s.settings.file().writeString("Settings", "DefaultDB", caption);
            m_s.settings.file().save();
        });
    }
}

void TFMain::retranslate() {
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
    setLayoutMode(m_layout);
    if (!m_firstActivationDone) {
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
    handleCommandLine();
    if (m_donationDue && m_windows.donation) {
        m_donationDue = false;
        m_windows.donation->show();
    }
}

void TFMain::handleCommandLine() {
    const CommandLinePlan plan = planCommandLine(m_commandLine);
    m_startResult = plan.result;
    if (plan.result == StartResult::Mp3 && m_windows.progress) {
        setScanRunning(true);
        AddFiles add(m_active->model(), m_s.reader, *m_windows.progress);
        add.addSongs(plan.mp3s);
        setScanRunning(false);
    }
    // Catalogues, lyrics stores and list files open once those parts exist. The
    // counters redraw themselves whenever the rows change.
}

void TFMain::handleDrop(TFFrame* target, const QStringList& paths) {
    if (m_scanRunning || !m_windows.progress)
        return;
    if (target != m_active)
        changeFocus();
    AddFiles::Hooks hooks;
    hooks.scanFolder = [this](const QString& folder) {
        FolderScanner(m_active->model(), m_s.reader, *m_windows.progress).scanFolder(folder, true);
    };
    setScanRunning(true);
    AddFiles add(m_active->model(), m_s.reader, *m_windows.progress, hooks);
    add.addDropped(paths);
    setScanRunning(false);
}

bool TFMain::frame2Collapsed() const {
    const QList<int> sizes = m_splitter->sizes();
    return sizes.size() == 2 && sizes[1] == 0;
}

void TFMain::setLayoutMode(int layout) {
    m_layout = layout;
    if (layout == 1)
        m_splitter->setOrientation(Qt::Vertical);
    else if (layout == 0)
        m_splitter->setOrientation(Qt::Horizontal);
    const bool vertical = m_splitter->orientation() == Qt::Vertical;
    const int total = vertical ? m_splitter->height() : m_splitter->width();
    if (layout == 2) {
        m_frame2->setMinimumSize(0, 0);
        m_splitter->setSizes({total, 0});
    } else {
        m_frame2->setMinimumSize(60, 60);
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
    if (m_s.settings.flag("CBCloseMinimize") && !m_exitRequested && m_tray) {
        hideToTray();
        event->ignore();
        return;
    }
    m_closing = true;
    if (m_tray)
        m_tray->hide();
    if (m_windows.progress)
        m_windows.progress->requestCancel();
    event->accept();
    QApplication::quit();
}
