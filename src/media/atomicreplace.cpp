#include "media/atomicreplace.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>
#if __has_include(<sys/xattr.h>)
#include <sys/xattr.h>
#define RENDOLO_HAVE_XATTR 1
#endif

namespace media {

namespace {

// Hidden temporary names: ".rendolo-" + hash of the file name + "-" + process id + "-" +
// a counter. Nothing else makes names of this form, so a leftover whose process is gone
// is ours to remove.
constexpr const char* kTempPrefix = ".rendolo-";

std::string hashText(const std::string& name) {
    uint32_t h = 2166136261u; // FNV-1a
    for (unsigned char c : name) {
        h ^= c;
        h *= 16777619u;
    }
    static const char hex[] = "0123456789abcdef";
    std::string out(8, '0');
    for (int i = 7; i >= 0; --i, h >>= 4)
        out[size_t(i)] = hex[h & 15];
    return out;
}

std::atomic<unsigned> g_tempCounter{0};

int retryOpenAt(int dir, const char* name, int flags, mode_t mode = 0) {
    int fd;
    do
        fd = ::openat(dir, name, flags, mode);
    while (fd < 0 && errno == EINTR);
    return fd;
}

bool sameTime(const timespec& t, int64_t sec, int64_t nsec) {
    return int64_t(t.tv_sec) == sec && int64_t(t.tv_nsec) == nsec;
}

} // namespace

AtomicReplace::~AtomicReplace() {
    abort();
}

bool AtomicReplace::fail(const std::string& what, int err) {
    m_error = err ? what + " (" + std::strerror(err) + ")" : what;
    abort();
    return false;
}

void AtomicReplace::closeAll() {
    if (m_temp >= 0)
        ::close(m_temp);
    if (m_source >= 0)
        ::close(m_source);
    if (m_folderFd >= 0)
        ::close(m_folderFd);
    m_temp = m_source = m_folderFd = -1;
}

void AtomicReplace::abort() {
    if (!m_tempName.empty() && m_folderFd >= 0)
        ::unlinkat(m_folderFd, m_tempName.c_str(), 0);
    m_tempName.clear();
    closeAll();
}

bool AtomicReplace::begin(const std::string& path) {
    abort();
    m_error.clear();
    m_warning.clear();
    m_otherLinks = 0;
    if (path.empty())
        return fail("no file name");

    // A symbolic link is followed: its target gets the new content, the link stays.
    m_target = path;
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0)
        return fail("cannot find the file", errno);
    if (S_ISLNK(st.st_mode)) {
        char* real = ::realpath(path.c_str(), nullptr);
        if (!real)
            return fail("cannot follow the symbolic link", errno);
        m_target = real;
        std::free(real);
    }
    const size_t slash = m_target.rfind('/');
    m_folder = slash == std::string::npos ? "." : slash == 0 ? "/" : m_target.substr(0, slash);
    m_base = slash == std::string::npos ? m_target : m_target.substr(slash + 1);
    if (m_base.empty())
        return fail("not a file name");

