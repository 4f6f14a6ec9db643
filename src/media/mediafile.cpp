#include "media/mediafile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace media {

namespace {

constexpr int64_t kCacheBytes = 4096;

int openNonBlocking(const std::string& fileName, int flags) {
    int fd;
    do
        fd = ::open(fileName.c_str(), flags | O_NONBLOCK | O_CLOEXEC);
    while (fd < 0 && errno == EINTR);
    return fd;
}

// Reads up to `count` bytes at `pos`, retrying short reads; -1 on a read error.
int64_t readFully(int fd, int64_t pos, void* buffer, int64_t count) {
    auto* p = static_cast<char*>(buffer);
    int64_t done = 0;
    while (done < count) {
        const ssize_t n = ::pread(fd, p + done, size_t(count - done), off_t(pos + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return -1;
        if (n == 0)
            break;
        done += n;
    }
    return done;
}

} // namespace

MediaFile::~MediaFile() {
    close();
}

bool MediaFile::open(const std::string& fileName) {
    close();
    const int fd = openNonBlocking(fileName, O_RDONLY);
    if (fd < 0)
        return false;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return false;
    }
    m_fd = fd;
    m_size = int64_t(st.st_size);
    return true;
}

void MediaFile::close() {
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    m_size = 0;
    m_head.clear();
    m_tail.clear();
    m_headLoaded = m_tailLoaded = false;
}

bool MediaFile::fill(std::vector<uint8_t>& cache, int64_t& cacheStart, int64_t pos, int64_t count) {
    cache.resize(size_t(count));
    cacheStart = pos;
    const int64_t got = readFully(m_fd, pos, cache.data(), count);
    if (got < 0)
        return false;
    cache.resize(size_t(got));
    return true;
}

int64_t MediaFile::readAt(int64_t pos, void* buffer, int64_t count) {
    if (m_fd < 0 || pos < 0 || count < 0)
        return -1;
    if (count == 0)
        return 0;
    // Serve from the head or tail cache when the range lies inside it.
    if (pos < kCacheBytes && pos + count <= kCacheBytes) {
        if (!m_headLoaded) {
            if (!fill(m_head, m_headStart, 0, std::min(kCacheBytes, m_size)))
                return -1;
            m_headLoaded = true;
        }
    } else if (pos >= m_size - kCacheBytes && m_size > kCacheBytes) {
        if (!m_tailLoaded) {
            if (!fill(m_tail, m_tailStart, m_size - kCacheBytes, kCacheBytes))
                return -1;
            m_tailLoaded = true;
        }
    }
    for (auto* c : {&m_head, &m_tail}) {
        const bool loaded = c == &m_head ? m_headLoaded : m_tailLoaded;
        const int64_t start = c == &m_head ? m_headStart : m_tailStart;
        const int64_t end = start + int64_t(c->size());
        if (loaded && pos >= start && (pos + count <= end || end == m_size)) {
            const int64_t n = std::max<int64_t>(0, std::min(count, end - pos));
            if (n > 0)
                std::memcpy(buffer, c->data() + (pos - start), size_t(n));
            return n;
        }
    }
    return readFully(m_fd, pos, buffer, count);
}

int64_t MemorySource::readAt(int64_t pos, void* buffer, int64_t count) {
    if (pos < 0 || count < 0)
        return -1;
    if (pos >= size())
        return 0;
    const int64_t n = std::min(count, size() - pos);
    std::memcpy(buffer, m_bytes.data() + pos, size_t(n));
    return n;
}

int openForUpdate(const std::string& fileName, std::string& error) {
    struct stat st {};
    if (::stat(fileName.c_str(), &st) != 0) {
        error = std::string("cannot find the file (") + std::strerror(errno) + ")";
        return -1;
    }
    if (!S_ISREG(st.st_mode)) {
        error = "not a regular file";
        return -1;
    }
    if (st.st_uid == ::geteuid() && !(st.st_mode & S_IWUSR)) {
        // Our own read-only file: clearing the read-only attribute is ours to do (for
        // anybody else's file the open below decides).
        if (::chmod(fileName.c_str(), (st.st_mode & 07777) | S_IWUSR) != 0) {
            error = std::string("cannot make the file writable (") + std::strerror(errno) + ")";
            return -1;
        }
    }
    const int fd = openNonBlocking(fileName, O_RDWR);
    if (fd < 0) {
        error = std::string("cannot open the file for writing (") + std::strerror(errno) + ")";
        return -1;
    }
    // The name may have been replaced by something else since the first look.
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        error = "not a regular file";
        return -1;
    }
    return fd;
}

} // namespace media
