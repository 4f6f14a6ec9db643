#include "lists/folderinput.h"

#include "base/nativepath.h"

#include <QDir>

#include <cerrno>

#include <sys/stat.h>
#include <unistd.h>

#include <vector>

namespace {
QString workingFolder() {
    // From the system, not QDir::currentPath(): a folder name that is not UTF-8 keeps its bytes.
    std::vector<char> buffer(4096);
    while (::getcwd(buffer.data(), buffer.size()) == nullptr) {
        if (errno != ERANGE || buffer.size() > (1u << 20))
            return QDir::currentPath();
        buffer.resize(buffer.size() * 2);
    }
    return fromNativePath(QByteArray(buffer.data()));
}

QString homeFolder() {
    const QByteArray home = qgetenv("HOME");
    return home.isEmpty() ? QDir::homePath() : fromNativePath(home);
}
} // namespace

QString absoluteFolder(const QString& folder) {
    if (folder.isEmpty())
        return {};
    QString path = folder;
    if (!path.startsWith('/'))
        path = workingFolder() + '/' + path;
    path = QDir::cleanPath(path);
    if (!path.endsWith('/'))
        path += '/';
    return path;
}

QString typedFolder(const QString& text) {
    QString t = text.trimmed();
    if (t.isEmpty())
        return {};
    if (t == QLatin1String("~") || t.startsWith(QLatin1String("~/")))
        t = homeFolder() + t.mid(1);
    return absoluteFolder(t);
}

bool folderExists(const QString& folder) {
    struct stat st {};
    return !folder.isEmpty() && ::stat(toNativePath(folder).constData(), &st) == 0 &&
           S_ISDIR(st.st_mode);
}
