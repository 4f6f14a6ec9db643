#include "catalog/storefile.h"

#include "base/nativepath.h"
#include "base/translator.h"

#include <sqlite3.h>

#include <QStringList>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// The schema of each kind, as the tables were first laid out; the column names and
// their order are what other programs and older catalogues know. SQLite keeps every
// text whole whatever its declared width; NOCASE makes key and name comparisons
// ignore letter case. ID is never reused (AUTOINCREMENT), also after compaction.
// crc, orig and copy store a null as false, also for rows other programs insert.
const char kCatalogueSchema[] =
    "CREATE TABLE list (ID INTEGER PRIMARY KEY AUTOINCREMENT,"
    " dbname VARCHAR(50) COLLATE NOCASE, filename VARCHAR(255) COLLATE NOCASE,"
    " filesize FLOAT, location VARCHAR(255) COLLATE NOCASE,"
    " title VARCHAR(255) COLLATE NOCASE, artist VARCHAR(255) COLLATE NOCASE,"
    " album VARCHAR(255) COLLATE NOCASE, [year] VARCHAR(8) COLLATE NOCASE,"
    " genre VARCHAR(50) COLLATE NOCASE, track INT, comment VARCHAR(255) COLLATE NOCASE,"
    " [length] INT, bitrate INT, frequency INT,"
    " crc BIT NOT NULL ON CONFLICT REPLACE DEFAULT 0,"
    " orig BIT NOT NULL ON CONFLICT REPLACE DEFAULT 0,"
    " [copy] BIT NOT NULL ON CONFLICT REPLACE DEFAULT 0,"
    " atributes VARCHAR(20) COLLATE NOCASE, weight INT);";
// Key look-ups and the editor's walk: key, then folders in descending order, then names.
const char kCatalogueIndexes[] =
    "CREATE INDEX IF NOT EXISTS idxKey ON list (dbname, location DESC, filename);";

// The lyric is TEXT: a declared type of MEMO would give the column numeric affinity,
// and a lyric "0012" would come back as 12.
const char kLyricsSchema[] =
    "CREATE TABLE list (ID INTEGER PRIMARY KEY AUTOINCREMENT,"
    " filename VARCHAR(255) COLLATE NOCASE, lyric TEXT, title VARCHAR(255) COLLATE NOCASE,"
    " artist VARCHAR(255) COLLATE NOCASE, album VARCHAR(255) COLLATE NOCASE,"
    " [year] VARCHAR(8) COLLATE NOCASE, genre VARCHAR(50) COLLATE NOCASE);"
    "CREATE TABLE karaoke (ID INTEGER PRIMARY KEY AUTOINCREMENT, idlyrics INT,"
    " linenumber INT, startdisplay FLOAT, stopdisplay FLOAT);";
const char kLyricsIndexes[] = "CREATE INDEX IF NOT EXISTS idxFileName ON list (filename);"
                              "CREATE INDEX IF NOT EXISTS idxLyric ON karaoke (idlyrics);";

struct TableColumns {
    const char* table;
    QStringList columns;
};

const QList<TableColumns>& requiredTables(StoreKind kind) {
    static const QList<TableColumns> catalogue = {
        {"list", {"ID",        "dbname", "filename", "filesize", "location",  "title",  "artist",
                  "album",     "year",   "genre",    "track",    "comment",   "length", "bitrate",
                  "frequency", "crc",    "orig",     "copy",     "atributes", "weight"}}};
    static const QList<TableColumns> lyrics = {
        {"list", {"ID", "filename", "lyric", "title", "artist", "album", "year", "genre"}},
        {"karaoke", {"ID", "idlyrics", "linenumber", "startdisplay", "stopdisplay"}}};
    return kind == StoreKind::Catalogue ? catalogue : lyrics;
}

const char* indexesOf(StoreKind kind) {
    return kind == StoreKind::Catalogue ? kCatalogueIndexes : kLyricsIndexes;
}

QString kindName(StoreKind kind) {
    return kind == StoreKind::Catalogue ? T("DBKindCatalogue", "a catalogue")
                                        : T("DBKindLyrics", "a lyrics store");
}

QString withFile(const char* key, const char* def, const QString& path,
                 const QString& detail = {}) {
    return messageText(key, def, {path, detail});
}

