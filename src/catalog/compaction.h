// Compaction of a store file (catalogue or lyrics store), done so that the file is
// never lost: while a write lock keeps every other writer out, a compact copy is
// written beside the file under a hidden unique name, checked, flushed to disc and
// renamed over the original. Programs that keep the file open meanwhile (the sqlite3
// tool) are not disturbed; one that is writing to it makes compaction refuse.
#pragma once

#include "catalog/storefile.h"

#include <QString>

#include <cstdint>

struct CompactResult {
    StoreStatus status;
    std::int64_t bytesBefore = 0;
    std::int64_t bytesAfter = 0;
};

// CompactStoreFile. Every failure leaves the original byte for byte as it was and
// removes the copy; the status names the file and the reason. A symbolic link is
// followed: its target is compacted and the link stays.
CompactResult compactStoreFile(const QString& path);
