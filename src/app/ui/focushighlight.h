// Colours the editable control that has keyboard focus, anywhere in the program.
#pragma once

#include <QObject>
#include <QPalette>
#include <QPointer>

class QWidget;

class FocusHighlight : public QObject {
    Q_OBJECT
public:
    explicit FocusHighlight(QObject* parent = nullptr);
    void setEnabled(bool on) { m_enabled = on; }
    static bool isHighlightable(const QWidget* w);

private:
    void onFocusChanged(QWidget* old, QWidget* now);

    QPointer<QWidget> m_current;
    QPalette m_saved;
    bool m_enabled = true;
};