StoreStatus notStore(const QString& path, StoreKind kind, const QString& detail) {
    return StoreStatus::failure(
        StoreStatus::Code::NotStore,
        messageText("DBNotStore", "%1 is not %3: %2", {path, detail, kindName(kind)}));
}

QString systemError(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}
} // namespace

QString messageText(const char* key, const char* def, std::initializer_list<QString> args) {
    const QString text = T(key, def);
    QString out;
    out.reserve(text.size());
    // One pass, so a "%2" inside a file name is never replaced in turn.
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'%' && i + 1 < text.size() && text[i + 1] >= u'1' && text[i + 1] <= u'9') {
            const size_t n = size_t(text[i + 1].unicode() - u'1');
            if (n < args.size()) {
                out += *(args.begin() + n);
                ++i;
                continue;
            }
        }
        out += c;
    }
    return out;
}

StoreStatus storeEngineError(const SqliteDb& db, const QString& path) {
    using C = StoreStatus::Code;
    const QString reason = db.errorText();
    switch (db.errorCode()) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return StoreStatus::failure(
            C::Busy, withFile("DBInUse",
                              "The database %1 is in use by another program that is writing to "
                              "it. Try again when it has finished.",
                              path));
    case SQLITE_READONLY:
        if (db.extendedErrorCode() == SQLITE_READONLY_DBMOVED)
            return StoreStatus::failure(
                C::ReadOnly, withFile("DBMoved",
                                      "The database %1 was replaced or moved by another program "
                                      "while it was open. Nothing was written; try again.",
                                      path));
        return StoreStatus::failure(
            C::ReadOnly, withFile("DBReadOnly", "The database %1 cannot be written: %2", path,
                                  T("DBReadOnlyFile", "the file or its folder is read-only")));
    case SQLITE_CANTOPEN:
        return StoreStatus::failure(
            C::ReadOnly,
            withFile("DBReadOnly", "The database %1 cannot be written: %2", path,
                     T("DBNoJournal", "its folder does not allow the journal file beside it")));
    case SQLITE_CORRUPT:
    case SQLITE_NOTADB:
        return StoreStatus::failure(
            C::Damaged, withFile("DBDamaged", "The database %1 is damaged: %2", path, reason));
    case SQLITE_FULL:
        return StoreStatus::failure(
            C::Failed, withFile("DBFull", "The database %1 cannot grow: the disc is full.", path));
    default:
        return StoreStatus::failure(
            C::Failed, withFile("DBEngineError", "The database %1 reported an error: %2", path,
                                reason.isEmpty() ? QStringLiteral("unknown error") : reason));
    }
}

