// A FAT image mounted through FUSE (fusefat), for tests of case-insensitive names and of
// file systems without a trash; mounted() is false where FUSE or the tools are missing.
#pragma once

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>

#include <sys/stat.h>
#include <unistd.h>

// A FAT image mounted through FUSE, unmounted at the end; mounted() is false without
// FUSE or the tools.
class FatMount {
public:
    explicit FatMount(const QString& folder) : m_folder(folder) {
        m_image = folder + "/fat.img";
        m_mount = folder + "/mnt";
        QDir().mkpath(m_mount);
        const QString mkfs = QStandardPaths::findExecutable("mkfs.fat", {"/usr/sbin", "/sbin"});
        if (QStandardPaths::findExecutable("fusefat").isEmpty() || mkfs.isEmpty() ||
            ::access("/dev/fuse", R_OK | W_OK) != 0)
            return;
        QFile img(m_image);
        if (!img.open(QIODevice::WriteOnly) || !img.resize(8 << 20))
            return;
        img.close();
        QProcess mk;
        mk.start(mkfs, {m_image});
        if (mk.waitForFinished(10000) && mk.exitCode() == 0)
            mount(false);
    }
    ~FatMount() { unmount(); }
    bool mount(bool readOnly) {
        QProcess fuse;
        fuse.start("fusefat", {"-o", readOnly ? "ro" : "rw+", m_image, m_mount});
        fuse.waitForFinished(10000);
        struct stat a {
        }, b{};
        m_mounted = fuse.exitCode() == 0 &&
                    ::stat(QFile::encodeName(m_folder).constData(), &a) == 0 &&
                    ::stat(QFile::encodeName(m_mount).constData(), &b) == 0 && a.st_dev != b.st_dev;
        return m_mounted;
    }
    void unmount() {
        if (m_mounted)
            QProcess::execute("fusermount", {"-u", m_mount});
        m_mounted = false;
    }
    bool mounted() const { return m_mounted; }
    QString path(const QString& name) const { return m_mount + '/' + name; }

private:
    QString m_folder, m_image, m_mount;
    bool m_mounted = false;
};
