#include "fileops/fileoperations.h"

#include "base/nativepath.h"
#include "base/translator.h"
#include "fileops/noreplace.h"
#include "media/id3v1.h"
#include "media/id3v2.h"
#include "media/mediafile.h"

#include <cerrno>
#include <cstring>

#include <sys/stat.h>
#include <unistd.h>

namespace {
FileOperations::Result systemFailure(int code) {
    QString why;
    switch (code) {
    case EEXIST:
        why = T("ErrorNameExists", "the new name exists");
        break;
    case ENOTSUP:
        why = T("ErrorNoTrash", "its file system has no trash");
        break;
    default:
        why = QString::fromLocal8Bit(std::strerror(code));
    }
    return FileOperations::Result::failure(why, code);
}

// A regular file or a symlink: what file commands may rename, trash or delete. A row
// without a file name has its folder as path and is never touched.
bool isFileEntry(const struct stat& st) {
    return S_ISREG(st.st_mode) || S_ISLNK(st.st_mode);
}

FileOperations::Result notAFile() {
    return FileOperations::Result::failure(T("ErrorNotAFile", "not a file"), EISDIR);
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

FileOperations::Result FileOperations::renameBytes(const QByteArray& src, const QByteArray& dst) {
    if (src.isEmpty() || dst.isEmpty())
        return Result::failure(T("ErrorNameEmpty", "no file name"), ENOENT);
    int code = renameNoReplace(src.constData(), dst.constData());
    // On a case-insensitive mount the new spelling "exists": it is the file itself.
    if (code == EEXIST && parentPath(src) == parentPath(dst) &&
        caseTwins(lastComponent(src), lastComponent(dst)))
        code = renameCaseOnly(parentPath(src), lastComponent(src), lastComponent(dst));
    if (code != 0)
        return systemFailure(code);
    Result r;
    r.target = fromNativePath(dst);
    return r;
}

FileOperations::Result FileOperations::rename(const QString& from, const QString& to) {
    return renameBytes(toNativePath(from), toNativePath(to));
}

FileOperations::Result FileOperations::checkNewName(const QString& newName) {
    const QByteArray bytes = toNativePath(newName);
    if (bytes.isEmpty())
        return Result::failure(T("ErrorNameEmpty", "no file name"), EINVAL);
    if (bytes.contains('/'))
        return Result::failure(T("ErrorNameSlash", "a name may not hold \"/\""), EINVAL);
    if (bytes.contains('\0'))
        return Result::failure(T("ErrorNameZero", "a name may not hold a zero character"), EINVAL);
    if (bytes == "." || bytes == "..")
        return Result::failure(T("ErrorNameDots", "\".\" and \"..\" are not names"), EINVAL);
    if (bytes.size() > 255)
        return Result::failure(T("ErrorNameLong", "the name is longer than 255 bytes"),
                               ENAMETOOLONG);
    return {};
}

FileOperations::Result FileOperations::renameFile(const QString& folder, const QString& name,
                                                  const QString& newName) {
    if (Result r = checkNewName(newName); !r)
        return r;
    const QByteArray dir = toNativePath(folder);
    const QByteArray src = joinPath(dir, toNativePath(name));
    struct stat st {};
    if (name.isEmpty())
        return notAFile();
    if (::lstat(src.constData(), &st) != 0)
        return systemFailure(errno);
    if (!isFileEntry(st))
        return notAFile();
    return renameBytes(src, joinPath(dir, toNativePath(newName)));
}

FileOperations::Result FileOperations::renameFolder(const QString& folder, const QString& newName) {
    if (Result r = checkNewName(newName); !r)
        return r;
    const QByteArray src = withoutTrailingSlash(toNativePath(folder));
    struct stat st {};
    if (src.isEmpty() || src == "/" || ::lstat(src.constData(), &st) != 0)
        return src.isEmpty() || src == "/"
                   ? Result::failure(T("ErrorNotAFolder", "not a folder"), ENOTDIR)
                   : systemFailure(errno);
    if (S_ISLNK(st.st_mode) && ::stat(src.constData(), &st) != 0)
        return systemFailure(errno);
    if (!S_ISDIR(st.st_mode))
        return Result::failure(T("ErrorNotAFolder", "not a folder"), ENOTDIR);
    Result r = renameBytes(src, joinPath(parentPath(src), toNativePath(newName)));
    if (r)
        r.target += '/';
    return r;
}

FileOperations::Result FileOperations::moveToTrash(const QString& path) {
    const QByteArray bytes = toNativePath(path);
    struct stat st {};
    if (bytes.isEmpty() || ::lstat(bytes.constData(), &st) != 0)
        return systemFailure(bytes.isEmpty() ? ENOENT : errno);
    if (!isFileEntry(st))
        return notAFile();
    const DesktopTrash::Outcome out = m_trash.moveToTrash(bytes, st.st_dev);
    if (out.errorCode != 0)
        return systemFailure(out.errorCode);
    Result r;
    r.target = fromNativePath(out.trashed);
    return r;
}

bool FileOperations::lacksTrash(const QString& path) {
    const QByteArray bytes = toNativePath(path);
    struct stat st {};
    if (bytes.isEmpty() || ::lstat(bytes.constData(), &st) != 0 || !isFileEntry(st))
        return false;
    return !m_trash.available(bytes, st.st_dev);
}

FileOperations::Result FileOperations::deleteFile(const QString& path) {
    const QByteArray bytes = toNativePath(path);
    struct stat st {};
    if (bytes.isEmpty() || ::lstat(bytes.constData(), &st) != 0)
        return systemFailure(bytes.isEmpty() ? ENOENT : errno);
    if (!isFileEntry(st))
        return notAFile();
    if (::unlink(bytes.constData()) != 0)
        return systemFailure(errno);
    return {};
}
