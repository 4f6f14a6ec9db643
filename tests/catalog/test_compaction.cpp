// Compaction: the copy replaces the file only when it is complete and checked; any
// failure leaves the original byte for byte and no copy behind.
#include "catalog/compaction.h"
#include "catalog/storefile.h"
#include "support/testfiles.h"

#include <sqlite3.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

using namespace testfiles;

namespace {
sqlite3* connect(const QString& path) {
    sqlite3* db = nullptr;
    EXPECT_EQ(
        sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE, nullptr),
        SQLITE_OK);
    return db;
}

void exec(sqlite3* db, const char* sql) {
    char* error = nullptr;
    EXPECT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, &error), SQLITE_OK) << (error ? error : "");
    sqlite3_free(error);
}

QString text(sqlite3* db, const char* sql) {
    sqlite3_stmt* s = nullptr;
    EXPECT_EQ(sqlite3_prepare_v2(db, sql, -1, &s, nullptr), SQLITE_OK);
    QString out;
    while (sqlite3_step(s) == SQLITE_ROW)
        out += QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(s, 0))) + ';';
    sqlite3_finalize(s);
    return out;
}

// The folder's entries, to see that no copy is left.
QStringList entries(const QString& folder) {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                                  QDir::Name);
}

class CompactionTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        path = dir.path() + "/database.db3";
        ASSERT_TRUE(createStoreFile(path, StoreKind::Catalogue).ok());
        sqlite3* db = connect(path);
        exec(db, "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 3000)"
                 " INSERT INTO list (dbname, filename, location, title)"
                 " SELECT 'CD' || (i / 100), 'song' || i || '.mp3', '/music/' || (i / 100) || '/',"
                 " printf('%.200c', 'x') FROM n;");
        exec(db, "DELETE FROM list WHERE ID > 1000;"); // free pages to reclaim
        sqlite3_close(db);
    }
    QTemporaryDir dir;
    QString path;
};
} // namespace

TEST_F(CompactionTest, KeepsRowsIdsAndMarksWhileAnotherProgramHasTheFileOpen) {
    sqlite3* other = connect(path); // like sqlite3 sitting at its prompt
    const QString before = text(other, "SELECT ID || filename FROM list ORDER BY ID;");
    ::chmod(QFile::encodeName(path).constData(), 0640);

    const CompactResult r = compactStoreFile(path);
    ASSERT_TRUE(r.status.ok()) << r.status.message.toStdString();
    EXPECT_GT(r.bytesBefore, r.bytesAfter);
    EXPECT_EQ(QFileInfo(path).size(), r.bytesAfter);
    EXPECT_EQ(entries(dir.path()), QStringList{"database.db3"});
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);

    sqlite3* db = connect(path);
    EXPECT_EQ(text(db, "SELECT ID || filename FROM list ORDER BY ID;"), before);
    EXPECT_EQ(text(db, "PRAGMA user_version;"), "1;");
    EXPECT_EQ(text(db, "PRAGMA application_id;"),
              QString::number(StoreFile::applicationId(StoreKind::Catalogue)) + ';');
    EXPECT_EQ(text(db, "PRAGMA quick_check;"), "ok;");
    exec(db, "INSERT INTO list (dbname) VALUES ('new');"); // IDs are never reused
    EXPECT_EQ(text(db, "SELECT MAX(ID) FROM list;"), "3001;");
    sqlite3_close(db);

    // The other program's connection still reads; a write of its own is refused
    // (the file it has open was replaced), never lost into a file nobody sees.
    EXPECT_EQ(text(other, "SELECT COUNT(*) FROM list;"), "1000;");
    EXPECT_NE(
        sqlite3_exec(other, "INSERT INTO list (dbname) VALUES ('x');", nullptr, nullptr, nullptr),
        SQLITE_OK);
    sqlite3_close(other);
}

TEST_F(CompactionTest, RefusesWhileAnotherProgramWrites) {
    sqlite3* writer = connect(path);
    exec(writer, "BEGIN IMMEDIATE; INSERT INTO list (dbname) VALUES ('half');");
    const QByteArray before = readAll(path);
    const CompactResult r = compactStoreFile(path);
    EXPECT_EQ(r.status.code, StoreStatus::Code::Busy);
    EXPECT_TRUE(r.status.message.contains("in use")) << r.status.message.toStdString();
    EXPECT_EQ(readAll(path), before);
    exec(writer, "COMMIT;"); // the other program's work is not disturbed
    sqlite3_close(writer);
    QStringList left = entries(dir.path());
    EXPECT_EQ(left, QStringList{"database.db3"});
}

TEST_F(CompactionTest, FailedCopyLeavesTheOriginalAndNoTemporaryFile) {
    const QByteArray before = readAll(path);
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    ::getrlimit(RLIMIT_FSIZE, &old);
    rlimit small = old;
    small.rlim_cur = 64 * 1024; // the copy needs more
    ::setrlimit(RLIMIT_FSIZE, &small);
    const CompactResult r = compactStoreFile(path);
    ::setrlimit(RLIMIT_FSIZE, &old);
    EXPECT_FALSE(r.status.ok());
    EXPECT_TRUE(r.status.message.contains(path));
    EXPECT_EQ(readAll(path), before);
    EXPECT_EQ(entries(dir.path()), QStringList{"database.db3"});
}

TEST_F(CompactionTest, FollowsALinkAndKeepsOtherFilesAlone) {
    writeAll(dir.path() + "/TEMPdatabase.db3", "the user's own file");
    ASSERT_TRUE(QFile::link(path, dir.path() + "/link.db3"));
    const CompactResult r = compactStoreFile(dir.path() + "/link.db3");
    ASSERT_TRUE(r.status.ok()) << r.status.message.toStdString();
    EXPECT_TRUE(QFileInfo(dir.path() + "/link.db3").isSymLink());
    EXPECT_EQ(QFileInfo(path).size(), r.bytesAfter);
    EXPECT_EQ(readAll(dir.path() + "/TEMPdatabase.db3"), "the user's own file");
    EXPECT_EQ(entries(dir.path()), (QStringList{"TEMPdatabase.db3", "database.db3", "link.db3"}));

    for (const char* name : {"missing.db3", "TEMPdatabase.db3"}) {
        const CompactResult bad = compactStoreFile(dir.path() + "/" + name);
        EXPECT_FALSE(bad.status.ok()) << name;
    }
    EXPECT_EQ(readAll(dir.path() + "/TEMPdatabase.db3"), "the user's own file");
}
