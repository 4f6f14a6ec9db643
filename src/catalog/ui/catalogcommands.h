// Registers the catalogue commands of the "Database" menu with the router and fills
// its "Database File" submenu with one radio entry per catalogue (FillCatalogueMenu).
#pragma once

class CommandRouter;
class QMenu;

// databaseMenu: the "Database" menu; its entries are found by their object names.
void bindCatalogueCommands(CommandRouter& router, QMenu& databaseMenu);
