#include "catalog/catalogue.h"

Catalogue::Catalogue(QString programFolder) : m_folder(std::move(programFolder)) {}

QString Catalogue::currentPath() const {
    return m_currentFile.isEmpty() ? QString() : m_folder + m_currentFile;
}

StoreStatus Catalogue::open(const QString& path) {
    // A missing file (or no file chosen) leaves the open connection alone.
    StoreStatus header = checkStoreFileHeader(path);
    if (header.code == StoreStatus::Code::Missing || header.code == StoreStatus::Code::NoPath)
        return header;
    return m_store.open(path);
}
