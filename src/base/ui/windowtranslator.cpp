#include "base/ui/windowtranslator.h"

#include "base/inifile.h"
#include "base/translator.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QDockWidget>
#include <QEvent>
#include <QGroupBox>
#include <QHash>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTableWidget>
#include <QTreeView>
#include <QTreeWidget>

void initLanguageResources() {
    Q_INIT_RESOURCE(languages);
}

namespace {
const QString kTranslations = QStringLiteral("Translations");
// Set on every window or pane that has a translator of its own.
const char* kTranslatedApart = "translatedApart";

// The components of a window: its named descendants, leaving out other windows
// (dialogs parented to it) and panes, which have translators of their own.
void collect(QObject* parent, QList<QObject*>& out) {
    for (QObject* o : parent->children()) {
        if (auto* w = qobject_cast<QWidget*>(o)) {
            if (w->property(kTranslatedApart).toBool() || w->inherits("TFFrame") ||
                (w->isWindow() && !qobject_cast<QMenu*>(w)))
                continue;
        }
        if (!o->objectName().isEmpty() && !o->objectName().startsWith(QLatin1String("qt_")))
            out.append(o);
        collect(o, out);
    }
}

QList<QObject*> components(QWidget* window) {
    QList<QObject*> out;
    collect(window, out);
    return out;
}

QTabWidget* tabOf(QWidget* page, int* index) {
    auto* stack = qobject_cast<QStackedWidget*>(page->parentWidget());
    auto* tabs = stack ? qobject_cast<QTabWidget*>(stack->parentWidget()) : nullptr;
    if (!tabs)
        return nullptr;
    *index = tabs->indexOf(page);
    return *index >= 0 ? tabs : nullptr;
}

// The caption of a component: nullopt-like empty when it has none.
bool caption(QObject* o, QString* out) {
    if (auto* a = qobject_cast<QAction*>(o)) {
        if (a->isSeparator())
            return false;
        *out = a->text();
    } else if (auto* m = qobject_cast<QMenu*>(o)) {
        *out = m->title();
    } else if (auto* b = qobject_cast<QAbstractButton*>(o)) {
        *out = b->text();
    } else if (auto* l = qobject_cast<QLabel*>(o)) {
        if (l->textFormat() != Qt::PlainText && !l->pixmap().isNull())
            return false;
        *out = l->text();
    } else if (auto* g = qobject_cast<QGroupBox*>(o)) {
        *out = g->title();
    } else if (auto* d = qobject_cast<QDockWidget*>(o)) {
        *out = d->windowTitle();
    } else if (auto* w = qobject_cast<QWidget*>(o)) {
        int i = 0;
        QTabWidget* tabs = tabOf(w, &i);
        if (!tabs)
            return false;
        *out = tabs->tabText(i);
    } else {
        return false;
    }
    return true;
}

bool setCaption(QObject* o, const QString& text) {
    if (auto* a = qobject_cast<QAction*>(o)) {
        a->setText(text);
    } else if (auto* m = qobject_cast<QMenu*>(o)) {
        m->setTitle(text);
    } else if (auto* b = qobject_cast<QAbstractButton*>(o)) {
        b->setText(text);
    } else if (auto* l = qobject_cast<QLabel*>(o)) {
        l->setText(text);
    } else if (auto* g = qobject_cast<QGroupBox*>(o)) {
        g->setTitle(text);
    } else if (auto* d = qobject_cast<QDockWidget*>(o)) {
        d->setWindowTitle(text);
    } else if (auto* w = qobject_cast<QWidget*>(o)) {
        int i = 0;
        QTabWidget* tabs = tabOf(w, &i);
        if (!tabs)
            return false;
        tabs->setTabText(i, text);
    } else {
        return false;
    }
    return true;
}

QString hint(QObject* o) {
    if (auto* a = qobject_cast<QAction*>(o)) {
        // An action without a tip reports its text (without "&" and "...") as the tip.
        QString plain = a->text();
        plain.replace(QLatin1String("&&"), QLatin1String("\x01")).remove('&').replace('\x01', '&');
        plain = plain.trimmed();
        if (plain.endsWith(QLatin1String("...")))
            plain.chop(3);
        return a->toolTip() == plain.trimmed() ? QString() : a->toolTip();
    }
    if (auto* w = qobject_cast<QWidget*>(o))
        return w->toolTip();
    return {};
}

bool setHint(QObject* o, const QString& text) {
    if (auto* a = qobject_cast<QAction*>(o))
        a->setToolTip(text);
    else if (auto* w = qobject_cast<QWidget*>(o))
        w->setToolTip(text);
    else
        return false;
    return true;
}

bool hasText(QObject* o) {
    if (qobject_cast<QLineEdit*>(o))
        return true;
    auto* c = qobject_cast<QComboBox*>(o);
    return c && c->isEditable();
}

QString text(QObject* o) {
    if (auto* e = qobject_cast<QLineEdit*>(o))
        return e->text();
    if (auto* c = qobject_cast<QComboBox*>(o); c && c->isEditable())
        return c->currentText();
    return {};
}

bool setText(QObject* o, const QString& t) {
    if (auto* e = qobject_cast<QLineEdit*>(o))
        e->setText(t);
    else if (auto* c = qobject_cast<QComboBox*>(o); c && c->isEditable())
        c->setEditText(t);
    else
        return false;
    return true;
}

// Column captions of a list component; -1 when it has no columns.
int columnCount(QObject* o) {
    if (auto* t = qobject_cast<QTreeWidget*>(o))
        return t->columnCount();
    if (auto* t = qobject_cast<QTableWidget*>(o))
        return t->columnCount();
    if (auto* v = qobject_cast<QAbstractItemView*>(o);
        v && v->model() && (qobject_cast<QTreeView*>(o) || qobject_cast<QTableView*>(o)))
        return v->model()->columnCount();
    return -1;
}

QString column(QObject* o, int i) {
    if (auto* t = qobject_cast<QTreeWidget*>(o))
        return t->headerItem() ? t->headerItem()->text(i) : QString();
    if (auto* t = qobject_cast<QTableWidget*>(o))
        return t->horizontalHeaderItem(i) ? t->horizontalHeaderItem(i)->text() : QString();
    auto* v = qobject_cast<QAbstractItemView*>(o);
    return v && v->model() ? v->model()->headerData(i, Qt::Horizontal).toString() : QString();
}

bool setColumn(QObject* o, int i, const QString& text) {
    if (i < 0 || i >= columnCount(o))
        return false;
    if (auto* t = qobject_cast<QTreeWidget*>(o)) {
        t->headerItem()->setText(i, text);
    } else if (auto* t = qobject_cast<QTableWidget*>(o)) {
        if (!t->horizontalHeaderItem(i))
            t->setHorizontalHeaderItem(i, new QTableWidgetItem);
        t->horizontalHeaderItem(i)->setText(text);
    } else if (auto* v = qobject_cast<QAbstractItemView*>(o)) {
        v->model()->setHeaderData(i, Qt::Horizontal, text);
    }
    return true;
}

// "Column[3]" -> 3; -1 when the property is not a column.
int columnIndex(const QString& property) {
    if (!property.startsWith(QLatin1String("Column["), Qt::CaseInsensitive) ||
        !property.endsWith(']'))
        return -1;
    bool ok = false;
    const int i = property.mid(7, property.size() - 8).toInt(&ok);
    return ok && i >= 0 ? i : -1;
}
} // namespace

