#include "catalog/sqlitedb.h"

#include "base/nativepath.h"

#include <sqlite3.h>

#include <charconv>
#include <cmath>
#include <utility>

SqliteDb::~SqliteDb() {
    close();
}

bool SqliteDb::open(const QString& path, Mode mode) {
    close();
    m_path = path;
    m_errorCode = m_extendedCode = 0;
    m_errorText.clear();
    // No SQLITE_OPEN_CREATE: a missing file is an error, never a new empty database.
    // No SQLITE_OPEN_URI: the name is a file name, whatever characters it holds.
    const int flags = (mode == Mode::ReadOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE) |
                      SQLITE_OPEN_NOMUTEX | SQLITE_OPEN_EXRESCODE;
    const QByteArray native = toNativePath(path);
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(native.constData(), &db, flags, nullptr);
    if (rc != SQLITE_OK) {
        setError(rc, db ? QString::fromUtf8(sqlite3_errmsg(db))
                        : QString::fromUtf8(sqlite3_errstr(rc)));
        sqlite3_close(db);
        return false;
    }
    m_db = db;
    sqlite3_extended_result_codes(m_db, 1);
    sqlite3_busy_timeout(m_db, BusyTimeoutMs);
    // A store file may come from anywhere: its schema runs no function with side
    // effects, and ordinary SQL cannot corrupt it through schema tricks.
    sqlite3_db_config(m_db, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
    sqlite3_db_config(m_db, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    return true;
}

void SqliteDb::close() {
    if (m_db) {
        sqlite3_close_v2(m_db);
        m_db = nullptr;
    }
}

bool SqliteDb::isReadOnly() const {
    return m_db && sqlite3_db_readonly(m_db, "main") == 1;
}

bool SqliteDb::exec(const char* sql) {
    if (!m_db) {
        setError(SQLITE_MISUSE, QStringLiteral("no database is open"));
        return false;
    }
    char* message = nullptr;
    const int rc = sqlite3_exec(m_db, sql, nullptr, nullptr, &message);
    if (rc != SQLITE_OK) {
        setError(rc, message ? QString::fromUtf8(message) : QString::fromUtf8(sqlite3_errstr(rc)));
        sqlite3_free(message);
        return false;
    }
    return true;
}

bool SqliteDb::queryInt(const char* sql, std::int64_t& value) {
    SqliteStatement s(*this, sql);
    if (!s.isValid())
        return false;
    const SqliteStatement::Step step = s.step();
    if (step == SqliteStatement::Step::Error)
        return false;
    value = step == SqliteStatement::Step::Row ? s.intValue(0) : 0;
    return true;
}

bool SqliteDb::queryText(const char* sql, QString& value) {
    value.clear();
    SqliteStatement s(*this, sql);
    if (!s.isValid())
        return false;
    SqliteStatement::Step step;
    bool first = true;
    while ((step = s.step()) == SqliteStatement::Step::Row) {
        if (!first)
            value += QLatin1Char('\n');
        value += s.text(0);
        first = false;
    }
    return step == SqliteStatement::Step::Done;
}

bool SqliteDb::lastErrorIsBusy() const {
    return m_errorCode == SQLITE_BUSY || m_errorCode == SQLITE_LOCKED;
}

void SqliteDb::takeError(int code) {
    if (!m_db) {
        setError(code, QString::fromUtf8(sqlite3_errstr(code)));
        return;
    }
    setError(code, QString::fromUtf8(sqlite3_errmsg(m_db)));
}

void SqliteDb::setError(int code, const QString& text) {
    m_extendedCode = code;
    m_errorCode = code & 0xFF;
    m_errorText = text;
}

SqliteStatement::SqliteStatement(SqliteDb& db, const char* sql) : m_db(&db) {
    if (!db.handle()) {
        db.setError(SQLITE_MISUSE, QStringLiteral("no database is open"));
        return;
    }
    const int rc =
        sqlite3_prepare_v3(db.handle(), sql, -1, SQLITE_PREPARE_PERSISTENT, &m_stmt, nullptr);
    if (rc != SQLITE_OK) {
        db.takeError(rc);
        sqlite3_finalize(m_stmt);
        m_stmt = nullptr;
        return;
    }
    m_texts.resize(size_t(sqlite3_bind_parameter_count(m_stmt)) + 1);
}

SqliteStatement::~SqliteStatement() {
    sqlite3_finalize(m_stmt);
}

SqliteStatement::SqliteStatement(SqliteStatement&& other) noexcept
    : m_stmt(std::exchange(other.m_stmt, nullptr)), m_db(other.m_db),
      m_texts(std::move(other.m_texts)) {}

SqliteStatement& SqliteStatement::operator=(SqliteStatement&& other) noexcept {
    if (this != &other) {
        sqlite3_finalize(m_stmt);
        m_stmt = std::exchange(other.m_stmt, nullptr);
        m_db = other.m_db;
        m_texts = std::move(other.m_texts);
    }
    return *this;
}

int SqliteStatement::parameter(const char* name) const {
    return m_stmt ? sqlite3_bind_parameter_index(m_stmt, name) : 0;
}

namespace {
bool bound(SqliteDb* db, int rc) {
    if (rc == SQLITE_OK)
        return true;
    if (db)
        db->takeError(rc);
    return false;
}

} // namespace

bool SqliteStatement::bindNull(int p) {
    return bound(m_db, sqlite3_bind_null(m_stmt, p));
}

bool SqliteStatement::bindInt(int p, std::int64_t value) {
    return bound(m_db, sqlite3_bind_int64(m_stmt, p, value));
}

bool SqliteStatement::bindDouble(int p, double value) {
    return bound(m_db, sqlite3_bind_double(m_stmt, p, value));
}

bool SqliteStatement::bindText(int p, QStringView text) {
    if (p <= 0 || size_t(p) >= m_texts.size())
        return bound(m_db, SQLITE_RANGE);
    std::string& utf8 = m_texts[size_t(p)];
    utf8.clear();
    appendUtf8(utf8, text);
    // The buffer stays as it is until this parameter is bound again, after a reset.
    return bound(m_db, sqlite3_bind_text(m_stmt, p, utf8.data(), int(utf8.size()), SQLITE_STATIC));
}

bool SqliteStatement::bindBytes(int p, const QByteArray& utf8) {
    return bound(
        m_db, sqlite3_bind_text(m_stmt, p, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT));
}

SqliteStatement::Step SqliteStatement::step() {
    if (!m_stmt)
        return Step::Error;
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW)
        return Step::Row;
    if (rc == SQLITE_DONE)
        return Step::Done;
    if (m_db)
        m_db->takeError(rc);
    return Step::Error;
}

void SqliteStatement::reset() {
    if (!m_stmt)
        return;
    sqlite3_reset(m_stmt);
    sqlite3_clear_bindings(m_stmt);
}

int SqliteStatement::columnCount() const {
    return m_stmt ? sqlite3_column_count(m_stmt) : 0;
}

int SqliteStatement::column(const char* name) const {
    const int n = columnCount();
    for (int i = 0; i < n; ++i)
        if (sqlite3_stricmp(sqlite3_column_name(m_stmt, i), name) == 0)
            return i;
    return -1;
}

bool SqliteStatement::isNull(int c) const {
    return type(c) == SQLITE_NULL;
}

int SqliteStatement::type(int c) const {
    return m_stmt ? sqlite3_column_type(m_stmt, c) : SQLITE_NULL;
}

std::int64_t SqliteStatement::intValue(int c) const {
    return sqlite3_column_int64(m_stmt, c);
}

double SqliteStatement::doubleValue(int c) const {
    return sqlite3_column_double(m_stmt, c);
}

QString SqliteStatement::text(int c) const {
    const auto* bytes = reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, c));
    if (!bytes)
        return {};
    const int size = sqlite3_column_bytes(m_stmt, c);
    bool ascii = true;
    for (int i = 0; i < size && ascii; ++i)
        ascii = static_cast<unsigned char>(bytes[i]) < 0x80;
    if (ascii)
        return QString::fromLatin1(bytes, size);
    // Valid UTF-8 converts as such; other bytes keep their values.
    return fromNativePath(QByteArray::fromRawData(bytes, size));
}

