// "Save As Playlist" › "Group by ...": names of the playlists and what goes into them.
#include "listfixtures.h"
#include "lists/playlists.h"
#include "support/testfiles.h"

#include <QDir>
#include <QFile>

using namespace listfixtures;
using namespace testfiles;

TEST(GroupPlaylists, NamesStayFilesInTheFolder) {
    const std::pair<QString, QString> cases[] = {
        {"Abba", "Abba.m3u"},
        {"  Abba  ", "Abba.m3u"},
        {"AC/DC", "ACDC.m3u"},
        {"../x", "_..x.m3u"},
        {"", "_.m3u"},
        {"   ", "_.m3u"},
        {".38 Special", "_.38 Special.m3u"},
        {"What?*<>|\"'\\:", "What.m3u"},
        {"Line\nbreak", "Linebreak.m3u"},
        {"Motörhead", "Motörhead.m3u"},
    };
    for (const auto& [value, name] : cases)
        EXPECT_EQ(groupPlaylistName(value), name) << value.toStdString();
    // A value too long for a file name is cut to whole characters.
    const QString longName = groupPlaylistName(QString(300, QChar(0x00F6)));
    EXPECT_LE(longName.toUtf8().size(), 255);
    EXPECT_TRUE(longName.endsWith(QString(QChar(0x00F6)) + ".m3u"));
}

TEST_F(ListFilesTest, GroupByWritesOnePlaylistPerValue) {
    const char* artists[] = {"A", "B", "A", "ABBA", "Abba", "AC/DC", "", "../up"};
    for (int i = 0; i < 8; ++i)
        model.append(fullRow(QString("s%1.mp3").arg(i), artists[i]));
    model.append(SongItem(QStringList{"note", "1.00"})); // one sub-item: in no playlist
    writeAll(path("A.m3u"), "left from an earlier run, replaced");
    const std::vector<GroupPlaylist> written =
        writeGroupPlaylists(t.env, model, root, PlaylistGroup::Artist);
    QStringList got;
    for (const GroupPlaylist& p : written)
        got << QFileInfo(p.path).fileName() + QString(" %1").arg(p.entries);
    EXPECT_EQ(got, (QStringList{"A.m3u 2", "B.m3u 1", "ABBA.m3u 2", "ACDC.m3u 1", "_.m3u 1",
                                "_..up.m3u 1"}));
    EXPECT_EQ(readAll(path("A.m3u")), "#EXTM3U\n#EXTINF:215,s0\n/music/s0.mp3\n"
                                      "#EXTINF:215,s2\n/music/s2.mp3\n");
    EXPECT_TRUE(readAll(path("ABBA.m3u")).endsWith("/music/s4.mp3\n"));
    EXPECT_EQ(QDir(root).entryList(QDir::Files | QDir::Hidden).size(), 6);
    EXPECT_FALSE(QFile::exists(dir.filePath("../up.m3u")));
    EXPECT_TRUE(t.prompt.informed().isEmpty());
}

TEST_F(ListFilesTest, GroupByStopsAtCancelAndAtAFailure) {
    for (int i = 0; i < 6; ++i)
        model.append(fullRow(QString("s%1.mp3").arg(i), QString("Artist %1").arg(i % 3)));
    t.progress.cancelAtItem(int(t.progress.items().size()) + 3); // the first entry of the second
    EXPECT_EQ(writeGroupPlaylists(t.env, model, root, PlaylistGroup::Artist).size(), 1u);
    t.progress.cancelAtItem(0);
    EXPECT_TRUE(QFile::exists(path("Artist 0.m3u")));
    EXPECT_FALSE(QFile::exists(path("Artist 1.m3u")));

    // A folder that is not there: the reason told, nothing written.
    EXPECT_TRUE(writeGroupPlaylists(t.env, model, path("missing"), PlaylistGroup::Year).empty());
    ASSERT_EQ(t.prompt.informed().size(), 1);
    EXPECT_TRUE(t.prompt.informed()[0].contains("1999.m3u"));

    // The menu command asks for the folder first, starting at the program folder.
    t.prompt.push(root);
    groupPlaylistsCommand(t.env, model, PlaylistGroup::Genre);
    EXPECT_EQ(readAll(path("Rock.m3u")).count("#EXTINF"), 6);
}
