#include "base/programfolder.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <unistd.h>

static QString withSlash(QString path) {
    if (!path.endsWith('/'))
        path += '/';
    return path;
}

QString resolveProgramFolder(const QString& executableFolder) {
    QString folder;
    const QByteArray env = qgetenv("RENDOLO_HOME");
    if (!env.isEmpty()) {
        folder = QString::fromLocal8Bit(env);
    } else if (!executableFolder.isEmpty() &&
               ::access(QFile::encodeName(executableFolder).constData(), W_OK) == 0) {
        folder = executableFolder;
    } else {
        QString data = qEnvironmentVariable("XDG_DATA_HOME");
        if (data.isEmpty())
            data = QDir::homePath() + "/.local/share";
        folder = data + "/rendolo";
    }
    folder = withSlash(QFileInfo(folder).absoluteFilePath());
    QDir().mkpath(folder);
    return folder;
}
