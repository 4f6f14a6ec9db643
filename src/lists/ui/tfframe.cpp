#include "lists/ui/tfframe.h"

#include "base/settings.h"
#include "base/translator.h"
#include "base/ui/flowlayout.h"
#include "lists/columns.h"
#include "lists/folderhistory.h"
#include "lists/folderinput.h"
#include "lists/listtext.h"
#include "lists/rowcolours.h"
#include "lists/selectionsize.h"
#include "lists/songhint.h"
#include "lists/songlistmodel.h"
#include "lists/ui/browsepanel.h"
#include "lists/ui/panemenu.h"
#include "lists/ui/songlistview.h"

#include <QApplication>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
const QColor kActiveBorder(0, 128, 255);
const char* kCounterNames[] = {"LCount", "LSel", "LChecked", "LDup", "Lerr", "LMistakes"};
} // namespace

TFFrame::TFFrame(Settings& settings, int paneNumber, QWidget* parent)
    : QFrame(parent), m_settings(settings), m_paneNumber(paneNumber) {
    setObjectName(paneNumber == 0 ? "Frame1" : "Frame2");
    setMinimumSize(60, 60);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(2, 2, 2, 2);
    outer->setSpacing(2);

    m_top = new QWidget(this);
    m_top->setObjectName("PTop");
    m_top->setAutoFillBackground(true);
    auto* topLayout = new QVBoxLayout(m_top);
    topLayout->setContentsMargins(4, 2, 4, 2);
    topLayout->setSpacing(2);
    m_title = new QLabel(m_top);
    m_title->setObjectName("LFile_skip_");
    m_title->setTextFormat(Qt::PlainText);
    topLayout->addWidget(m_title);
    auto* browseRow = new QHBoxLayout;
    m_folderBox = new FolderBox(m_top);
    m_add = new QToolButton(m_top);
    m_add->setObjectName("BAdd");
    m_add->setText("+");
    m_add->setToolTip(T("MainAddHint", "Add files from directory"));
    m_addSub = new QToolButton(m_top);
    m_addSub->setObjectName("BAddS");
    m_addSub->setText("++");
    m_addSub->setToolTip(T("MainAddSHint", "Add files from directory and all sub directories"));
    m_load = new QToolButton(m_top);
    m_load->setObjectName("BLoad");
    m_load->setIcon(style()->standardIcon(QStyle::SP_DialogOpenButton));
    m_load->setToolTip(T("MainLoadHint", "Load list from file"));
    m_save = new QToolButton(m_top);
    m_save->setObjectName("BSave");
    m_save->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    m_save->setToolTip(T("MainSaveHint", "Save list to file"));
    m_clear = new QToolButton(m_top);
    m_clear->setObjectName("BClear");
    m_clear->setIcon(style()->standardIcon(QStyle::SP_DialogResetButton));
    m_clear->setToolTip(T("MainClearHint", "Clear list"));
    browseRow->addWidget(m_folderBox, 1);
    browseRow->addWidget(m_add);
    browseRow->addWidget(m_addSub);
    browseRow->addWidget(m_clear);
    browseRow->addWidget(m_load);
    browseRow->addWidget(m_save);
    topLayout->addLayout(browseRow);
    // The counters wrap onto a second line in a narrow pane rather than being cut off.
    auto* row = new FlowLayout;
    topLayout->addLayout(row);
    for (int c = 0; c < SongListModel::CounterCount; ++c) {
        m_counters[c] = new QLabel(m_top);
        m_counters[c]->setObjectName(kCounterNames[c]);
        m_counters[c]->installEventFilter(this);
        if (c == SongListModel::Count) {
            // "Num: 120 / 7" reads as one text, on one line.
            auto* pairWidget = new QWidget(m_top);
            m_counters[c]->setParent(pairWidget);
            m_position = new QLabel(pairWidget);
            m_position->setObjectName("Lkateri");
            m_position->installEventFilter(this);
            auto* pair = new QHBoxLayout(pairWidget);
            pair->setContentsMargins(0, 0, 0, 0);
            pair->setSpacing(0);
            pair->addWidget(m_counters[c]);
            pair->addWidget(m_position);
            row->addWidget(pairWidget);
        } else {
            row->addWidget(m_counters[c]);
        }
    }
    outer->addWidget(m_top);

    m_model = new SongListModel(&settings, this);
    m_view = new SongListView(this);
    m_view->setModel(m_model);
    outer->addWidget(m_view, 1);

    connect(m_model, &SongListModel::countersChanged, this, &TFFrame::refreshCounters);
    // During a scan the counters follow the files ten times a second (the progress window
    // lets events run), not once per row: a million rows must not cost a million redraws.
    auto* counterPace = new QTimer(this);
    counterPace->setInterval(100);
    connect(m_model, &SongListModel::pendingStarted, counterPace, qOverload<>(&QTimer::start));
    connect(counterPace, &QTimer::timeout, this, [this, counterPace] {
        refreshCounters();
        if (m_model->pendingCount() == 0)
            counterPace->stop();
    });
    connect(m_view->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &TFFrame::onSelectionChanged);
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] {
        m_signature.clear();
        m_position->clear();
        m_model->setSelectedCount(0);
        if (m_selectionKb != 0) {
            m_selectionKb = 0;
            emit selectionSizeChanged(0);
        }
    });
    // Rows removed or moved before the selection change its position without a selection
    // change: the position and counters are read again.
    connect(m_model, &QAbstractItemModel::rowsRemoved, this,
            [this] { onSelectionChanged({}, {}); });
    connect(m_model, &QAbstractItemModel::layoutChanged, this,
            [this] { onSelectionChanged({}, {}); });
    connect(m_view, &SongListView::filesDropped, this, &TFFrame::filesDropped);
    connect(m_view, &SongListView::sortRequested, this, &TFFrame::sortRequested);
    // New rows are not in the shown order: the next click sorts afresh, ascending.
    const auto unsorted = [this] {
        m_view->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    };
    connect(m_model, &QAbstractItemModel::rowsInserted, this, unsorted);
    connect(m_model, &QAbstractItemModel::modelReset, this, unsorted);
    connect(m_view, &SongListView::headerMenuRequested, this, &TFFrame::showHeaderMenu);
    m_paneMenu = new PaneMenu(this);
    connect(m_view, &SongListView::cellMenuRequested, this, [this](const QPoint& globalPos) {
        if (m_view->indexAt(m_view->viewport()->mapFromGlobal(globalPos)).isValid())
            m_paneMenu->popup(globalPos);
    });
    connect(m_clear, &QToolButton::clicked, this, &TFFrame::clearRequested);
    connect(&settings, &Settings::columnVisibilityChanged, this, &TFFrame::setColumnVisible);
    connect(&settings, &Settings::changed, this, [this](const QString& key) {
        if (key.startsWith("BitC") || key == "SEMin" || key == "SEMid" || key == "SEMax" ||
            key == "CBColorBitrate" || key == "CBLColorFiles")
            m_view->viewport()->update();
        else if (key == "CBDimWindow")
            applyColours();
    });

    m_history = std::make_unique<FolderHistory>(settings.file());
    m_browse = new BrowsePanel(settings, *m_history, this);
    connect(m_folderBox, &FolderBox::dropDownRequested, this,
            [this] { m_browse->openBelow(m_folderBox, folderText()); });
    connect(m_browse, &BrowsePanel::folderChosen, this, &TFFrame::setFolderText);
    connect(m_browse, &BrowsePanel::closed, this, [this] { m_folderBox->setFocus(); });
    connect(m_add, &QToolButton::clicked, this, [this] { emit addRequested(false); });
    connect(m_addSub, &QToolButton::clicked, this, [this] { emit addRequested(true); });
    connect(m_load, &QToolButton::clicked, this, &TFFrame::loadRequested);
    connect(m_save, &QToolButton::clicked, this, &TFFrame::saveRequested);
    m_title->installEventFilter(this);
    // A list file in the title line is drawn bold, between blanks.
    m_listFile.showTitle = [this](const QString& text, bool listFile) {
        QFont f = m_title->font();
        f.setBold(listFile);
        m_title->setFont(f);
        const QString shown = listtext::displayText(text);
        m_title->setText(listFile ? ' ' + shown + ' ' : shown);
    };
    connect(m_folderBox, &FolderBox::enterPressed, this, [this] {
        if (m_addingEnabled)
            emit addRequested(true);
    });

    setColumnHeaders();
    // At start-up a column hidden in the settings gets width 0 in both panes.
    for (int c = 0; c < ListColumnCount; ++c)
        if (!settings.columnVisible(c))
            m_view->horizontalHeader()->hideSection(c);
    refreshCounters();
    applyColours();
}