WindowTranslator::WindowTranslator(QWidget* window, Translator& translator, bool writeTemplate)
    : QObject(window), m_window(window), m_translator(translator), m_writeTemplate(writeTemplate) {
    connect(&m_translator, &Translator::languageChanged, this, &WindowTranslator::followTranslator);
    m_window->installEventFilter(this);
    m_window->setProperty(kTranslatedApart, true);
}

WindowTranslator* WindowTranslator::attach(QWidget* window, Translator& translator,
                                           bool followAtOnce) {
    auto* t = new WindowTranslator(window, translator);
    t->setFollowAtOnce(followAtOnce);
    t->setLanguage(translator.language());
    return t;
}

QString WindowTranslator::t(const QString& key, const QString& def) const {
    return m_translator.translate(key, def);
}

void WindowTranslator::loadMessages() {
    m_translator.loadMessages();
}

void WindowTranslator::takeDesign() {
    m_design.clear();
    const QList<QObject*> objects = components(m_window);
    for (QObject* o : objects) {
        QString s;
        if (caption(o, &s) && !s.isEmpty() && s != QLatin1String("-"))
            m_design.append({o, Property::Caption, 0, s});
        if (s = hint(o); !s.isEmpty())
            m_design.append({o, Property::Hint, 0, s});
        if (hasText(o) && !(s = text(o)).isEmpty())
            m_design.append({o, Property::Text, 0, s});
        const int n = columnCount(o);
        for (int i = 0; i < n; ++i)
            m_design.append({o, Property::Column, i, column(o, i)});
    }
    m_designTaken = true;
}

