#include "catalog/cataloguefiles.h"

#include "base/settings.h"

#include <QDir>
#include <QFileInfo>

QList<CatalogueFile> catalogueFiles(const QString& programFolder, const Settings& settings) {
    QList<CatalogueFile> files;
    const QString current = settings.text("DefaultDB");
    for (const QString& f : QDir(programFolder).entryList({"*.db3"}, QDir::Files, QDir::Name)) {
        const QString caption = QFileInfo(f).completeBaseName();
        files.append({caption, caption.compare(current, Qt::CaseInsensitive) == 0});
    }
    return files;
}

void chooseDefaultCatalogue(Settings& settings, const QString& caption) {
    settings.setValue("DefaultDB", caption);
    settings.file().writeString("Settings", "DefaultDB", caption);
    settings.file().save();
}
