// The "Database" menu's catalogue commands with scripted answers: saving under a
// key, loading back, Cancel and errors, creating catalogues, the menu's entries,
// "Catalogue CD" and the use count behind automatic compaction.
#include "catalog/catalogue.h"
#include "catalog/cataloguecommands.h"
#include "catalog/cataloguemenu.h"
#include "catalog/storefile.h"
#include "lists/songlistmodel.h"
#include "support/testenv.h"
#include "support/testfiles.h"

#include <sqlite3.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

using namespace testfiles;
using Answer = Prompt::Answer;

namespace {
QStringList songRow(int i) {
    return {QString("song %1.mp3").arg(i),
            "1234.5",
            "/music/cd/",
            "Title",
            "Artist",
            "Album",
            "1999",
            "Rock",
            QString::number(i % 20),
            "a comment",
            "215",
            "192000",
            "44100",
            "Yes",
            "No",
            "No",
            "R ",
            QString::number(i % 3 - 1)};
}

void exec(const QString& path, const char* sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open_v2(QFile::encodeName(path).constData(), &db,
                              SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr),
              SQLITE_OK);
    char* error = nullptr;
    EXPECT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, &error), SQLITE_OK) << (error ? error : "");
    sqlite3_free(error);
    sqlite3_close(db);
}

class CatalogueCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        QLocale::setDefault(QLocale::c());
        ASSERT_TRUE(dir.isValid());
        root = dir.path() + "/";
        t = std::make_unique<TestEnv>(root);
        ASSERT_TRUE(createMissingStores(root).isEmpty());
        t->catalogue.setCurrentFile("database.db3");
    }
    void fill(SongListModel& model, int rows) {
        for (int i = 0; i < rows; ++i)
            model.append(SongItem(songRow(i)));
    }
    std::int64_t rowsUnder(const QString& key) {
        CatalogueStore store;
        EXPECT_TRUE(store.open(root + "database.db3").ok());
        std::int64_t n = -1;
        EXPECT_TRUE(store.count(key, n).ok());
        return n;
    }
    QTemporaryDir dir;
    QString root;
    std::unique_ptr<TestEnv> t;
};
} // namespace

TEST_F(CatalogueCommandsTest, SaveAndLoadByKeyRoundTrip) {
    SongListModel pane(&t->settings);
    fill(pane, 3);
    pane.append(SongItem(QStringList{"only a name.mp3"})); // after full rows: all null
    t->prompt.push(QString("CD 1"));
    EXPECT_EQ(saveListToCatalogue(t->env, pane), 4);
    EXPECT_TRUE(t->catalogue.changed());
    EXPECT_EQ(t->progress.operations().last(), "saveDB");
    EXPECT_EQ(t->progress.items().first(), "(0%)");

    SongListModel loaded(&t->settings);
    loaded.append(SongItem(QStringList{"old row.mp3"}));
    t->prompt.push(QString("cd 1")); // keys ignore letter case
    loadFromDatabase(t->env, loaded, true, false);
    EXPECT_EQ(t->progress.operations().last(), "loadDB");
    ASSERT_EQ(loaded.size(), 4);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(loaded.item(i).texts(), songRow(i)) << i;
    QStringList empty(SongItem::ColumnCount, QString());
    empty[0] = "only a name.mp3";
    empty[SongItem::CRC] = empty[SongItem::Original] = empty[SongItem::Copyright] = "No";
    EXPECT_EQ(loaded.item(3).texts(), empty);

    // "Load Just File Names": every other field one blank.
    t->prompt.push(QString("CD 1"));
    loadFromDatabase(t->env, loaded, true, true);
    ASSERT_EQ(loaded.size(), 4);
    QStringList names(SongItem::ColumnCount, " ");
    names[0] = "song 0.mp3";
    EXPECT_EQ(loaded.item(0).texts(), names);

    // An unknown key empties the pane; "All Data" brings every row.
    t->prompt.push(QString("CD 9"));
    loadFromDatabase(t->env, loaded, true, false);
    EXPECT_EQ(loaded.size(), 0);
    loadFromDatabase(t->env, loaded, false, false);
    EXPECT_EQ(loaded.size(), 4);
    EXPECT_TRUE(t->prompt.informed().isEmpty()) << t->prompt.informed().join('|').toStdString();
}