void WindowTranslator::writeTemplate() {
    IniFile& ini = m_translator.languageIni(Translator::templateLanguage());
    const QString window = m_window->objectName();
    if (m_window->isWindow())
        ini.writeString(kTranslations, window + QLatin1String(".Caption"),
                        Translator::toFileText(m_window->windowTitle()));
    for (const Design& d : std::as_const(m_design)) {
        if (!d.object || d.object->objectName().contains(QLatin1String("_skip_")))
            continue;
        QString prop;
        switch (d.property) {
        case Property::Caption:
            prop = QStringLiteral("Caption");
            break;
        case Property::Hint:
            prop = QStringLiteral("Hint");
            break;
        case Property::Text:
            prop = QStringLiteral("Text");
            break;
        case Property::Column:
            prop = QStringLiteral("Column[%1]").arg(d.column);
            break;
        }
        ini.writeString(kTranslations, window + '.' + d.object->objectName() + '.' + prop,
                        Translator::toFileText(d.text));
    }
    m_translator.fileChanged(ini);
}

void WindowTranslator::setLanguage(const QString& language) {
    m_language = language;
    if (!m_designTaken) {
        m_designTitle = m_window->windowTitle();
        takeDesign();
    }
    if (m_writeTemplate) {
        writeTemplate();
        // The template holds exactly the design texts: nothing to apply.
        if (language.compare(Translator::templateLanguage(), Qt::CaseInsensitive) == 0) {
            emit retranslated();
            return;
        }
    }
    apply();
}

void WindowTranslator::changeLanguage(const QString& language) {
    if (!m_designTaken)
        return setLanguage(language);
    m_language = language;
    apply();
}

void WindowTranslator::apply() {
    // Design texts first, so that a file lacking a key shows English, not the last language.
    if (m_window->isWindow())
        m_window->setWindowTitle(m_designTitle);
    for (const Design& d : std::as_const(m_design)) {
        if (!d.object)
            continue;
        switch (d.property) {
        case Property::Caption:
            setCaption(d.object, d.text);
            break;
        case Property::Hint:
            setHint(d.object, d.text);
            break;
        case Property::Text:
            break; // a typed text is only replaced by a translation
        case Property::Column:
            setColumn(d.object, d.column, d.text);
            break;
        }
    }

    const auto lines = m_translator.languageIni(m_language).entries(kTranslations);
    const QString window = m_window->objectName();
    QHash<QString, QList<QObject*>> byName; // built on the first line for this window
    for (const auto& [key, value] : lines) {
        const qsizetype dot = key.indexOf('.');
        if (dot <= 0 || QStringView(key).left(dot).compare(window, Qt::CaseInsensitive) != 0)
            continue;
        const QString rest = key.mid(dot + 1);
        const QString text = Translator::fromFileText(value);
        const qsizetype dot2 = rest.indexOf('.');
        if (dot2 < 0) {
            if (rest.compare(QLatin1String("Caption"), Qt::CaseInsensitive) == 0 &&
                m_window->isWindow())
                m_window->setWindowTitle(text);
            continue;
        }
        if (byName.isEmpty()) {
            const QList<QObject*> objects = components(m_window);
            for (QObject* o : objects)
                byName[o->objectName().toLower()].append(o);
        }
        const auto hit = byName.constFind(rest.left(dot2).toLower());
        if (hit == byName.constEnd())
            continue;
        const QString prop = rest.mid(dot2 + 1);
        for (QObject* o : *hit) {
            if (prop.compare(QLatin1String("Caption"), Qt::CaseInsensitive) == 0)
                setCaption(o, text);
            else if (prop.compare(QLatin1String("Hint"), Qt::CaseInsensitive) == 0)
                setHint(o, text);
            else if (prop.compare(QLatin1String("Text"), Qt::CaseInsensitive) == 0)
                setText(o, text);
            else if (const int i = columnIndex(prop); i >= 0)
                setColumn(o, i, text);
        }
    }
    emit retranslated();
}

void WindowTranslator::followTranslator(const QString& language) {
    if (language == m_language || !m_designTaken)
        return;
    if (m_followAtOnce || m_window->isVisible())
        changeLanguage(language);
}

bool WindowTranslator::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_window &&
        (event->type() == QEvent::Show || event->type() == QEvent::WindowActivate) &&
        m_designTaken && m_language != m_translator.language())
        changeLanguage(m_translator.language());
    return QObject::eventFilter(watched, event);
}
