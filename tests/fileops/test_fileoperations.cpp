// The one class through which the program changes users' files.
#include "base/nativepath.h"
#include "fileops/fileoperations.h"
#include "media/id3v1.h"
#include "support/testfiles.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace testfiles;

namespace {
class FileOperationsTest : public ::testing::Test {
protected:
    QString path(const QString& name) const { return dir.path() + '/' + name; }
    QTemporaryDir dir;
    FileOperations files;
};
} // namespace

TEST_F(FileOperationsTest, RenameNeverReplacesAFileOrFolder) {
    writeAll(path("a.mp3"), "song a");
    writeAll(path("b.mp3"), "song b");
    QDir().mkpath(path("x"));
    QDir().mkpath(path("y"));
    struct Case {
        QString from, to;
    };
    for (const Case& c :
         {Case{"a.mp3", "b.mp3"}, Case{"x", "y"}, Case{"a.mp3", "x"}, Case{"x", "a.mp3"}}) {
        const FileOperations::Result r = files.rename(path(c.from), path(c.to));
        EXPECT_FALSE(r.ok) << c.from.toStdString() << " -> " << c.to.toStdString();
        EXPECT_EQ(r.errorCode, EEXIST);
        EXPECT_FALSE(r.error.isEmpty());
    }
    EXPECT_EQ(readAll(path("a.mp3")), "song a");
    EXPECT_EQ(readAll(path("b.mp3")), "song b");
    EXPECT_TRUE(QFileInfo(path("x")).isDir() && QFileInfo(path("y")).isDir());

    EXPECT_TRUE(files.rename(path("a.mp3"), path("c.mp3")).ok);
    EXPECT_TRUE(files.rename(path("x"), path("z")).ok);
    EXPECT_EQ(readAll(path("c.mp3")), "song a");
    EXPECT_FALSE(QFileInfo::exists(path("a.mp3")));
    EXPECT_TRUE(QFileInfo(path("z")).isDir());

    const FileOperations::Result gone = files.rename(path("missing.mp3"), path("d.mp3"));
    EXPECT_EQ(gone.errorCode, ENOENT);
}

TEST_F(FileOperationsTest, NamesThatAreNotUtf8KeepTheirBytes) {
    // "caf\xe9.mp3" in Latin-1: the list carries it as an escape code point.
    const QByteArray latin1 = QFile::encodeName(dir.path()) + "/caf\xe9.mp3";
    const int fd = ::open(latin1.constData(), O_CREAT | O_WRONLY, 0644);
    ASSERT_GE(fd, 0);
    ::close(fd);
    const QByteArray decoy = QFile::encodeName(dir.path()) + "/caf\xc3\xa9.mp3"; // UTF-8 é
    writeAll(QFile::decodeName(decoy), "decoy");

    const QString shown = fromNativePath(latin1);
    ASSERT_TRUE(files.rename(shown, path("renamed.mp3")).ok);
    struct stat st {};
    EXPECT_NE(::lstat(latin1.constData(), &st), 0);        // the Latin-1 name moved,
    EXPECT_EQ(readAll(QFile::decodeName(decoy)), "decoy"); // the look-alike stayed
    EXPECT_TRUE(QFileInfo::exists(path("renamed.mp3")));
}

TEST_F(FileOperationsTest, TagWritesReportFailuresWithAReason) {
    TID3v1 tag;
    tag.SetTitle("Title");
    const FileOperations::Result missing = files.saveId3v1(tag, path("none.mp3"));
    EXPECT_FALSE(missing.ok);
    EXPECT_FALSE(missing.error.isEmpty());

    writeAll(path("song.mp3"), QByteArray(200, 'x'));
    ASSERT_TRUE(files.saveId3v1(tag, path("song.mp3")).ok);
    TID3v1 read;
    ASSERT_TRUE(read.Load(toNativePathString(path("song.mp3"))));
    EXPECT_EQ(read.Title(), "Title");
    EXPECT_TRUE(files.stripId3v1(tag, path("song.mp3")).ok);
    EXPECT_EQ(QFileInfo(path("song.mp3")).size(), 200);
}

