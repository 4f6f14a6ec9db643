#include "lists/ui/tffind.h"

#include "base/translator.h"
#include "lists/songitem.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <iterator>

namespace {
struct Scope {
    const char* name;
    const char* caption;
    int column;
};
const Scope kScopes[] = {
    {"RBFilename", "File name", SongItem::FileName},
    {"RBArtist", "Artist", SongItem::Artist},
    {"RBSongTitle", "Song title", SongItem::SongTitle},
    {"RBAlbum", "Album", SongItem::Album},
    {"RBGenre", "Genre", SongItem::Genre},
    {"RBTrack", "Track", SongItem::TrackNumber},
    {"RBLength", "Length", SongItem::LengthSec},
    {"RBYear", "Year", SongItem::Year},
};
} // namespace

TFFind::TFFind(QWidget* parent) : QWidget(parent, Qt::Tool | Qt::WindowStaysOnTopHint) {
    setObjectName("FFind");
    setWindowTitle("Find");
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(6, 6, 6, 6);
    outer->setSpacing(4);

    auto* line = new QHBoxLayout;
    m_text = new QComboBox(this);
    m_text->setObjectName("CBText_skip_");
    m_text->setEditable(true);
    m_text->setInsertPolicy(QComboBox::NoInsert);
    m_text->setMinimumWidth(200);
    m_text->installEventFilter(this);
    m_find = new QPushButton("Find", this);
    m_find->setObjectName("BFind");
    m_find->setDefault(true);
    auto* close = new QPushButton("Close", this);
    close->setObjectName("BClose");
    line->addWidget(m_text, 1);
    line->addWidget(m_find);
    line->addWidget(close);
    outer->addLayout(line);

    m_body = new QWidget(this);
    auto* body = new QHBoxLayout(m_body);
    body->setContentsMargins(0, 0, 0, 0);
    auto* options = new QGroupBox("Options", m_body);
    options->setObjectName("GBOptions");
    auto* ol = new QVBoxLayout(options);
    const auto check = [&](const char* name, const char* caption, bool on) {
        auto* c = new QCheckBox(caption, options);
        c->setObjectName(name);
        c->setChecked(on);
        ol->addWidget(c);
        return c;
    };
    m_caseSensitive = check("CBCaseS", "Case sensitive", false);
    m_wholeWords = check("CBWWO", "Whole words only", false);
    m_staySelected = check("CBStaySel", "Stay selected", true);
    m_findAll = check("CBFindAll", "Find All", false);
    auto* scope = new QGroupBox("Search in", m_body);
    scope->setObjectName("GBScope");
    auto* sl = new QGridLayout(scope);
    m_scope = new QButtonGroup(this);
    for (int i = 0; i < int(std::size(kScopes)); ++i) {
        auto* rb = new QRadioButton(kScopes[i].caption, scope);
        rb->setObjectName(kScopes[i].name);
        m_scope->addButton(rb, kScopes[i].column);
        sl->addWidget(rb, i % 4, i / 4);
    }
    m_scope->button(SongItem::FileName)->setChecked(true);
    body->addWidget(options);
    body->addWidget(scope, 1);
    outer->addWidget(m_body, 1);

    connect(m_find, &QPushButton::clicked, this, [this] {
        if (takeText())
            emit findRequested();
    });
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    // Typing shows the text in the title at once.
    connect(m_text, &QComboBox::editTextChanged, this, &TFFind::showCaption);
    resize(380, FullHeight);
}

void TFFind::showCaption(const QString& text) {
    setWindowTitle(T("Find", "Find") + ": " + text);
}

void TFFind::showFull() {
    setFolded(false);
    if (!m_placed && parentWidget()) {
        // First time: over the top right of the main window, clear of the left pane's rows.
        const QRect main = parentWidget()->window()->geometry();
        move(main.right() - width() - 40, main.top() + 90);
        m_placed = true;
    }
    show();
    raise();
    activateWindow();
    m_text->setFocus();
    m_text->lineEdit()->selectAll();
}

bool TFFind::takeText() {
    const QString text = m_text->currentText();
    showCaption(text);
    if (text != m_searched) {
        m_searched = text;
        m_lastFound = -1;
    }
    if (text.isEmpty())
        return false;
    if (m_text->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive) < 0)
        m_text->insertItem(0, text);
    m_text->setCurrentIndex(m_text->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive));
    setFolded(true);
    return true;
}

void TFFind::setFolded(bool folded) {
    m_folded = folded;
    m_body->setVisible(!folded);
    if (folded) {
        layout()->activate();
        setFixedHeight(minimumSizeHint().height());
    } else {
        setMinimumHeight(0);
        setMaximumHeight(QWIDGETSIZE_MAX);
        resize(width(), FullHeight);
    }
}

FindOptions TFFind::options() const {
    FindOptions o;
    o.text = m_text->currentText();
    o.column = m_scope->checkedId() >= 0 ? m_scope->checkedId() : int(SongItem::FileName);
    o.caseSensitive = m_caseSensitive->isChecked();
    o.wholeWords = m_wholeWords->isChecked();
    o.staySelected = m_staySelected->isChecked();
    o.findAll = m_findAll->isChecked();
    return o;
}

void TFFind::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        m_find->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

bool TFFind::event(QEvent* event) {
    // A double click on the title bar (where the platform reports it) or on the folded
    // window folds and unfolds it.
    if (event->type() == QEvent::NonClientAreaMouseButtonDblClick ||
        event->type() == QEvent::MouseButtonDblClick) {
        setFolded(!m_folded);
        return true;
    }
    return QWidget::event(event);
}

bool TFFind::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_text && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            m_find->click();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
