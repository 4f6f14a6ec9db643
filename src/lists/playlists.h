// "Save As Playlist" › "Group by Artist / Album / Genre / Year": one M3U playlist per
// value of the field, in a folder the user picks.
#pragma once

#include <QString>

#include <vector>

class SongListModel;
struct CommandEnv;

enum class PlaylistGroup { Artist, Album, Genre, Year };

struct GroupPlaylist {
    QString path;
    int entries = 0;
};

// The playlist file name for a group value: the trimmed value without the characters a
// file name may not hold, "_" in front when that is empty or starts with "." (so a value
// never names a hidden file, a folder or a place outside the folder), and ".m3u".
QString groupPlaylistName(const QString& value);

// Writes one playlist per group into folder (which must exist): every row with more than
// one sub-item, in list order. Values that differ only in letter case (or that give the
// same file name) share a playlist named by the first spelling. Each playlist replaces
// a file of that name atomically. Under the progress window "save"; Cancel stops after
// the playlists written so far (the one being written is dropped). Failures are told
// through env.prompt. Returns the playlists written.
std::vector<GroupPlaylist> writeGroupPlaylists(CommandEnv& env, const SongListModel& model,
                                               const QString& folder, PlaylistGroup group);

// The menu command: asks for the folder (starting at the program folder), then writes.
void groupPlaylistsCommand(CommandEnv& env, const SongListModel& model, PlaylistGroup group);
