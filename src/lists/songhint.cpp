#include "lists/songhint.h"

#include "base/settings.h"
#include "base/translator.h"
#include "lists/rowcolours.h"
#include "lists/songitem.h"

#include <QFileInfo>
#include <QUrl>

namespace {
QString bold(const QString& label) {
    return "<b>" + label.toHtmlEscaped() + ": </b>";
}
} // namespace

QString buildSongHint(const SongItem& item, const Settings& s, const HintSources& sources) {
    const auto field = [&](int column) { return item.text(column).toHtmlEscaped(); };
    QString h = "<b>" + T("HintInfo", "INFO").toHtmlEscaped() + "</b><hr><br>";

    if (s.flag("CBHLyrics")) {
        h += "<font color=\"green\"><b>";
        h += (item.hasFlag(SongItem::HasLyrics) ? T("HintLyrics", "Has lyrics")
                                                : T("HintLyricsNo", "Doesn't have lyrics"))
                 .toHtmlEscaped();
        h += "</b></font><br>";
    }
    if (s.flag("CBHCD")) {
        QString cd;
        if (!sources.findOnCd) {
            cd = T("DBEditorDBEmpty", "Empty DB");
        } else {
            cd = sources.findOnCd(QFileInfo(item.text(SongItem::FileName)).completeBaseName());
            if (cd.isEmpty())
                cd = T("DBEditorDBNoInfo", "No info");
        }
        h += bold(T("HintCD", "On CD")) + cd.toHtmlEscaped() + "<br>";
    }
    if (s.flag("CBHWeight") && item.has(SongItem::Weight))
        h += bold(T("HintWeight", "Weight")) + field(SongItem::Weight) + "<br>";
    if (s.flag("CBHError") && item.hasFlag(SongItem::ErrorMark))
        h += "<font color=\"red\">" + bold(T("HintError", "Has ID3 Tag Error")) + "</font><br>";
    if (s.flag("CBHLyrics") || s.flag("CBHError") || s.flag("CBHCD") || s.flag("CBHWeight"))
        h += "<br>";

    if (s.flag("CBHAlbumImage")) {
        const QString cover = item.text(SongItem::Location) + item.text(SongItem::Artist) + "-" +
                              item.text(SongItem::Album) + "-front.jpg";
        if (item.has(SongItem::Album) && QFileInfo(cover).isFile())
            h += "<img src=\"" + QUrl::fromLocalFile(cover).toString().toHtmlEscaped() +
                 "\" width=\"50\" height=\"50\"><br>";
    }

    struct Part {
        const char* setting;
        const char* key;
        const char* def;
        int column;
    };
    static const Part tagParts[] = {
        {"CBHSongTitle", "HintSongTitle", "Song title", SongItem::SongTitle},
        {"CBHArtist", "HintArtist", "Artist", SongItem::Artist},
        {"CBHAlbum", "HintAlbum", "Album", SongItem::Album},
        {"CBHYear", "HintYear", "Year", SongItem::Year},
        {"CBHGenre", "HintGenre", "Genre", SongItem::Genre},
        {"CBHTrackNumber", "HintTrack", "Track Number", SongItem::TrackNumber},
        {"CBHComment", "HintComment", "Comment", SongItem::Comment},
    };
    bool anyTag = false;
    for (const Part& p : tagParts) {
        if (!s.flag(p.setting))
            continue;
        anyTag = true;
        // A row without the field ends the hint here, as far as it got.
        if (!item.has(p.column))
            return h;
        h += bold(T(p.key, p.def)) + field(p.column) + "<br>";
    }
    if (anyTag)
        h += "<br>";

    static const Part streamParts[] = {
        {"CBHLength", "HintLength", "Length (sec)", SongItem::LengthSec},
        {"CBHBitRate", "HintBitrate", "Bitrate", SongItem::BitRate},
        {"CBHFrequency", "HintFrequency", "Frequency", SongItem::Frequency},
        {"CBHcrc", "HintCRC", "CRC", SongItem::CRC},
        {"CBHOriginal", "HintOriginal", "Original", SongItem::Original},
        {"CBHCopyright", "HintCopyright", "Copyright", SongItem::Copyright},
    };
    for (const Part& p : streamParts) {
        if (!s.flag(p.setting))
            continue;
        if (!item.has(p.column))
            return h;
        if (p.column == SongItem::BitRate) {
            const QString colour = htmlColor(bitRateColor(item.text(SongItem::BitRate), s));
            h += bold(T(p.key, p.def)) + "<span style=\"background-color:" + colour + "\"> " +
                 field(p.column) + " </span><br>";
        } else {
            h += bold(T(p.key, p.def)) + field(p.column) + "<br>";
        }
    }
    return h + "<br>";
}
