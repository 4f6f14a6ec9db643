// Registers the shell's window commands with the router: settings, translation, about,
// donation, and the pattern entries of the "Type Of Conversion" and "(Move / Copy) Type"
// menus, which choose the settings window's patterns.
#pragma once

class QWidget;
class TFMain;
class TFSettings;

struct ShellWindows {
    TFSettings& settings;
    QWidget& translate;
    QWidget& about;
    QWidget& donation;
};

void bindShellCommands(TFMain& main, ShellWindows windows);
