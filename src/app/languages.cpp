#include "app/languages.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

int installShippedLanguages(const QString& programFolder, const QString& from) {
    const QDir source(from);
    const QStringList shipped = source.entryList({QStringLiteral("*.lng")}, QDir::Files);
    if (shipped.isEmpty())
        return 0;
    const QString target = QDir(programFolder).filePath(QStringLiteral("language"));
    if (!QDir().mkpath(target))
        return 0;
    const QStringList present = QDir(target).entryList({QStringLiteral("*.lng")}, QDir::Files);
    int copied = 0;
    for (const QString& name : shipped) {
        bool exists = false;
        for (const QString& p : present)
            exists = exists || p.compare(name, Qt::CaseInsensitive) == 0;
        if (exists)
            continue;
        QFile in(source.filePath(name));
        if (!in.open(QIODevice::ReadOnly))
            continue;
        QSaveFile out(QDir(target).filePath(name));
        if (out.open(QIODevice::WriteOnly) && out.write(in.readAll()) >= 0 && out.commit())
            ++copied;
    }
    return copied;
}
