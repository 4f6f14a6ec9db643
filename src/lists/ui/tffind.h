// The find window: a search text with the texts used before, its options and the field
// it searches. "Find" (or Enter) asks the binder to search the active pane; afterwards the
// window folds to its search line, and a double click on it unfolds it again.
#pragma once

#include "lists/findrows.h"

#include <QWidget>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QPushButton;

class TFFind : public QWidget {
    Q_OBJECT
public:
    explicit TFFind(QWidget* parent = nullptr);

    // Shows the window unfolded at its full height, the text ready to type over.
    void showFull();
    FindOptions options() const;
    // The row the last search found, where the next one starts after (-1: from the top).
    int lastFound() const { return m_lastFound; }
    void setLastFound(int row) { m_lastFound = row; }
    bool folded() const { return m_folded; }
    void setFolded(bool folded);
    // The current text as the "Find" button takes it: into the history, into the title;
    // a text other than the last one searched starts from the top. False for no text.
    bool takeText();

    static constexpr int FullHeight = 196;

signals:
    void findRequested();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showCaption(const QString& text);

    QComboBox* m_text;
    QPushButton* m_find;
    QWidget* m_body;
    QCheckBox* m_caseSensitive;
    QCheckBox* m_wholeWords;
    QCheckBox* m_staySelected;
    QCheckBox* m_findAll;
    QButtonGroup* m_scope;
    QString m_searched;
    int m_lastFound = -1;
    bool m_folded = false;
    bool m_placed = false;
};