StoreStatus checkStoreFileHeader(const QString& path) {
    using C = StoreStatus::Code;
    if (path.isEmpty())
        return StoreStatus::failure(C::NoPath, T("DBNoPath", "No database file is chosen."));
    const QByteArray native = toNativePath(path);
    struct stat st {};
    if (::stat(native.constData(), &st) != 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return StoreStatus::failure(
                C::Missing, withFile("DBMissing", "The database %1 does not exist.", path));
        return StoreStatus::failure(C::Unreadable,
                                    withFile("DBUnreadable", "The database %1 cannot be read: %2",
                                             path, systemError(errno)));
    }
    if (!S_ISREG(st.st_mode))
        return StoreStatus::failure(C::NotAFile,
                                    withFile("DBNotAFile", "%1 is not a database file.", path));
    const int fd = ::open(native.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return StoreStatus::failure(C::Unreadable,
                                    withFile("DBUnreadable", "The database %1 cannot be read: %2",
                                             path, systemError(errno)));
    char header[100];
    ssize_t got = 0;
    while (got < ssize_t(sizeof header)) {
        const ssize_t n = ::read(fd, header + got, sizeof header - size_t(got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        got += n;
    }
    ::close(fd);
    if (got == 0)
        return {}; // an empty file is an empty SQLite database
    static const char sqliteMagic[] = "SQLite format 3"; // with its NUL: 16 bytes
    if (got == ssize_t(sizeof header) && std::memcmp(header, sqliteMagic, 16) == 0)
        return {};
    static const char jetMagic[] = "Standard Jet DB";
    if (got >= 4 + 15 && std::memcmp(header + 4, jetMagic, 15) == 0)
        return StoreStatus::failure(
            C::JetFile, withFile("DBJetFile",
                                 "%1 is an old Microsoft Access (Jet) database. This program keeps "
                                 "its databases in SQLite files and cannot open it.",
                                 path));
    return StoreStatus::failure(
        C::NotDatabase,
        withFile("DBNotDatabase", "%1 is not a database file, or it is cut short.", path));
}

std::uint32_t StoreFile::applicationId(StoreKind kind) {
    return kind == StoreKind::Catalogue ? 0x524E4443u  // "RNDC"
                                        : 0x524E444Cu; // "RNDL"
}

StoreStatus StoreFile::open(const QString& path, StoreKind kind, Access access) {
    close();
    m_path = path;
    m_kind = kind;
    m_readOnly = {};
    if (StoreStatus header = checkStoreFileHeader(path); !header)
        return header;
    if (!m_db.open(path, access == Access::ReadOnly ? SqliteDb::Mode::ReadOnly
                                                    : SqliteDb::Mode::ReadWrite)) {
        StoreStatus s = engineError();
        close();
        return s;
    }
    std::int64_t id = 0;
    std::int64_t version = 0;
    if (!m_db.queryInt("PRAGMA application_id;", id) ||
        !m_db.queryInt("PRAGMA user_version;", version)) {
        StoreStatus s = engineError();
        close();
        return s;
    }
    const auto other = kind == StoreKind::Catalogue ? StoreKind::Lyrics : StoreKind::Catalogue;
    if (std::uint32_t(id) == applicationId(other)) {
        const QString text =
            kind == StoreKind::Catalogue
                ? withFile("DBIsLyricsStore", "%1 is a lyrics store, not a catalogue.", path)
                : withFile("DBIsCatalogue", "%1 is a catalogue, not a lyrics store.", path);
        close();
        return StoreStatus::failure(StoreStatus::Code::WrongKind, text);
    }
    if (StoreStatus tables = checkTables(); !tables) {
        close();
        return tables;
    }
    const bool ours = std::uint32_t(id) == applicationId(kind);
    if (access == Access::ReadOnly) {
        m_readOnly = StoreStatus::failure(
            StoreStatus::Code::ReadOnly,
            withFile("DBReadOnly", "The database %1 cannot be written: %2", path,
                     T("DBOpenedReadOnly", "it is open for reading only")));
    } else if (ours && version > SchemaVersion) {
        // Written by a newer program: read it, never write into a schema we do not know.
        m_db.open(path, SqliteDb::Mode::ReadOnly);
        m_readOnly = StoreStatus::failure(
            StoreStatus::Code::Newer,
            withFile("DBNewerVersion",
                     "The database %1 was made by a newer version of Rendolo. It can be read, "
                     "but nothing can be saved into it.",
                     path));
    } else if (ours && version < SchemaVersion) {
        if (StoreStatus up = upgrade(version); !up) {
            close();
            return up;
        }
    }
    if (m_readOnly.ok() && m_db.isReadOnly())
        m_readOnly = StoreStatus::failure(
            StoreStatus::Code::ReadOnly,
            withFile("DBReadOnly", "The database %1 cannot be written: %2", path,
                     T("DBReadOnlyFile", "the file or its folder is read-only")));
    return {};
}

StoreStatus StoreFile::checkTables() {
    SqliteStatement type(m_db, "SELECT type FROM sqlite_master WHERE name = :p_name "
                               "AND type IN ('table', 'view') COLLATE NOCASE;");
    SqliteStatement columns(m_db, "SELECT name FROM pragma_table_info(:p_name);");
    SqliteStatement triggers(m_db, "SELECT COUNT(*) FROM sqlite_master WHERE type = 'trigger' "
                                   "AND tbl_name = :p_name COLLATE NOCASE;");
    if (!type.isValid() || !columns.isValid() || !triggers.isValid())
        return engineError();
    for (const TableColumns& t : requiredTables(m_kind)) {
        const QString table = QString::fromLatin1(t.table);
        type.reset();
        type.bindText(type.parameter(":p_name"), table);
        const SqliteStatement::Step found = type.step();
        if (found == SqliteStatement::Step::Error)
            return engineError();
        if (found == SqliteStatement::Step::Done)
            return notStore(m_path, m_kind,
                            messageText("DBNoTable", "it has no table %1", {table}));
        if (type.text(0) != QLatin1String("table"))
            return notStore(m_path, m_kind,
                            messageText("DBNotTable", "%1 is a view, not a table", {table}));
        triggers.reset();
        triggers.bindText(triggers.parameter(":p_name"), table);
        if (triggers.step() != SqliteStatement::Step::Row)
            return engineError();
        if (triggers.intValue(0) > 0)
            return notStore(m_path, m_kind,
                            messageText("DBHasTriggers", "its table %1 has triggers", {table}));
        QStringList have;
        columns.reset();
        columns.bindText(columns.parameter(":p_name"), table);
        SqliteStatement::Step step;
        while ((step = columns.step()) == SqliteStatement::Step::Row)
            have << columns.text(0);
        if (step == SqliteStatement::Step::Error)
            return engineError();
        for (const QString& c : t.columns)
            if (!have.contains(c, Qt::CaseInsensitive))
                return notStore(
                    m_path, m_kind,
                    messageText("DBNoColumn", "its table %1 has no column %2", {table, c}));
    }
    return {};
}

StoreStatus StoreFile::upgrade(std::int64_t fromVersion) {
    // Version 0 is a file of ours from before the schema carried a version: it may
    // lack the indexes. Later versions add their steps here, all in one transaction.
    (void)fromVersion;
    if (!m_db.exec("BEGIN IMMEDIATE;"))
        return engineError();
    const QByteArray version = "PRAGMA user_version = " + QByteArray::number(SchemaVersion) + ";";
    if (!m_db.exec(indexesOf(m_kind)) || !m_db.exec(version.constData()) || !m_db.exec("COMMIT;")) {
        StoreStatus s = engineError();
        m_db.exec("ROLLBACK;");
        return s;
    }
    return {};
}

void StoreFile::close() {
    m_db.close();
}

namespace {
StoreStatus buildSchema(SqliteDb& db, const QString& path, StoreKind kind) {
    const QByteArray marks =
        "PRAGMA application_id = " + QByteArray::number(StoreFile::applicationId(kind)) +
        "; PRAGMA user_version = " + QByteArray::number(StoreFile::SchemaVersion) + ";";
    const char* schema = kind == StoreKind::Catalogue ? kCatalogueSchema : kLyricsSchema;
    if (!db.exec("BEGIN IMMEDIATE;"))
        return storeEngineError(db, path);
    if (!db.exec(schema) || !db.exec(indexesOf(kind)) || !db.exec(marks.constData()) ||
        !db.exec("COMMIT;")) {
        StoreStatus s = storeEngineError(db, path);
        db.exec("ROLLBACK;");
        return s;
    }
    return {};
}
} // namespace

StoreStatus createStoreFile(const QString& path, StoreKind kind) {
    using C = StoreStatus::Code;
    StoreStatus header = checkStoreFileHeader(path);
    if (header.code != C::Missing) {
        if (!header)
            return header;
        struct stat st {};
        if (::stat(toNativePath(path).constData(), &st) == 0 && st.st_size == 0) {
            // A zero-length file is an empty database: it gets the tables.
            SqliteDb db;
            if (!db.open(path, SqliteDb::Mode::ReadWrite))
                return storeEngineError(db, path);
            return buildSchema(db, path, kind);
        }
        StoreFile existing;
        return existing.open(path, kind);
    }
    // O_EXCL: the file is ours alone, so a failure below may remove it again.
    const QByteArray native = toNativePath(path);
    const int fd = ::open(native.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) {
        const int error = errno;
        return StoreStatus::failure(
            error == EACCES || error == EROFS || error == EPERM ? C::ReadOnly : C::Failed,
            withFile("DBCannotCreate", "The database %1 cannot be created: %2", path,
                     systemError(error)));
    }
    ::close(fd);
    SqliteDb db;
    StoreStatus made = db.open(path, SqliteDb::Mode::ReadWrite) ? buildSchema(db, path, kind)
                                                                : storeEngineError(db, path);
    db.close();
    if (!made) {
        ::unlink(native.constData()); // own file: the store this call just created
        const QByteArray journal = native + "-journal";
        ::unlink(journal.constData()); // own file: left only when the engine could not finish
        made.message =
            withFile("DBCannotCreate", "The database %1 cannot be created: %2", path, made.message);
    }
    return made;
}
