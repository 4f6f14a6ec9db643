// Catalogue speed against the floor: each step of the program (saveRows, loadRows,
// KeyInUse, compactStoreFile) beside a bare SQLite C-API loop, or the sqlite3 tool,
// doing the same work on the same rows in the same run.
// usage: [RUNS=3] bench_catalog [N...]   (default 100000 1000000); files go to $TMPDIR.
// The CPU times show the work itself where other processes share the machine.
#include "base/scripted.h"
#include "base/settings.h"
#include "base/texts.h"
#include "catalog/cataloguecommands.h"
#include "catalog/cataloguestore.h"
#include "catalog/compaction.h"
#include "catalog/storefile.h"
#include "lists/songlistmodel.h"

#include "residentmemory.h"

#include <sqlite3.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>
#include <ctime>
#include <random>
#include <string>
#include <vector>

namespace {
QString word(std::mt19937& rng, int length) {
    static const char letters[] = "abcdefghijklmnopqrstuvwxyz";
    QString w;
    w.reserve(length);
    for (int i = 0; i < length; ++i)
        w += QChar(i == 0 ? letters[rng() % 26] - 32 : letters[rng() % 26]);
    return w;
}

// Rows as a scan makes them: one folder per 300 songs, one album per 12.
std::vector<SongItem> makeRows(int n) {
    std::mt19937 rng(42);
    std::vector<SongItem> rows;
    rows.reserve(size_t(n));
    QString folder, artist, album;
    for (int i = 0; i < n; ++i) {
        if (i % 300 == 0)
            folder = "/home/someone/Music/Collection/" + word(rng, 12) + "/" + word(rng, 14) + "/";
        if (i % 12 == 0) {
            artist = word(rng, 9) + " " + word(rng, 10);
            album = word(rng, 8) + " " + word(rng, 11);
        }
        const QString title = word(rng, 8) + " " + word(rng, 11);
        SongItem it;
        it.append(artist + " - " + title + " (" + QString::number(i % 99) + ").mp3");
        it.append(QString::number(2000 + rng() % 9000) + "." + QString::number(10 + rng() % 90));
        it.append(folder);
        it.append(title);
        it.append(artist);
        it.append(album);
        it.append(QString::number(1960 + rng() % 60));
        it.append("Rock");
        it.append(QString::number(1 + i % 12));
        it.append("");
        it.append(QString::number(120 + rng() % 300));
        it.append(QString::number((rng() % 2) ? 128000 : 192000));
        it.append("44100");
        it.append("No");
        it.append("Yes");
        it.append("No");
        it.append("");
        it.append("0");
        rows.push_back(std::move(it));
    }
    return rows;
}

// The bare loop's input: every value already in the form the engine stores.
struct BareRow {
    std::string
        texts[10]; // filename, location, title, artist, album, year, genre, comment, atributes
    double size;
    int ints[5]; // track, length, bitrate, frequency, weight
    int flags[3];
};

std::vector<BareRow> bareRows(const std::vector<SongItem>& rows) {
    std::vector<BareRow> out;
    out.reserve(rows.size());
    const int textColumns[] = {SongItem::FileName, SongItem::Location, SongItem::SongTitle,
                               SongItem::Artist,   SongItem::Album,    SongItem::Year,
                               SongItem::Genre,    SongItem::Comment,  SongItem::Attributes};
    const int intColumns[] = {SongItem::TrackNumber, SongItem::LengthSec, SongItem::BitRate,
                              SongItem::Frequency, SongItem::Weight};
    for (const SongItem& r : rows) {
        BareRow b;
        for (int i = 0; i < 9; ++i)
            b.texts[i] = r.text(textColumns[i]).toStdString();
        b.size = r.text(SongItem::FileSizeKb).toDouble();
        for (int i = 0; i < 5; ++i)
            b.ints[i] = r.text(intColumns[i]).toInt();
        b.flags[0] = r.text(SongItem::CRC) == "Yes";
        b.flags[1] = r.text(SongItem::Original) == "Yes";
        b.flags[2] = r.text(SongItem::Copyright) == "Yes";
        out.push_back(std::move(b));
    }
    return out;
}

sqlite3* connect(const QString& path) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(QFile::encodeName(path).constData(), &db, SQLITE_OPEN_READWRITE, nullptr);
    return db;
}

