#include "lists/playlists.h"

#include "base/commandenv.h"
#include "base/progressscope.h"
#include "base/prompt.h"
#include "base/translator.h"
#include "lists/fileformat.h"
#include "lists/listio.h"
#include "lists/listtext.h"
#include "lists/songlistmodel.h"

#include <QHash>

namespace {
// A file name has at most 255 bytes; the stem leaves room for ".m3u".
constexpr qsizetype kMaxStemBytes = 250;

int groupColumn(PlaylistGroup group) {
    switch (group) {
    case PlaylistGroup::Artist:
        return SongItem::Artist;
    case PlaylistGroup::Album:
        return SongItem::Album;
    case PlaylistGroup::Genre:
        return SongItem::Genre;
    case PlaylistGroup::Year:
        return SongItem::Year;
    }
    return SongItem::Artist;
}
} // namespace

QString groupPlaylistName(const QString& value) {
    QString stem = QString::fromStdString(CleanFileName(value.trimmed().toStdString()));
    stem.removeIf([](QChar c) { return c.unicode() < 0x20 || c.unicode() == 0x7F; });
    stem = stem.trimmed();
    if (stem.isEmpty() || stem.startsWith('.'))
        stem.prepend('_');
    // Cut whole characters until the name fits.
    while (stem.toUtf8().size() > kMaxStemBytes) {
        stem.chop(1);
        if (!stem.isEmpty() && stem.back().isHighSurrogate())
            stem.chop(1);
    }
    return stem + QStringLiteral(".m3u");
}

std::vector<GroupPlaylist> writeGroupPlaylists(CommandEnv& env, const SongListModel& model,
                                               const QString& folderIn, PlaylistGroup group) {
    const QString folder = folderIn.endsWith('/') ? folderIn : folderIn + '/';
    const int column = groupColumn(group);
    struct Group {
        QString name;
        std::vector<int> rows;
    };
    std::vector<Group> groups;
    QHash<QString, int> byName;  // lower-case file name -> group
    QHash<QString, int> byValue; // a value as the rows spell it -> group
    for (int r = 0; r < model.size(); ++r) {
        const SongItem& item = model.item(r);
        if (item.subItemCount() <= 1)
            continue;
        const QString value = item.text(column);
        auto known = byValue.constFind(value);
        if (known == byValue.constEnd()) {
            const QString name = groupPlaylistName(value);
            auto it = byName.constFind(name.toLower());
            if (it == byName.constEnd()) {
                it = byName.insert(name.toLower(), int(groups.size()));
                groups.push_back({name, {}});
            }
            known = byValue.insert(value, *it);
        }
        groups[size_t(*known)].rows.push_back(r);
    }

    std::vector<GroupPlaylist> written;
    QString failure;
    const auto failed = [&failure](const QString& path, const QString& why) {
        failure = T("InfoCannotWritePlaylist", "The playlist %1 could not be written:~~%2")
                      .arg(listtext::displayText(path), why);
    };
    {
        ProgressScope progress(env.progress, QStringLiteral("save"));
        // Written side by side, then put in place together (see FileBatch).
        listio::FileBatch batch;
        int done = 0;
        for (const Group& g : groups) {
            const QString path = folder + g.name;
            if (!batch.begin(path)) {
                failed(path, batch.errorString());
                break;
            }
            QByteArray& b = batch.buffer();
            b += "#EXTM3U\n";
            bool stop = false;
            for (int r : g.rows) {
                listio::appendM3uEntry(b, model.item(r));
                batch.flush();
                progress.item(QStringLiteral("(") + QString::number(++done) + ')');
                if (progress.cancelled()) {
                    stop = true;
                    break;
                }
            }
            if (stop) {
                batch.drop(); // the playlists before it are kept
                break;
            }
            if (!batch.end()) {
                failed(path, batch.errorString());
                break;
            }
            written.push_back({path, int(g.rows.size())});
        }
        int placed = 0;
        const auto step = [&] {
            progress.item(QStringLiteral("(") + QString::number(++placed) + '/' +
                          QString::number(written.size()) + ')');
        };
        if (!batch.commitAll(step)) {
            failed(batch.failedTarget(), batch.errorString());
            while (!written.empty() && written.back().path != batch.failedTarget())
                written.pop_back();
            if (!written.empty())
                written.pop_back();
        }
    }
    if (!failure.isEmpty())
        env.prompt.information(failure);
    return written;
}

void groupPlaylistsCommand(CommandEnv& env, const SongListModel& model, PlaylistGroup group) {
    const QString folder =
        env.prompt.chooseFolder(T("SelectDir", "Select Directory"), env.programFolder);
    if (folder.isEmpty())
        return;
    writeGroupPlaylists(env, model, folder, group);
}
