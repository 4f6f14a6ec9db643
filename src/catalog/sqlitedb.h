// A thin layer over the SQLite C API for the store files (catalogues, lyrics store):
// one connection, statements prepared once with named parameters, forward-only row
// walks. Nothing here creates a file: callers make new stores through CreateStoreFile.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

#include <cstdint>
#include <string>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

class SqliteDb {
public:
    enum class Mode { ReadWrite, ReadOnly };

    SqliteDb() = default;
    ~SqliteDb();
    SqliteDb(const SqliteDb&) = delete;
    SqliteDb& operator=(const SqliteDb&) = delete;

    // Opens an existing database file (never creates one). The path is taken
    // literally (spaces, "?", "#", "%" and bytes that are not UTF-8 included).
    // Sets the busy timeout (5 s) and keeps views, triggers and schema functions
    // from running code the schema does not declare harmless.
    bool open(const QString& path, Mode mode);
    void close();
    bool isOpen() const { return m_db != nullptr; }
    // Whether the engine opened the file read-only (asked for, or a file or
    // folder the user may not write).
    bool isReadOnly() const;
    sqlite3* handle() const { return m_db; }
    const QString& path() const { return m_path; }

    // A statement without values (DDL, BEGIN, COMMIT, pragmas with constants).
    bool exec(const char* sql);
    // The first column of the first row of a statement without values, as an integer.
    bool queryInt(const char* sql, std::int64_t& value);
    // The same as text; every row's first column joined by line breaks.
    bool queryText(const char* sql, QString& value);

    // The last failure: the engine's code (primary), its extended code and its message.
    int errorCode() const { return m_errorCode; }
    int extendedErrorCode() const { return m_extendedCode; }
    const QString& errorText() const { return m_errorText; }
    // Another connection holds the lock (after the busy timeout).
    bool lastErrorIsBusy() const;
    // Records the connection's current error (after a failed call on a statement).
    void takeError(int code);
    void setError(int code, const QString& text);

    static constexpr int BusyTimeoutMs = 5000;

private:
    sqlite3* m_db = nullptr;
    QString m_path;
    int m_errorCode = 0;
    int m_extendedCode = 0;
    QString m_errorText;
};

// A prepared statement. Values are bound by parameter name (":p_dbname"); the
// parameter's position is looked up once with parameter().
class SqliteStatement {
public:
    enum class Step { Row, Done, Error };

    SqliteStatement() = default;
    SqliteStatement(SqliteDb& db, const char* sql);
    ~SqliteStatement();
    SqliteStatement(SqliteStatement&& other) noexcept;
    SqliteStatement& operator=(SqliteStatement&& other) noexcept;
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    bool isValid() const { return m_stmt != nullptr; }

    // The position of a named parameter (":p_dbname"); 0 when the statement has none
    // of that name (binding to 0 is refused by the engine and reported).
    int parameter(const char* name) const;

    bool bindNull(int parameter);
    bool bindInt(int parameter, std::int64_t value);
    bool bindDouble(int parameter, double value);
    // Texts are stored as UTF-8; characters that stand for bytes of a name that is
    // not UTF-8 (U+DC80..U+DCFF) are stored as those bytes, so names read back unchanged.
    bool bindText(int parameter, QStringView text);
    bool bindBytes(int parameter, const QByteArray& utf8);

    // Runs the statement up to its next row. Errors are recorded on the connection.
    Step step();
    // Ready to run again; bindings are cleared to null.
    void reset();

    int columnCount() const;
    // The column's position for a name, -1 when the result has no such column.
    int column(const char* name) const;
    bool isNull(int column) const;
    // SQLITE_INTEGER, SQLITE_FLOAT, SQLITE_TEXT, SQLITE_BLOB or SQLITE_NULL.
    int type(int column) const;
    std::int64_t intValue(int column) const;
    double doubleValue(int column) const;
    // Text as stored (see bindText); a null reads as the empty text.
    QString text(int column) const;
    // The stored bytes of a text, valid until the next step or reset.
    QByteArrayView textBytes(int column) const;
    // A value as the program shows it: text unchanged, an integer in digits, a real
    // number in plain shortest decimal form (1234.5, 0, 1234570), null as "".
    QString displayText(int column) const;
    // The same into `out`, reusing its storage (no allocation per value in a long walk).
    void displayText(int column, QString& out) const;

private:
    sqlite3_stmt* m_stmt = nullptr;
    SqliteDb* m_db = nullptr;
    // One UTF-8 buffer per parameter, reused from row to row: binding a text costs
    // no allocation once the buffers have grown.
    std::vector<std::string> m_texts;
};

// Appends text as UTF-8; U+DC80..U+DCFF (bytes of a name that is not UTF-8) become
// those bytes again, other lone surrogates U+FFFD.
void appendUtf8(std::string& out, QStringView text);

// A real number in the plainest decimal form that reads back to the same value:
// no exponent, no trailing zeros ("0", "1234.5", "1234570").
QString plainNumberText(double value);
// An identifier (a table name read from a file) quoted for SQL text.
QString quoteSqlIdentifier(const QString& name);
