#include "lists/ui/listfilecommands.h"

#include "lists/columns.h"
#include "lists/commandrouter.h"
#include "lists/listfiles.h"
#include "lists/playlists.h"
#include "lists/ui/songlistview.h"
#include "lists/ui/tfframe.h"

#include <QHeaderView>

namespace {
// The widths the pane shows its columns with (0 for a hidden one), for ".dat".
ListSaveOptions saveOptions(TFFrame& frame) {
    ListSaveOptions options;
    const QHeaderView* header = frame.list().horizontalHeader();
    for (int c = 0; c < ListColumnCount; ++c)
        options.columnWidths[size_t(c)] = header->isSectionHidden(c) ? 0 : header->sectionSize(c);
    return options;
}
} // namespace

void loadListFileInto(CommandContext& c, TFFrame& frame, const QString& file) {
    const ListLoadResult r = loadList(c.env, *c.pane.model, frame.listFileState(), file);
    if (r.resetHeaders)
        frame.setColumnHeaders();
}

void bindListFileCommands(CommandRouter& router, TFFrame& frame1, TFFrame& frame2) {
    const auto frameOf = [&frame1, &frame2](const CommandContext& c) -> TFFrame& {
        return c.pane.number == 0 ? frame1 : frame2;
    };
    // Saving reads the rows while the window stays live: nothing may change them meanwhile.
    const CommandFlags uses = CommandFlag::ChangesPane | CommandFlag::LongRunning;

    // The pane's buttons, and the File menu's "Save" / "Load" for the active pane.
    for (const char* name : {"BSave", "MSave"})
        router.add(name, uses, [frameOf](CommandContext& c) {
            TFFrame& frame = frameOf(c);
            pressSave(c.env, *c.pane.model, frame.listFileState(), 0, saveOptions(frame));
        });
    for (const char* name : {"BLoad", "MLoad"})
        router.add(name, uses, [frameOf](CommandContext& c) {
            TFFrame& frame = frameOf(c);
            if (pressLoad(c.env, *c.pane.model, frame.listFileState()).resetHeaders)
                frame.setColumnHeaders();
        });
    // The command line's list file.
    router.add("LoadListFile", uses, [frameOf](CommandContext& c) {
        if (!c.arguments.isEmpty())
            loadListFileInto(c, frameOf(c), c.arguments.first());
    });

    // "Save As Playlist": the whole list through the save dialog with ".m3u" chosen, or
    // one playlist per artist, album, genre or year.
    router.add("MPlaylistWhole", uses, [frameOf](CommandContext& c) {
        TFFrame& frame = frameOf(c);
        pressSave(c.env, *c.pane.model, frame.listFileState(), int(ListFormat::M3u),
                  saveOptions(frame));
    });
    const std::pair<const char*, PlaylistGroup> groups[] = {
        {"MPlaylistArtist", PlaylistGroup::Artist},
        {"MPlaylistAlbum", PlaylistGroup::Album},
        {"MPlaylistGenre", PlaylistGroup::Genre},
        {"MPlaylistYear", PlaylistGroup::Year},
    };
    for (const auto& [name, group] : groups)
        router.add(name, uses, [group](CommandContext& c) {
            groupPlaylistsCommand(c.env, *c.pane.model, group);
        });

    for (TFFrame* frame : {&frame1, &frame2}) {
        QObject::connect(frame, &TFFrame::loadRequested, &router,
                         [&router, frame] { router.runOn("BLoad", frame->paneRef()); });
        QObject::connect(frame, &TFFrame::saveRequested, &router,
                         [&router, frame] { router.runOn("BSave", frame->paneRef()); });
    }
}
