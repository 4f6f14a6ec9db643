// Every change the program makes to a user's file passes through this one class: tag
// writes, tag removal, renames, and (as they arrive) deletes, moves and copies. Nothing
// else in the program renames, removes or saves a user's file, so one place decides how
// it is done safely and (with the journal) how it can be put back.
#pragma once

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
        explicit operator bool() const { return ok; }
        static Result failure(const QString& why, int code = 0) { return {false, code, why, {}}; }
    };

    // Writes the tag's fields as the file's ID3v1 tag (in place, or appended).
    Result saveId3v1(const TID3v1& tag, const QString& path);
    // Removes the file's ID3v1 tag (success also when it had none).
    Result stripId3v1(const TID3v1& tag, const QString& path);
    // Replaces the file's ID3v2 tag by the tag's fields and its carried frames.
    Result saveId3v2(const TID3v2& tag, const QString& path);

    // Renames a file or folder. Never replaces: when `to` exists the rename fails with
    // EEXIST and both entries stay as they were.
    Result rename(const QString& from, const QString& to);
};
