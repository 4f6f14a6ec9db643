// Read access to one audio file for the tag readers and the analyser. The first and
// the last few KiB are read once and then served from memory, so that one analysis
// costs an open, two reads and a close for typical files; any other range is read
// from the file directly. Never throws.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The tag readers and writers never let an exception out (out of memory becomes a false
// result); fuzzing builds let it through so that the fuzzer sees any that a fault raises.
#ifdef RENDOLO_FUZZING
#define RENDOLO_RETHROW_WHEN_FUZZING() throw
#else
#define RENDOLO_RETHROW_WHEN_FUZZING() (void)0
#endif

namespace media {

// Random read access to a run of bytes: a file or a block in memory.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual int64_t size() const = 0;
    // Reads up to `count` bytes at `pos`; returns how many bytes were read, or -1 when
    // the position is invalid (negative) or the source could not be read.
    virtual int64_t readAt(int64_t pos, void* buffer, int64_t count) = 0;
    // True only when exactly `count` bytes were read.
    bool readFullyAt(int64_t pos, void* buffer, int64_t count) {
        return readAt(pos, buffer, count) == count;
    }
};

// Bytes held in memory (tests, fuzzing).
class MemorySource : public ByteSource {
public:
    explicit MemorySource(std::string_view bytes) : m_bytes(bytes) {}
    int64_t size() const override { return int64_t(m_bytes.size()); }
    int64_t readAt(int64_t pos, void* buffer, int64_t count) override;

private:
    std::string_view m_bytes;
};

class MediaFile : public ByteSource {
public:
    MediaFile() = default;
    ~MediaFile();
    MediaFile(const MediaFile&) = delete;
    MediaFile& operator=(const MediaFile&) = delete;

    // Opens the file for reading only and notes its size. Never blocks: anything but a
    // regular file (a FIFO, a device, a folder) is refused.
    bool open(const std::string& fileName);
    void close();
    bool isOpen() const { return m_fd >= 0; }
    int64_t size() const override { return m_size; }
    int64_t readAt(int64_t pos, void* buffer, int64_t count) override;

private:
    bool fill(std::vector<uint8_t>& cache, int64_t& cacheStart, int64_t pos, int64_t count);

    int m_fd = -1;
    int64_t m_size = 0;
    std::vector<uint8_t> m_head;
    int64_t m_headStart = 0;
    bool m_headLoaded = false;
    std::vector<uint8_t> m_tail;
    int64_t m_tailStart = 0;
    bool m_tailLoaded = false;
};

// What a tag save tells its caller beyond true or false.
struct SaveReport {
    std::string error;              // why the save failed; empty after a success
    std::vector<std::string> notes; // after a success: what the new file did not keep
};

// Opens a regular file for reading and writing in place (never blocking on a FIFO or a
// device). Whether we may write it is decided by its real permissions; only a file we
// own whose owner-write bit is missing is made writable first ("clearing the read-only
// attribute"). Returns the descriptor, or -1 with the reason in `error`.
int openForUpdate(const std::string& fileName, std::string& error);

} // namespace media
