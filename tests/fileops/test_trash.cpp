// The desktop trash: where files go, what the .trashinfo says, names that are not
// UTF-8, and file systems without a trash or with case-insensitive names (a FAT image
// mounted with fusefat when FUSE is there).
#include "base/nativepath.h"
#include "fileops/fileoperations.h"
#include "support/fatmount.h"
#include "support/testfiles.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <ftw.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace testfiles;

namespace {
// A file's bytes by a path of bytes (QFile would encode an escaped name differently).
QByteArray readBytes(const QByteArray& path) {
    QByteArray out;
    const int fd = ::open(path.constData(), O_RDONLY);
    if (fd < 0)
        return out;
    char buf[4096];
    ssize_t n;
    while ((n = ::read(fd, buf, sizeof buf)) > 0)
        out.append(buf, n);
    ::close(fd);
    return out;
}

class TrashTest : public ::testing::Test {
protected:
    void SetUp() override {
        qputenv("XDG_DATA_HOME", QFile::encodeName(dir.path() + "/data"));
        QDir().mkpath(dir.path() + "/music");
    }
    // Names that are not UTF-8 are beyond QDir's removal: the folder goes by its bytes.
    void TearDown() override {
        ::nftw(QFile::encodeName(dir.path()).constData(), removeEntry, 16, FTW_DEPTH | FTW_PHYS);
    }
    static int removeEntry(const char* path, const struct stat*, int, struct FTW*) {
        ::remove(path);
        return 0;
    }
    QString music(const QString& name) const { return dir.path() + "/music/" + name; }
    QString trash(const QString& rel) const { return dir.path() + "/data/Trash/" + rel; }

    QTemporaryDir dir;
};

} // namespace

TEST_F(TrashTest, FilesGoToTheHomeTrashWithTheirInfo) {
    writeAll(music("Song (live) 100%.mp3"), "one");
    FileOperations files;
    EXPECT_FALSE(files.lacksTrash(music("Song (live) 100%.mp3")));
    const FileOperations::Result r = files.moveToTrash(music("Song (live) 100%.mp3"));
    ASSERT_TRUE(r.ok) << r.error.toStdString();
    EXPECT_FALSE(QFileInfo::exists(music("Song (live) 100%.mp3")));
    EXPECT_EQ(r.target, trash("files/Song (live) 100%.mp3"));
    EXPECT_EQ(readAll(r.target), "one");
    const QString info = QString::fromUtf8(readAll(trash("info/Song (live) 100%.mp3.trashinfo")));
    const QByteArray folder = QFile::encodeName(dir.path() + "/music/");
    EXPECT_TRUE(info.startsWith("[Trash Info]\nPath=" + QString::fromLatin1(folder) +
                                "Song%20%28live%29%20100%25.mp3\nDeletionDate="))
        << info.toStdString();
    EXPECT_TRUE(QRegularExpression(R"(DeletionDate=\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\n$)")
                    .match(info)
                    .hasMatch());

    // A second file of that name gets a name of its own; the first stays.
    writeAll(music("Song (live) 100%.mp3"), "two");
    const FileOperations::Result again = files.moveToTrash(music("Song (live) 100%.mp3"));
    ASSERT_TRUE(again.ok);
    EXPECT_NE(again.target, r.target);
    EXPECT_EQ(readAll(again.target), "two");
    EXPECT_EQ(readAll(r.target), "one");
    EXPECT_EQ(QDir(trash("info")).entryList(QDir::Files).size(), 2);
}

