// Adding files to a pane from the command line or from a drop: which paths are
// songs, folders or list files, and the loop that adds them under the progress window.
#pragma once

#include <QStringList>

class SongListModel;

// What the command line opened.
enum class StartResult { Nothing, Db, Lyr, Load, Mp3 };

struct CommandLinePlan {
    StartResult result = StartResult::Nothing;
    QString file;     // the catalogue, lyrics store or list file for Db / Lyr / Load
    QStringList adds; // the songs and folders to add for Mp3, in order
};

// One ".db3", one ".lyr" or one other non-".mp3" path that is not a folder opens that
// file; otherwise every ".mp3" path and every folder is added and the rest are skipped.
CommandLinePlan planCommandLine(const QStringList& paths);

// The extension of a path with its dot, lower-case ("" when there is none).
QString pathExtension(const QString& path);

struct CommandEnv;

// The songs and folders of the command line: adds the ".mp3" paths and scans the folders
// with their subfolders (as a dropped folder is scanned), in order, under the progress
// window "add"; stops on Cancel. Returns the number of rows added.
int addSongs(CommandEnv& env, SongListModel& model, const QStringList& paths);
// Files dropped from the file manager: folders are scanned with their subfolders, songs
// added, and the first other file ends the drop; "." and ".." are skipped. Returns that
// other file (a list file, for the caller to load) or "".
QString addDropped(CommandEnv& env, SongListModel& model, const QStringList& paths);