void exec(sqlite3* db, const char* sql) {
    char* error = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &error) != SQLITE_OK)
        std::fprintf(stderr, "sql failed: %s\n", error ? error : "?");
    sqlite3_free(error);
}

const char kInsert[] =
    "INSERT INTO list (dbname, filename, filesize, location, title, artist, album, [year], genre,"
    " track, comment, [length], bitrate, frequency, crc, orig, [copy], atributes, weight)"
    " VALUES (:p_dbname, :p_filename, :p_filesize, :p_location, :p_title, :p_artist, :p_album,"
    " :p_year, :p_genre, :p_track, :p_comment, :p_length, :p_bitrate, :p_frequency, :p_crc,"
    " :p_orig, :p_copy, :p_atributes, :p_weight);";

// Inserts the rows under keys of `perKey` rows each (all under one key when 0).
double bareSave(const QString& path, const std::vector<BareRow>& rows, int perKey) {
    QElapsedTimer t;
    t.start();
    sqlite3* db = connect(path);
    exec(db, "BEGIN IMMEDIATE;");
    sqlite3_stmt* s = nullptr;
    sqlite3_prepare_v2(db, kInsert, -1, &s, nullptr);
    std::string key = "bench";
    for (size_t i = 0; i < rows.size(); ++i) {
        const BareRow& r = rows[i];
        if (perKey > 0 && i % size_t(perKey) == 0)
            key = "CD " + std::to_string(i / size_t(perKey));
        sqlite3_reset(s);
        sqlite3_bind_text(s, 1, key.data(), int(key.size()), SQLITE_STATIC);
        sqlite3_bind_text(s, 2, r.texts[0].data(), int(r.texts[0].size()), SQLITE_STATIC);
        sqlite3_bind_double(s, 3, r.size);
        for (int c = 1; c <= 6; ++c) // location ... genre
            sqlite3_bind_text(s, 3 + c, r.texts[c].data(), int(r.texts[c].size()), SQLITE_STATIC);
        sqlite3_bind_int(s, 10, r.ints[0]);
        sqlite3_bind_text(s, 11, r.texts[7].data(), int(r.texts[7].size()), SQLITE_STATIC);
        sqlite3_bind_int(s, 12, r.ints[1]);
        sqlite3_bind_int(s, 13, r.ints[2]);
        sqlite3_bind_int(s, 14, r.ints[3]);
        for (int f = 0; f < 3; ++f)
            sqlite3_bind_int(s, 15 + f, r.flags[f]);
        sqlite3_bind_text(s, 18, r.texts[8].data(), int(r.texts[8].size()), SQLITE_STATIC);
        sqlite3_bind_int(s, 19, r.ints[4]);
        sqlite3_step(s);
    }
    sqlite3_finalize(s);
    exec(db, "COMMIT;");
    sqlite3_close(db);
    return t.elapsed() / 1000.0;
}

