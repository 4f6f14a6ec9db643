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
