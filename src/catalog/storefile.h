// The program's store files: catalogues ("*.db3", table list) and the lyrics store
// ("lyrics.lyr", tables list and karaoke). Each is one SQLite file in rollback-journal
// mode that the sqlite3 tool opens. A file is marked by PRAGMA application_id (one
// per kind) and user_version (the schema version, 1 today).
//
// Opening checks the file before anything is written to it: a missing file, a file
// that is no SQLite database (an old Access file is named as such), a store of the
// other kind or tables without the needed columns give a message naming the file
// and the reason, and the file is left as it was. A file without our mark counts
// when its tables have the needed columns (a catalogue made with another tool).
#pragma once

#include "catalog/sqlitedb.h"

#include <QString>

#include <cstdint>
#include <initializer_list>

enum class StoreKind { Catalogue, Lyrics };

// The outcome of a store operation: Ok, or what went wrong with a message for the
// user that names the file.
struct StoreStatus {
    enum class Code {
        Ok,
        NoPath,      // no file chosen (an empty path)
        Missing,     // no file at the path
        NotAFile,    // a folder or a device
        Unreadable,  // the file cannot be read (permissions)
        JetFile,     // an old Microsoft Access database
        NotDatabase, // not an SQLite file, or a truncated one
        Damaged,     // an SQLite file that is corrupt
        WrongKind,   // a lyrics store opened as a catalogue or the other way round
        NotStore,    // tables or columns missing, a view where a table belongs, triggers
        Newer,       // made by a newer version: read-only
        Busy,        // another program holds the lock past the busy timeout
        ReadOnly,    // the file or its folder cannot be written
        Cancelled,   // the user stopped it
        Failed,      // any other engine or file-system error
    };
    Code code = Code::Ok;
    QString message;

    bool ok() const { return code == Code::Ok; }
    explicit operator bool() const { return ok(); }
    static StoreStatus failure(Code code, const QString& message) { return {code, message}; }
};

// T(key, def) with %1, %2, ... replaced by args in one pass (a file name holding "%2"
// stays as it is).
QString messageText(const char* key, const char* def, std::initializer_list<QString> args);

// The status for the connection's last engine error on the file at `path`.
StoreStatus storeEngineError(const SqliteDb& db, const QString& path);

// Checks the first bytes of a file without opening it as a database: Ok for an SQLite
// file (or an empty one), else Missing, NotAFile, Unreadable, JetFile or NotDatabase.
StoreStatus checkStoreFileHeader(const QString& path);

// An open, checked connection to a store file.
class StoreFile {
public:
    enum class Access { ReadWrite, ReadOnly };

    static constexpr int SchemaVersion = 1;
    static std::uint32_t applicationId(StoreKind kind);

    // Opens and checks the file. Our files of an older schema version are brought up
    // to date in one transaction; a newer version opens read-only (writes refused with
    // the message `readOnlyReason`). Never creates a file.
    StoreStatus open(const QString& path, StoreKind kind, Access access = Access::ReadWrite);
    void close();
    bool isOpen() const { return m_db.isOpen(); }
    const QString& path() const { return m_path; }
    StoreKind kind() const { return m_kind; }
    SqliteDb& db() { return m_db; }

    // Whether writes are allowed; when not, readOnlyStatus() says why.
    bool isWritable() const { return m_db.isOpen() && m_readOnly.ok(); }
    const StoreStatus& readOnlyStatus() const { return m_readOnly; }

    // The status for the connection's last engine error.
    StoreStatus engineError() const { return storeEngineError(m_db, m_path); }

private:
    StoreStatus checkTables();
    StoreStatus upgrade(std::int64_t fromVersion);

    SqliteDb m_db;
    QString m_path;
    StoreKind m_kind = StoreKind::Catalogue;
    StoreStatus m_readOnly;
};

// CreateStoreFile: makes a new, empty store of the kind at the path: the catalogue's
// table list, or the lyrics store's tables list and karaoke, with their indexes, in
// one transaction, so a failure leaves no half-made file. A file that is already there
// is not changed (Ok when it is a store of that kind, else the reason), except that a
// zero-length file, an empty database, gets the tables.
StoreStatus createStoreFile(const QString& path, StoreKind kind);
