#include "app/ui/mainmenu.h"

#include <QActionGroup>
#include <QMenuBar>

namespace {
// One line per entry: depth (1 = in a top menu, 2 = in a submenu), object name,
// caption and shortcut. A caption of "-" is a separator; an entry whose next line
// is deeper opens a submenu. Checkable groups are set up after the table.
struct Entry {
    int depth;
    const char* name;
    const char* caption;
    const char* shortcut;
};

const Entry kMenu[] = {
    {0, "MFile", "File", ""},
    {1, "MAdd", "Add (folder)", ""},
    {1, "MAddS", "AddS (folder and subfolders)", ""},
    {1, "MFindAll", "Find All Mp3s On My Computer", ""},
    {1, "-", "-", ""},
    {1, "MLoad", "Load", "Ctrl+L"},
    {1, "MSave", "Save", "Ctrl+S"},
    {1, "MSavePlaylist", "Save As Playlist", ""},
    {2, "MPlaylistWhole", "Whole List", ""},
    {2, "MPlaylistArtist", "Group by Artist", ""},
    {2, "MPlaylistAlbum", "Group by Album", ""},
    {2, "MPlaylistGenre", "Group by Genre", ""},
    {2, "MPlaylistYear", "Group by Year", ""},
    {1, "-", "-", ""},
    {1, "MClear", "Clear Current List", ""},
    {1, "-", "-", ""},
    {1, "MExit", "Exit", ""},

    {0, "MEdit", "Edit", ""},
    {1, "MFind", "Find", "Ctrl+F"},
    {1, "MGoTo", "Go To Line", "Ctrl+G"},
    {1, "MJumpTo", "Jump To (search)", "Ctrl+J"},
    {1, "MLineNote", "Add Line Note", "Alt+N"},
    {1, "MRemoveEmpty", "Remove Empty Lines", "Alt+R"},
    {1, "MClipboard", "Copy To Clipboard", ""},
    {2, "MClipFileName", "File Name", "Ctrl+Alt+F"},
    {2, "MClipLine", "Line", "Ctrl+Alt+E"},
    {2, "MClipAdvance", "Advance", "Ctrl+Alt+A"},
    {1, "-", "-", ""},
    {1, "MMoveTo", "Move to", "Ctrl+M"},
    {1, "MCopyTo", "Copy to  (Ctrl+C)", ""},
    {1, "MMoveCopyType", "(Move / Copy) Type", ""},
    {2, "MDirNormal", "Normal", ""},
    {2, "MDirArtist", "Artist sub Directory", ""},
    {2, "MDirAlbum", "Album sub Directory", ""},
    {2, "MDirGenre", "Genre sub Directory", ""},
    {2, "MDirArtistAlbum", "Artist/Album/", ""},
    {2, "MDirGenreArtist", "Genre/Artist/", ""},
    {2, "MDirCustom", "Custom", ""},
    {1, "MCorrectLocation", "Correct Location", ""},
    {1, "MRemoveSmaller", "Remove Files Smaller Than", ""},

    {0, "MChecked", "Checked", ""},
    {1, "MCheckAll", "Check All", ""},
    {1, "MInvertChecked", "Invert Checked", "Ins"},
    {1, "MUnCheckAll", "UnCheck All", "Ctrl+U"},
    {1, "MRandomCheck", "Random Check", ""},
    {1, "-", "-", ""},
    {1, "MCheckSelected", "Check Selected", ""},
    {1, "MUnCheckSelected", "UnCheck Selected", ""},
    {1, "MInvertSelected", "Invert Check Selected    (Space)", ""},
    {1, "-", "-", ""},
    {1, "MRemoveFromList", "Remove From List  (Del)", ""},
    {1, "MDeleteFromDisc", "Delete From Disc  (Shift+Del)", ""},

    {0, "MTags", "ID3 Tags", ""},
    {1, "MFileToTag", "Filename to ID3 Tag", ""},
    {1, "MTagToFile", "ID3 Tag to Filename", ""},
    {1, "MConversionType", "Type Of Conversion (A - S)", ""},
    {2, "MFmtArtistSong", "Artist - Song Title.mp3", ""},
    {2, "MFmtArtistAlbumSong", "Artist - Album - Song Title.mp3", ""},
    {2, "MFmtTrackSong", "[Track] - Song Title.mp3", ""},
    {2, "MFmtSongArtist", "Song Title - Artist.mp3", ""},
    {2, "MFmtSong", "Song Title.mp3", ""},
    {2, "-", "-", ""},
    {2, "MFmtCustom", "Custom", ""},
    {2, "MFmtAuto", "Automatically", ""},
    {1, "-", "-", ""},
    {1, "MCopyV1ToV2", "Copy ID3 v1 To v2", ""},
    {1, "MCopyV2ToV1", "Copy ID3 v2 To v1", ""},
    {1, "MSyncTags", "Synchronize ID3 v1 And v2", ""},
    {1, "MRefreshTags", "Refresh ID3 tags", ""},
    {1, "MSaveTags", "Save List ID3 tag Into File", ""},

    {0, "MDatabase", "Database", ""},
    {1, "MSaveToDb", "&Save To Database", ""},
    {2, "MSaveDbList", "List", ""},
    {2, "MSaveDbCd", "Catalogue CD", ""},
    {1, "MLoadFromDb", "&Load From Database", ""},
    {2, "MLoadDbAll", "All Data", ""},
    {2, "MLoadDbByKey", "Select Data By Key", ""},
    {2, "MLoadDbNames", "Load Just File Names", ""},
    {1, "-", "-", ""},
    {1, "MImport", "Import From File", ""},
    {1, "MExport", "Export To File", ""},
    {1, "-", "-", ""},
    {1, "MDatabaseFile", "Database File", ""},
    {2, "MDbCreateNew", "Create New", ""},
    {2, "-", "-", ""},
    {1, "MCompact", "Compact Database", ""},
    {1, "-", "-", ""},
    {1, "MDbEditor", "&Database Editor", "Ctrl+Alt+D"},

    {0, "MLyrics", "Lyrics", ""},
    {1, "MLyricAdd", "Add Lyric For This Song", ""},
    {1, "MLyricDelete", "Delete Lyric For This Song", ""},
    {1, "MLyricImport", "Import Lyrics", ""},
    {1, "MLyricExport", "Export Lyrics", ""},
    {1, "-", "-", ""},
    {1, "MLyricsEditor", "Lyrics Editor", ""},
    {1, "MKaraokeManager", "Karaoke Manager", ""},

    {0, "MTools", "Tools", ""},
    {1, "MFirstTime", "First Time Use (organize all)", ""},
    {1, "-", "-", ""},
    {1, "MCompare", "Compare (find duplicates)", "Alt+C"},
    {1, "MMistakes", "Find Mistakes", "Alt+M"},
    {1, "-", "-", ""},
    {1, "MFindOnCd", "&Find On CD And Save To Disc", ""},
    {1, "MDeadFiles", "Find Dead File Locations", ""},
    {1, "-", "-", ""},
    {1, "MStatistics", "Statistics", "Alt+S"},
    {1, "MDetailedStatistics", "Detailed Statistics", "Shift+Alt+S"},
    {1, "-", "-", ""},
    {1, "MEasyNumbering", "Easy Track Numbering", ""},
    {1, "-", "-", ""},
    {1, "MSettings", "Settings", ""},
    {1, "-", "-", ""},
    {1, "MPrintCover", "Print Cover", "Ctrl+P"},

    {0, "MInternet", "Internet", ""},
    {1, "MGetLyrics", "Get Lyrics", ""},
    {1, "MGetCovers", "Get Album Covers", ""},
    {1, "MGetAlbumInfo", "Get Album Info", ""},
    {1, "MGetBandAlbums", "Get Band Albums", ""},
    {1, "MWebSearch", "Search", "Ctrl+Shift+F"},
    {1, "-", "-", ""},
    {1, "MCddb", "CDDB For Audio CD", "Ctrl+D"},

    {0, "MPlayer", "Player", ""},
    {1, "MPrevious", "Previous", "Ctrl+Alt+Z"},
    {1, "MPlay", "Play", "Ctrl+Alt+X"},
    {1, "MPause", "Pause", "Ctrl+Alt+C"},
    {1, "MStop", "Stop", "Ctrl+Alt+V"},
    {1, "MNext", "Next", "Ctrl+Alt+B"},
    {1, "-", "-", ""},
    {1, "MPlayChecked", "Play Checked Items", "Ctrl+Alt+L"},
    {1, "MPlayPart", "Play Part of Checked Items", ""},
    {2, "MPartWhole", "Whole song", ""},
    {2, "MPartBegining", "Begining", ""},
    {2, "MPartCenter", "Center", ""},
    {2, "MPartEnd", "End", ""},
    {2, "MPartRandom", "Random Position", ""},
    {2, "-", "-", ""},
    {2, "MPartSetLength", "Set Length", ""},
    {1, "MRandomPlay", "Random play", ""},
    {1, "-", "-", ""},
    {1, "MControlWinamp", "Control Winamp", ""},
    {1, "MPopOut", "Pop-out Player", ""},

    {0, "MWindow", "Window", ""},
    {1, "MVerticalSplit", "Vertical Split", ""},
    {1, "MHorizontalSplit", "Horizontal Split", ""},
    {1, "MFullScreen", "Full Screen", ""},
    {1, "-", "-", ""},
    {1, "MChangeFocus", "Change focus", "Ctrl+Tab"},

    {0, "MHelp", "Help", ""},
    {1, "MHelpPages", "Help", "F1"},
    {1, "MFaq", "FAQ - Online", "Ctrl+F1"},
    {1, "MFeatures", "Features - Online", ""},
    {1, "MReportBug", "Report a Bug", ""},
    {1, "MNewVersion", "New Version ?", ""},
    {1, "-", "-", ""},
    {1, "MTranslate", "Translate", ""},
    {1, "-", "-", ""},
    {1, "MDonate", "Make a Donation", ""},
    {1, "MAbout", "About ...", "Alt+F1"},
};

void makeExclusive(MainMenu& m, std::initializer_list<const char*> names) {
    auto* group = new QActionGroup(m.actions.value(QString::fromLatin1(*names.begin())));
    group->setExclusive(true);
    for (const char* n : names) {
        QAction* a = m.actions.value(QString::fromLatin1(n));
        a->setCheckable(true);
        group->addAction(a);
    }
}
} // namespace

