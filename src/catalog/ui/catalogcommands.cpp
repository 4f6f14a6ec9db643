#include "catalog/ui/catalogcommands.h"

#include "base/commandenv.h"
#include "catalog/cataloguefiles.h"
#include "lists/commandrouter.h"

#include <QActionGroup>
#include <QMenu>

void bindCatalogueCommands(CommandRouter& router, QMenu& databaseFileMenu) {
    router.add("ChooseCatalogue", CommandFlag::None, [](CommandContext& c) {
        chooseDefaultCatalogue(c.env.settings, c.arguments.value(0));
    });
    auto* group = new QActionGroup(&databaseFileMenu);
    for (const CatalogueFile& f :
         catalogueFiles(router.env().programFolder, router.env().settings)) {
        QAction* a = databaseFileMenu.addAction(f.caption);
        a->setCheckable(true);
        a->setChecked(f.current);
        group->addAction(a);
        router.bind(a, "ChooseCatalogue", {}, {f.caption});
    }
}