TFFrame::~TFFrame() = default;

PaneRef TFFrame::paneRef() const {
    return PaneRef{m_model, m_view->selectionModel(), m_paneNumber};
}

QString TFFrame::folderText() const {
    return m_folderBox->currentText().trimmed();
}

void TFFrame::setFolderText(const QString& folder) {
    m_folderBox->setEditText(folder);
}

void TFFrame::setAddingEnabled(bool on) {
    m_addingEnabled = on;
    m_add->setEnabled(on);
    m_addSub->setEnabled(on);
    m_load->setEnabled(on);
    m_save->setEnabled(on);
    m_folderBox->setEnabled(on);
    m_view->setAcceptDrops(on);
    m_view->horizontalHeader()->setSectionsClickable(on); // no sorting under a running scan
}

QString TFFrame::takeFolderBoxText() {
    if (m_browse->isVisible())
        m_browse->take();
    // A typed "~/Music" or "streams" becomes the absolute folder the rows point into.
    const QString folder = typedFolder(folderText());
    if (folder.isEmpty())
        return {};
    setFolderText(folder);
    if (folderExists(folder)) {
        m_listFile.setTitle(folder, false);
        if (m_history->add(folder)) // typed folders join the history as picked ones do
            m_browse->reloadHistory();
    }
    return folder;
}

