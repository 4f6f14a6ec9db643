#include "app/ui/focushighlight.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

FocusHighlight::FocusHighlight(QObject* parent) : QObject(parent) {
    connect(qApp, &QApplication::focusChanged, this, &FocusHighlight::onFocusChanged);
}

bool FocusHighlight::isHighlightable(const QWidget* w) {
    if (auto* e = qobject_cast<const QLineEdit*>(w))
        return !e->isReadOnly();
    if (auto* e = qobject_cast<const QTextEdit*>(w))
        return !e->isReadOnly();
    if (auto* e = qobject_cast<const QPlainTextEdit*>(w))
        return !e->isReadOnly();
    if (auto* e = qobject_cast<const QAbstractSpinBox*>(w))
        return !e->isReadOnly();
    return qobject_cast<const QComboBox*>(w) != nullptr;
}

void FocusHighlight::onFocusChanged(QWidget*, QWidget* now) {
    if (!m_enabled)
        return;
    if (m_current) {
        m_current->setPalette(m_saved);
        m_current = nullptr;
    }
    // An edit inside a combo box or spin box is coloured through its owner.
    QWidget* target = now;
    if (target && target->parentWidget() &&
        (qobject_cast<QComboBox*>(target->parentWidget()) ||
         qobject_cast<QAbstractSpinBox*>(target->parentWidget())))
        target = target->parentWidget();
    if (!target || !isHighlightable(target))
        return;
    m_current = target;
    m_saved = target->palette();
    QPalette p = m_saved;
    p.setColor(QPalette::Base, QColor(198, 211, 239));
    p.setColor(QPalette::Text, Qt::blue);
    target->setPalette(p);
}
