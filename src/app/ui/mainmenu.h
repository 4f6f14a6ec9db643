// The main window's menu bar, built from one table. Every entry starts disabled;
// the main window enables the commands that are built and connects them.
#pragma once

#include <QHash>
#include <QString>

class QAction;
class QMenu;
class QMenuBar;

struct MainMenu {
    QHash<QString, QAction*> actions; // by object name
    QHash<QString, QMenu*> menus;     // by object name

    // Fills the bar; entries carry their object names for translation.
    void build(QMenuBar* bar);
    QAction* action(const QString& name) const { return actions.value(name); }
    // A submenu none of whose entries is enabled is shown disabled.
    void refreshSubmenus();
    QMenu* menu(const QString& name) const { return menus.value(name); }
};