void TFFrame::setColumnHeaders() {
    m_model->refreshAll();
    for (int c = 0; c < ListColumnCount; ++c)
        if (columnVisible(c))
            m_view->horizontalHeader()->resizeSection(c, defaultColumnWidth(c));
    delete m_columnMenu; // captions change with the language
    m_columnMenu = nullptr;
}

int TFFrame::defaultColumnWidth(int column) const {
    // The design width, or more where the header's caption (in this language and font)
    // would not fit whole.
    const int design = listColumns()[size_t(column)].width;
    return std::max(design, m_view->horizontalHeader()->sectionSizeHint(column));
}

bool TFFrame::columnVisible(int column) const {
    return !m_view->horizontalHeader()->isSectionHidden(column);
}

void TFFrame::setColumnVisible(int column, bool visible) {
    QHeaderView* h = m_view->horizontalHeader();
    if (column < 0 || column >= ListColumnCount || visible == columnVisible(column))
        return;
    if (visible) {
        h->showSection(column);
        h->resizeSection(column, defaultColumnWidth(column));
    } else {
        h->hideSection(column);
    }
}

void TFFrame::showHeaderMenu(const QPoint& globalPos) {
    if (!m_columnMenu) {
        m_columnMenu = new QMenu(this);
        m_columnMenu->setObjectName("PMColumns");
        m_columnMenu->addAction(T("MainSetVisibleColumns", "Set visible columns"), this,
                                [this] { emit settingsPageRequested("List"); });
        m_columnMenu->addSeparator();
        for (int c = 0; c < ListColumnCount; ++c) {
            QAction* a = m_columnMenu->addAction(listColumnHeader(c));
            a->setCheckable(true);
            a->setData(c);
            connect(a, &QAction::triggered, this,
                    [this, c](bool on) { m_settings.setColumnVisible(c, on); });
        }
    }
    for (QAction* a : m_columnMenu->actions())
        if (a->data().isValid())
            a->setChecked(columnVisible(a->data().toInt()));
    m_columnMenu->popup(globalPos);
}