QByteArrayView SqliteStatement::textBytes(int c) const {
    const auto* bytes = reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, c));
    return bytes ? QByteArrayView(bytes, sqlite3_column_bytes(m_stmt, c)) : QByteArrayView();
}

QString SqliteStatement::displayText(int c) const {
    switch (type(c)) {
    case SQLITE_NULL:
        return {};
    case SQLITE_INTEGER:
        return QString::number(intValue(c));
    case SQLITE_FLOAT:
        return plainNumberText(doubleValue(c));
    default:
        return text(c);
    }
}

void appendUtf8(std::string& out, QStringView text) {
    const qsizetype n = text.size();
    const char16_t* s = text.utf16();
    const size_t start = out.size();
    out.resize(start + size_t(n) * 3); // the most UTF-16 can take as UTF-8
    char* p = out.data() + start;
    for (qsizetype i = 0; i < n; ++i) {
        char32_t c = s[i];
        if (c < 0x80) {
            *p++ = char(c);
            continue;
        }
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < n && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (s[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xDC80 && c <= 0xDCFF) {
            *p++ = char(c - 0xDC00); // a byte of a name that is not UTF-8
            continue;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;
        }
        if (c < 0x800) {
            *p++ = char(0xC0 | (c >> 6));
        } else if (c < 0x10000) {
            *p++ = char(0xE0 | (c >> 12));
            *p++ = char(0x80 | ((c >> 6) & 0x3F));
        } else { // a pair of UTF-16 units: four bytes
            *p++ = char(0xF0 | (c >> 18));
            *p++ = char(0x80 | ((c >> 12) & 0x3F));
            *p++ = char(0x80 | ((c >> 6) & 0x3F));
        }
        *p++ = char(0x80 | (c & 0x3F));
    }
    out.resize(size_t(p - out.data()));
}

void SqliteStatement::displayText(int c, QString& out) const {
    out.clear();
    switch (type(c)) {
    case SQLITE_NULL:
        return;
    case SQLITE_INTEGER: {
        char buffer[24];
        const auto r = std::to_chars(buffer, buffer + sizeof buffer, intValue(c));
        out.append(QLatin1StringView(buffer, qsizetype(r.ptr - buffer)));
        return;
    }
    case SQLITE_FLOAT:
        out = plainNumberText(doubleValue(c));
        return;
    default:
        break;
    }
    const auto* bytes = reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, c));
    const int size = sqlite3_column_bytes(m_stmt, c);
    bool ascii = true;
    for (int i = 0; i < size && ascii; ++i)
        ascii = static_cast<unsigned char>(bytes[i]) < 0x80;
    if (ascii)
        out.append(QLatin1StringView(bytes, size));
    else
        out = fromNativePath(QByteArray::fromRawData(bytes, size));
}

QString plainNumberText(double value) {
    if (!std::isfinite(value))
        return QString::number(value);
    if (value == 0)
        return QStringLiteral("0"); // also for -0
    char buffer[400];
    // Fixed notation with the fewest digits that read back to the same number.
    const auto r = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    return QString::fromLatin1(buffer, r.ec == std::errc() ? qsizetype(r.ptr - buffer) : 0);
}

QString quoteSqlIdentifier(const QString& name) {
    QString quoted = name;
    quoted.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}
