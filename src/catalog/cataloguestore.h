// A catalogue file's statements: the rows of table list, grouped by their
// recognition key (column dbname). Every value is bound to a named parameter of a
// statement prepared once; rows are read forward only, in the order they were saved.
#pragma once

#include "catalog/storefile.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

struct CatalogueRow;

class CatalogueStore {
public:
    CatalogueStore();
    ~CatalogueStore();
    CatalogueStore(const CatalogueStore&) = delete;
    CatalogueStore& operator=(const CatalogueStore&) = delete;

    StoreStatus open(const QString& path, StoreFile::Access access = StoreFile::Access::ReadWrite);
    void close();
    bool isOpen() const { return m_file.isOpen(); }
    const QString& path() const { return m_file.path(); }
    StoreFile& file() { return m_file; }

    // KeyInUse: whether a row carries the key (letter case ignored).
    StoreStatus keyInUse(const QString& key, bool& inUse);
    // The number of rows under the key, or of all rows.
    StoreStatus count(const std::optional<QString>& key, std::int64_t& rows);

    // A stored row as the list shows it.
    class StoredRow {
    public:
        explicit StoredRow(const SqliteStatement& s) : m_s(s) {}
        // The text of a list column (0 the file name ... 17 the weight): numbers in
        // plain decimal form, null as "".
        QString text(int column) const;
        // The same into `out`, reusing its storage.
        void text(int column, QString& out) const;
        // The stored bytes of a text column (valid for this row): a folder shared by
        // the rows before it is recognised without decoding it again.
        QByteArrayView bytes(int column) const { return m_s.textBytes(column); }
        // CRC, original and copyright: a null reads as false.
        bool flag(int column) const;

    private:
        const SqliteStatement& m_s;
    };
    // Walks the rows under the key (or all) in the order they were saved; `onRow`
    // answers false to stop.
    StoreStatus walk(const std::optional<QString>& key,
                     const std::function<bool(const StoredRow&)>& onRow);

    // Saving runs in one transaction: begin, insert rows, then commit (or roll back).
    StoreStatus begin();
    StoreStatus insert(const CatalogueRow& row);
    StoreStatus commit();
    void rollback();
    bool inTransaction() const { return m_inTransaction; }

private:
    struct Statements;
    StoreStatus prepare();

    StoreFile m_file;
    std::unique_ptr<Statements> m_statements;
    bool m_inTransaction = false;
};

// Holds a save's transaction: rolls it back unless it was committed.
class CatalogueTransaction {
public:
    explicit CatalogueTransaction(CatalogueStore& store) : m_store(store) {}
    ~CatalogueTransaction() {
        if (m_store.inTransaction())
            m_store.rollback();
    }
    CatalogueTransaction(const CatalogueTransaction&) = delete;
    CatalogueTransaction& operator=(const CatalogueTransaction&) = delete;

    StoreStatus begin() { return m_store.begin(); }
    StoreStatus insert(const CatalogueRow& row) { return m_store.insert(row); }
    StoreStatus commit() { return m_store.commit(); }

private:
    CatalogueStore& m_store;
};
