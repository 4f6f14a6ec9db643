#include "app/desktopintegration.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>

namespace {
// Writes the file only when its content changed; true when it holds that content.
bool writeIfChanged(const QString& path, const QByteArray& content, bool* changed = nullptr) {
    if (changed)
        *changed = false;
    QFile old(path);
    if (old.open(QIODevice::ReadOnly) && old.readAll() == content)
        return true;
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(content) != content.size() || !f.commit())
        return false;
    if (changed)
        *changed = true;
    return true;
}

void runQuietly(const QString& program, const QStringList& args) {
    const QString exe = QStandardPaths::findExecutable(program);
    if (!exe.isEmpty())
        QProcess::startDetached(exe, args);
}

QString quoteExec(const QString& path) {
    QString p = path;
    p.replace('\\', "\\\\").replace('"', "\\\"");
    return '"' + p + '"';
}
} // namespace

DesktopIntegration DesktopIntegration::forCurrentUser(const QString& executable) {
    DesktopIntegration d;
    d.dataHome = qEnvironmentVariable("XDG_DATA_HOME");
    if (d.dataHome.isEmpty())
        d.dataHome = QDir::homePath() + "/.local/share";
    d.executable = executable;
    d.iconSource = QStringLiteral(":/icons/rendolo.png");
    return d;
}

bool DesktopIntegration::installMenuEntry() const {
    QFile icon(iconSource);
    bool ok = true;
    if (icon.open(QIODevice::ReadOnly))
        ok = writeIfChanged(dataHome + "/icons/hicolor/64x64/apps/rendolo.png", icon.readAll());
    const QByteArray entry =
        "[Desktop Entry]\n"
        "Type=Application\n"
        "Name=Rendolo\n"
        "GenericName=MP3 Collection Manager\n"
        "Comment=Tag, rename, organise and catalogue MP3 files\n"
        "Exec=" +
        quoteExec(executable).toUtf8() +
        " %F\n"
        "Icon=rendolo\n"
        "Terminal=false\n"
        "Categories=AudioVideo;Audio;Qt;\n"
        "MimeType=audio/mpeg;application/x-rendolo-list;application/x-rendolo-lyrics;"
        "application/x-rendolo-catalogue;inode/directory;\n";
    bool changed = false;
    ok = writeIfChanged(dataHome + "/applications/rendolo.desktop", entry, &changed) && ok;
    if (changed)
        runQuietly("update-desktop-database", {dataHome + "/applications"});
    return ok;
}

bool DesktopIntegration::registerFileTypes() const {
    const QByteArray xml =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
        "  <mime-type type=\"application/x-rendolo-list\">\n"
        "    <comment>Rendolo song list</comment>\n"
        "    <glob pattern=\"*.rnl\"/>\n"
        "  </mime-type>\n"
        "  <mime-type type=\"application/x-rendolo-lyrics\">\n"
        "    <comment>Rendolo lyrics store</comment>\n"
        "    <glob pattern=\"*.lyr\"/>\n"
        "  </mime-type>\n"
        "  <mime-type type=\"application/x-rendolo-catalogue\">\n"
        "    <comment>Rendolo catalogue</comment>\n"
        "    <sub-class-of type=\"application/vnd.sqlite3\"/>\n"
        "    <glob pattern=\"*.db3\"/>\n"
        "  </mime-type>\n"
        "</mime-info>\n";
    bool changed = false;
    const bool ok = writeIfChanged(dataHome + "/mime/packages/rendolo.xml", xml, &changed);
    if (changed)
        runQuietly("update-mime-database", {dataHome + "/mime"});
    return ok;
}
