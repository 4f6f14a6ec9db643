// From files to rows: the command line, drops, reading tags into rows and writing them back.
#include "base/scripted.h"
#include "base/settings.h"
#include "base/texts.h"
#include "lists/addfiles.h"
#include "lists/songlistmodel.h"
#include "lists/songtags.h"
#include "media/id3v1.h"
#include "support/testenv.h"
#include "support/testfiles.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace testfiles;

namespace {
struct CLocale {
    CLocale() { QLocale::setDefault(QLocale::c()); }
} cLocale;

class AddFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        root = dir.path() + "/";
    }
    QString copyOf(const char* corpusName, const QString& as) {
        const QString target = root + as;
        QDir().mkpath(QFileInfo(target).absolutePath());
        EXPECT_TRUE(QFile::copy(corpusFile(corpusName), target)) << corpusName;
        QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner);
        return target;
    }
    QString writeFile(const QString& name, const QByteArray& bytes) {
        QFile f(root + name);
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
        return root + name;
    }

    QTemporaryDir dir;
    QString root;
    TestEnv t{QDir::tempPath() + "/rendolo-test-no-such-folder/"};
    Settings& settings = t.settings;
    SongTags& reader = t.tags;
    ScriptedProgress& progress = t.progress;
    SongListModel model{&settings};
};
} // namespace

TEST(CommandLine, PlansWhatThePathsOpen) {
    struct {
        QStringList paths;
        StartResult result;
        QString file;
        QStringList adds;
    } cases[] = {
        {{}, StartResult::Nothing, {}, {}},
        {{"/x/cat.DB3"}, StartResult::Db, "/x/cat.DB3", {}},
        {{"/x/lyrics.lyr"}, StartResult::Lyr, "/x/lyrics.lyr", {}},
        {{"/x/list.txt"}, StartResult::Load, "/x/list.txt", {}},
        {{"/x/a.mp3"}, StartResult::Mp3, {}, {"/x/a.mp3"}},
        {{"/a.mp3", "/b.MP3", "/c.mp3", "/d.txt"},
         StartResult::Mp3,
         {},
         {"/a.mp3", "/b.MP3", "/c.mp3"}},
        {{"/one.db3", "/two.db3"}, StartResult::Mp3, {}, {}},
    };
    for (auto& c : cases) {
        const CommandLinePlan plan = planCommandLine(c.paths);
        EXPECT_EQ(plan.result, c.result) << c.paths.join(' ').toStdString();
        EXPECT_EQ(plan.file, c.file);
        EXPECT_EQ(plan.adds, c.adds);
    }
}

TEST_F(AddFilesTest, NewRowWithoutTagsHasThirteenBlanks) {
    settings.setValue("RBLTBegining", false);
    settings.setValue("RBLTNever", true);
    const QString path = writeFile("plain.mp3", QByteArray(3456789, '\0'));
    const SongItem it = reader.makeSongItem(path, {}, -1, -1);
    ASSERT_EQ(it.subItemCount(), 17);
    EXPECT_EQ(it.text(SongItem::FileName), "plain.mp3");
    EXPECT_EQ(it.text(SongItem::FileSizeKb), "3375.77");
    EXPECT_EQ(it.text(SongItem::Location), root);
    for (int c = SongItem::SongTitle; c <= SongItem::Copyright; ++c)
        EXPECT_EQ(it.text(c), " ") << c;
    EXPECT_EQ(it.text(SongItem::Attributes), ""); // an ordinary writable file
    EXPECT_EQ(it.text(SongItem::Weight), "0");

    QFile::setPermissions(path, QFile::ReadOwner);
    EXPECT_EQ(reader.makeSongItem(path, {}, -1, -1).text(SongItem::Attributes), "R ");
    const SongItem hidden = reader.makeSongItem(root + ".hidden.mp3", {}, AttrHidden, 10);
    EXPECT_EQ(hidden.text(SongItem::Attributes), "H ");
}

