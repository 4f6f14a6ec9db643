// The desktop trash as the freedesktop.org Trash specification lays it out, done on the
// file-name bytes (names that are not UTF-8 keep them, and the .trashinfo records them
// percent-encoded, so any file manager can restore the file where it was).
//
// A file goes to the home trash ($XDG_DATA_HOME/Trash, else ~/.local/share/Trash) when it
// lies on the same file system; otherwise to its mount's "$topdir/.Trash/$uid" (when that
// folder exists with the sticky bit and is no symlink) or "$topdir/.Trash-$uid". A file
// system where neither can be used has no trash: the caller asks before deleting for good.
#pragma once

#include <QByteArray>

#include <map>
#include <sys/types.h>

class DesktopTrash {
public:
    struct Outcome {
        int errorCode = 0;   // 0 on success, else errno (ENOTSUP: no trash here)
        QByteArray trashed;  // where the file now lies (files/NAME)
        QByteArray infoFile; // its .trashinfo
    };

    // Whether a file with this path and device can go to a trash.
    bool available(const QByteArray& path, dev_t device);
    // Moves the entry (not what a symlink points to) into the trash. The caller has made
    // sure it is a file or symlink.
    Outcome moveToTrash(const QByteArray& path, dev_t device);

private:
    struct Place {
        bool usable = false;
        QByteArray files;  // .../files/
        QByteArray info;   // .../info/
        QByteArray topdir; // empty for the home trash (paths recorded absolute)
    };
    const Place& placeFor(const QByteArray& absolutePath, dev_t device);
    Place homePlace();
    Place topdirPlace(const QByteArray& absolutePath, dev_t device);

    std::map<dev_t, Place> m_places;             // resolved once per file system
    std::map<QByteArray, unsigned> m_nextNumber; // next suffix to try per trash name
};
