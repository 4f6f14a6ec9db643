#include "fileops/noreplace.h"

#include "base/nativepath.h"

#include <cerrno>
#include <cstdio>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// Linux's renameat2 does it in one step; where the file system does not support the flag
// (some FUSE and network file systems answer EINVAL), a file is linked to its new name and
// unlinked from the old (link never replaces); a folder, or a file system without hard
// links, falls back to look-then-rename.
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
        if (errno != EPERM && errno != EOPNOTSUPP && errno != EXDEV && errno != ENOSYS)
            return errno; // EEXIST among them
    }
    struct stat target {};
    if (::lstat(to, &target) == 0)
        return EEXIST;
    return std::rename(from, to) == 0 ? 0 : errno;
}

bool caseTwins(const QByteArray& a, const QByteArray& b) {
    if (a == b)
        return false;
    return fromNativePath(a).compare(fromNativePath(b), Qt::CaseInsensitive) == 0;
}

bool listFolder(const QByteArray& folder, QList<QByteArray>& names) {
    DIR* d = ::opendir(folder.isEmpty() ? "." : folder.constData());
    if (!d)
        return false;
    while (const dirent* e = ::readdir(d)) {
        const char* n = e->d_name;
        if (n[0] == '.' && (n[1] == 0 || (n[1] == '.' && n[2] == 0)))
            continue;
        names.append(QByteArray(n));
    }
    ::closedir(d);
    return true;
}

namespace {
// What listing the folder says about a case-only rename.
enum class Listed { Free, Taken, SourceMissing, Unreadable };
Listed examine(const QByteArray& folder, const QByteArray& from, const QByteArray& to) {
    QList<QByteArray> names;
    if (!listFolder(folder, names))
        return Listed::Unreadable;
    bool source = false;
    for (const QByteArray& n : std::as_const(names)) {
        if (n == to)
            return Listed::Taken; // that exact spelling is another entry (or this one already)
        if (n == from)
            source = true;
        else if (caseTwins(n, to))
            return Listed::Taken; // another entry the file system would take for the new name
    }
    return source ? Listed::Free : Listed::SourceMissing;
}
} // namespace

int renameCaseOnly(const QByteArray& folder, const QByteArray& from, const QByteArray& to) {
    switch (examine(folder, from, to)) {
    case Listed::Taken:
        return EEXIST;
    case Listed::SourceMissing:
        return ENOENT;
    case Listed::Unreadable:
        return errno ? errno : EACCES;
    case Listed::Free:
        break;
    }
    const QByteArray src = joinPath(folder, from);
    const QByteArray dst = joinPath(folder, to);
    // Step one: a temporary name in the same folder that nothing else uses.
    QByteArray temp;
    int code = EEXIST;
    for (int n = 0; n < 100 && code == EEXIST; ++n) {
        temp = joinPath(folder, ".rendolo-rename-" + QByteArray::number(::getpid()) + "-" +
                                    QByteArray::number(n));
        code = renameNoReplace(src.constData(), temp.constData());
    }
    if (code != 0)
        return code;
    // Step two: the new spelling; back to the old name when it fails.
    code = renameNoReplace(temp.constData(), dst.constData());
    if (code != 0) {
        renameNoReplace(temp.constData(), src.constData());
        return code;
    }
    // A file system that keeps no case (a FAT mount with shortname=lower) took the rename
    // but lists the old spelling: that is no success.
    QList<QByteArray> names;
    if (listFolder(folder, names) && !names.contains(to))
        return ENOTSUP;
    return 0;
}

QByteArray parentPath(const QByteArray& path) {
    const QByteArray p = withoutTrailingSlash(path);
    const qsizetype slash = p.lastIndexOf('/');
    if (slash < 0)
        return ".";
    if (slash == 0)
        return "/";
    return p.left(slash);
}

QByteArray lastComponent(const QByteArray& path) {
    const QByteArray p = withoutTrailingSlash(path);
    return p.mid(p.lastIndexOf('/') + 1);
}

QByteArray withoutTrailingSlash(QByteArray path) {
    while (path.size() > 1 && path.endsWith('/'))
        path.chop(1);
    return path;
}

QByteArray joinPath(const QByteArray& folder, const QByteArray& name) {
    if (folder.isEmpty() || folder == ".")
        return name;
    return folder.endsWith('/') ? folder + name : folder + '/' + name;
}
