// Registers the list editing commands with the router: the Checked and Edit menus,
// "Clear Current List", the panes' context menus, the keys of a list, the find and
// jump windows, and drags of rows between the panes.
#pragma once

class CommandRouter;
class TFFilter;
class TFFind;
class TFFrame;

void bindListEditCommands(CommandRouter& router, TFFrame& frame1, TFFrame& frame2, TFFind& find,
                          TFFilter& filter);
