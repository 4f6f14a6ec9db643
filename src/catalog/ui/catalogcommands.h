// Registers the catalogue commands with the router and fills the "Database File" menu.
#pragma once

class CommandRouter;
class QMenu;

void bindCatalogueCommands(CommandRouter& router, QMenu& databaseFileMenu);
