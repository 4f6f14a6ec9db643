// The files a folder scan adds to a list pane, in the pane's order.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

struct ScannedFile {
    std::string folder;   // ends in "/"
    std::string fileName; // name only
    std::uint64_t size = 0;
    bool readOnly = false;     // not writable by its owner
    bool hidden = false;       // name starts with "." (such entries are skipped, so always false)
    bool audioCdTrack = false; // a ".cda" file
};

struct FolderScanCallbacks {
    // Called on entering each folder (ending in "/") before anything of it is listed;
    // returning false stops the scan.
    std::function<bool(const std::string& folder)> enterFolder;
    // Called for every file found; returning false stops the scan.
    std::function<bool(const ScannedFile& file)> file;
    // When set, subfolders on another file system than the scanned folder are left out
    // (a scan of a whole disk does not wander into other mounts).
    bool oneFileSystem = false;
};

// Lists folder (with "/" added when missing) the way a pane adds it: when recursive, every
// sub-folder first, depth first; then the folder's ".mp3" files, then its ".cda" files.
// Extensions match in any letter case; the entries of a folder come in name order without
// regard to letter case; hidden entries (name starting with ".") and pipes or devices are
// skipped; a symbolic link to a folder is followed unless it leads back into a folder that is
// being scanned; a folder that cannot be read adds nothing. Size and attributes come from
// the directory listing. Returns false when a callback stopped the scan.
bool ScanFolderFiles(const std::string& folder, bool recursive,
                     const FolderScanCallbacks& callbacks);

// The same, collecting the files; stops quietly when onFile returns false.
bool ScanFolderFiles(const std::string& folder, bool recursive,
                     const std::function<bool(const ScannedFile& file)>& onFile);
