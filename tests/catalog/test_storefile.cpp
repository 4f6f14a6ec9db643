// Store files: creation, the checks made when one is opened (foreign, damaged and
// odd files are refused unchanged), the catalogue's statements and bad keys.
#include "base/texts.h"
#include "catalog/cataloguerow.h"
#include "catalog/cataloguestore.h"
#include "catalog/storefile.h"
#include "lists/songitem.h"
#include "support/testfiles.h"

#include <sqlite3.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace testfiles;
using Code = StoreStatus::Code;

namespace {
// Runs SQL on a file the way another program would (sqlite3 with its own connection).
void sqlite(const QString& path, const char* sql, bool create = false) {
    sqlite3* db = nullptr;
    const int flags = SQLITE_OPEN_READWRITE | (create ? SQLITE_OPEN_CREATE : 0);
    ASSERT_EQ(sqlite3_open_v2(QFile::encodeName(path).constData(), &db, flags, nullptr), SQLITE_OK);
    char* error = nullptr;
    const int rc = sqlite3_exec(db, sql, nullptr, nullptr, &error);
    EXPECT_EQ(rc, SQLITE_OK) << (error ? error : "") << " in " << sql;
    sqlite3_free(error);
    sqlite3_close(db);
}

QStringList row(const QString& name) {
    return {name, "12.50", "/m/",    "T",     "A",   "B",  "2001", "Pop", "1",
            "",   "100",   "128000", "44100", "Yes", "No", "No",   "",    "0"};
}

class StoreFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        root = dir.path() + "/";
    }
    QString catalogue(const QString& name = "c.db3") {
        const QString path = root + name;
        EXPECT_TRUE(createStoreFile(path, StoreKind::Catalogue).ok());
        return path;
    }
    QTemporaryDir dir;
    QString root;
};
} // namespace

TEST_F(StoreFileTest, CreateMakesMarkedTablesAndNeverTouchesAnExistingFile) {
    const QString path = catalogue();
    CatalogueStore store;
    ASSERT_TRUE(store.open(path).ok());
    std::int64_t id = 0, version = 0;
    ASSERT_TRUE(store.file().db().queryInt("PRAGMA application_id;", id));
    ASSERT_TRUE(store.file().db().queryInt("PRAGMA user_version;", version));
    EXPECT_EQ(std::uint32_t(id), StoreFile::applicationId(StoreKind::Catalogue));
    EXPECT_EQ(version, 1);
    QString mode;
    ASSERT_TRUE(store.file().db().queryText("PRAGMA journal_mode;", mode));
    EXPECT_EQ(mode, "delete");
    store.close();

    const QByteArray before = readAll(path);
    EXPECT_TRUE(createStoreFile(path, StoreKind::Catalogue).ok()); // already one: unchanged
    EXPECT_EQ(readAll(path), before);
    const StoreStatus other = createStoreFile(path, StoreKind::Lyrics);
    EXPECT_EQ(other.code, Code::WrongKind);
    EXPECT_EQ(readAll(path), before);

    // The lyrics store has both its tables.
    const QString lyrics = root + "lyrics.lyr";
    ASSERT_TRUE(createStoreFile(lyrics, StoreKind::Lyrics).ok());
    StoreFile file;
    ASSERT_TRUE(file.open(lyrics, StoreKind::Lyrics).ok());
    QString tables;
    ASSERT_TRUE(file.db().queryText(
        "SELECT name FROM sqlite_master WHERE type IN ('table', 'index') ORDER BY name;", tables));
    EXPECT_EQ(tables, "idxFileName\nidxLyric\nkaraoke\nlist\nsqlite_sequence");
    // A lyric of digits stays text.
    ASSERT_TRUE(file.db().exec("INSERT INTO list (filename, lyric) VALUES ('a.mp3', '0012');"));
    QString lyric;
    ASSERT_TRUE(file.db().queryText("SELECT lyric FROM list;", lyric));
    EXPECT_EQ(lyric, "0012");
}

TEST_F(StoreFileTest, ZeroLengthFileGetsTablesButFailedCreateLeavesNothing) {
    writeAll(root + "empty.db3", {});
    ASSERT_TRUE(createStoreFile(root + "empty.db3", StoreKind::Catalogue).ok());
    CatalogueStore store;
    EXPECT_TRUE(store.open(root + "empty.db3").ok());

    const StoreStatus s = createStoreFile(root + "no such folder/x.db3", StoreKind::Catalogue);
    EXPECT_FALSE(s.ok());
    EXPECT_TRUE(s.message.contains(root + "no such folder/x.db3"));
    EXPECT_FALSE(createStoreFile(QString(), StoreKind::Catalogue).ok());
}

