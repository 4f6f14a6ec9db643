#include "fileops/fileoperations.h"

#include "base/nativepath.h"
#include "media/id3v1.h"
#include "media/id3v2.h"
#include "media/mediafile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
FileOperations::Result systemFailure(const QString& what, int code) {
    return FileOperations::Result::failure(
        what + ": " + QString::fromLocal8Bit(std::strerror(code)), code);
}

// rename(2) that fails with EEXIST instead of replacing. Linux's renameat2 does it in one
// step; where the file system does not support the flag (some FUSE and network file
// systems answer EINVAL), a file is linked to its new name and unlinked from the old
// (link never replaces); a folder falls back to look-then-rename.
int renameNoReplace(const char* from, const char* to) {
    if (::renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP)
        return errno;
    struct stat st {};
    if (::lstat(from, &st) != 0)
        return errno;
    if (!S_ISDIR(st.st_mode)) {
        if (::link(from, to) == 0) {
            if (::unlink(from) == 0)
                return 0;
            const int code = errno;
            ::unlink(to); // undo: the file keeps its old name only
            return code;
        }
        if (errno != EPERM && errno != EOPNOTSUPP && errno != EXDEV)
            return errno; // EEXIST among them
    }
    struct stat target {};
    if (::lstat(to, &target) == 0)
        return EEXIST;
    return std::rename(from, to) == 0 ? 0 : errno;
}
} // namespace

namespace {
// The media library's report as a result: its reason on failure, its notes on success.
FileOperations::Result fromReport(bool saved, const media::SaveReport& report) {
    if (!saved)
        return FileOperations::Result::failure(QString::fromStdString(report.error));
    FileOperations::Result r;
    for (const std::string& n : report.notes)
        r.notes << QString::fromStdString(n);
    return r;
}
} // namespace

FileOperations::Result FileOperations::saveId3v1(const TID3v1& tag, const QString& path) {
    media::SaveReport report;
    return fromReport(tag.Save(toNativePathString(path), &report), report);
}

FileOperations::Result FileOperations::stripId3v1(const TID3v1& tag, const QString& path) {
    media::SaveReport report;
    return fromReport(tag.Strip(toNativePathString(path), &report), report);
}

FileOperations::Result FileOperations::saveId3v2(const TID3v2& tag, const QString& path) {
    media::SaveReport report;
    return fromReport(tag.Save(toNativePathString(path), &report), report);
}

FileOperations::Result FileOperations::rename(const QString& from, const QString& to) {
    const QByteArray src = toNativePath(from);
    const QByteArray dst = toNativePath(to);
    if (src.isEmpty() || dst.isEmpty())
        return Result::failure(QStringLiteral("no file name"), ENOENT);
    if (const int code = renameNoReplace(src.constData(), dst.constData()))
        return systemFailure(code == EEXIST ? QStringLiteral("the new name exists")
                                            : QStringLiteral("cannot rename"),
                             code);
    return {};
}