// Steps through the rows and touches every column as text, as a load must.
double bareLoad(const QString& path, const char* key, long* bytes) {
    QElapsedTimer t;
    t.start();
    sqlite3* db = connect(path);
    sqlite3_stmt* s = nullptr;
    const char* all = "SELECT filename, filesize, location, title, artist, album, [year], genre,"
                      " track, comment, [length], bitrate, frequency, crc, orig, [copy],"
                      " atributes, weight FROM list ORDER BY ID;";
    const char* byKey = "SELECT filename, filesize, location, title, artist, album, [year], genre,"
                        " track, comment, [length], bitrate, frequency, crc, orig, [copy],"
                        " atributes, weight FROM list WHERE dbname = :p_dbname COLLATE NOCASE"
                        " ORDER BY ID;";
    sqlite3_prepare_v2(db, key ? byKey : all, -1, &s, nullptr);
    if (key)
        sqlite3_bind_text(s, 1, key, -1, SQLITE_STATIC);
    long total = 0;
    while (sqlite3_step(s) == SQLITE_ROW)
        for (int c = 0; c < 18; ++c) {
            sqlite3_column_text(s, c);
            total += sqlite3_column_bytes(s, c);
        }
    sqlite3_finalize(s);
    sqlite3_close(db);
    *bytes = total;
    return t.elapsed() / 1000.0;
}

double seconds(const QElapsedTimer& t) {
    return t.nsecsElapsed() / 1e9;
}

double cpuSeconds() {
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return ts.tv_sec + ts.tv_nsec / 1e9;
}

// The best of a few runs (the machine is shared): wall time and the CPU time of that run.
struct Timing {
    double wall = 1e100;
    double cpu = 0;
};
template <typename F> Timing best(int runs, F&& f) {
    Timing t;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer w;
        const double c0 = cpuSeconds();
        w.start();
        f();
        const double wall = seconds(w);
        if (wall < t.wall)
            t = {wall, cpuSeconds() - c0};
    }
    return t;
}

void line(const char* what, const Timing& ours, const Timing& floor, const char* floorName,
          const char* target, const std::string& extra = {}) {
    std::printf("%-9s ours %7.3f s (cpu %6.3f)  %s %7.3f s (cpu %6.3f)  ratio %.2f%s%s\n", what,
                ours.wall, ours.cpu, floorName, floor.wall, floor.cpu, ours.wall / floor.wall,
                target, extra.c_str());
}

void quietTool(const QStringList& args) {
    QProcess p;
    p.start("sqlite3", args);
    p.waitForFinished(-1);
}

