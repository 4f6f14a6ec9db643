#include "fileops/trash.h"

#include "fileops/noreplace.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <ctime>

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
bool isAbsolute(const QByteArray& p) {
    return p.startsWith('/');
}

QByteArray absolutePath(const QByteArray& path) {
    if (isAbsolute(path))
        return path;
    char buf[PATH_MAX];
    if (!::getcwd(buf, sizeof buf))
        return path;
    return joinPath(QByteArray(buf), path);
}

// mkdir -p; the folders made get `mode`. True when the folder exists afterwards.
bool makeFolders(const QByteArray& path, mode_t mode) {
    struct stat st {};
    if (::stat(path.constData(), &st) == 0)
        return S_ISDIR(st.st_mode);
    const QByteArray parent = parentPath(path);
    if (parent != path && parent != "/" && parent != "." && !makeFolders(parent, 0755))
        return false;
    if (::mkdir(path.constData(), mode) != 0 && errno != EEXIST)
        return false;
    return ::stat(path.constData(), &st) == 0 && S_ISDIR(st.st_mode);
}

// A folder of the trash: a real folder (no symlink) that belongs to the user.
bool ownFolder(const QByteArray& path) {
    struct stat st {};
    return ::lstat(path.constData(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::getuid();
}

// The Path= value: bytes outside the unreserved set (and "/") percent-encoded, so a
// name in any encoding comes back byte for byte.
QByteArray percentEncode(const QByteArray& path) {
    static const char hex[] = "0123456789ABCDEF";
    QByteArray out;
    out.reserve(path.size() + 16);
    for (const char c : path) {
        const auto u = static_cast<unsigned char>(c);
        if ((u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') ||
            u == '-' || u == '.' || u == '_' || u == '~' || u == '/') {
            out += c;
        } else {
            out += '%';
            out += hex[u >> 4];
            out += hex[u & 15];
        }
    }
    return out;
}

QByteArray deletionDate() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    char buf[32];
    std::strftime(buf, sizeof buf, "%Y-%m-%dT%H:%M:%S", &local);
    return buf;
}

// The name in the trash: the file's own name, with ".N" before its extension when that is
// taken; cut (at a character boundary) so that "NAME.trashinfo" fits in 255 bytes.
QByteArray trashName(const QByteArray& name, unsigned number) {
    qsizetype dot = name.lastIndexOf('.');
    if (dot <= 0)
        dot = name.size();
    QByteArray stem = name.left(dot);
    QByteArray ext = name.mid(dot);
    const QByteArray suffix = number ? "." + QByteArray::number(number) : QByteArray();
    const qsizetype room = 255 - qsizetype(sizeof(".trashinfo") - 1) - suffix.size();
    if (ext.size() > room / 2)
        ext.clear(); // an absurd "extension" is not kept at the cost of the name
    qsizetype keep = std::max<qsizetype>(1, room - ext.size());
    if (stem.size() > keep) {
        while (keep > 1 && (static_cast<unsigned char>(stem[keep]) & 0xC0) == 0x80)
            --keep;
        stem.truncate(keep);
    }
    return stem + suffix + ext;
}

int writeAll(int fd, const QByteArray& data) {
    qsizetype done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.constData() + done, size_t(data.size() - done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        done += n;
    }
    return 0;
}
} // namespace

DesktopTrash::Place DesktopTrash::homePlace() {
    QByteArray data = qgetenv("XDG_DATA_HOME");
    if (!isAbsolute(data)) {
        QByteArray home = qgetenv("HOME");
        if (!isAbsolute(home))
            if (const passwd* pw = ::getpwuid(::getuid()))
                home = pw->pw_dir;
        if (!isAbsolute(home))
            return {};
        data = joinPath(home, ".local/share");
    }
    const QByteArray root = joinPath(data, "Trash");
    Place p;
    p.files = joinPath(root, "files") + '/';
    p.info = joinPath(root, "info") + '/';
    p.usable = makeFolders(root, 0700) && makeFolders(withoutTrailingSlash(p.files), 0700) &&
               makeFolders(withoutTrailingSlash(p.info), 0700);
    return p;
}

DesktopTrash::Place DesktopTrash::topdirPlace(const QByteArray& absolutePath, dev_t device) {
    // The mount point: the highest folder above the file on the same device, after
    // resolving symlinks in the folders (a trash inside a linked subfolder would not be
    // found by file managers, which look at mount points).
    char resolved[PATH_MAX];
    if (!::realpath(parentPath(absolutePath).constData(), resolved))
        return {};
    QByteArray top(resolved);
    struct stat st {};
    if (::stat(top.constData(), &st) != 0 || st.st_dev != device)
        return {};
    while (top != "/") {
        const QByteArray up = parentPath(top);
        if (::stat(up.constData(), &st) != 0 || st.st_dev != device)
            break;
        top = up;
    }
    const QByteArray uid = QByteArray::number(qulonglong(::getuid()));
    QByteArray root;
    // $topdir/.Trash/$uid when an administrator made .Trash: a real folder with the sticky bit.
    const QByteArray shared = joinPath(top, ".Trash");
    if (::lstat(shared.constData(), &st) == 0 && S_ISDIR(st.st_mode) && (st.st_mode & S_ISVTX)) {
        const QByteArray mine = joinPath(shared, uid);
        ::mkdir(mine.constData(), 0700);
        if (ownFolder(mine))
            root = mine;
    }
    if (root.isEmpty()) {
        const QByteArray mine = joinPath(top, ".Trash-" + uid);
        ::mkdir(mine.constData(), 0700);
        if (ownFolder(mine))
            root = mine;
    }
    if (root.isEmpty())
        return {};
    Place p;
    p.files = joinPath(root, "files") + '/';
    p.info = joinPath(root, "info") + '/';
    p.topdir = top;
    ::mkdir(withoutTrailingSlash(p.files).constData(), 0700);
    ::mkdir(withoutTrailingSlash(p.info).constData(), 0700);
    // The trash must lie on the file's own file system, or the move would copy.
    p.usable = ownFolder(withoutTrailingSlash(p.files)) &&
               ownFolder(withoutTrailingSlash(p.info)) && ::stat(p.files.constData(), &st) == 0 &&
               st.st_dev == device;
    return p;
}

const DesktopTrash::Place& DesktopTrash::placeFor(const QByteArray& absolutePath, dev_t device) {
    const auto it = m_places.find(device);
    if (it != m_places.end())
        return it->second;
    Place home = homePlace();
    struct stat st {};
    if (home.usable && ::stat(home.files.constData(), &st) == 0 && st.st_dev == device)
        return m_places[device] = home;
    return m_places[device] = topdirPlace(absolutePath, device);
}

bool DesktopTrash::available(const QByteArray& path, dev_t device) {
    return placeFor(absolutePath(path), device).usable;
}

DesktopTrash::Outcome DesktopTrash::moveToTrash(const QByteArray& path, dev_t device) {
    Outcome out;
    const QByteArray abs = absolutePath(path);
    const Place& place = placeFor(abs, device);
    if (!place.usable) {
        out.errorCode = ENOTSUP;
        return out;
    }
    QByteArray recorded = abs;
    if (!place.topdir.isEmpty())
        recorded = place.topdir == "/" ? abs.mid(1) : abs.mid(place.topdir.size() + 1);
    const QByteArray info =
        "[Trash Info]\nPath=" + percentEncode(recorded) + "\nDeletionDate=" + deletionDate() + "\n";
    const QByteArray name = lastComponent(abs);
    // Trashing many files of one name must not try every taken number again.
    unsigned& next = m_nextNumber[place.info + name];
    bool remade = false;
    for (unsigned number = next; number < next + 100000; ++number) {
        const QByteArray candidate = trashName(name, number);
        const QByteArray infoPath = place.info + candidate + ".trashinfo";
        // The .trashinfo is made first and exclusively: it reserves the name.
        const int fd = ::open(infoPath.constData(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0600);
        if (fd < 0) {
            if (errno == EEXIST)
                continue;
            if (errno == ENOENT && !remade) { // the trash was emptied away meanwhile
                remade = true;
                makeFolders(withoutTrailingSlash(place.info), 0700);
                makeFolders(withoutTrailingSlash(place.files), 0700);
                --number;
                continue;
            }
            out.errorCode = errno;
            return out;
        }
        int code = writeAll(fd, info);
        if (::close(fd) != 0 && code == 0)
            code = errno;
        if (code == 0) {
            const QByteArray target = place.files + candidate;
            code = renameNoReplace(abs.constData(), target.constData());
            if (code == 0) {
                next = number + 1;
                out.trashed = target;
                out.infoFile = infoPath;
                return out;
            }
        }
        ::unlink(infoPath.constData());
        if (code != EEXIST) { // a stale file without its info keeps its name
            out.errorCode = code;
            return out;
        }
    }
    out.errorCode = EEXIST;
    return out;
}
