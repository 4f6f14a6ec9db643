// The catalogue files of the program folder that the "Database File" menu lists.
#pragma once

#include <QList>
#include <QString>

class Settings;

struct CatalogueFile {
    QString caption;      // the file name without ".db3"
    bool current = false; // the default catalogue (DefaultDB)
};

// The "*.db3" files of the folder in name order; `current` marks the one named by DefaultDB
// (without regard to case).
QList<CatalogueFile> catalogueFiles(const QString& programFolder, const Settings& settings);
// Makes a catalogue the default one and writes DefaultDB at once.
void chooseDefaultCatalogue(Settings& settings, const QString& caption);