TEST_F(StoreFileTest, OpeningRefusesWhatIsNoCatalogueAndLeavesItUnchanged) {
    writeAll(root + "garbage.db3", QByteArray(5000, 'x'));
    QByteArray jet(2048, '\0');
    jet.replace(4, 15, "Standard Jet DB");
    writeAll(root + "old.db3", jet);
    const QByteArray real = readAll(catalogue("real.db3"));
    writeAll(root + "truncated.db3", real.left(60));
    QByteArray damaged = real;
    damaged.replace(100, 3000, QByteArray(3000, '\xEE')); // the schema's page
    writeAll(root + "damaged.db3", damaged);
    ASSERT_TRUE(createStoreFile(root + "lyrics.db3", StoreKind::Lyrics).ok());
    sqlite(root + "nocolumn.db3", "CREATE TABLE list (ID INTEGER PRIMARY KEY, dbname TEXT);", true);
    sqlite(root + "view.db3",
           "CREATE TABLE t (x); CREATE VIEW list AS SELECT 1 AS ID, 2 AS dbname;", true);
    sqlite(root + "trigger.db3",
           "CREATE TABLE list (ID INTEGER PRIMARY KEY AUTOINCREMENT, dbname, filename, filesize,"
           " location, title, artist, album, year, genre, track, comment, length, bitrate,"
           " frequency, crc, orig, copy, atributes, weight); CREATE TABLE log (x);"
           "CREATE TRIGGER t AFTER INSERT ON list BEGIN INSERT INTO log VALUES (1); END;",
           true);
    QDir().mkpath(root + "folder.db3");

    struct Case {
        const char* name;
        Code code;
        const char* says;
    };
    const Case cases[] = {
        {"missing.db3", Code::Missing, "does not exist"},
        {"garbage.db3", Code::NotDatabase, "not a database"},
        {"old.db3", Code::JetFile, "Jet"},
        {"truncated.db3", Code::NotDatabase, "cut short"},
        {"damaged.db3", Code::Damaged, "damaged"},
        {"lyrics.db3", Code::WrongKind, "lyrics store"},
        {"nocolumn.db3", Code::NotStore, "no column filename"},
        {"view.db3", Code::NotStore, "view"},
        {"trigger.db3", Code::NotStore, "triggers"},
        {"folder.db3", Code::NotAFile, "not a database file"},
    };
    for (const Case& c : cases) {
        const QString path = root + c.name;
        const QByteArray before = readAll(path);
        CatalogueStore store;
        const StoreStatus s = store.open(path);
        EXPECT_EQ(s.code, c.code) << c.name << ": " << s.message.toStdString();
        EXPECT_TRUE(s.message.contains(path)) << s.message.toStdString();
        EXPECT_TRUE(s.message.contains(QLatin1String(c.says))) << s.message.toStdString();
        EXPECT_EQ(readAll(path), before) << c.name;
        EXPECT_FALSE(QFile::exists(path + "-journal")) << c.name;
    }
    EXPECT_FALSE(QFile::exists(root + "missing.db3")); // opening never creates
    CatalogueStore store;
    EXPECT_EQ(store.open(QString()).code, Code::NoPath);
}

TEST_F(StoreFileTest, VersionsAndForeignCatalogues) {
    // Another tool's table with the needed columns counts, and is left unmarked.
    const QString foreign = root + "foreign.db3";
    sqlite(foreign,
           "CREATE TABLE list (ID INTEGER PRIMARY KEY, dbname, filename, filesize, location, title,"
           " artist, album, year, genre, track, comment, length, bitrate, frequency, crc, orig,"
           " copy, atributes, weight, extra);",
           true);
    CatalogueStore store;
    ASSERT_TRUE(store.open(foreign).ok());
    EXPECT_TRUE(store.file().isWritable());
    std::int64_t version = -1;
    ASSERT_TRUE(store.file().db().queryInt("PRAGMA user_version;", version));
    EXPECT_EQ(version, 0);
    store.close();

    // Ours without a version (older) gets its index and version in one go.
    const QString older = catalogue("older.db3");
    sqlite(older, "DROP INDEX idxKey; PRAGMA user_version = 0;");
    ASSERT_TRUE(store.open(older).ok());
    QString indexes;
    ASSERT_TRUE(store.file().db().queryText("SELECT name FROM sqlite_master WHERE type = 'index';",
                                            indexes));
    EXPECT_EQ(indexes, "idxKey");
    ASSERT_TRUE(store.file().db().queryInt("PRAGMA user_version;", version));
    EXPECT_EQ(version, 1);
    store.close();

    // A newer one is read but never written.
    const QString newer = catalogue("newer.db3");
    sqlite(newer, "PRAGMA user_version = 7;");
    const QByteArray before = readAll(newer);
    ASSERT_TRUE(store.open(newer).ok());
    EXPECT_FALSE(store.file().isWritable());
    EXPECT_EQ(store.file().readOnlyStatus().code, Code::Newer);
    EXPECT_EQ(store.begin().code, Code::Newer);
    std::int64_t rows = -1;
    EXPECT_TRUE(store.count(std::nullopt, rows).ok());
    store.close();
    EXPECT_EQ(readAll(newer), before);
}

