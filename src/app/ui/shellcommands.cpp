#include "app/ui/shellcommands.h"

#include "app/ui/mainmenu.h"
#include "app/ui/tfmain.h"
#include "app/ui/tfsettings.h"
#include "base/commandenv.h"
#include "base/settings.h"
#include "lists/commandrouter.h"
#include "lists/patternchoices.h"

#include <QWidget>

namespace {
void showWindow(QWidget& w) {
    w.show();
    w.raise();
    w.activateWindow();
}
} // namespace

void bindShellCommands(TFMain& main, ShellWindows windows) {
    CommandRouter& router = main.router();
    const auto window = [&router](const char* name, QWidget& w) {
        router.add(name, CommandFlag::None, [&w](CommandContext&) { showWindow(w); });
    };
    window("MAbout", windows.about);
    window("MDonate", windows.donation);
    window("MTranslate", windows.translate);
    // The settings window, on the page an argument names (the columns menu asks for "List"),
    // with the focus on the control a second argument names (the first-time organiser's
    // "CBMp3Format_skip_").
    router.add("MSettings", CommandFlag::None, [&settings = windows.settings](CommandContext& c) {
        settings.showPage(c.arguments.value(0));
        showWindow(settings);
        if (c.arguments.size() > 1)
            if (auto* control = settings.findChild<QWidget*>(c.arguments.at(1)))
                control->setFocus();
    });

    // The pattern entries repeat the settings window's lists, entry by entry; "Custom"
    // keeps the entry chosen before when the pattern window is cancelled.
    const QList<PatternChoice>& files = fileNameChoices();
    for (int i = 0; i < files.size() && i < int(FileNamePatternActions.size()); ++i)
        if (FileNamePatternActions[i] && files[i].kind == PatternChoice::Kind::Pattern)
            router.add(
                FileNamePatternActions[i], CommandFlag::None, [c = files[i]](CommandContext& ctx) {
                    ctx.env.settings.setValue("Mp3FileFormat", QString::fromLatin1(c.pattern));
                    ctx.env.settings.setValue("Mp3FileFormat_text", QString::fromLatin1(c.text));
                });
    const QList<PatternChoice>& folders = folderChoices();
    for (int i = 0; i < folders.size() && i < int(FolderPatternActions.size()); ++i)
        if (FolderPatternActions[i] && folders[i].kind == PatternChoice::Kind::Pattern)
            router.add(FolderPatternActions[i], CommandFlag::None,
                       [i, c = folders[i]](CommandContext& ctx) {
                           ctx.env.settings.setValue("MoveCopyFileFormat",
                                                     QString::fromLatin1(c.pattern));
                           ctx.env.settings.setValue("CBDirStruct_skip_", i);
                       });
    router.add("MFmtCustom", CommandFlag::None,
               [&main, &settings = windows.settings](CommandContext&) {
                   settings.chooseCustomFileFormat();
                   main.syncPatternMenus();
               });
    router.add("MDirCustom", CommandFlag::None,
               [&main, &settings = windows.settings](CommandContext&) {
                   settings.chooseCustomFolderFormat();
                   main.syncPatternMenus();
               });
}