    m_folderFd = retryOpenAt(AT_FDCWD, m_folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (m_folderFd < 0)
        return fail("cannot open the folder", errno);
    // Without blocking: a FIFO or a device under an audio file's name must not hang us.
    m_source = retryOpenAt(m_folderFd, m_base.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (m_source < 0)
        return fail("cannot open the file", errno);
    if (::fstat(m_source, &st) != 0)
        return fail("cannot read the file's status", errno);
    if (!S_ISREG(st.st_mode))
        return fail("not a regular file");
    m_size = int64_t(st.st_size);
    m_dev = uint64_t(st.st_dev);
    m_ino = uint64_t(st.st_ino);
    m_mtimeSec = st.st_mtim.tv_sec;
    m_mtimeNsec = st.st_mtim.tv_nsec;
    m_ctimeSec = st.st_ctim.tv_sec;
    m_ctimeNsec = st.st_ctim.tv_nsec;
    m_mode = uint32_t(st.st_mode & 07777);
    m_uid = uint32_t(st.st_uid);
    m_gid = uint32_t(st.st_gid);
    m_otherLinks = st.st_nlink > 1 ? uint64_t(st.st_nlink - 1) : 0;

    // Whether we may change the file is decided by the file's real permissions, not by
    // whether the folder lets us replace it.
    // Only the owner "clears the read-only attribute" (the missing owner-write bit).
    const bool addOwnerWrite = st.st_uid == ::geteuid() && !(st.st_mode & S_IWUSR);
    if (::faccessat(m_folderFd, m_base.c_str(), W_OK, AT_EACCESS) != 0) {
        const int err = errno;
        if (err == EROFS)
            return fail("the file system is read-only", err);
        if (!addOwnerWrite)
            return fail("no permission to write the file", err);
    }
    return createTemp() && keepOwnerModeAndAttributes(addOwnerWrite);
}

bool AtomicReplace::createTemp() {
    const int flags = O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC;
    // "NAME~" first: the name other programs know as ours while a save runs.
    std::string name = m_base + "~";
    m_temp = retryOpenAt(m_folderFd, name.c_str(), flags, 0600);
    if (m_temp >= 0) {
        m_tempName = name;
        return true;
    }
    if (errno != EEXIST && errno != ENAMETOOLONG)
        return fail("cannot create a temporary file in the folder", errno);
    const std::string prefix = kTempPrefix + hashText(m_base) + "-";
    removeStaleTemps(prefix);
    const std::string mine = prefix + std::to_string(::getpid()) + "-";
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = mine + std::to_string(g_tempCounter++);
        m_temp = retryOpenAt(m_folderFd, name.c_str(), flags, 0600);
        if (m_temp >= 0) {
            m_tempName = name;
            return true;
        }
        if (errno != EEXIST)
            return fail("cannot create a temporary file in the folder", errno);
    }
    return fail("cannot create a temporary file in the folder", EEXIST);
}

void AtomicReplace::removeStaleTemps(const std::string& prefix) {
    const int fd = ::dup(m_folderFd);
    if (fd < 0)
        return;
    DIR* dir = ::fdopendir(fd);
    if (!dir) {
        ::close(fd);
        return;
    }
    ::rewinddir(dir);
    const auto me = ::geteuid();
    while (const dirent* e = ::readdir(dir)) {
        const std::string name = e->d_name;
        if (name.compare(0, prefix.size(), prefix) != 0)
            continue;
        const std::string rest = name.substr(prefix.size());
        const size_t dash = rest.find('-');
        char* end = nullptr;
        const long pid = std::strtol(rest.c_str(), &end, 10);
        if (dash == std::string::npos || pid <= 0 || end != rest.c_str() + dash)
            continue;
        // A process that still runs (or that we may not signal) may still be saving.
        if (pid == long(::getpid()) || ::kill(pid_t(pid), 0) == 0 || errno != ESRCH)
            continue;
        struct stat st {};
        if (::fstatat(m_folderFd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(st.st_mode) && (st.st_uid == me || me == 0))
            ::unlinkat(m_folderFd, name.c_str(), 0);
    }
    ::closedir(dir);
}

bool AtomicReplace::keepOwnerModeAndAttributes(bool addOwnerWrite) {
    // Owner and group first: a change of owner clears the set-ID bits of the mode. The
    // new file is ours with our group or the folder's; giving it a group it already has
    // is always allowed.
    if ((m_uid != ::geteuid() || m_gid != ::getegid()) && ::fchown(m_temp, m_uid, m_gid) != 0)
        return fail("cannot keep the file's owner and group", errno);
    const mode_t mode = mode_t(m_mode | (addOwnerWrite ? S_IWUSR : 0));
    if (::fchmod(m_temp, mode) != 0)
        return fail("cannot keep the file's permissions", errno);
#ifdef RENDOLO_HAVE_XATTR
    ssize_t listSize = ::flistxattr(m_source, nullptr, 0);
    if (listSize < 0) {
        if (errno == ENOTSUP)
            return true; // the file system has none
        return fail("cannot read the file's extended attributes", errno);
    }
    if (listSize == 0)
        return true;
    std::vector<char> names(size_t(listSize) + 1);
    listSize = ::flistxattr(m_source, names.data(), names.size());
    if (listSize < 0)
        return fail("cannot read the file's extended attributes", errno);
    std::vector<char> value, present;
    for (size_t at = 0; at < size_t(listSize);) {
        const char* name = names.data() + at;
        at += std::strlen(name) + 1;
        ssize_t n = ::fgetxattr(m_source, name, nullptr, 0);
        if (n < 0)
            return fail(std::string("cannot read the extended attribute ") + name, errno);
        value.resize(size_t(n) + 1);
        n = ::fgetxattr(m_source, name, value.data(), value.size());
        if (n < 0)
            return fail(std::string("cannot read the extended attribute ") + name, errno);
        if (::fsetxattr(m_temp, name, value.data(), size_t(n), 0) == 0)
            continue;
        const int err = errno;
        // Some attributes are set by the system for every new file (a security label);
        // one that already has the same value is kept.
        present.resize(size_t(n) + 1);
        const ssize_t m = ::fgetxattr(m_temp, name, present.data(), present.size());
        if (m != n || std::memcmp(present.data(), value.data(), size_t(n)) != 0)
            return fail(std::string("cannot keep the extended attribute ") + name, err);
    }
#endif
    return true;
}

bool AtomicReplace::readSource(int64_t offset, void* buffer, size_t count) {
    auto* p = static_cast<char*>(buffer);
    while (count > 0) {
        const ssize_t n = ::pread(m_source, p, count, off_t(offset));
        if (n < 0 && errno == EINTR)
            continue;
        if (n == 0)
            errno = EIO; // the file became shorter
        if (n <= 0)
            return false;
        p += n;
        offset += n;
        count -= size_t(n);
    }
    return true;
}

bool AtomicReplace::write(const void* data, size_t count) {
    if (m_temp < 0)
        return false;
    const auto* p = static_cast<const char*>(data);
    while (count > 0) {
        const ssize_t n = ::write(m_temp, p, count);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return fail("cannot write the temporary file", errno);
        if (n == 0)
            return fail("cannot write the temporary file", EIO);
        p += n;
        count -= size_t(n);
    }
    return true;
}

bool AtomicReplace::copyFromSource(int64_t offset, int64_t count) {
    if (m_temp < 0)
        return false;
    std::vector<char> buffer(size_t(std::min<int64_t>(std::max<int64_t>(count, 1), 1 << 20)));
    while (count > 0) {
        const size_t n = size_t(std::min<int64_t>(count, int64_t(buffer.size())));
        if (!readSource(offset, buffer.data(), n))
            return fail("cannot read the file", errno);
        if (!write(buffer.data(), n))
            return false;
        offset += int64_t(n);
        count -= int64_t(n);
    }
    return true;
}

bool AtomicReplace::commit() {
    if (m_temp < 0)
        return false;
    if (::fsync(m_temp) != 0)
        return fail("cannot write the temporary file to the disk", errno);
    const int temp = m_temp;
    m_temp = -1;
    if (::close(temp) != 0)
        return fail("cannot write the temporary file", errno);
    // Another program that changed the file meanwhile keeps its change.
    struct stat st {};
    if (::fstatat(m_folderFd, m_base.c_str(), &st, 0) != 0)
        return fail("the file vanished during the save", errno);
    if (uint64_t(st.st_dev) != m_dev || uint64_t(st.st_ino) != m_ino || st.st_size != m_size ||
        !sameTime(st.st_mtim, m_mtimeSec, m_mtimeNsec) ||
        !sameTime(st.st_ctim, m_ctimeSec, m_ctimeNsec))
        return fail("the file was changed during the save by another program");
    if (::renameat(m_folderFd, m_tempName.c_str(), m_folderFd, m_base.c_str()) != 0)
        return fail("cannot put the new file in place of the old one", errno);
    m_tempName.clear();
    if (::fsync(m_folderFd) != 0)
        m_warning = std::string("the folder could not be synced: ") + std::strerror(errno);
    closeAll();
    return true;
}

} // namespace media
