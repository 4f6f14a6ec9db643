// Registers the collection tools' commands with the router: the statistics window's
// "Statistics", "Detailed Statistics" and "Show Details", and the first-time organiser.
#pragma once

class CommandRouter;
class TFFirstTime;
class TFStatistics;

struct ToolWindows {
    TFStatistics& statistics;
    TFFirstTime& firstTime;
};

void bindToolCommands(CommandRouter& router, ToolWindows windows);
