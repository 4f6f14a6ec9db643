#include "catalog/cataloguestore.h"

#include "catalog/cataloguerow.h"
#include "lists/songitem.h"

#include <sqlite3.h>

#include <array>

namespace {
const char kInsert[] =
    "INSERT INTO list (dbname, filename, filesize, location, title, artist, album, [year], genre,"
    " track, comment, [length], bitrate, frequency, crc, orig, [copy], atributes, weight)"
    " VALUES (:p_dbname, :p_filename, :p_filesize, :p_location, :p_title, :p_artist, :p_album,"
    " :p_year, :p_genre, :p_track, :p_comment, :p_length, :p_bitrate, :p_frequency, :p_crc,"
    " :p_orig, :p_copy, :p_atributes, :p_weight);";
// The parameters of kInsert after p_dbname and p_filename, one per sub-item.
const std::array<const char*, CatalogueRow::SubItemCount> kSubItemParameters = {
    ":p_filesize", ":p_location", ":p_title",   ":p_artist",    ":p_album",   ":p_year",
    ":p_genre",    ":p_track",    ":p_comment", ":p_length",    ":p_bitrate", ":p_frequency",
    ":p_crc",      ":p_orig",     ":p_copy",    ":p_atributes", ":p_weight"};

// Keys compare without regard to letter case, also in tables other tools made.
const char kKeyInUse[] = "SELECT 1 FROM list WHERE dbname = :p_dbname COLLATE NOCASE LIMIT 1;";
const char kCountKey[] = "SELECT COUNT(*) AS c FROM list WHERE dbname = :p_dbname COLLATE NOCASE;";
const char kCountAll[] = "SELECT COUNT(*) AS c FROM list;";
// The list's columns in list order; rows come back as they were saved.
#define RENDOLO_ROW_COLUMNS                                                                        \
    "SELECT filename, filesize, location, title, artist, album, [year], genre, track, comment,"    \
    " [length], bitrate, frequency, crc, orig, [copy], atributes, weight FROM list"
const char kSelectKey[] =
    RENDOLO_ROW_COLUMNS " WHERE dbname = :p_dbname COLLATE NOCASE ORDER BY ID;";
const char kSelectAll[] = RENDOLO_ROW_COLUMNS " ORDER BY ID;";
#undef RENDOLO_ROW_COLUMNS

bool isFlagColumn(int column) {
    return column == SongItem::CRC || column == SongItem::Original || column == SongItem::Copyright;
}
} // namespace

struct CatalogueStore::Statements {
    SqliteStatement insert, keyInUse, countKey, countAll, selectKey, selectAll;
    int pKey = 0;
    int pFileName = 0;
    std::array<int, CatalogueRow::SubItemCount> pSubItems{};
};

CatalogueStore::CatalogueStore() = default;

CatalogueStore::~CatalogueStore() {
    close();
}

StoreStatus CatalogueStore::open(const QString& path, StoreFile::Access access) {
    close();
    if (StoreStatus s = m_file.open(path, StoreKind::Catalogue, access); !s)
        return s;
    if (StoreStatus s = prepare(); !s) {
        close();
        return s;
    }
    return {};
}

StoreStatus CatalogueStore::prepare() {
    auto s = std::make_unique<Statements>();
    SqliteDb& db = m_file.db();
    s->keyInUse = SqliteStatement(db, kKeyInUse);
    s->countKey = SqliteStatement(db, kCountKey);
    s->countAll = SqliteStatement(db, kCountAll);
    s->selectKey = SqliteStatement(db, kSelectKey);
    s->selectAll = SqliteStatement(db, kSelectAll);
    if (m_file.isWritable()) {
        s->insert = SqliteStatement(db, kInsert);
        if (!s->insert.isValid())
            return m_file.engineError();
        s->pKey = s->insert.parameter(":p_dbname");
        s->pFileName = s->insert.parameter(":p_filename");
        for (size_t i = 0; i < kSubItemParameters.size(); ++i)
            s->pSubItems[i] = s->insert.parameter(kSubItemParameters[i]);
    }
    if (!s->keyInUse.isValid() || !s->countKey.isValid() || !s->countAll.isValid() ||
        !s->selectKey.isValid() || !s->selectAll.isValid())
        return m_file.engineError();
    m_statements = std::move(s);
    return {};
}

void CatalogueStore::close() {
    if (m_inTransaction)
        rollback();
    m_statements.reset(); // statements go before their connection
    m_file.close();
}

