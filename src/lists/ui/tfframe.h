// A list pane: counters, the song table and the pane's colours and column menu.
#pragma once

#include "lists/folderhistory.h"
#include "lists/listfiles.h"
#include "lists/pane.h"

#include <QFrame>

#include <memory>

class QLabel;
class QMenu;
class QToolButton;
class BrowsePanel;
class FolderBox;
class PaneMenu;
class QItemSelection;
class Settings;
class SongListModel;
class SongListView;

class TFFrame : public QFrame {
    Q_OBJECT
public:
    // paneNumber: 0 for Frame1, 1 for Frame2.
    TFFrame(Settings& settings, int paneNumber, QWidget* parent = nullptr);
    ~TFFrame() override;

    int paneNumber() const { return m_paneNumber; }
    SongListModel& model() { return *m_model; }
    SongListView& list() { return *m_view; }
    bool isActive() const { return m_active; }

    // Active: blue border and undimmed colours; inactive: dimmed when "Dim unactive window" is on.
    void setPaneActive(bool active);
    // Header captions from the interface language; resets the default widths.
    void setColumnHeaders();
    void setColumnVisible(int column, bool visible);
    // A column's width after a header change: at least its caption's.
    int defaultColumnWidth(int column) const;
    bool columnVisible(int column) const;
    // Selects and shows the first row with that file name (and location, when given).
    bool findSongItem(const QString& fileName, bool clearSelection, const QString& location = {});
    // Redraws the six counter labels.
    void refreshCounters();
    // Headers, counters and hints again in the interface language.
    void retranslate();
    QLabel* counterLabel(int counter) const { return m_counters[counter]; }
    QLabel* positionLabel() const { return m_position; }

    // The pane's rows and selection, as commands see them.
    PaneRef paneRef() const;
    QString folderText() const;
    void setFolderText(const QString& folder);
    // The folder an add command scans: takes the browse panel's choice when it is open,
    // ends the box's text with "/" and shows it in the title line.
    QString takeFolderBoxText();
    // While a scan runs anywhere, the pane takes no new files.
    void setAddingEnabled(bool on);
    bool addingEnabled() const { return m_addingEnabled; }
    BrowsePanel* browsePanel() const { return m_browse; }
    // The list file (or folder) of the title line and the pane's CSV separator.
    ListFileState& listFileState() { return m_listFile; }
    // The context menu of the list (right click on a row).
    PaneMenu& paneMenu() const { return *m_paneMenu; }

signals:
    void selectionSizeChanged(double kb);
    void filesDropped(const QStringList& paths);
    void settingsPageRequested(const QString& page);
    // The add buttons: "+" (folder) and "++" (with subfolders).
    void addRequested(bool recursive);
    // The "Load list from file" and "Save list to file" buttons (a double click on the
    // title line loads too).
    void loadRequested();
    void saveRequested();
    // The clear button, and a double click on the row counter or the position.
    void clearRequested();
    void goToLineRequested();
    // A click on a column header.
    void sortRequested(int column, Qt::SortOrder order);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void onSelectionChanged(const QItemSelection& selected, const QItemSelection& deselected);
    void showHeaderMenu(const QPoint& globalPos);
    void applyColours();

    Settings& m_settings;
    int m_paneNumber;
    bool m_active = true;
    SongListModel* m_model;
    SongListView* m_view;
    QWidget* m_top;
    QLabel* m_counters[6];
    QLabel* m_position;
    QMenu* m_columnMenu = nullptr;
    QLabel* m_title;
    FolderBox* m_folderBox;
    QToolButton* m_add;
    QToolButton* m_addSub;
    QToolButton* m_load;
    QToolButton* m_save;
    ListFileState m_listFile;
    QToolButton* m_clear;
    PaneMenu* m_paneMenu;
    std::unique_ptr<FolderHistory> m_history;
    BrowsePanel* m_browse;
    bool m_addingEnabled = true;
    QString m_signature;
    double m_selectionKb = 0;
};
