// Adding files to a pane from the command line or from a drop: which paths are
// songs, folders or list files, and the loop that adds them under the progress window.
#pragma once

#include <QStringList>

#include <functional>

class Progress;
class SongListModel;
class SongTags;

// What the command line opened.
enum class StartResult { Nothing, Db, Lyr, Load, Mp3 };

struct CommandLinePlan {
    StartResult result = StartResult::Nothing;
    QString file;     // the catalogue, lyrics store or list file for Db / Lyr / Load
    QStringList mp3s; // the songs to add for Mp3, in order
};

// One ".db3", one ".lyr" or one other non-".mp3" path opens that file; otherwise
// every ".mp3" path is added and the rest are skipped.
CommandLinePlan planCommandLine(const QStringList& paths);

// The extension of a path with its dot, lower-case ("" when there is none).
QString pathExtension(const QString& path);

class AddFiles {
public:
    // Hooks for what other parts of the program carry out; unset ones are skipped.
    struct Hooks {
        std::function<void(const QString& folder)> scanFolder; // with all subfolders
        std::function<void(const QString& listFile)> loadList;
    };

    AddFiles(SongListModel& model, SongTags& reader, Progress& progress, Hooks hooks = {});

    // Adds the ".mp3" paths in order under the progress window "add"; stops on Cancel.
    // Returns the number of rows added.
    int addSongs(const QStringList& paths);
    // A drop: folders are scanned, songs added, the first other file is loaded as a
    // list and ends the drop; "." and ".." are skipped.
    void addDropped(const QStringList& paths);

private:
    void addOne(const QString& path);

    SongListModel& m_model;
    SongTags& m_reader;
    Progress& m_progress;
    Hooks m_hooks;
};
