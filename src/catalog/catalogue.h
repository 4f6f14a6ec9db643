// The catalogue service the commands share: which catalogue is current (the entry
// checked in the "Database File" menu), the one open catalogue connection, and the
// program-wide CatalogueChanged flag.
#pragma once

#include "catalog/cataloguestore.h"

#include <QString>

class Catalogue {
public:
    explicit Catalogue(QString programFolder);

    const QString& programFolder() const { return m_folder; }

    // The file of the checked "Database File" entry ("database.db3"); empty when no
    // entry is checked.
    void setCurrentFile(const QString& fileName) { m_currentFile = fileName; }
    const QString& currentFile() const { return m_currentFile; }
    // CurrentCataloguePath: the current file in the program folder; empty when none.
    QString currentPath() const;

    // OpenCatalogue: closes the connection and opens the file. On failure the
    // connection stays as it was (a missing file) or closed (a file that is no
    // catalogue); the status says why.
    StoreStatus open(const QString& path);
    void close() { m_store.close(); }
    bool isOpen() const { return m_store.isOpen(); }
    // The open catalogue (valid while isOpen()).
    CatalogueStore& store() { return m_store; }

    // CatalogueChanged: set by every write to a store, cleared by compaction; raises
    // the catalogue's use count at exit.
    bool changed() const { return m_changed; }
    void setChanged(bool on) { m_changed = on; }

private:
    QString m_folder;
    QString m_currentFile;
    CatalogueStore m_store;
    bool m_changed = false;
};
