// Adding whole folders to a pane: one folder, a folder with its subfolders, or
// every local disk. Rows come in the pane's order and the scan honours Cancel.
#pragma once

#include "lists/songitem.h"

#include <QString>
#include <QStringList>

#include <functional>

class Progress;
class SongListModel;
class SongTags;

class FolderScanner {
public:
    // Where the rows go: a pane's model, or any other receiver (the command line prints them).
    using RowSink = std::function<void(SongItem&&)>;

    FolderScanner(SongListModel& model, SongTags& reader, Progress& progress);
    FolderScanner(RowSink sink, SongTags& reader, Progress& progress);

    // ScanFolder: appends a row for every ".mp3" and ".cda" file of the folder (and,
    // when recursive, of its subfolders first). Reports each folder and file to the
    // progress window and stops after the current file when Cancel is requested.
    // Returns the number of rows added. Does not open or end the progress window.
    int scanFolder(const QString& folder, bool recursive);
    // Whether this scanner added ".cda" tracks.
    bool audioCdFound() const { return m_audioCd; }

    // "Find All Mp3s On My Computer": every root in turn, with subfolders, each scan
    // staying on the file system of its root; stops at Cancel.
    int scanRoots(const QStringList& roots);

private:
    int scan(const QString& folder, bool recursive, bool oneFileSystem);

    RowSink m_sink;
    SongTags& m_reader;
    Progress& m_progress;
    bool m_audioCd = false;
};

struct CommandEnv;

// The add buttons and "Add (folder)" / "AddS (folder and subfolders)": refuses an empty
// folder and says so for one that does not exist, then scans the folder (with subfolders when
// recursive) under the progress window "add" with the list's redraw frozen. Returns the number of
// rows added; audioCd tells whether ".cda" tracks came.
int addFolder(CommandEnv& env, SongListModel& model, const QString& folder, bool recursive,
              bool* audioCd = nullptr);
// "Find All Mp3s On My Computer": every root (localDiskRoots()) into the pane under one
// progress window.
int addAllDisks(CommandEnv& env, SongListModel& model, const QStringList& roots);

// The mount points of local disk file systems, in the system's order (no pseudo,
// network or optical file systems).
QStringList localDiskRoots();
// Whether a file system type names a local disk file system.
bool isLocalDiskFileSystem(const QByteArray& type);
