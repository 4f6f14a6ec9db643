// The main window's menu bar, built from one table. Every entry starts disabled;
// the main window enables the commands that are built and connects them.
#pragma once

#include <QHash>
#include <QString>

#include <array>

class QAction;
class QMenu;
class QMenuBar;

// The menu entries that stand for the entries of the settings window's two pattern
// lists, position by position (nullptr where the list has a separator).
inline constexpr std::array<const char*, 8> FileNamePatternActions = {
    "MFmtArtistSong", "MFmtArtistAlbumSong", "MFmtTrackSong", "MFmtSongArtist", "MFmtSong",
    nullptr,          "MFmtCustom",          "MFmtAuto"};
inline constexpr std::array<const char*, 8> FolderPatternActions = {
    "MDirNormal",      "MDirArtist",      "MDirAlbum", "MDirGenre",
    "MDirArtistAlbum", "MDirGenreArtist", nullptr,     "MDirCustom"};

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
