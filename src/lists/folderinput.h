// Folders as the user types them into a pane's folder box, made into the absolute
// folder every row's Location is built from.
#pragma once

#include <QString>

// The folder an add scans: "~" and "~/..." become the home folder, a relative path is
// taken from the working folder, "." and ".." parts are resolved, and the result ends
// with "/". Empty for an empty (or blank) text.
QString typedFolder(const QString& text);

// An absolute form of a folder (a relative one from the working folder), ending with "/".
// Bytes that are not UTF-8 survive (see base/nativepath.h).
QString absoluteFolder(const QString& folder);

// Whether a typed folder names an existing folder.
bool folderExists(const QString& folder);
