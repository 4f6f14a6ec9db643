// Registers the song lists' commands with the router: adding folders, every disk,
// drops and the command line's songs.
#pragma once

class CommandRouter;
class TFFrame;

void bindListCommands(CommandRouter& router, TFFrame& frame1, TFFrame& frame2);