TEST_F(StoreFileTest, OddPathsAndKeysRoundTrip) {
    const YesNo yesNo;
    const QString path = catalogue("a b?c#d%e ü.db3");
    CatalogueStore store;
    ASSERT_TRUE(store.open(path).ok());
    const QStringList keys = {"it's", "100%", "a_c", "x;DROP TABLE list;--", "Ünïcode", "♪ 🎵"};
    ASSERT_TRUE(store.begin().ok());
    std::vector<SongItem> items;
    for (const QString& key : keys)
        ASSERT_TRUE(
            store.insert(catalogueRowFromItem(key, SongItem(row(key + ".mp3")), yesNo)).ok());
    ASSERT_TRUE(store.commit().ok());
    for (const QString& key : keys) {
        bool inUse = false;
        ASSERT_TRUE(store.keyInUse(key, inUse).ok());
        EXPECT_TRUE(inUse) << key.toStdString();
        QStringList names;
        ASSERT_TRUE(store
                        .walk(key,
                              [&](const CatalogueStore::StoredRow& r) {
                                  names << r.text(0);
                                  return true;
                              })
                        .ok());
        EXPECT_EQ(names, QStringList{key + ".mp3"});
    }
    // Keys are values, never patterns; letter case does not count.
    for (const char* other : {"abc", "100", "IT'S%", "a%c"}) {
        bool inUse = true;
        ASSERT_TRUE(store.keyInUse(QString::fromUtf8(other), inUse).ok());
        EXPECT_EQ(inUse, false) << other;
    }
    bool inUse = false;
    ASSERT_TRUE(store.keyInUse("A_C", inUse).ok());
    EXPECT_TRUE(inUse);
    std::int64_t rows = 0;
    ASSERT_TRUE(store.count(std::nullopt, rows).ok());
    EXPECT_EQ(rows, 6);
}

TEST_F(StoreFileTest, StoredValuesReadBackAsTheListShowsThem) {
    const YesNo yesNo;
    CatalogueStore store;
    ASSERT_TRUE(store.open(catalogue()).ok());
    QStringList texts = row("a.mp3");
    texts[SongItem::FileSizeKb] = "1234.50";
    texts[SongItem::Weight] = "-1";
    QString escaped = "bad"; // a name that is not UTF-8: its byte 0xFF is kept
    escaped += QChar(0xDCFF);
    escaped += ".mp3";
    ASSERT_TRUE(store.begin().ok());
    ASSERT_TRUE(store.insert(catalogueRowFromItem(u"k", SongItem(texts), yesNo)).ok());
    ASSERT_TRUE(
        store.insert(catalogueRowFromItem(u"k", SongItem(QStringList{escaped}), yesNo)).ok());
    ASSERT_TRUE(store.commit().ok());
    QList<QStringList> back;
    ASSERT_TRUE(store
                    .walk(std::nullopt,
                          [&](const CatalogueStore::StoredRow& r) {
                              QStringList t;
                              for (int c = 0; c < SongItem::ColumnCount; ++c)
                                  t << (c == SongItem::CRC ? yesNo.text(r.flag(c)) : r.text(c));
                              back << t;
                              return true;
                          })
                    .ok());
    ASSERT_EQ(back.size(), 2);
    EXPECT_EQ(back[0][SongItem::FileSizeKb], "1234.5");
    EXPECT_EQ(back[0][SongItem::Weight], "-1");
    EXPECT_EQ(back[0][SongItem::CRC], "Yes");
    EXPECT_EQ(back[1][SongItem::FileName], escaped);
    EXPECT_EQ(back[1][SongItem::FileSizeKb], "");
    EXPECT_EQ(back[1][SongItem::CRC], "No"); // a missing flag is stored false
}
