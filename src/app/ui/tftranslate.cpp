#include "app/ui/tftranslate.h"

#include "base/inifile.h"
#include "base/progress.h"
#include "base/prompt.h"
#include "base/settings.h"
#include "base/translator.h"
#include "base/ui/windowtranslator.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QUrl>
#include <QUrlQuery>
#include <QVBoxLayout>

namespace {
const QString kMailAddress = QStringLiteral("translations@rendolo.org");
constexpr int kRowRole = Qt::UserRole + 1;
} // namespace

TFTranslate::TFTranslate(Translator& translator, Settings& settings, Prompt& prompt,
                         Progress& progress, QWidget* parent)
    : QWidget(parent, Qt::Window), m_translator(translator), m_settings(settings), m_prompt(prompt),
      m_progress(progress) {
    setObjectName(QStringLiteral("FTranslate"));
    setWindowTitle(QStringLiteral("Translate"));
    resize(560, 480);

    m_languages = new QComboBox;
    m_languages->setObjectName(QStringLiteral("CBLanguage_skip_"));
    auto button = [this](const char* name, const char* caption, bool (TFTranslate::*action)()) {
        auto* b = new QPushButton(QString::fromLatin1(caption));
        b->setObjectName(QString::fromLatin1(name));
        connect(b, &QPushButton::clicked, this, [this, action] { (this->*action)(); });
        return b;
    };
    auto* mail = new QLabel(QStringLiteral("Send me your translation please."));
    mail->setObjectName(QStringLiteral("LMail"));
    mail->setCursor(Qt::PointingHandCursor);
    mail->setStyleSheet(QStringLiteral("color: #0000c0; text-decoration: underline;"));
    mail->installEventFilter(this);
    m_counter = new QLabel(QStringLiteral("#: 0"));
    m_counter->setObjectName(QStringLiteral("LCounter_skip_"));

    m_list = new QTreeWidget;
    m_list->setObjectName(QStringLiteral("LVTranslate"));
    m_list->setColumnCount(2);
    m_list->setHeaderLabels({QStringLiteral("Translate"), QStringLiteral("Keys")});
    m_list->setColumnHidden(1, true);
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed);
    m_list->installEventFilter(this);
    connect(m_list, &QTreeWidget::currentItemChanged, this, [this] { showCounter(); });
    connect(m_list, &QTreeWidget::itemChanged, this, [this](QTreeWidgetItem* item, int column) {
        if (m_filling || column != 0)
            return;
        editRow(item->data(0, kRowRole).toInt(), item->text(0));
        // The next row once the editor has closed: moving the current row from inside
        // the commit would close the editor a second time ("editing failed").
        const int next = m_list->indexOfTopLevelItem(item) + 1;
        QTimer::singleShot(0, this, [this, next] {
            if (next < m_list->topLevelItemCount())
                m_list->setCurrentItem(m_list->topLevelItem(next));
        });
    });

    auto* top = new QHBoxLayout;
    top->addWidget(m_languages, 1);
    top->addWidget(button("BLoad", "Load", &TFTranslate::load));
    top->addWidget(button("BSave", "Save", &TFTranslate::save));
    top->addWidget(button("BSaveAs", "Save as", &TFTranslate::saveAs));
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(mail);
    bottom->addStretch();
    bottom->addWidget(m_counter);
    auto* main = new QVBoxLayout(this);
    main->addLayout(top);
    main->addWidget(m_list, 1);
    main->addLayout(bottom);

    fillLanguages();
    m_tr = new WindowTranslator(this, translator);
    m_tr->setLanguage(translator.language());
}

void TFTranslate::fillLanguages() {
    const QString current = m_languages->currentText();
    m_languages->clear();
    m_languages->addItems(m_translator.languages());
    if (!current.isEmpty())
        selectLanguage(current);
}

bool TFTranslate::selectLanguage(const QString& name) {
    const int i = m_languages->findText(name, Qt::MatchFixedString);
    if (i >= 0)
        m_languages->setCurrentIndex(i);
    return i >= 0;
}

bool TFTranslate::load() {
    if (m_table.modified() && m_settings.flag(QStringLiteral("CBWarnings")) &&
        !m_prompt.askYesNo(
            m_tr->t(QStringLiteral("WarningsLoadNewLanguage"),
                    QStringLiteral("This will load new language.~~It will discard all changes you "
                                   "have made.~~Do you wish to continue?"))))
        return false;
    const QString name = m_languages->currentText();
    const QString path = Translator::languageFile(m_translator.languageFolder(), name);
    if (name.isEmpty() || !QFileInfo::exists(path))
        return false;
    m_progress.startProgress(QStringLiteral("loadTrans"));
    m_table.load(m_translator.iniAt(path), &m_progress);
    m_progress.endProgress();
    fillRows();
    return true;
}

