// The context menu of a list pane (a right click on a row): its entries act on the pane
// whose menu it is. It also holds the pane's "Rename Type".
#pragma once

#include "lists/editcommands.h"

#include <QMenu>

class PaneMenu : public QMenu {
    Q_OBJECT
public:
    explicit PaneMenu(QWidget* parent);

    // An entry by object name (null when there is none).
    QAction* entry(const QString& name) const;
    // The entries that run commands, by object name.
    const QList<QAction*>& commandEntries() const { return m_commands; }
    // What rename, change case and separator change act on: "File" by default.
    RenameType renameType() const;
    // The six fixed separator entries' object names, in menu order.
    static QStringList separatorNames();

private:
    QAction* add(QMenu* menu, const char* name, const char* caption, const QKeySequence& keys = {});

    QList<QAction*> m_commands;
    QAction* m_file;
    QAction* m_onlyList;
    QAction* m_directory;
};
