// What the "Database File" menu lists: the catalogues of the program folder.
#pragma once

#include <QList>
#include <QString>

struct CatalogueEntry {
    QString caption;  // the file name without its extension
    QString fileName; // the file's real name ("Music.DB3")
    bool checked = false;
};

// FillCatalogueMenu's entries: the "*.db3" files of the folder (the extension in any
// letter case; hidden files and folders left out), sorted without regard to case.
// The first entry whose caption equals defaultName exactly (case included) is checked.
QList<CatalogueEntry> catalogueEntries(const QString& folder, const QString& defaultName);

// Whether a name typed for "Create New" can name a catalogue file in the program
// folder: not empty, not starting with "." (hidden, "." and ".."), no "/" and no
// control characters.
bool isValidCatalogueName(const QString& name);
