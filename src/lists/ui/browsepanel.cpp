#include "lists/ui/browsepanel.h"

#include "base/inifile.h"
#include "base/settings.h"
#include "base/translator.h"
#include "lists/folderhistory.h"

#include <QCompleter>
#include <QDir>
#include <QFileSystemModel>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QStackedWidget>
#include <QTreeView>
#include <QVBoxLayout>

namespace {
QString withSlash(QString folder) {
    if (!folder.isEmpty() && !folder.endsWith('/'))
        folder += '/';
    return folder;
}
} // namespace

FolderBox::FolderBox(QWidget* parent) : QComboBox(parent) {
    setObjectName("CBFile");
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    // Typed paths complete folder by folder, as in a file manager's location bar.
    auto* folders = new QFileSystemModel(this);
    folders->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
    folders->setRootPath(QString());
    auto* completer = new QCompleter(folders, this);
    completer->setCompletionMode(QCompleter::PopupCompletion);
    lineEdit()->setCompleter(completer); // not the box's: that would pick an entry of its own list
    connect(lineEdit(), &QLineEdit::returnPressed, this, &FolderBox::enterPressed);
    retranslate();
}

void FolderBox::retranslate() {
    lineEdit()->setPlaceholderText(T("BrowseFilesHere", "BROWSE FILES HERE"));
}

void FolderBox::showPopup() {
    emit dropDownRequested();
}

BrowsePanel::BrowsePanel(Settings& settings, FolderHistory& history, QWidget* parent)
    : QFrame(parent, Qt::Popup), m_settings(settings), m_history(history) {
    setObjectName("Panel3");
    setFrameShape(QFrame::StyledPanel);
    resize(360, 320);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(3, 3, 3, 3);

    m_fs = new QFileSystemModel(this);
    m_fs->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
    m_fs->setRootPath(QDir::rootPath());
    m_tree = new QTreeView(this);
    m_tree->setObjectName("ShellTreeView1");
    m_tree->setModel(m_fs);
    for (int c = 1; c < m_fs->columnCount(); ++c)
        m_tree->hideColumn(c);
    m_tree->header()->hide();
    m_tree->setRootIndex(m_fs->index(QDir::rootPath()));
    m_tree->installEventFilter(this);
    m_tree->viewport()->installEventFilter(this);
    connect(m_tree, &QTreeView::clicked, this,
            [this](const QModelIndex& i) { emit folderChosen(withSlash(m_fs->filePath(i))); });
    connect(m_tree, &QTreeView::doubleClicked, this, [this](const QModelIndex& i) {
        if (!m_fs->hasChildren(i))
            take();
    });

    m_list = new QListWidget(this);
    m_list->setObjectName("LBHistory");
    m_list->installEventFilter(this);
    m_list->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_list, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* it) { emit folderChosen(it->text()); });
    connect(m_list, &QListWidget::itemDoubleClicked, this, [this] { take(); });
    connect(m_list, &QWidget::customContextMenuRequested, this, [this](const QPoint& p) {
        QMenu menu(this);
        QAction* del = menu.addAction(T("BrowseHistoryDelete", "Delete"));
        del->setShortcut(QKeySequence::Delete);
        if (menu.exec(m_list->viewport()->mapToGlobal(p)) == del && m_list->currentItem()) {
            m_history.remove(m_list->currentItem()->text());
            reloadHistory();
        }
    });

    m_stack = new QStackedWidget(this);
    m_stack->addWidget(m_tree);
    m_stack->addWidget(m_list);
    layout->addWidget(m_stack, 1);

    auto* buttons = new QHBoxLayout;
    m_historyButton = new QPushButton(T("BrowseHistory", "History"), this);
    m_historyButton->setObjectName("BHistory");
    m_historyButton->setCheckable(true);
    auto* takeButton = new QPushButton(T("BrowseTake", "Take"), this);
    takeButton->setObjectName("BAdd_skip_");
    auto* closeButton = new QPushButton(T("BrowseClose", "Close"), this);
    closeButton->setObjectName("BClose_skip_");
    buttons->addWidget(m_historyButton);
    buttons->addStretch(1);
    buttons->addWidget(takeButton);
    buttons->addWidget(closeButton);
    layout->addLayout(buttons);
    connect(m_historyButton, &QPushButton::clicked, this,
            [this](bool on) { setHistoryMode(on, true); });
    connect(takeButton, &QPushButton::clicked, this, &BrowsePanel::take);
    connect(closeButton, &QPushButton::clicked, this, &QWidget::hide);

    reloadHistory();
    setHistoryMode(settings.flag("StartHistory"), false);
}

void BrowsePanel::reloadHistory() {
    m_list->clear();
    m_list->addItems(m_history.folders());
}

void BrowsePanel::setHistoryMode(bool history, bool byUser) {
    m_historyMode = history;
    m_historyButton->setChecked(history);
    m_stack->setCurrentWidget(history ? static_cast<QWidget*>(m_list) : m_tree);
    if (byUser) {
        (history ? static_cast<QWidget*>(m_list) : m_tree)->setFocus();
        m_settings.setValue("StartHistory", history);
        m_settings.file().writeBool("Settings", "StartHistory", history);
        m_settings.file().save();
    }
}

void BrowsePanel::openBelow(QWidget* box, const QString& folder) {
    if (!m_historyMode && QDir(folder).exists())
        selectInTree(folder);
    move(box->mapToGlobal(QPoint(1, box->height())));
    show();
    (m_historyMode ? static_cast<QWidget*>(m_list) : m_tree)->setFocus();
}

void BrowsePanel::selectInTree(const QString& folder) {
    const QModelIndex i = m_fs->index(QDir::cleanPath(folder));
    if (i.isValid()) {
        m_tree->setCurrentIndex(i);
        m_tree->scrollTo(i);
    }
}

QString BrowsePanel::treeFolder() const {
    const QModelIndex i = m_tree->currentIndex();
    return i.isValid() ? withSlash(m_fs->filePath(i)) : QString();
}

void BrowsePanel::take() {
    if (!m_historyMode) {
        const QString folder = treeFolder();
        if (!folder.isEmpty()) {
            emit folderChosen(folder);
            if (m_history.add(folder))
                reloadHistory();
        }
    } else if (m_list->currentItem()) {
        emit folderChosen(m_list->currentItem()->text());
    }
    hide();
}

void BrowsePanel::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        hide();
        return;
    }
    QFrame::keyPressEvent(event);
}

void BrowsePanel::hideEvent(QHideEvent* event) {
    QFrame::hideEvent(event);
    emit closed();
}

bool BrowsePanel::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (watched == m_tree && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
            take();
            return true;
        }
        if (watched == m_list && key->key() == Qt::Key_Delete && m_list->currentItem()) {
            m_history.remove(m_list->currentItem()->text());
            reloadHistory();
            return true;
        }
        if (watched == m_list && (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)) {
            take();
            return true;
        }
    }
    if (watched == m_tree->viewport() && event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent*>(event)->button() == Qt::RightButton &&
        m_tree->currentIndex().isValid()) {
        take();
        return true;
    }
    return QFrame::eventFilter(watched, event);
}
