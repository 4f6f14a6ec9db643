// The information hint of a list row: rich text built from the row and the
// "List Hint" settings.
#pragma once

#include <QString>

#include <functional>

class SongItem;
class Settings;

struct HintSources {
    // Answers the CD a song (file name without extension) lies on in the open
    // catalogue; empty when none is known. Unset while no catalogue is open.
    std::function<QString(const QString&)> findOnCd;
};

QString buildSongHint(const SongItem& item, const Settings& settings,
                      const HintSources& sources = {});
