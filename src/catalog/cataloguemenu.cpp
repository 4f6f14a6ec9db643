#include "catalog/cataloguemenu.h"

#include "base/nativepath.h"

#include <algorithm>
#include <dirent.h>
#include <sys/stat.h>

QList<CatalogueEntry> catalogueEntries(const QString& folder, const QString& defaultName) {
    QList<CatalogueEntry> entries;
    const QByteArray native = toNativePath(folder.endsWith('/') ? folder : folder + '/');
    DIR* dir = ::opendir(native.constData());
    if (!dir)
        return entries;
    while (const dirent* e = ::readdir(dir)) {
        const QByteArray name(e->d_name);
        if (name.startsWith('.') || name.size() <= 4 || !name.right(4).toLower().endsWith(".db3"))
            continue;
        struct stat st {};
        const QByteArray path = native + name;
        if (::stat(path.constData(), &st) != 0 || !S_ISREG(st.st_mode))
            continue;
        const QString fileName = fromNativePath(name);
        entries.append({fileName.left(fileName.size() - 4), fileName, false});
    }
    ::closedir(dir);
    std::sort(entries.begin(), entries.end(), [](const CatalogueEntry& a, const CatalogueEntry& b) {
        const int c = a.caption.compare(b.caption, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a.fileName < b.fileName;
    });
    for (CatalogueEntry& e : entries)
        if (e.caption == defaultName) {
            e.checked = true;
            break;
        }
    return entries;
}

bool isValidCatalogueName(const QString& name) {
    if (name.isEmpty() || name.startsWith(u'.'))
        return false;
    for (QChar c : name)
        if (c == u'/' || c.category() == QChar::Other_Control)
            return false;
    return true;
}
