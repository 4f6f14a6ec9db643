// Folder scans: which files become rows, in which order, and Cancel.
#include "base/inifile.h"
#include "base/nativepath.h"
#include "base/scripted.h"
#include "base/settings.h"
#include "base/texts.h"
#include "lists/folderhistory.h"
#include "lists/folderinput.h"
#include "lists/folderscanner.h"
#include "lists/songlistmodel.h"
#include "lists/songtags.h"
#include "support/testenv.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

namespace {
class ScanTest : public ::testing::Test {
protected:
    void SetUp() override {
        root = dir.path() + "/";
        settings.setValue("RBLTBegining", false); // rows without tags keep these tests about order
        settings.setValue("RBLTNever", true);
    }
    void touch(const QString& relative, const QByteArray& bytes = "x") {
        const QString path = root + relative;
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QStringList rows() const {
        QStringList out;
        for (const SongItem& it : model.items())
            out << it.path().mid(root.size());
        return out;
    }

    QTemporaryDir dir;
    QString root;
    TestEnv t{dir.path() + "/home/"};
    Settings& settings = t.settings;
    SongTags& reader = t.tags;
    ScriptedProgress& progress = t.progress;
    ScriptedPrompt& prompt = t.prompt;
    SongListModel model{&settings};
};
} // namespace

TEST_F(ScanTest, SubfoldersFirstThenSongsThenCdTracksInNameOrder) {
    touch("b.mp3");
    touch("a.MP3");
    touch("Track01.cda");
    touch("x/c.mp3");
    touch("Vol. 2/d.mp3");
    touch(".hidden.mp3");
    touch(".hidden folder/e.mp3");
    touch("notes.txt");
    bool audioCd = false;
    EXPECT_EQ(addFolder(t.env, model, root, true, &audioCd), 5);
    EXPECT_EQ(rows(), (QStringList{"Vol. 2/d.mp3", "x/c.mp3", "a.MP3", "b.mp3", "Track01.cda"}));
    EXPECT_TRUE(audioCd);
    EXPECT_EQ(progress.operations(), QStringList{"add"});
    EXPECT_FALSE(progress.open());
    // A row's location is the folder with "/" and its size comes from the listing.
    EXPECT_EQ(model.item(0).text(SongItem::Location), root + "Vol. 2/");
    EXPECT_EQ(model.item(0).text(SongItem::FileSizeKb), QLocale().toString(0.0, 'f', 2));

    model.clear();
    EXPECT_EQ(addFolder(t.env, model, root.chopped(1), false, &audioCd), 3);
    EXPECT_EQ(rows(), (QStringList{"a.MP3", "b.mp3", "Track01.cda"}));
}

TEST_F(ScanTest, EmptyFolderBoxIsRefusedAndMissingFoldersAddNothing) {
    EXPECT_EQ(addFolder(t.env, model, "  ", true), 0);
    ASSERT_EQ(prompt.informed().size(), 1);
    EXPECT_EQ(prompt.informed().first(), "Please select directory from dropdown menu.");
    EXPECT_TRUE(progress.operations().isEmpty());
    EXPECT_EQ(addFolder(t.env, model, root + "missing/", true), 0);
    EXPECT_EQ(model.size(), 0);
    ASSERT_EQ(prompt.informed().size(), 2);
    EXPECT_EQ(prompt.informed().last(), "This folder does not exist:\n" + root + "missing/");
    EXPECT_TRUE(progress.operations().isEmpty());
}

// Rows of a typed folder carry absolute locations: Location + FileName is the path
// whatever the process's working folder is later.
TEST_F(ScanTest, TypedRelativeAndHomeFoldersBecomeAbsolute) {
    touch("streams/a.mp3");
    touch("home/Music/b.mp3");
    const QString oldCurrent = QDir::currentPath();
    const QByteArray oldHome = qgetenv("HOME");
    ASSERT_TRUE(QDir::setCurrent(root));
    qputenv("HOME", QFile::encodeName(root + "home"));
    struct {
        const char* typed;
        QString folder;
    } cases[] = {
        {"streams", root + "streams/"}, {"./streams/../streams/", root + "streams/"},
        {"~", root + "home/"},          {"~/Music", root + "home/Music/"},
        {"~other", root + "~other/"}, // another user's home is not guessed
        {"/abs/x/..", "/abs/"},         {"  ", ""},
    };
    for (auto& c : cases)
        EXPECT_EQ(typedFolder(c.typed), c.folder) << c.typed;

    addFolder(t.env, model, "streams", false);
    addFolder(t.env, model, typedFolder("~/Music"), false);
    ASSERT_TRUE(QDir::setCurrent(oldCurrent));
    qputenv("HOME", oldHome);
    ASSERT_EQ(model.size(), 2);
    EXPECT_EQ(model.item(0).text(SongItem::Location), root + "streams/");
    EXPECT_EQ(model.item(1).path(), root + "home/Music/b.mp3");
}

TEST_F(ScanTest, SymbolicLinkLoopsEndAndOddNamesSurvive) {
    touch("a/song.mp3");
    ASSERT_TRUE(QFile::link(root + "a", root + "a/loop"));
    // A name that is not UTF-8.
    const QByteArray odd = QFile::encodeName(root) + "caf\xe9.mp3";
    const int fd = ::open(odd.constData(), O_CREAT | O_WRONLY, 0644); // Qt would not keep the bytes
    ASSERT_GE(fd, 0);
    ::close(fd);
    addFolder(t.env, model, root, true);
    ASSERT_EQ(model.size(), 2);
    EXPECT_EQ(model.item(0).text(0), "song.mp3");
    // The odd name maps back to the same bytes, so the file can be opened again.
    EXPECT_EQ(toNativePath(model.item(1).path()), odd);
    ::unlink(odd.constData()); // QTemporaryDir cannot name it either
    EXPECT_EQ(fromNativePath(QByteArray("plain \xc3\xa9")), QString::fromUtf8("plain \xc3\xa9"));
}

TEST_F(ScanTest, CancelKeepsTheRowsSoFarAndTheNextOperationRuns) {
    for (int i = 0; i < 10; ++i)
        touch(QString("s%1.mp3").arg(i));
    progress.cancelAtItem(4); // the folder line, then three files
    addFolder(t.env, model, root, true);
    EXPECT_EQ(model.size(), 3);
    EXPECT_TRUE(progress.cancelRequested());
    progress.cancelAtItem(0);
    addFolder(t.env, model, root, true);
    EXPECT_FALSE(progress.cancelRequested());
    EXPECT_EQ(model.size(), 13);
}

TEST_F(ScanTest, AllDisksStopAtCancel) {
    touch("one/a.mp3");
    touch("two/b.mp3");
    progress.cancelAtItem(2); // the first root's folder line, then its song
    addAllDisks(t.env, model, {root + "one", root + "two"});
    EXPECT_EQ(rows(), QStringList{"one/a.mp3"});
    EXPECT_TRUE(isLocalDiskFileSystem("ext4"));
    EXPECT_FALSE(isLocalDiskFileSystem("proc"));
    EXPECT_FALSE(isLocalDiskFileSystem("nfs"));
    EXPECT_FALSE(isLocalDiskFileSystem("iso9660"));
}

TEST_F(ScanTest, HistoryKeepsEachFolderOnceAndWritesAtOnce) {
    IniFile ini(root + "settings.set");
    FolderHistory history(ini);
    EXPECT_TRUE(history.add("/music/"));
    EXPECT_FALSE(history.add("/music/"));
    EXPECT_TRUE(history.add("/other/"));
    IniFile reread(root + "settings.set");
    EXPECT_EQ(reread.keys("History"), (QStringList{"/music/", "/other/"}));
    history.remove("/music/");
    reread.reload();
    EXPECT_EQ(reread.keys("History"), QStringList{"/other/"});
    EXPECT_EQ(FolderHistory(reread).folders(), QStringList{"/other/"});
}

TEST_F(ScanTest, CommandLinePrintsTheSameRowsThePaneGets) {
    touch("b.mp3");
    touch("sub/a.mp3");
    addFolder(t.env, model, root, true);
    QProcess cli;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("RENDOLO_HOME", dir.path() + "/home");
    QDir().mkpath(dir.path() + "/home");
    IniFile cfg(dir.path() + "/home/settings.set");
    cfg.writeBool("Settings", "RBLTBegining", false);
    cfg.writeBool("Settings", "RBLTNever", true);
    cfg.save();
    cli.setProcessEnvironment(env);
    cli.start(RENDOLO_CLI, {"scan", "-r", root});
    ASSERT_TRUE(cli.waitForFinished(20000));
    EXPECT_EQ(cli.exitCode(), 0);
    const QStringList lines =
        QString::fromUtf8(cli.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), model.size());
    for (int i = 0; i < model.size(); ++i)
        EXPECT_EQ(lines[i], model.item(i).texts().join('\t')) << i;
    EXPECT_EQ(lines[0].split('\t').size(), 18);
}

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
