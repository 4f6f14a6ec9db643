// The list file types: the save dialog's nine entries, the six the open dialog offers,
// and which type a file name stands for.
#pragma once

#include <QString>
#include <QStringList>

// The save dialog's entries, numbered as the dialog lists them.
enum class ListFormat { None = 0, Txt, Csv, Xls, Doc, Htm, M3u, Rnl, Dat, Xml };

inline constexpr int ListFormatCount = 9;

// ".txt" for Txt ... (the extension written).
QString listFormatExtension(ListFormat format);
// The type of a file by its extension, without regard to case (".html" is Htm,
// ".m3u8" M3u); None for any other.
ListFormat listFormatOfPath(const QString& path);
bool listFormatLoadable(ListFormat format);

// The save dialog's filter entries in entry order ("Text file (*.txt)", ...).
QStringList listSaveFilters();
// The open dialog's entries: all loadable types together, then each alone.
QStringList listOpenFilters();
// The save dialog entry preselected for a file shown in the title line: by its
// extension, the first entry for any other extension; 0 when the text names no file
// with an extension (a folder).
int listSaveEntryFor(const QString& titleFile);

// The name with the extension of the format: a list type's extension is replaced, any
// other text is kept and the extension appended (".html" and ".m3u8" stay as typed).
QString withListExtension(const QString& path, ListFormat format);
