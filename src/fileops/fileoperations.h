// Every change the program makes to a user's file passes through this one class: tag
// writes, tag removal, renames, trash moves and deletes (and, as they arrive, moves and
// copies). Nothing else in the program renames, removes or saves a user's file, so one
// place decides how it is done safely and (with the journal) how it can be put back.
// Paths reach the system as the file-name bytes the list carries (see base/nativepath.h).
#pragma once

#include "fileops/trash.h"

#include <QString>
#include <QStringList>

class TID3v1;
class TID3v2;

class FileOperations {
public:
    struct Result {
        bool ok = true;
        int errorCode = 0; // errno where the system gave one
        QString error;     // why it failed, for messages and summaries
        QStringList notes; // after a success: what was left out on purpose, other names
                           // of the file that keep the old content
        QString target;    // where the entry is now: a rename's new path, the file in the trash
        explicit operator bool() const { return ok; }
        static Result failure(const QString& why, int code = 0) {
            return {false, code, why, {}, {}};
        }
    };

    // Writes the tag's fields as the file's ID3v1 tag (in place, or appended).
    Result saveId3v1(const TID3v1& tag, const QString& path);
    // Removes the file's ID3v1 tag (success also when it had none).
    Result stripId3v1(const TID3v1& tag, const QString& path);
    // Replaces the file's ID3v2 tag by the tag's fields and its carried frames.
    Result saveId3v2(const TID3v2& tag, const QString& path);

    // Renames a file or folder. Never replaces: when `to` exists the rename fails with
    // EEXIST and both entries stay as they were. A change of letter case only, in one
    // folder, also works on case-insensitive mounts (FAT, exFAT, SMB).
    Result rename(const QString& from, const QString& to);
    // Renames the file (or symlink) `name` in `folder` to `newName`, a name of one
    // component. Folders and other kinds of entry are refused.
    Result renameFile(const QString& folder, const QString& name, const QString& newName);
    // Renames the last folder of `folder` ("/music/abba/") to `newName`, one component,
    // in the same parent; the result's target is the new folder with a trailing "/".
    Result renameFolder(const QString& folder, const QString& newName);
    // A new name is one component: not empty, no "/" or zero character, not "." or "..",
    // at most 255 bytes. A failure says why.
    static Result checkNewName(const QString& newName);

    // Moves a file or symlink (never a folder) to the desktop trash; the result's target
    // is where it lies there. ENOTSUP when its file system has no trash.
    Result moveToTrash(const QString& path);
    // True when the file exists and its file system has no trash to move it to.
    bool lacksTrash(const QString& path);
    // Deletes a file or symlink for good: only for files without a trash, after asking.
    Result deleteFile(const QString& path);

private:
    Result renameBytes(const QByteArray& from, const QByteArray& to);

    DesktopTrash m_trash;
};
