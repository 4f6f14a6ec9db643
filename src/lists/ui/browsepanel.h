// The folder box of a pane and its drop-down browse panel: a folder tree and the
// history of folders used before, one in front of the other.
#pragma once

#include <QComboBox>
#include <QFrame>

class QFileSystemModel;
class QListWidget;
class QPushButton;
class QStackedWidget;
class QTreeView;
class FolderHistory;
class Settings;

class BrowsePanel : public QFrame {
    Q_OBJECT
public:
    BrowsePanel(Settings& settings, FolderHistory& history, QWidget* parent);

    bool historyMode() const { return m_historyMode; }
    void setHistoryMode(bool history, bool byUser);
    // Opens below the box; the current folder text selects the tree's folder.
    void openBelow(QWidget* box, const QString& folder);
    // Take: the chosen folder into the box (and, from the tree, into the history).
    void take();
    void reloadHistory();

signals:
    void folderChosen(const QString& folder); // a click: the folder box shows it
    void closed();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QString treeFolder() const;
    void selectInTree(const QString& folder);

    Settings& m_settings;
    FolderHistory& m_history;
    QFileSystemModel* m_fs;
    QTreeView* m_tree;
    QListWidget* m_list;
    QStackedWidget* m_stack;
    QPushButton* m_historyButton;
    bool m_historyMode = false;
};

// The folder box: dropping it down opens the browse panel instead of a list.
class FolderBox : public QComboBox {
    Q_OBJECT
public:
    explicit FolderBox(QWidget* parent = nullptr);
    void showPopup() override;
    void retranslate();
    void hidePopup() override {}

signals:
    void dropDownRequested();
    // Enter in the box: add the typed folder with its subfolders.
    void enterPressed();
};
