#include "media/mediafile.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <system_error>

#if __has_include(<unistd.h>)
#include <unistd.h>
#define RENDOLO_HAVE_FSYNC 1
#endif

namespace media {

namespace {
constexpr int64_t kCacheBytes = 4096;
} // namespace

MediaFile::~MediaFile() {
    close();
}

bool MediaFile::open(const std::string& fileName) {
    close();
    m_file = std::fopen(fileName.c_str(), "rb");
    if (!m_file)
        return false;
    std::setvbuf(m_file, nullptr, _IONBF, 0); // every read goes straight to our own buffers
    if (std::fseek(m_file, 0, SEEK_END) != 0) {
        close();
        return false;
    }
    const long end = std::ftell(m_file);
    if (end < 0) {
        close();
        return false;
    }
    m_size = end;
    return true;
}

void MediaFile::close() {
    if (m_file)
        std::fclose(m_file);
    m_file = nullptr;
    m_size = 0;
    m_head.clear();
    m_tail.clear();
    m_headLoaded = m_tailLoaded = false;
}

bool MediaFile::fill(std::vector<uint8_t>& cache, int64_t& cacheStart, int64_t pos, int64_t count) {
    cache.resize(size_t(count));
    cacheStart = pos;
    if (std::fseek(m_file, long(pos), SEEK_SET) != 0)
        return false;
    const size_t got = std::fread(cache.data(), 1, size_t(count), m_file);
    if (got != size_t(count) && std::ferror(m_file))
        return false;
    cache.resize(got);
    return true;
}

int64_t MediaFile::readAt(int64_t pos, void* buffer, int64_t count) {
    if (!m_file || pos < 0 || count < 0)
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
    if (std::fseek(m_file, long(pos), SEEK_SET) != 0)
        return -1;
    const size_t got = std::fread(buffer, 1, size_t(count), m_file);
    if (got != size_t(count) && std::ferror(m_file))
        return -1;
    return int64_t(got);
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

int64_t fileSizeOf(const std::string& fileName) {
    std::error_code ec;
    const auto n = std::filesystem::file_size(fileName, ec);
    return ec ? -1 : int64_t(n);
}

bool makeWritable(const std::string& fileName) {
    std::error_code ec;
    const auto st = std::filesystem::status(fileName, ec);
    if (ec || !std::filesystem::is_regular_file(st))
        return false;
    if ((st.permissions() & std::filesystem::perms::owner_write) != std::filesystem::perms::none)
        return true;
    std::filesystem::permissions(fileName, std::filesystem::perms::owner_write,
                                 std::filesystem::perm_options::add, ec);
    return !ec;
}

bool flushToDisk(std::FILE* file) {
    if (std::fflush(file) != 0)
        return false;
#ifdef RENDOLO_HAVE_FSYNC
    if (::fsync(::fileno(file)) != 0)
        return false;
#endif
    return true;
}

} // namespace media