TEST_F(FileOperationsTest, ANewNameIsOneComponent) {
    writeAll(path("song.mp3"), "song");
    struct Case {
        QString name;
        int code;
    };
    const Case cases[] = {
        {"../song.mp3", EINVAL},
        {"sub/song.mp3", EINVAL},
        {"", EINVAL},
        {".", EINVAL},
        {"..", EINVAL},
        {QString(QChar(0)) + "x", EINVAL},
        {QString(256, 'x'), ENAMETOOLONG},
        {QString(128, QChar(0xe9)), ENAMETOOLONG}, // 256 bytes
    };
    for (const Case& c : cases) {
        const FileOperations::Result r = files.renameFile(dir.path(), "song.mp3", c.name);
        EXPECT_FALSE(r.ok) << c.name.toStdString();
        EXPECT_EQ(r.errorCode, c.code) << c.name.toStdString();
        EXPECT_FALSE(r.error.isEmpty());
    }
    EXPECT_EQ(readAll(path("song.mp3")), "song");
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size(), 1);
    // 255 bytes is still one name.
    const QString longest(255, 'y');
    EXPECT_TRUE(files.renameFile(dir.path(), "song.mp3", longest).ok);
    EXPECT_EQ(readAll(path(longest)), "song");
}

TEST_F(FileOperationsTest, FileCommandsTouchFilesAndSymlinksOnlyFolderRenamesFoldersOnly) {
    QDir().mkpath(path("album/live"));
    writeAll(path("album/a.mp3"), "a");
    ASSERT_EQ(::symlink("a.mp3", QFile::encodeName(path("album/link.mp3")).constData()), 0);
    // A row without a file name has its folder as path: never renamed, trashed or deleted.
    EXPECT_FALSE(files.renameFile(path("album"), "live", "x").ok);
    EXPECT_FALSE(files.renameFile(path("album"), "", "x").ok);
    EXPECT_EQ(files.moveToTrash(path("album/live")).errorCode, EISDIR);
    EXPECT_EQ(files.deleteFile(path("album/live")).errorCode, EISDIR);
    EXPECT_EQ(files.renameFolder(path("album/a.mp3"), "x").errorCode, ENOTDIR);
    EXPECT_TRUE(QFileInfo(path("album/live")).isDir());

    // A symlink is renamed itself, not what it points to.
    EXPECT_TRUE(files.renameFile(path("album"), "link.mp3", "other.mp3").ok);
    EXPECT_TRUE(QFileInfo(path("album/other.mp3")).isSymLink());
    EXPECT_EQ(readAll(path("album/a.mp3")), "a");

    const FileOperations::Result r = files.renameFolder(path("album") + "/", "Album (2001)");
    ASSERT_TRUE(r.ok) << r.error.toStdString();
    EXPECT_EQ(r.target, path("Album (2001)/"));
    EXPECT_EQ(readAll(path("Album (2001)/a.mp3")), "a");
    // An existing folder is never replaced, not even an empty one.
    QDir().mkpath(path("empty"));
    EXPECT_EQ(files.renameFolder(path("Album (2001)"), "empty").errorCode, EEXIST);
    EXPECT_TRUE(QFileInfo::exists(path("Album (2001)/a.mp3")));
}

TEST_F(FileOperationsTest, CaseOnlyRenamesOnACaseSensitiveFileSystem) {
    writeAll(path("x.mp3"), "x");
    writeAll(path("Y.mp3"), "big y");
    writeAll(path("y.mp3"), "small y");
    // "Y.mp3" is another file here: never replaced.
    EXPECT_EQ(files.renameFile(dir.path(), "y.mp3", "Y.mp3").errorCode, EEXIST);
    EXPECT_EQ(readAll(path("Y.mp3")), "big y");
    EXPECT_EQ(readAll(path("y.mp3")), "small y");
    EXPECT_TRUE(files.renameFile(dir.path(), "x.mp3", "X.MP3").ok);
    EXPECT_EQ(readAll(path("X.MP3")), "x");
    EXPECT_FALSE(QDir(dir.path()).entryList().contains("x.mp3"));
}
