#include "lists/ui/tffilter.h"

#include "lists/songlistmodel.h"

#include <QAbstractListModel>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QTimer>
#include <QVBoxLayout>

// The listed names: row numbers of the pane, shown by their file names.
class JumpListModel : public QAbstractListModel {
public:
    using QAbstractListModel::QAbstractListModel;
    void show(const SongListModel* pane, std::vector<int> rows) {
        beginResetModel();
        m_pane = pane;
        m_rows = std::move(rows);
        endResetModel();
    }
    const std::vector<int>& rows() const { return m_rows; }
    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : int(m_rows.size());
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (role != Qt::DisplayRole || !m_pane || !index.isValid() ||
            index.row() >= int(m_rows.size()))
            return {};
        const int row = m_rows[size_t(index.row())];
        return row < m_pane->size() ? m_pane->item(row).text(SongItem::FileName) : QVariant();
    }

private:
    const SongListModel* m_pane = nullptr;
    std::vector<int> m_rows;
};

TFFilter::TFFilter(QWidget* parent) : QWidget(parent, Qt::Tool) {
    setObjectName("FFilter");
    setWindowTitle("Jump to searched text");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    m_text = new QLineEdit(this);
    m_text->setObjectName("EFilter_skip_");
    m_text->installEventFilter(this);
    m_list = new QListView(this);
    m_list->setObjectName("LBFiles");
    m_list->setUniformItemSizes(true); // a million names lay out at once
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->installEventFilter(this);
    m_names = new JumpListModel(this);
    m_list->setModel(m_names);
    layout->addWidget(m_text);
    layout->addWidget(m_list, 1);
    connect(m_text, &QLineEdit::textChanged, this, &TFFilter::refilter);
    connect(m_list, &QListView::doubleClicked, this,
            [this](const QModelIndex& i) { choose(i.row()); });
    resize(420, 480);
}

TFFilter::~TFFilter() = default;

void TFFilter::open(PaneRef pane) {
    if (pane.model != m_watched) {
        if (m_watched)
            disconnect(m_watched, nullptr, this, nullptr);
        m_watched = pane.model;
        m_stale = true;
        // Any change of the pane's rows or names makes the names be read again.
        for (const auto signal :
             {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
            connect(pane.model, signal, this, &TFFilter::paneChanged);
        connect(pane.model, &QAbstractItemModel::modelReset, this, &TFFilter::paneChanged);
        connect(pane.model, &QAbstractItemModel::layoutChanged, this, &TFFilter::paneChanged);
        connect(pane.model, &QAbstractItemModel::dataChanged, this,
                [this](const QModelIndex& from) {
                    if (from.column() == SongItem::FileName)
                        paneChanged();
                });
    }
    m_pane = pane;
    if (m_stale || m_index.size() != pane.model->size()) {
        m_index.rebuild(*pane.model);
        m_stale = false;
    }
    m_text->clear();
    refilter();
    if (!m_placed && parentWidget()) {
        // First time: in the middle of the main window.
        move(parentWidget()->window()->geometry().center() - rect().center());
        m_placed = true;
    }
    show();
    raise();
    activateWindow();
    m_text->setFocus();
}

void TFFilter::paneChanged() {
    if (m_stale)
        return;
    m_stale = true;
    // While the window is open the list follows the pane (once per burst of changes).
    QTimer::singleShot(0, this, [this] {
        if (!isVisible() || !m_pane)
            return;
        m_index.rebuild(*m_pane.model);
        m_stale = false;
        refilter();
    });
}

const std::vector<int>& TFFilter::listed() const {
    return m_names->rows();
}

void TFFilter::setText(const QString& text) {
    m_text->setText(text);
}

void TFFilter::refilter() {
    if (!m_pane)
        return;
    m_names->show(m_pane.model, m_index.filter(m_text->text()));
    if (!m_names->rows().empty())
        m_list->setCurrentIndex(m_names->index(0));
}

void TFFilter::choose(int listedIndex) {
    if (listedIndex < 0 || listedIndex >= int(m_names->rows().size()) || !m_pane)
        return;
    emit rowChosen(m_pane, m_names->rows()[size_t(listedIndex)]);
}

void TFFilter::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

bool TFFilter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    if (watched == m_text && enter) {
        // Enter in the box jumps when exactly one name is listed.
        if (m_names->rows().size() == 1)
            choose(0);
        return true;
    }
    if (watched == m_text && (key->key() == Qt::Key_Down || key->key() == Qt::Key_Up)) {
        m_list->setFocus();
        return false;
    }
    if (watched == m_list && enter) {
        choose(m_list->currentIndex().row());
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