TEST_F(CatalogueCommandsTest, KeyInUseAsksForAnotherOrSavesNothing) {
    SongListModel pane(&t->settings);
    fill(pane, 2);
    t->prompt.push(QString("CD 1"));
    ASSERT_EQ(saveListToCatalogue(t->env, pane), 2);

    t->prompt.push(QString("Cd 1"));
    t->prompt.push(Answer::No);
    EXPECT_EQ(saveListToCatalogue(t->env, pane), 0);
    EXPECT_TRUE(t->prompt.asked().last().startsWith("This key is already in use."));

    t->prompt.push(QString("CD 1"));
    t->prompt.push(Answer::Yes);
    t->prompt.push(QString("CD 2"));
    EXPECT_EQ(saveListToCatalogue(t->env, pane), 2);
    EXPECT_EQ(rowsUnder("CD 1"), 2);
    EXPECT_EQ(rowsUnder("CD 2"), 2);

    // The key box takes at most 50 characters.
    t->prompt.push(QString(60, 'k'));
    EXPECT_EQ(saveListToCatalogue(t->env, pane), 2);
    EXPECT_EQ(rowsUnder(QString(50, 'k')), 2);
}

TEST_F(CatalogueCommandsTest, CancelKeepsWhatWasSavedAndAnErrorKeepsNothing) {
    SongListModel pane(&t->settings);
    fill(pane, 1000);
    t->prompt.push(QString("big"));
    t->progress.cancelAtItem(250);
    EXPECT_EQ(saveListToCatalogue(t->env, pane), 250);
    EXPECT_EQ(rowsUnder("big"), 250);

    // A catalogue another tool made, whose table refuses one row: the save stops
    // there, keeps none of its rows and names the row.
    const QString foreign = root + "foreign.db3";
    exec(foreign, "CREATE TABLE list (ID INTEGER PRIMARY KEY AUTOINCREMENT, dbname, filename"
                  " CHECK (filename <> 'song 7.mp3'), filesize, location, title, artist, album,"
                  " year, genre, track, comment, length, bitrate, frequency, crc, orig, copy,"
                  " atributes, weight);");
    t->catalogue.setCurrentFile("foreign.db3");
    t->progress.cancelAtItem(0);
    t->prompt.push(QString("CD 7"));
    EXPECT_EQ(saveListToCatalogue(t->env, pane), 0);
    ASSERT_EQ(t->prompt.informed().size(), 1);
    const QString message = t->prompt.informed().first();
    EXPECT_TRUE(message.contains("row 8 (song 7.mp3)")) << message.toStdString();
    EXPECT_TRUE(message.contains(foreign)) << message.toStdString();
    CatalogueStore store;
    ASSERT_TRUE(store.open(foreign).ok());
    bool inUse = true;
    ASSERT_TRUE(store.keyInUse("CD 7", inUse).ok());
    EXPECT_FALSE(inUse);
}

TEST_F(CatalogueCommandsTest, NothingToSaveIntoSaysNothingOrWhy) {
    SongListModel pane(&t->settings);
    EXPECT_EQ(saveListToCatalogue(t->env, pane), 0); // empty pane
    fill(pane, 2);
    t->catalogue.setCurrentFile({});
    EXPECT_EQ(saveListToCatalogue(t->env, pane), 0); // no catalogue checked
    t->catalogue.setCurrentFile("gone.db3");
    EXPECT_EQ(saveListToCatalogue(t->env, pane), 0); // its file missing
    EXPECT_TRUE(t->prompt.asked().isEmpty());
    EXPECT_TRUE(t->prompt.informed().isEmpty());

    writeAll(root + "notes.db3", "shopping list");
    t->catalogue.setCurrentFile("notes.db3");
    EXPECT_EQ(saveListToCatalogue(t->env, pane), 0);
    ASSERT_EQ(t->prompt.informed().size(), 1);
    EXPECT_TRUE(t->prompt.informed().first().contains(root + "notes.db3"));
    EXPECT_EQ(readAll(root + "notes.db3"), "shopping list");
}

