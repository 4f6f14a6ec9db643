// Registers the list file commands with the router: the panes' load and save buttons,
// the File menu's "Load", "Save" and "Save As Playlist" entries, and the list file the
// command line or a drop opens.
#pragma once

#include <QString>

class CommandRouter;
class TFFrame;
struct CommandContext;

void bindListFileCommands(CommandRouter& router, TFFrame& frame1, TFFrame& frame2);

// LoadList into the frame's pane; sets the column headers again after ".xls" and ".dat".
void loadListFileInto(CommandContext& context, TFFrame& frame, const QString& file);