void TFTranslate::fillRows() {
    m_filling = true;
    m_list->setUpdatesEnabled(false);
    m_list->clear();
    QList<QTreeWidgetItem*> items;
    items.reserve(m_table.size());
    for (int i = 0; i < m_table.size(); ++i) {
        const TranslationRow& r = m_table.rows()[i];
        auto* item = new QTreeWidgetItem({r.text, r.keyList()});
        item->setFlags(item->flags() | Qt::ItemIsEditable);
        item->setData(0, kRowRole, i);
        items << item;
    }
    m_list->addTopLevelItems(items);
    m_list->setUpdatesEnabled(true);
    m_filling = false;
    m_counter->setText(QStringLiteral("#: %1").arg(m_table.size()));
}

void TFTranslate::editRow(int row, const QString& text) {
    m_table.setText(row, text);
    if (QTreeWidgetItem* item = m_list->topLevelItem(row); item && item->text(0) != text) {
        m_filling = true;
        item->setText(0, text);
        m_filling = false;
    }
}

bool TFTranslate::writeInto(const QString& path) {
    IniFile& ini = m_translator.iniAt(path);
    m_table.writeTo(ini);
    m_translator.fileChanged(ini);
    return m_translator.flush();
}

bool TFTranslate::save() {
    const QString name = m_languages->currentText();
    if (name.isEmpty())
        return false;
    return writeInto(Translator::languageFile(m_translator.languageFolder(), name));
}

bool TFTranslate::saveAs() {
    QString path = m_prompt.chooseSaveFile(
        m_tr->t(QStringLiteral("TranslateSaveAs"), QStringLiteral("Save as")),
        QStringLiteral("Language (*.lng)"), m_translator.languageFolder());
    if (path.isEmpty())
        return false;
    const QFileInfo info(path);
    if (info.suffix().compare(QLatin1String("lng"), Qt::CaseInsensitive) != 0)
        path = info.dir().filePath(
            (info.suffix().isEmpty() ? info.fileName() : info.completeBaseName()) +
            QStringLiteral(".lng"));
    const bool ok = writeInto(path);
    fillLanguages();
    return ok;
}

QString TFTranslate::counterText() const {
    return m_counter->text();
}

void TFTranslate::showCounter() {
    if (QTreeWidgetItem* item = m_list->currentItem())
        m_counter->setText(QStringLiteral("#: %1 / %2")
                               .arg(m_list->indexOfTopLevelItem(item) + 1)
                               .arg(m_list->topLevelItemCount()));
}

void TFTranslate::closeEvent(QCloseEvent* event) {
    if (m_table.modified() &&
        !m_prompt.askYesNo(m_tr->t(
            QStringLiteral("WarningsCloseNoSaveTranslate"),
            QStringLiteral("You made some changes.~~Do you wish to continue without saving?")))) {
        event->ignore();
        return;
    }
    event->accept();
}

void TFTranslate::showEvent(QShowEvent* event) {
    fillLanguages();
    // The first time over the middle of the main window, not in the screen's corner.
    if (!testAttribute(Qt::WA_Moved) && parentWidget())
        move(parentWidget()->frameGeometry().center() - rect().center());
    QWidget::showEvent(event);
}

bool TFTranslate::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_list && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        // The Enter that ends an edit reaches the list too, while the editor (which
        // commits a moment later) still has the focus: it starts no second edit
        // (Qt: "edit: editing failed").
        const QWidget* focus = QApplication::focusWidget();
        const bool editing = focus && focus != m_list && m_list->isAncestorOf(focus);
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && m_list->currentItem() && !editing) {
            m_list->editItem(m_list->currentItem(), 0);
            return true;
        }
    } else if (watched->objectName() == QLatin1String("LMail") &&
               event->type() == QEvent::MouseButtonRelease) {
        QUrl url(QStringLiteral("mailto:") + kMailAddress);
        QUrlQuery query;
        query.addQueryItem(QStringLiteral("subject"),
                           QStringLiteral("Rendolo translation: ") + m_languages->currentText());
        url.setQuery(query);
        QDesktopServices::openUrl(url);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
