// Statistics: the counts, shares, artist rows and texts of one pass over the selected
// songs, Cancel, damaged rows, the chart data taken from the same result, and the
// command line agreeing with a pane.
#include "base/inifile.h"
#include "lists/folderscanner.h"
#include "lists/songlistmodel.h"
#include "support/testenv.h"
#include "support/testfiles.h"
#include "tools/statistics.h"
#include "tools/statisticscharts.h"

#include <QCoreApplication>
#include <QDir>
#include <QItemSelectionModel>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <limits>

namespace {
struct Song {
    QString genre;
    QString artist = "A";
    QString album = "X";
    QString year = "2000";
    QString length = "60";
    QString sizeKb = "100.00";
};

SongItem row(const Song& s) {
    QStringList t;
    for (int c = 0; c < SongItem::ColumnCount; ++c)
        t << QString();
    t[SongItem::FileName] = "song.mp3";
    t[SongItem::FileSizeKb] = s.sizeKb;
    t[SongItem::Location] = "/music/";
    t[SongItem::Genre] = s.genre;
    t[SongItem::Artist] = s.artist;
    t[SongItem::Album] = s.album;
    t[SongItem::Year] = s.year;
    t[SongItem::LengthSec] = s.length;
    return SongItem(t);
}

class StatisticsTest : public ::testing::Test {
protected:
    void add(const Song& s) { model.append(row(s)); }
    void addRow(const SongItem& item) { model.append(item); }
    void selectAll() {
        selection.select(QItemSelection(model.index(0, 0), model.index(model.size() - 1, 0)),
                         QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    void selectRow(int r) {
        selection.select(model.index(r, 0),
                         QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
    StatisticsResult compute(bool detailed = true) {
        return computeStatistics(t.env, PaneRef{&model, &selection, 0}, detailed);
    }
    static QStringList genreRows(const StatisticsResult& r) {
        QStringList out;
        for (const StatisticsGenre& g : r.genres)
            out << g.name + ' ' + shareText(r.share(g), QLocale::c());
        return out;
    }

    QTemporaryDir dir;
    TestEnv t{dir.path() + "/"};
    SongListModel model{&t.settings};
    QItemSelectionModel selection{&model};
};
} // namespace

TEST_F(StatisticsTest, GenresIgnoreCaseAndTheFirstSpellingNamesTheRow) {
    add({"Rock"});
    add({"rock"});
    add({"Pop"});
    selectAll();
    const StatisticsResult r = compute(false);
    EXPECT_EQ(genreRows(r), (QStringList{"Rock 66.7", "Pop 33.3"}));
    EXPECT_EQ(r.files, 3);
    EXPECT_EQ(r.songs, 3);
    EXPECT_TRUE(r.artists.empty()) << "the simple form has no artist rows";
    // A blank genre is a row of its own; a German window writes a decimal comma.
    add({""});
    selectAll();
    EXPECT_EQ(genreRows(compute(false)), (QStringList{"Rock 50.0", "Pop 25.0", " 25.0"}));
    EXPECT_EQ(shareText(66.66, QLocale(QLocale::German)), "66,7");
}

TEST_F(StatisticsTest, LengthsThatAreNotWholeNumbersAddNothingButTheSongsStillCount) {
    struct Case {
        const char* length;
        std::int64_t seconds;
    } cases[] = {
        {"", 0},
        {"abc", 0},
        {"-5", 0},
        {"1e3", 0},
        {"12.5", 0},
        {" 7", 0},
        {"99999999999999999999", 0},
        {"0", 0},
        {"59", 59},
        {"9223372036854775807", std::numeric_limits<std::int64_t>::max()},
    };
    for (const Case& c : cases)
        EXPECT_EQ(lengthSeconds(QString::fromLatin1(c.length)), c.seconds) << c.length;

    add({"Rock", "A", "X", "2000", ""});
    add({"Rock", "A", "X", "2000", "abc"});
    add({"Pop", "A", "X", "2000", "100"});
    selectAll();
    StatisticsResult r = compute(false);
    EXPECT_EQ(r.playtimeSeconds, 100);
    EXPECT_EQ(genreRows(r), (QStringList{"Rock 66.7", "Pop 33.3"}));
    // A total beyond 64 bits stops at the largest value instead of turning negative.
    add({"Pop", "A", "X", "2000", "9223372036854775807"});
    selectAll();
    r = compute(false);
    EXPECT_EQ(r.playtimeSeconds, std::numeric_limits<std::int64_t>::max());
}

TEST_F(StatisticsTest, PlaytimeText) {
    struct Case {
        std::int64_t seconds;
        const char* text;
    } cases[] = {
        {0, "0:00  (0 sec)"},
        {59, "0:59  (59 sec)"},
        {3600, "1:00:00  (3600 sec)"},
        {36000, "10:00:00  (36000 sec)"},
    };
    for (const Case& c : cases) {
        StatisticsResult r;
        r.playtimeSeconds = c.seconds;
        EXPECT_EQ(r.playtimeText(), QString::fromLatin1(c.text));
    }
}

TEST_F(StatisticsTest, ArtistRowsCompareWholeAlbumsAndYears) {
    // 'Best' after 'The Best' and '991' after '1991' are items of their own; letter
    // case counts for albums, not for artists.
    add({"Rock", "ABBA", "The Best", "1991"});
    add({"Rock", "abba", "Best", "991"});
    add({"Rock", "Abba", "The Best", "1991"});
    add({"Rock", "ABBA", "the best", "1991"});
    add({"Rock", "Queen", "", ""});
    add({"Rock", "Queen", "", ""});
    selectAll();
    const StatisticsResult r = compute();
    ASSERT_EQ(r.artists.size(), 2u);
    const StatisticsArtist& abba = r.artists[0];
    EXPECT_EQ(abba.name, "ABBA");
    EXPECT_EQ(abba.songs, 4);
    EXPECT_EQ(abba.albums, (QStringList{"The Best", "Best", "the best"}));
    EXPECT_EQ(abba.years, (QStringList{"1991", "991"}));
    EXPECT_EQ(joinedText(abba.albums), "The Best, Best, the best, ");
    EXPECT_EQ(joinedText(abba.years), "1991, 991, ");
    // A blank album and year are one item each, as the texts ", " were.
    EXPECT_EQ(r.artists[1].albums, QStringList{""});
    EXPECT_EQ(joinedText(r.artists[1].years), ", ");
    EXPECT_EQ(r.albumCount, 4);
    EXPECT_EQ(allArtistsText(r), "ABBA, Queen, ");
}

TEST_F(StatisticsTest, OnlySelectedRowsWithALengthColumnAreCountedInListOrder) {
    add({"Jazz", "B", "Y", "1970", "10", "1.50"});
    addRow(SongItem(QStringList{"just a note"}));       // a note row: a file, not a song
    addRow(SongItem(QStringList{"short.mp3", "2.25"})); // ends before "Length (sec)"
    add({"Rock", "A", "X", "2000", "20", "3.25"});
    add({"Pop", "C", "Z", "1999", "30", "x"}); // not selected
    selectRow(3);
    selectRow(1);
    selectRow(2);
    selectRow(0);
    const StatisticsResult r = compute();
    EXPECT_EQ(r.files, 4);
    EXPECT_EQ(r.songs, 2);
    EXPECT_EQ(r.playtimeSeconds, 30);
    EXPECT_DOUBLE_EQ(r.sizeKb, 1.5 + 2.25 + 3.25);
    EXPECT_EQ(genreRows(r), (QStringList{"Jazz 50.0", "Rock 50.0"}));
    ASSERT_EQ(r.artists.size(), 2u);
    EXPECT_EQ(r.artists[0].name, "B");
}

TEST_F(StatisticsTest, CancelKeepsTheFiguresSoFar) {
    for (int i = 0; i < 5; ++i)
        add({i < 2 ? "Rock" : "Pop", QString("Artist %1").arg(i), "X", "2000", "10", "1.00"});
    selectAll();
    t.progress.cancelAtItem(2);
    const StatisticsResult r = compute();
    EXPECT_TRUE(r.cancelled);
    EXPECT_EQ(t.progress.operations(), QStringList{"stat"});
    EXPECT_EQ(t.progress.items(), (QStringList{"(0%)", "(20%)"}));
    EXPECT_FALSE(t.progress.open());
    EXPECT_EQ(r.songs, 2);
    EXPECT_EQ(r.playtimeSeconds, 20);
    EXPECT_EQ(genreRows(r), QStringList{"Rock 100.0"});
    EXPECT_EQ(r.artists.size(), 2u);
    // The number of files and their size are the whole selection's.
    EXPECT_EQ(r.files, 5);
    EXPECT_DOUBLE_EQ(r.sizeKb, 5.0);
}

TEST_F(StatisticsTest, OddTagsAndManyAlbumsCountAsTheyStand) {
    add({"<b>x</b>", "<i>Artist</i>", "A & B", "19\t91", "60"});
    for (int i = 0; i < 100000; ++i)
        add({"Rock", "Many", QString::number(i), "2000", "1"});
    selectAll();
    const StatisticsResult r = compute();
    EXPECT_EQ(r.genres[0].name, "<b>x</b>");
    EXPECT_EQ(r.artists[0].name, "<i>Artist</i>");
    EXPECT_EQ(r.artists[1].albums.size(), 100000);
    EXPECT_EQ(r.albumCount, 100001);
    EXPECT_EQ(r.playtimeSeconds, 100060);
}

TEST(StatisticsCharts, DataComesFromTheResult) {
    StatisticsResult r;
    r.songs = 0;
    for (int i = 0; i < 15; ++i) {
        r.genres.push_back({i == 3 ? QString() : QString("G%1").arg(i), 15 - i});
        r.songs += 15 - i;
    }
    r.genres.push_back({"Late", 20});
    r.genres.push_back({" ", 1}); // shows as blank too: one "(none)" bar with ""
    r.songs += 21;
    const ChartData genres = genreChart(r);
    ASSERT_EQ(genres.bars.size(), 13u);
    EXPECT_EQ(genres.bars[0].label, "Late");
    EXPECT_EQ(genres.bars[1].label, "G0");
    EXPECT_EQ(genres.bars[4].label, "(none)");
    EXPECT_EQ(genres.bars[4].value, 12 + 1);
    EXPECT_EQ(genres.bars[12].label, "Other");
    EXPECT_TRUE(genres.bars[12].rest);
    EXPECT_EQ(genres.bars[12].value, 4 + 3 + 2 + 1); // the twelve largest end with G10
    EXPECT_EQ(genres.maximum(), 20);
    EXPECT_TRUE(genres.bars[0].tip.contains("Late"));

    r.years = {{"2001", 3}, {"", 2}, {"1999", 1}, {"abc", 4}, {"1999-05-01", 2}, {"991", 1}};
    const ChartData years = yearChart(r);
    QStringList labels;
    for (const ChartBar& b : years.bars)
        labels << QString("%1=%2").arg(b.label).arg(b.value);
    EXPECT_EQ(labels, (QStringList{"991=1", "1999=3", "2001=3", "No year=6"}));
    EXPECT_TRUE(years.bars.back().rest);

    r.artists = {{"Few", 10, {}, {"a"}},
                 {"Most", 2, {}, {"a", "b", "c"}},
                 {"Tie", 5, {}, {"a", "b"}},
                 {"Tie2", 9, {}, {"a", "b"}},
                 {" ", 50, {}, {"a", "b", "c", "d"}}}; // no artist: not in the chart
    const ChartData albums = albumsChart(r, 3);
    labels.clear();
    for (const ChartBar& b : albums.bars)
        labels << QString("%1=%2").arg(b.label).arg(b.value);
    EXPECT_EQ(labels, (QStringList{"Most=3", "Tie2=2", "Tie=2"}));
}

TEST_F(StatisticsTest, CommandLineAgreesWithThePane) {
    const QStringList names = {"musicmetadata__id3v2.3.mp3", "musicmetadata__id3v2.4.mp3",
                               "musicmetadata__id3v2.2.mp3", "musicmetadata__id3v2-utf16.mp3"};
    for (const QString& n : names)
        SKIP_WITHOUT_CORPUS_FILE(n);
    const QString root = dir.path() + "/songs/";
    QDir().mkpath(root + "sub");
    for (int i = 0; i < names.size(); ++i)
        ASSERT_TRUE(
            QFile::copy(testfiles::corpusFile(names[i]), root + (i % 2 ? "sub/" : "") + names[i]));
    addFolder(t.env, model, root, true);
    ASSERT_EQ(model.size(), names.size());
    selectAll();
    const StatisticsResult r = compute();

    QProcess cli;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("RENDOLO_HOME", dir.path()); // the same settings as the pane's
    cli.setProcessEnvironment(env);
    cli.start(RENDOLO_CLI, {"stats", "--detailed", "-r", root});
    ASSERT_TRUE(cli.waitForFinished(20000));
    ASSERT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
    const QJsonObject o = QJsonDocument::fromJson(cli.readAllStandardOutput()).object();
    EXPECT_EQ(o["files"].toInteger(), r.files);
    EXPECT_EQ(o["size_text"].toString(), r.sizeText());
    EXPECT_EQ(o["playtime_seconds"].toInteger(), r.playtimeSeconds);
    EXPECT_EQ(o["playtime_text"].toString(), timeText(r.playtimeSeconds));
    const QJsonArray genres = o["genres"].toArray();
    ASSERT_EQ(genres.size(), qsizetype(r.genres.size()));
    for (qsizetype i = 0; i < genres.size(); ++i) {
        EXPECT_EQ(genres[i][0].toString(), r.genres[size_t(i)].name);
        EXPECT_EQ(genres[i][1].toString(), shareText(r.share(r.genres[size_t(i)]), QLocale::c()));
    }
    const QJsonArray artists = o["artists"].toArray();
    ASSERT_EQ(artists.size(), qsizetype(r.artists.size()));
    for (qsizetype i = 0; i < artists.size(); ++i) {
        const StatisticsArtist& a = r.artists[size_t(i)];
        EXPECT_EQ(artists[i]["artist"].toString(), a.name);
        EXPECT_EQ(artists[i]["songs"].toInteger(), a.songs);
        EXPECT_EQ(artists[i]["albums"].toInteger(), a.albums.size());
        EXPECT_EQ(artists[i]["album_names"].toVariant().toStringList(), a.albums);
        EXPECT_EQ(artists[i]["years"].toVariant().toStringList(), a.years);
    }
    EXPECT_EQ(o["artist_count"].toInteger(), qint64(r.artists.size()));
    EXPECT_EQ(o["album_count"].toInteger(), r.albumCount);

    cli.start(RENDOLO_CLI, {"stats", dir.path() + "/missing"});
    ASSERT_TRUE(cli.waitForFinished(20000));
    EXPECT_EQ(cli.exitCode(), 1);
    EXPECT_TRUE(cli.readAllStandardError().contains("missing"));
}

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
