#include "lists/folderhistory.h"

#include "base/inifile.h"

namespace {
const QString kSection = QStringLiteral("History");
}

FolderHistory::FolderHistory(IniFile& settingsFile)
    : m_file(settingsFile), m_folders(settingsFile.keys(kSection)) {}

bool FolderHistory::add(const QString& folder) {
    if (folder.isEmpty() || m_folders.contains(folder))
        return false;
    m_folders << folder;
    m_file.writeString(kSection, folder, QStringLiteral("1"));
    m_file.save();
    return true;
}

void FolderHistory::remove(const QString& folder) {
    if (!m_folders.removeOne(folder))
        return;
    m_file.deleteKey(kSection, folder);
    m_file.save();
}