StoreStatus CatalogueStore::keyInUse(const QString& key, bool& inUse) {
    inUse = false;
    if (!m_statements)
        return StoreStatus::failure(StoreStatus::Code::NoPath,
                                    messageText("DBNotOpen", "No catalogue is open.", {}));
    SqliteStatement& q = m_statements->keyInUse;
    q.reset();
    q.bindText(q.parameter(":p_dbname"), key);
    const SqliteStatement::Step step = q.step();
    q.reset(); // ends the read, so the file is not held
    if (step == SqliteStatement::Step::Error)
        return m_file.engineError();
    inUse = step == SqliteStatement::Step::Row;
    return {};
}

StoreStatus CatalogueStore::count(const std::optional<QString>& key, std::int64_t& rows) {
    rows = 0;
    if (!m_statements)
        return StoreStatus::failure(StoreStatus::Code::NoPath,
                                    messageText("DBNotOpen", "No catalogue is open.", {}));
    SqliteStatement& q = key ? m_statements->countKey : m_statements->countAll;
    q.reset();
    if (key)
        q.bindText(q.parameter(":p_dbname"), *key);
    const SqliteStatement::Step step = q.step();
    if (step == SqliteStatement::Step::Row)
        rows = q.intValue(0);
    q.reset();
    if (step == SqliteStatement::Step::Error)
        return m_file.engineError();
    return {};
}

QString CatalogueStore::StoredRow::text(int column) const {
    if (isFlagColumn(column))
        return {};
    return m_s.displayText(column);
}

void CatalogueStore::StoredRow::text(int column, QString& out) const {
    if (isFlagColumn(column))
        out.clear();
    else
        m_s.displayText(column, out);
}

bool CatalogueStore::StoredRow::flag(int column) const {
    return m_s.intValue(column) != 0;
}

StoreStatus CatalogueStore::walk(const std::optional<QString>& key,
                                 const std::function<bool(const StoredRow&)>& onRow) {
    if (!m_statements)
        return StoreStatus::failure(StoreStatus::Code::NoPath,
                                    messageText("DBNotOpen", "No catalogue is open.", {}));
    SqliteStatement& q = key ? m_statements->selectKey : m_statements->selectAll;
    q.reset();
    if (key)
        q.bindText(q.parameter(":p_dbname"), *key);
    const StoredRow row(q);
    SqliteStatement::Step step;
    while ((step = q.step()) == SqliteStatement::Step::Row)
        if (!onRow(row)) {
            step = SqliteStatement::Step::Done;
            break;
        }
    StoreStatus result =
        step == SqliteStatement::Step::Error ? m_file.engineError() : StoreStatus{};
    q.reset();
    return result;
}

StoreStatus CatalogueStore::begin() {
    if (!m_statements)
        return StoreStatus::failure(StoreStatus::Code::NoPath,
                                    messageText("DBNotOpen", "No catalogue is open.", {}));
    if (!m_file.isWritable())
        return m_file.readOnlyStatus();
    // IMMEDIATE: the write lock is taken now, so a file another program is writing
    // gives "in use" before the first row, not half-way.
    if (!m_file.db().exec("BEGIN IMMEDIATE;"))
        return m_file.engineError();
    m_inTransaction = true;
    return {};
}

StoreStatus CatalogueStore::insert(const CatalogueRow& row) {
    Statements& s = *m_statements;
    SqliteStatement& q = s.insert;
    q.reset(); // every parameter null again
    q.bindText(s.pKey, row.key);
    q.bindText(s.pFileName, row.fileName);
    for (size_t i = 0; i < row.values.size(); ++i) {
        const CatalogueValue& v = row.values[i];
        const int p = s.pSubItems[i];
        switch (v.kind) {
        case CatalogueValue::Kind::Null:
            if (isFlagColumn(int(i) + 1))
                q.bindInt(p, 0); // a missing flag is false, whatever the table declares
            break;
        case CatalogueValue::Kind::Integer:
            q.bindInt(p, v.integer);
            break;
        case CatalogueValue::Kind::Real:
            q.bindDouble(p, v.real);
            break;
        case CatalogueValue::Kind::Text:
            q.bindText(p, v.text);
            break;
        }
    }
    if (q.step() == SqliteStatement::Step::Error) {
        StoreStatus s = m_file.engineError();
        q.reset();
        return s;
    }
    return {};
}

StoreStatus CatalogueStore::commit() {
    if (!m_inTransaction)
        return {};
    if (!m_file.db().exec("COMMIT;")) {
        StoreStatus s = m_file.engineError();
        rollback();
        return s;
    }
    m_inTransaction = false;
    return {};
}

void CatalogueStore::rollback() {
    if (!m_inTransaction)
        return;
    m_file.db().exec("ROLLBACK;");
    m_inTransaction = false;
}
