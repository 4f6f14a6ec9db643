// Where the program keeps its data files (catalogues, lyrics, settings, languages).
#pragma once

#include <QString>

// The executable's folder when it is writable (a portable install), else
// $XDG_DATA_HOME/rendolo/ (~/.local/share/rendolo/). RENDOLO_HOME overrides both.
// The result always ends with "/" and the folder exists (created when missing).
QString resolveProgramFolder(const QString& executableFolder);