void MainMenu::build(QMenuBar* bar) {
    QMenu* top = nullptr;
    QMenu* sub = nullptr;
    const int count = int(sizeof(kMenu) / sizeof(kMenu[0]));
    for (int i = 0; i < count; ++i) {
        const Entry& e = kMenu[i];
        const QString name = QString::fromLatin1(e.name);
        const QString caption = QString::fromUtf8(e.caption);
        if (e.depth == 0) {
            top = bar->addMenu(caption);
            top->setObjectName(name);
            menus.insert(name, top);
            sub = nullptr;
            continue;
        }
        QMenu* parent = e.depth == 1 ? top : sub;
        if (e.depth == 1)
            sub = nullptr;
        if (name == QLatin1String("-")) {
            parent->addSeparator();
            continue;
        }
        const bool opensSubmenu = i + 1 < count && kMenu[i + 1].depth > e.depth;
        if (opensSubmenu) {
            sub = parent->addMenu(caption);
            sub->setObjectName(name);
            menus.insert(name, sub);
            continue;
        }
        QAction* a = parent->addAction(caption);
        a->setObjectName(name);
        a->setEnabled(false);
        if (*e.shortcut)
            a->setShortcut(QKeySequence(QString::fromLatin1(e.shortcut)));
        actions.insert(name, a);
    }
    makeExclusive(*this, {"MDirNormal", "MDirArtist", "MDirAlbum", "MDirGenre", "MDirArtistAlbum",
                          "MDirGenreArtist", "MDirCustom"});
    makeExclusive(*this, {"MFmtArtistSong", "MFmtArtistAlbumSong", "MFmtTrackSong",
                          "MFmtSongArtist", "MFmtSong", "MFmtCustom", "MFmtAuto"});
    makeExclusive(*this, {"MPartWhole", "MPartBegining", "MPartCenter", "MPartEnd", "MPartRandom"});
    // The Window menu ticks the layout in use.
    makeExclusive(*this, {"MVerticalSplit", "MHorizontalSplit", "MFullScreen"});
    actions.value("MPartWhole")->setChecked(true);
    actions.value("MPlayChecked")->setCheckable(true);
    actions.value("MRandomPlay")->setCheckable(true);
    actions.value("MControlWinamp")->setCheckable(true);
}

void MainMenu::refreshSubmenus() {
    for (QMenu* m : std::as_const(menus)) {
        if (!qobject_cast<QMenu*>(m->parent()))
            continue; // a top menu stays open to look into
        bool any = false;
        for (QAction* a : m->actions())
            any = any || (!a->isSeparator() && a->isEnabled());
        m->menuAction()->setEnabled(any);
    }
}