TEST_F(AddFilesTest, ReadsTagAndStreamIntoTheRowAndWritesTheTagBack) {
    SKIP_WITHOUT_CORPUS_FILE("mutagen__silence-44-s-v1.mp3");
    // The classic rows: every tag column from ID3v1 (ID3v2 rows: test_songtags).
    settings.setValue("RBListV2", false);
    settings.setValue("RBListV1", true);
    const QString path = copyOf("mutagen__silence-44-s-v1.mp3", "song.mp3");
    SongItem it = reader.makeSongItem(path, {}, -1, -1);
    ASSERT_EQ(it.subItemCount(), 17);
    EXPECT_NE(it.text(SongItem::BitRate), " ");
    EXPECT_TRUE(isDigitText(it.text(SongItem::BitRate)));
    EXPECT_TRUE(isDigitText(it.text(SongItem::Frequency)));
    EXPECT_TRUE(it.text(SongItem::CRC) == "Yes" || it.text(SongItem::CRC) == "No");

    it.setText(SongItem::SongTitle, "New Title");
    it.setText(SongItem::Artist, "Ärtist");
    it.setText(SongItem::Genre, " ");
    it.setText(SongItem::TrackNumber, "7b");
    ASSERT_TRUE(reader.writeItemTags(it));
    TID3v1 tag;
    ASSERT_TRUE(tag.Load(QFile::encodeName(path).toStdString()));
    EXPECT_EQ(tag.Title(), "New Title");
    EXPECT_EQ(tag.Artist(), "Ärtist");
    EXPECT_EQ(tag.GenreIndex(), 255);
    EXPECT_EQ(tag.Track(), 0);

    it.setText(SongItem::Genre, "blues");
    it.setText(SongItem::TrackNumber, "12");
    ASSERT_TRUE(reader.writeItemTags(it));
    SongItem again = reader.makeSongItem(path, {}, -1, -1);
    EXPECT_EQ(again.text(SongItem::Genre), "Blues");
    EXPECT_EQ(again.text(SongItem::TrackNumber), "12");
    EXPECT_EQ(again.text(SongItem::SongTitle), "New Title");

    // A song that vanished is left alone.
    QFile::remove(path);
    EXPECT_TRUE(reader.writeItemTags(it));
    EXPECT_FALSE(QFile::exists(path));
}

TEST_F(AddFilesTest, UnreadableFilesStillGetRows) {
    const QString cda = writeFile("Track01.cda", "RIFF");
    const QString empty = writeFile("empty.mp3", "");
    const QString pipe = root + "pipe.mp3";
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0); // reading it would block
    for (const QString& p : {cda, empty, root + "missing.mp3", pipe}) {
        const SongItem it = reader.makeSongItem(p, {}, -1, -1);
        EXPECT_EQ(it.subItemCount(), 17) << p.toStdString();
    }
    SongItem it(QStringList{"x"});
    EXPECT_FALSE(reader.readTagsIntoItem(cda, it, SongTags::Mode::Append));
    EXPECT_EQ(it.textCount(), 1);
}

TEST_F(AddFilesTest, CommandLineSongsAddInOrderUntilCancel) {
    QStringList paths;
    for (const char* n : {"a.mp3", "b.mp3", "c.mp3"})
        paths << writeFile(n, "x");
    paths.insert(1, root + "notes.txt");
    EXPECT_EQ(addSongs(t.env, model, paths), 3);
    EXPECT_EQ(progress.operations(), QStringList{"add"});
    EXPECT_EQ(progress.items().first(), "( " + paths[0] + " )");
    EXPECT_EQ(model.item(2).text(0), "c.mp3");

    progress.cancelAtItem(progress.items().size() + 1);
    EXPECT_EQ(addSongs(t.env, model, paths), 1);
    EXPECT_FALSE(progress.open());
}

// A folder on the command line (a file manager's "Open with" passes folders) is scanned
// with its subfolders, as a dropped folder is.
TEST_F(AddFilesTest, CommandLineFoldersAreScanned) {
    QDir().mkpath(root + "Music/sub");
    writeFile("Music/sub/in.mp3", "x");
    writeFile("Music/top.mp3", "x");
    const CommandLinePlan one = planCommandLine({root + "Music"});
    EXPECT_EQ(one.result, StartResult::Mp3);
    EXPECT_EQ(one.adds, QStringList{root + "Music"});
    const QString song = writeFile("s.mp3", "x");
    const CommandLinePlan two = planCommandLine({song, root + "Music", root + "x.txt"});
    EXPECT_EQ(two.adds, (QStringList{song, root + "Music"}));

    EXPECT_EQ(addSongs(t.env, model, two.adds), 3);
    ASSERT_EQ(model.size(), 3);
    EXPECT_EQ(model.item(0).text(0), "s.mp3");
    EXPECT_EQ(model.item(1).path(), root + "Music/sub/in.mp3");
    EXPECT_EQ(model.item(2).path(), root + "Music/top.mp3");
}

TEST_F(AddFilesTest, DropScansFoldersAddsSongsAndStopsAtAListFile) {
    QDir().mkpath(root + "folder/sub");
    writeFile("folder/sub/in.mp3", "x");
    const QString song = writeFile("s.mp3", "x");
    const QString listFile = addDropped(
        t.env, model,
        {root + "folder", root + "..", song, root + "list.rnl", writeFile("t.mp3", "x")});
    EXPECT_EQ(listFile, root + "list.rnl"); // for the caller to load
    ASSERT_EQ(model.size(), 2);
    EXPECT_EQ(model.item(0).path(), root + "folder/sub/in.mp3"); // folders with subfolders
    EXPECT_EQ(model.item(1).text(0), "s.mp3");                   // t.mp3 came after the list
    EXPECT_EQ(progress.operations(), QStringList{"add"});
}