TEST_F(CatalogueCommandsTest, ReadOnlyCatalogueSaysWhyAndStaysAsItWas) {
    if (::geteuid() == 0)
        GTEST_SKIP() << "file permissions do not bind root";
    const QString path = root + "database.db3";
    ASSERT_EQ(::chmod(QFile::encodeName(path).constData(), 0444), 0);
    const QByteArray before = readAll(path);
    SongListModel pane(&t->settings);
    fill(pane, 2);
    EXPECT_EQ(saveListToCatalogue(t->env, pane), 0);
    ASSERT_EQ(t->prompt.informed().size(), 1);
    EXPECT_TRUE(t->prompt.informed().first().contains("cannot be written"));
    EXPECT_TRUE(t->prompt.asked().isEmpty()); // no key asked for a save that cannot happen
    EXPECT_EQ(readAll(path), before);
}

TEST_F(CatalogueCommandsTest, LoadReadsTheCatalogueOpenedLast) {
    SongListModel pane(&t->settings);
    fill(pane, 2);
    t->prompt.push(QString("A"));
    ASSERT_EQ(saveListToCatalogue(t->env, pane), 2);
    ASSERT_TRUE(createStoreFile(root + "other.db3", StoreKind::Catalogue).ok());
    t->catalogue.setCurrentFile("other.db3"); // a click in "Database File"
    loadFromDatabase(t->env, pane, false, false);
    EXPECT_EQ(pane.size(), 2);
}

TEST_F(CatalogueCommandsTest, CreateNewRefusesBadAndTakenNames) {
    writeAll(root + "Mixed.DB3", {});
    struct Case {
        const char* name;
        bool made;
    };
    const Case cases[] = {
        {"", false},        {".", false},      {"..", false},          {"../x", false},
        {".hidden", false}, {"a/b", false},    {"tab\there", false},   {"database", false},
        {"Mixed", false},   {"new one", true}, {"Ünï 100% #1?", true}, {"Database", true},
    };
    for (const Case& c : cases) {
        t->prompt.push(QString::fromUtf8(c.name));
        const QString made = createNewCatalogue(t->env);
        EXPECT_EQ(!made.isEmpty(), c.made) << c.name;
        if (c.made) {
            EXPECT_EQ(made, QString::fromUtf8(c.name) + ".db3");
            CatalogueStore store;
            EXPECT_TRUE(store.open(root + made).ok()) << c.name;
        }
    }
    EXPECT_FALSE(QFile::exists(dir.path() + "/../x.db3"));
    EXPECT_EQ(t->prompt.informed().size(), 9);
    t->prompt.push(std::nullopt); // Cancel
    EXPECT_TRUE(createNewCatalogue(t->env).isEmpty());
}

TEST_F(CatalogueCommandsTest, MenuEntries) {
    for (const char* name : {"b.db3", "A.DB3", ".hidden.db3", "c.db3.bak", "C.Db3"})
        writeAll(root + name, {});
    QDir().mkpath(root + "folder.db3");
    QStringList captions, files;
    const QList<CatalogueEntry> entries = catalogueEntries(root, "b");
    for (const CatalogueEntry& e : entries) {
        captions << e.caption;
        files << e.fileName;
    }
    EXPECT_EQ(captions, (QStringList{"A", "b", "C", "database"}));
    EXPECT_EQ(files, (QStringList{"A.DB3", "b.db3", "C.Db3", "database.db3"}));
    EXPECT_TRUE(entries[1].checked);
    EXPECT_EQ(std::count_if(entries.begin(), entries.end(), [](auto& e) { return e.checked; }), 1);
    for (const CatalogueEntry& e : catalogueEntries(root, "Database")) // case counts
        EXPECT_FALSE(e.checked) << e.caption.toStdString();
}

