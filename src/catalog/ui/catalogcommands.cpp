#include "catalog/ui/catalogcommands.h"

#include "base/commandenv.h"
#include "base/settings.h"
#include "catalog/catalogue.h"
#include "catalog/cataloguecommands.h"
#include "catalog/cataloguemenu.h"
#include "lists/commandrouter.h"

#include <QActionGroup>
#include <QMenu>

namespace {
// AddCatalogueMenuItem: a radio entry after "Create New" and its separator. The
// caption is shown as it is ("&" is no accelerator); the entry keeps the real file name.
void addCatalogueEntry(CommandRouter& router, QMenu& menu, QActionGroup& group,
                       const CatalogueEntry& entry) {
    QAction* a =
        menu.addAction(QString(entry.caption).replace(QLatin1Char('&'), QLatin1String("&&")));
    a->setCheckable(true);
    a->setChecked(entry.checked);
    group.addAction(a);
    router.bind(a, QStringLiteral("ChooseCatalogue"), {}, {entry.fileName, entry.caption});
}
} // namespace

void bindCatalogueCommands(CommandRouter& router, QMenu& databaseMenu) {
    CommandEnv& env = router.env();
    QMenu* fileMenu = databaseMenu.findChild<QMenu*>(QStringLiteral("MDatabaseFile"));
    QAction* namesOnly = databaseMenu.findChild<QAction*>(QStringLiteral("MLoadDbNames"));
    const CommandFlags changesPane = CommandFlag::ChangesPane | CommandFlag::LongRunning;

    router.add("MSaveDbList", changesPane,
               [](CommandContext& c) { saveListToCatalogue(c.env, *c.pane.model); });
    // The scan goes into a pane of its own: the visible panes are not touched. The CD
    // lookup of audio-CD tracks joins when CDDB lookups exist.
    router.add("MSaveDbCd", CommandFlag::LongRunning,
               [](CommandContext& c) { catalogueCd(c.env); });
    for (const bool byKey : {false, true})
        router.add(byKey ? "MLoadDbByKey" : "MLoadDbAll", changesPane,
                   [byKey, namesOnly](CommandContext& c) {
                       loadFromDatabase(c.env, *c.pane.model, byKey,
                                        namesOnly && namesOnly->isChecked());
                   });
    if (namesOnly) { // a toggle the loads read; unchecked at start, not stored
        namesOnly->setCheckable(true);
        namesOnly->setChecked(false);
        namesOnly->setEnabled(true);
    }
    // Compaction closes the catalogue connection: never while a save or load runs.
    router.add("MCompact", CommandFlag::LongRunning,
               [](CommandContext& c) { compactDatabase(c.env); });

    // The clicked entry becomes the current catalogue and [Settings] DefaultDB at once;
    // the open connection stays as it is.
    router.add("ChooseCatalogue", CommandFlag::None, [](CommandContext& c) {
        c.env.catalogue->setCurrentFile(c.arguments.value(0));
        const QString caption = c.arguments.value(1);
        c.env.settings.setValue("DefaultDB", caption);
        c.env.settings.file().writeString("Settings", "DefaultDB", caption);
        c.env.settings.file().save();
    });
    if (!fileMenu)
        return;
    auto* group = new QActionGroup(fileMenu);
    group->setExclusive(true);
    env.catalogue->setCurrentFile({});
    for (const CatalogueEntry& e :
         catalogueEntries(env.catalogue->programFolder(), env.settings.text("DefaultDB"))) {
        addCatalogueEntry(router, *fileMenu, *group, e);
        if (e.checked)
            env.catalogue->setCurrentFile(e.fileName);
    }
    router.add("MDbCreateNew", CommandFlag::None, [&router, fileMenu, group](CommandContext& c) {
        const QString fileName = createNewCatalogue(c.env);
        if (!fileName.isEmpty()) // the new catalogue is listed, unchecked
            addCatalogueEntry(router, *fileMenu, *group,
                              {fileName.left(fileName.size() - 4), fileName, false});
    });
}