TEST_F(TrashTest, NamesThatAreNotUtf8BesideALookAlike) {
    const QByteArray latin1 = QFile::encodeName(dir.path()) + "/music/caf\xe9.mp3";
    const int fd = ::open(latin1.constData(), O_CREAT | O_WRONLY, 0644);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(::write(fd, "latin", 5), 5);
    ::close(fd);
    writeAll(music(QString::fromUtf8("caf\xc3\xa9.mp3")), "decoy");

    FileOperations files;
    const QString shown = fromNativePath(latin1);
    const FileOperations::Result r = files.moveToTrash(shown);
    ASSERT_TRUE(r.ok) << r.error.toStdString();
    struct stat st {};
    EXPECT_NE(::lstat(latin1.constData(), &st), 0);
    EXPECT_EQ(readAll(music(QString::fromUtf8("caf\xc3\xa9.mp3"))), "decoy");
    // The info records the bytes; the trashed file keeps them.
    const QByteArray trashed = toNativePath(r.target);
    EXPECT_TRUE(trashed.endsWith("/files/caf\xe9.mp3"));
    EXPECT_TRUE(readBytes(QFile::encodeName(dir.path()) + "/data/Trash/info/caf\xe9.mp3.trashinfo")
                    .contains("/music/caf%E9.mp3\n"));

    // Renames take the same bytes: the look-alike is never the one renamed.
    writeAll(music("x.mp3"), "x");
    EXPECT_TRUE(
        files.renameFile(dir.path() + "/music", "x.mp3", fromNativePath(QByteArray("\xff.mp3")))
            .ok);
    EXPECT_EQ(::lstat((QFile::encodeName(dir.path()) + "/music/\xff.mp3").constData(), &st), 0);
    EXPECT_EQ(readAll(music(QString::fromUtf8("caf\xc3\xa9.mp3"))), "decoy");
}

TEST_F(TrashTest, CaseOnlyRenameOnAFatMount) {
    FatMount fat(dir.path());
    if (!fat.mounted())
        GTEST_SKIP() << "no FUSE or fusefat here";
    writeAll(fat.path("x.mp3"), "x");
    writeAll(fat.path("y.mp3"), "y");
    FileOperations files;
    const QString folder = fat.path("");
    // Plain rename(2) of y.mp3 to X.MP3 would replace x.mp3 here.
    EXPECT_EQ(files.renameFile(folder, "y.mp3", "X.MP3").errorCode, EEXIST);
    EXPECT_EQ(readAll(fat.path("x.mp3")), "x");
    EXPECT_EQ(readAll(fat.path("y.mp3")), "y");
    // A case change of the file itself goes through.
    const FileOperations::Result r = files.renameFile(folder, "x.mp3", "X.MP3");
    ASSERT_TRUE(r.ok) << r.error.toStdString();
    const QStringList listed = QDir(folder).entryList(QDir::Files);
    EXPECT_TRUE(listed.contains("X.MP3")) << listed.join(',').toStdString();
    EXPECT_FALSE(listed.contains("x.mp3"));
    EXPECT_EQ(listed.size(), 2) << listed.join(',').toStdString();
    EXPECT_EQ(readAll(fat.path("X.MP3")), "x");
    // Folders too.
    QDir().mkpath(fat.path("abba"));
    EXPECT_TRUE(files.renameFolder(fat.path("abba"), "ABBA").ok);
    EXPECT_TRUE(QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot).contains("ABBA"));

    // Another file system than the home trash's: the file goes to the mount's own trash.
    const FileOperations::Result t = files.moveToTrash(fat.path("y.mp3"));
    ASSERT_TRUE(t.ok) << t.error.toStdString();
    const QString own = fat.path(".Trash-" + QString::number(::getuid()));
    EXPECT_EQ(t.target, own + "/files/y.mp3");
    EXPECT_TRUE(readAll(own + "/info/y.mp3.trashinfo").contains("\nPath=y.mp3\n"));
}

TEST_F(TrashTest, AFileSystemWithoutTrashIsToldApart) {
    FatMount fat(dir.path());
    if (!fat.mounted())
        GTEST_SKIP() << "no FUSE or fusefat here";
    writeAll(fat.path("song.mp3"), "song");
    fat.unmount();
    ASSERT_TRUE(fat.mount(true));
    // A read-only mount can hold no trash: the file is named in the question instead.
    FileOperations files;
    EXPECT_TRUE(files.lacksTrash(fat.path("song.mp3")));
    EXPECT_FALSE(files.lacksTrash(fat.path("missing.mp3"))); // nothing there, nothing to ask
    EXPECT_EQ(files.moveToTrash(fat.path("song.mp3")).errorCode, ENOTSUP);
    EXPECT_FALSE(files.deleteFile(fat.path("song.mp3")).ok);
    EXPECT_EQ(readAll(fat.path("song.mp3")), "song");
    writeAll(music("here.mp3"), "h");
    EXPECT_FALSE(files.lacksTrash(music("here.mp3")));
}