TEST_F(CatalogueCommandsTest, CatalogueCdSavesSubfoldersAndSetsSettingsBack) {
    SKIP_WITHOUT_CORPUS_FILE("musicmetadata__adts-0-frame.mp3");
    SKIP_WITHOUT_CORPUS_FILE("musicmetadata__id3v2-utf16.mp3");
    QDir().mkpath(root + "cd/disc 1");
    QDir().mkpath(root + "cd/disc 2");
    ASSERT_TRUE(
        QFile::copy(corpusFile("musicmetadata__adts-0-frame.mp3"), root + "cd/disc 1/a.mp3"));
    ASSERT_TRUE(
        QFile::copy(corpusFile("musicmetadata__id3v2-utf16.mp3"), root + "cd/disc 2/b.mp3"));
    t->settings.setValue("RBLTBegining", false);
    t->settings.setValue("RBLTNever", true);

    t->prompt.push(root + "cd");
    t->prompt.push(QString("My CD"));
    EXPECT_EQ(catalogueCd(t->env), 2);
    EXPECT_FALSE(t->settings.flag("RBLTBegining"));
    EXPECT_TRUE(t->settings.flag("RBLTNever"));
    EXPECT_TRUE(t->settings.flag("CBLLoadOnBegining"));
    SongListModel pane(&t->settings);
    t->prompt.push(QString("My CD"));
    loadFromDatabase(t->env, pane, true, false);
    ASSERT_EQ(pane.size(), 2);
    EXPECT_EQ(pane.item(0).text(SongItem::Location), root + "cd/disc 1/");
    EXPECT_EQ(pane.item(0).text(SongItem::SongTitle), "Jan Pillemann Otze"); // tags were read

    // Cancel during the scan: nothing saved, the settings back all the same.
    t->prompt.push(root + "cd");
    t->progress.cancelAtItem(int(t->progress.items().size()) + 1);
    EXPECT_EQ(catalogueCd(t->env), 0);
    EXPECT_TRUE(t->settings.flag("RBLTNever"));
    EXPECT_FALSE(t->settings.flag("RBLTBegining"));
    EXPECT_EQ(rowsUnder("My CD"), 2);
}

TEST_F(CatalogueCommandsTest, UseCountDrivesAutomaticCompaction) {
    IniFile& ini = t->settings.file();
    SongListModel pane(&t->settings);
    fill(pane, 1);
    t->prompt.push(QString("k"));
    ASSERT_EQ(saveListToCatalogue(t->env, pane), 1);
    catalogueAtExit(t->env);
    catalogueAtExit(t->env);
    EXPECT_EQ(ini.readInt("Database", "database", 0), 2);

    t->settings.setValue("CBManualy", false);
    t->settings.setValue("CBCoupleUses", true);
    t->settings.setValue("SEDBUse", 2);
    catalogueAtStart(t->env, true); // 2 is not smaller than 2
    EXPECT_EQ(ini.readInt("Database", "database", 0), 2);
    EXPECT_FALSE(t->catalogue.changed());
    catalogueAtExit(t->env); // nothing written this run
    EXPECT_EQ(ini.readInt("Database", "database", 0), 2);

    ini.writeInt("Database", "database", 3);
    catalogueAtStart(t->env, true);
    EXPECT_EQ(ini.readInt("Database", "database", -1), 0);
    IniFile reread(root + "settings.set");
    EXPECT_EQ(reread.readInt("Database", "database", -1), 0);
    EXPECT_TRUE(t->catalogue.isOpen()); // open again after compaction
    EXPECT_TRUE(t->prompt.informed().isEmpty()) << t->prompt.informed().join('|').toStdString();
}

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
