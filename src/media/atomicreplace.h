// Replaces the whole content of a file in one step, so that a crash, a full disk or a
// failure at any point leaves either the old file or the new one, never a mixture.
//
// Contract of one replacement (begin, then write/copyFromSource, then commit):
// - begin(path) follows a symbolic link to the file it names (the link stays a link),
//   opens that file without blocking and refuses anything but a regular file, and
//   refuses a file this process may not write (access with the effective IDs; a file we
//   own whose only obstacle is its missing owner-write bit is allowed and comes back
//   with that bit set, as "clearing the read-only attribute"). It then creates the
//   temporary file in the same folder: "NAME~" when that name is free, else a short
//   hidden name of our own (".rendolo-HASH-PID-N", also used when "NAME~" would be too
//   long). The temporary file is created 0600 and before any byte is written gets the
//   original's owner, group, mode and extended attributes; when one of them cannot be
//   kept, begin fails and nothing is rewritten. Hidden temporary files of an earlier
//   save of the same name whose process is gone are removed on the way.
// - write and copyFromSource fill the temporary file; sourceFd() reads the original.
// - commit() flushes the temporary file to the disk, checks that the original is still
//   the file begin() saw (inode, size, modification and change time; otherwise it fails
//   with "changed during save" and the other program's change stays), renames the
//   temporary file over the original and syncs the folder so that the rename survives
//   a power loss.
// - On any failure, and when the object is destroyed without commit, the temporary
//   file is removed and the original is left exactly as it was. Nothing throws; every
//   failure is a false result and error() says why.
// The file's other hard links (otherLinks()) keep the old content: a rename gives only
// this name the new file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace media {

class AtomicReplace {
public:
    AtomicReplace() = default;
    ~AtomicReplace();
    AtomicReplace(const AtomicReplace&) = delete;
    AtomicReplace& operator=(const AtomicReplace&) = delete;

    bool begin(const std::string& path);
    // The original, open for reading, and its size when begin() opened it.
    int sourceFd() const { return m_source; }
    int64_t sourceSize() const { return m_size; }
    // Reads exactly `count` bytes of the original at `offset`.
    bool readSource(int64_t offset, void* buffer, size_t count);
    bool write(const void* data, size_t count);
    // Copies `count` bytes of the original from `offset` on into the temporary file.
    bool copyFromSource(int64_t offset, int64_t count);
    bool commit();
    // Drops the temporary file; the original stays as it was.
    void abort();

    const std::string& error() const { return m_error; }
    // The file really replaced (the target of a symbolic link), and its temporary name.
    const std::string& target() const { return m_target; }
    const std::string& tempName() const { return m_tempName; }
    // Number of other names (hard links) of the file; they keep the old content.
    uint64_t otherLinks() const { return m_otherLinks; }
    // Set when the replacement is done but the folder could not be synced.
    const std::string& warning() const { return m_warning; }

private:
    bool fail(const std::string& what, int err = 0);
    bool createTemp();
    bool keepOwnerModeAndAttributes(bool addOwnerWrite);
    void removeStaleTemps(const std::string& prefix);
    void closeAll();

    std::string m_error, m_warning;
    std::string m_target, m_folder, m_base, m_tempName;
    int m_folderFd = -1;
    int m_source = -1;
    int m_temp = -1;
    int64_t m_size = 0;
    uint64_t m_otherLinks = 0;
    // The original's identity when begin() opened it.
    uint64_t m_dev = 0, m_ino = 0;
    int64_t m_mtimeSec = 0, m_mtimeNsec = 0, m_ctimeSec = 0, m_ctimeNsec = 0;
    uint32_t m_mode = 0, m_uid = 0, m_gid = 0;
};

} // namespace media