void TFFrame::setPaneActive(bool active) {
    m_active = active;
    m_model->setActive(active || !m_settings.flag("CBDimWindow"));
    applyColours();
}

void TFFrame::applyColours() {
    const QColor face = QApplication::palette().color(QPalette::Window);
    const bool dim = !m_active && m_settings.flag("CBDimWindow");
    const int a = dim ? 30 : 0;
    m_model->setActive(!dim);
    setStyleSheet(QStringLiteral("#%1 { border: 2px solid %2; }")
                      .arg(objectName(), m_active ? kActiveBorder.name() : face.name()));
    m_view->setListBackground(dimColor(Qt::white, a));
    QPalette pal = m_top->palette();
    pal.setColor(QPalette::Window, dimColor(face, a));
    m_top->setPalette(pal);
}

void TFFrame::retranslate() {
    setColumnHeaders();
    refreshCounters();
    m_add->setToolTip(T("MainAddHint", "Add files from directory"));
    m_addSub->setToolTip(T("MainAddSHint", "Add files from directory and all sub directories"));
    m_load->setToolTip(T("MainLoadHint", "Load list from file"));
    m_save->setToolTip(T("MainSaveHint", "Save list to file"));
    m_clear->setToolTip(T("MainClearHint", "Clear list"));
    m_folderBox->retranslate();
}

void TFFrame::refreshCounters() {
    for (int c = 0; c < SongListModel::CounterCount; ++c) {
        const auto counter = SongListModel::Counter(c);
        m_counters[c]->setText(
            T(SongListModel::counterKey(counter), SongListModel::counterDefault(counter)) + ": " +
            QString::number(m_model->counter(counter)));
    }
}

void TFFrame::onSelectionChanged(const QItemSelection& selected, const QItemSelection& deselected) {
    if (m_model->size() == 0)
        return;
    const QItemSelection all = m_view->selectionModel()->selection();
    int count = 0;
    int first = -1;
    for (const QItemSelectionRange& r : all) {
        count += r.height();
        if (first < 0 || r.top() < first)
            first = r.top();
    }
    m_position->setText(first >= 0 ? " / " + QString::number(first + 1) : QString());
    const QString signature = m_position->text() + QString::number(count);
    if (signature == m_signature && selected.isEmpty() && deselected.isEmpty())
        return;
    m_signature = signature;
    m_model->setSelectedCount(count);

    // The size of the selection is kept from the rows that changed, not re-summed.
    bool ok = true;
    const auto sizeOf = [&](int row) {
        const SongItem& it = m_model->item(row);
        return it.has(SongItem::FileSizeKb) ? parseSizeKb(it.text(SongItem::FileSizeKb), &ok) : 0.0;
    };
    if (count == 0) {
        m_selectionKb = 0;
    } else if (count == 1) {
        m_selectionKb = sizeOf(first);
    } else {
        for (const QItemSelectionRange& r : selected)
            for (int row = r.top(); row <= r.bottom() && ok; ++row)
                m_selectionKb += sizeOf(row);
        for (const QItemSelectionRange& r : deselected)
            for (int row = r.top(); row <= r.bottom() && ok; ++row)
                m_selectionKb -= sizeOf(row);
    }
    if (!ok)
        return; // a size that is not a number leaves the rest of this event undone
    emit selectionSizeChanged(m_selectionKb);

    if (count == 1 && m_settings.flag("CBShowHint") && m_model->item(first).subItemCount() >= 2)
        m_view->setHintText(buildSongHint(m_model->item(first), m_settings));
}

bool TFFrame::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonDblClick) {
        if (watched == m_counters[SongListModel::Errors]) {
            m_model->clearAllErrorMarks();
            return true;
        }
        if (watched == m_title) {
            emit loadRequested();
            return true;
        }
        if (watched == m_counters[SongListModel::Count] || watched == m_position) {
            emit goToLineRequested();
            return true;
        }
    }
    return QFrame::eventFilter(watched, event);
}
