#include "lists/ui/listcommands.h"

#include "base/commandenv.h"
#include "base/prompt.h"
#include "base/translator.h"
#include "lists/addfiles.h"
#include "lists/commandrouter.h"
#include "lists/folderscanner.h"
#include "lists/listsort.h"
#include "lists/ui/listfilecommands.h"
#include "lists/ui/tfframe.h"

void bindListCommands(CommandRouter& router, TFFrame& frame1, TFFrame& frame2) {
    const auto frameOf = [&frame1, &frame2](const CommandContext& c) -> TFFrame& {
        return c.pane.number == 0 ? frame1 : frame2;
    };
    const CommandFlags adds = CommandFlag::ChangesPane | CommandFlag::LongRunning;

    // The pane's "+" and "++" buttons scan the folder in its box.
    for (const bool recursive : {false, true})
        router.add(recursive ? "BAddS" : "BAdd", adds, [frameOf, recursive](CommandContext& c) {
            addFolder(c.env, *c.pane.model, frameOf(c).takeFolderBoxText(), recursive);
        });
    // File menu "Add (folder)" / "AddS (folder and subfolders)": the folder from a dialog.
    for (const bool recursive : {false, true})
        router.add(recursive ? "MAddS" : "MAdd", adds, [frameOf, recursive](CommandContext& c) {
            TFFrame& frame = frameOf(c);
            const QString folder =
                c.env.prompt.chooseFolder(T("SelectDir", "Select Directory"), frame.folderText());
            if (folder.isEmpty())
                return;
            frame.setFolderText(folder.endsWith('/') ? folder : folder + '/');
            addFolder(c.env, *c.pane.model, frame.takeFolderBoxText(), recursive);
        });
    router.add("MFindAll", adds,
               [](CommandContext& c) { addAllDisks(c.env, *c.pane.model, localDiskRoots()); });
    router.add("Drop", adds, [frameOf](CommandContext& c) {
        // A list file among the dropped paths is loaded and ends the drop.
        const QString listFile = addDropped(c.env, *c.pane.model, c.arguments);
        if (!listFile.isEmpty())
            loadListFileInto(c, frameOf(c), listFile);
    });
    router.add("CommandLineSongs", adds,
               [](CommandContext& c) { addSongs(c.env, *c.pane.model, c.arguments); });

    bindListFileCommands(router, frame1, frame2);

    // A column header click: arguments are the column and "asc" or "desc".
    router.add("SortList", CommandFlag::ChangesPane, [](CommandContext& c) {
        sortList(*c.pane.model, c.arguments.value(0).toInt(),
                 c.arguments.value(1) == QLatin1String("desc") ? Qt::DescendingOrder
                                                               : Qt::AscendingOrder);
    });

    for (TFFrame* frame : {&frame1, &frame2}) {
        QObject::connect(frame, &TFFrame::addRequested, &router, [&router, frame](bool recursive) {
            router.runOn(recursive ? "BAddS" : "BAdd", frame->paneRef());
        });
        QObject::connect(frame, &TFFrame::sortRequested, &router,
                         [&router, frame](int column, Qt::SortOrder order) {
                             router.runOn("SortList", frame->paneRef(),
                                          {QString::number(column),
                                           order == Qt::DescendingOrder ? "desc" : "asc"});
                         });
    }
}