void run(int n, const QString& folder, int runs) {
    std::printf("== %d rows (best of %d runs)\n", n, runs);
    const std::vector<SongItem> rows = makeRows(n);
    const std::vector<BareRow> bare = bareRows(rows);
    const YesNo yesNo;
    SilentProgress progress;

    // Save: one key of n rows, each run into a fresh catalogue.
    const QString bareFile = folder + "/bare.db3", ourFile = folder + "/ours.db3";
    const auto fresh = [](const QString& f) {
        QFile::remove(f);
        createStoreFile(f, StoreKind::Catalogue);
    };
    const Timing bareSaveT = best(runs, [&] {
        fresh(bareFile);
        bareSave(bareFile, bare, 0);
    });
    int saved = 0;
    const Timing ourSaveT = best(runs, [&] {
        fresh(ourFile);
        CatalogueStore store;
        store.open(ourFile);
        saved = saveRows(store, "bench", rows, yesNo, progress).saved;
    });
    line("save", ourSaveT, bareSaveT, "bare", " (target <= 1.5)",
         "  rows " + std::to_string(saved));

    // Load all into a pane, with the resident memory the rows take.
    long bareBytes = 0;
    const Timing bareLoadT = best(runs, [&] { bareLoad(ourFile, nullptr, &bareBytes); });
    Settings settings(folder + "/");
    long rowBytes = 0;
    CatalogueStore store;
    store.open(ourFile);
    const Timing ourLoadT = best(runs, [&] {
        SongListModel pane(&settings);
        const long before = residentKb();
        SongListModel::BulkScope bulk(pane);
        loadRows(store, std::nullopt, false, yesNo, progress,
                 [&](SongItem&& item) { pane.append(std::move(item)); });
        pane.flushPending();
        rowBytes = std::max(rowBytes, long((residentKb() - before) * 1024.0 / n));
    });
    line("load all", ourLoadT, bareLoadT, "bare", " (target <= 2)",
         "  " + std::to_string(rowBytes) + " bytes/row resident");
    store.close();

    // A catalogue of many CDs: 200 rows per key (n / 200 keys).
    const QString keysFile = folder + "/keys.db3";
    fresh(keysFile);
    bareSave(keysFile, bare, 200);
    store.open(keysFile);
    const QString middleKey = QString("CD %1").arg(n / 400);
    const Timing bareKeyT =
        best(runs, [&] { bareLoad(keysFile, middleKey.toUtf8().constData(), &bareBytes); });
    int byKey = 0;
    const Timing ourKeyT = best(runs, [&] {
        byKey = 0;
        loadRows(store, middleKey, false, yesNo, progress, [&](SongItem&&) { ++byKey; });
    });
    std::printf("load key  ours %7.3f ms  bare %7.3f ms  ratio %.2f  rows %d\n",
                ourKeyT.wall * 1000, bareKeyT.wall * 1000, ourKeyT.wall / bareKeyT.wall, byKey);

    const int probes = 2000;
    bool inUse = false;
    const Timing keyT = best(runs, [&] {
        for (int i = 0; i < probes; ++i)
            store.keyInUse(i % 2 ? middleKey : QString("no such key %1").arg(i), inUse);
    });
    store.close();
    sqlite3* db = connect(keysFile);
    exec(db, "DROP INDEX idxKey;");
    sqlite3_stmt* s = nullptr;
    sqlite3_prepare_v2(db, "SELECT 1 FROM list WHERE dbname = :p_dbname COLLATE NOCASE LIMIT 1;",
                       -1, &s, nullptr);
    const Timing scanT = best(runs, [&] {
        sqlite3_reset(s);
        sqlite3_bind_text(s, 1, "no such key", -1, SQLITE_STATIC);
        sqlite3_step(s);
    });
    sqlite3_finalize(s);
    exec(db, "CREATE INDEX idxKey ON list (dbname, location DESC, filename);");
    sqlite3_close(db);
    std::printf("KeyInUse  ours %.4f ms per call (target < 1 ms)  without the index %.1f ms\n",
                keyT.wall * 1000 / probes, scanT.wall * 1000);

    // Compaction: ours against the sqlite3 tool's VACUUM INTO and quick_check. Half the
    // rows are deleted first, so there is space to reclaim.
    db = connect(keysFile);
    exec(db, "DELETE FROM list WHERE ID % 2 = 0;");
    sqlite3_close(db);
    const qint64 before = QFileInfo(keysFile).size();
    const QString toolCopy = folder + "/tool-copy.db3";
    const Timing toolT = best(runs, [&] {
        QFile::remove(toolCopy);
        quietTool({keysFile, "VACUUM INTO '" + toolCopy + "'"});
        quietTool({toolCopy, "PRAGMA quick_check;"});
    });
    QFile::remove(toolCopy);
    bool compacted = true;
    const Timing compactT = best(runs, [&] { compacted = compactStoreFile(keysFile).status.ok(); });
    line("compact", compactT, toolT, "sqlite3", " (target <= 2)",
         "  " + std::to_string(before) + " -> " + std::to_string(QFileInfo(keysFile).size()) +
             " bytes" + (compacted ? "" : "  FAILED"));
    for (const QString& f : {bareFile, ourFile, keysFile})
        QFile::remove(f);
}
} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    QTemporaryDir dir;
    std::vector<int> sizes;
    for (int i = 1; i < argc; ++i)
        sizes.push_back(std::atoi(argv[i]));
    if (sizes.empty())
        sizes = {100000, 1000000};
    const int runs =
        qEnvironmentVariableIntValue("RUNS") > 0 ? qEnvironmentVariableIntValue("RUNS") : 3;
    for (int n : sizes)
        run(n, dir.path(), runs);
    return 0;
}
