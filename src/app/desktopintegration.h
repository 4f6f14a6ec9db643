// The program's place in the desktop: a freedesktop menu entry ("Add To Start
// Menu") and the MIME types of its own files ("Register Types On Startup"), in
// the user's XDG data folder. Failures are returned, never raised.
#pragma once

#include <QString>

struct DesktopIntegration {
    QString dataHome;   // $XDG_DATA_HOME or ~/.local/share
    QString executable; // absolute path of the program
    QString iconSource; // a PNG to install as the program's icon (a resource path works)

    static DesktopIntegration forCurrentUser(const QString& executable);

    // Writes or refreshes the menu entry and icon; true when the entry is in place.
    bool installMenuEntry() const;
    // Writes or refreshes the MIME types for ".rnl", ".lyr" and ".db3"; true when in place.
    bool registerFileTypes() const;
};
