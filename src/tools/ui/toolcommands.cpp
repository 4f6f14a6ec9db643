#include "tools/ui/toolcommands.h"

#include "lists/commandrouter.h"
#include "tools/ui/tffirsttime.h"
#include "tools/ui/tfstatistics.h"

void bindToolCommands(CommandRouter& router, ToolWindows windows) {
    // The count reads the pane's rows while events run: it holds the pane as a change
    // would, so nothing removes rows under it, and the progress window as a long one.
    const CommandFlags statistics =
        CommandFlag::NeedsSelection | CommandFlag::ChangesPane | CommandFlag::LongRunning;
    TFStatistics& window = windows.statistics;
    router.add("MStatistics", statistics,
               [&window](CommandContext& c) { window.open(c.env, c.pane, false); });
    router.add("MDetailedStatistics", statistics,
               [&window](CommandContext& c) { window.open(c.env, c.pane, true); });
    router.add("BShowDetails", statistics,
               [&window](CommandContext& c) { window.showDetails(c.env, c.pane); });
    QObject::connect(&window, &TFStatistics::detailsRequested, &router,
                     [&router] { router.run("BShowDetails"); });

    router.add("MFirstTime", CommandFlag::None,
               [&organiser = windows.firstTime](CommandContext&) { organiser.showBeside(); });
}
