#include "lists/folderlisting.h"

#include <algorithm>
#include <cerrno>
#include <string_view>
#include <utility>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct FolderId {
    dev_t device;
    ino_t inode;
    bool operator==(const FolderId&) const = default;
};

char lowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool endsWithNoCase(const std::string& name, std::string_view suffix) {
    if (name.size() <= suffix.size())
        return false;
    const std::size_t offset = name.size() - suffix.size();
    for (std::size_t i = 0; i < suffix.size(); ++i)
        if (lowerAscii(name[offset + i]) != suffix[i])
            return false;
    return true;
}

// Name order without regard to ASCII letter case; names equal that way keep a fixed order
// by their bytes.
bool nameLess(const std::string& a, const std::string& b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const auto x = static_cast<unsigned char>(lowerAscii(a[i]));
        const auto y = static_cast<unsigned char>(lowerAscii(b[i]));
        if (x != y)
            return x < y;
    }
    if (a.size() != b.size())
        return a.size() < b.size();
    return a < b;
}

struct Entry {
    std::string name;
    struct stat info;
};

class Scanner {
public:
    Scanner(bool recursive, const FolderScanCallbacks& callbacks)
        : m_recursive(recursive), m_callbacks(callbacks) {}

    // false = stopped by a callback.
    bool scan(const std::string& folder, const FolderId& id) {
        if (m_callbacks.enterFolder && !m_callbacks.enterFolder(folder))
            return false;

        std::vector<Entry> folders;
        std::vector<Entry> mp3s;
        std::vector<Entry> cdas;
        if (!list(folder, folders, mp3s, cdas))
            return true; // unreadable or gone: nothing to add

        if (m_recursive) {
            m_path.push_back(id);
            for (const Entry& sub : folders) {
                const FolderId subId{sub.info.st_dev, sub.info.st_ino};
                if (std::find(m_path.begin(), m_path.end(), subId) != m_path.end())
                    continue; // a link back into a folder being scanned
                if (m_callbacks.oneFileSystem && subId.device != m_path.front().device)
                    continue; // another mount
                if (!scan(folder + sub.name + "/", subId)) {
                    m_path.pop_back();
                    return false;
                }
            }
            m_path.pop_back();
        }
        for (const auto* group : {&mp3s, &cdas})
            for (const Entry& e : *group) {
                ScannedFile file;
                file.folder = folder;
                file.fileName = e.name;
                file.size = static_cast<std::uint64_t>(e.info.st_size);
                file.readOnly = (e.info.st_mode & S_IWUSR) == 0;
                file.hidden = false;
                file.audioCdTrack = group == &cdas;
                if (m_callbacks.file && !m_callbacks.file(file))
                    return false;
            }
        return true;
    }

private:
    static bool list(const std::string& folder, std::vector<Entry>& folders,
                     std::vector<Entry>& mp3s, std::vector<Entry>& cdas) {
        DIR* dir = ::opendir(folder.c_str());
        if (!dir)
            return false;
        const int fd = ::dirfd(dir);
        while (const dirent* d = ::readdir(dir)) {
            std::string name = d->d_name;
            if (name.empty() || name[0] == '.')
                continue; // ".", ".." and hidden entries
            Entry e{std::move(name), {}};
            // Follows symbolic links; a dangling link or a vanished entry fails and is skipped.
            if (::fstatat(fd, e.name.c_str(), &e.info, 0) != 0)
                continue;
            if (S_ISDIR(e.info.st_mode))
                folders.push_back(std::move(e));
            else if (S_ISREG(e.info.st_mode) && endsWithNoCase(e.name, ".mp3"))
                mp3s.push_back(std::move(e));
            else if (S_ISREG(e.info.st_mode) && endsWithNoCase(e.name, ".cda"))
                cdas.push_back(std::move(e));
        }
        ::closedir(dir);
        const auto byName = [](const Entry& a, const Entry& b) { return nameLess(a.name, b.name); };
        std::sort(folders.begin(), folders.end(), byName);
        std::sort(mp3s.begin(), mp3s.end(), byName);
        std::sort(cdas.begin(), cdas.end(), byName);
        return true;
    }

    bool m_recursive;
    const FolderScanCallbacks& m_callbacks;
    std::vector<FolderId> m_path; // the folders being scanned, outermost first
};

} // namespace

bool ScanFolderFiles(const std::string& folder, bool recursive,
                     const FolderScanCallbacks& callbacks) {
    if (folder.empty())
        return true;
    std::string root = folder;
    if (root.back() != '/')
        root += '/';
    struct stat info {};
    if (::stat(root.c_str(), &info) != 0)
        info = {}; // listing it fails below and adds nothing
    Scanner scanner(recursive, callbacks);
    return scanner.scan(root, FolderId{info.st_dev, info.st_ino});
}

bool ScanFolderFiles(const std::string& folder, bool recursive,
                     const std::function<bool(const ScannedFile& file)>& onFile) {
    FolderScanCallbacks callbacks;
    callbacks.file = onFile;
    return ScanFolderFiles(folder, recursive, callbacks);
}
