// The browse panel's history of folders, shared through section [History] of
// settings.set (one key per folder, value "1"). Changes are written at once.
#pragma once

#include <QStringList>

class IniFile;

class FolderHistory {
public:
    explicit FolderHistory(IniFile& settingsFile);

    const QStringList& folders() const { return m_folders; }
    // Appends the folder unless the list holds that text already; true when added.
    bool add(const QString& folder);
    void remove(const QString& folder);

private:
    IniFile& m_file;
    QStringList m_folders;
};
