#include "catalog/compaction.h"

#include "base/nativepath.h"

#include <sqlite3.h>

#include <QStringList>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
QString systemError(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

StoreStatus failed(const QString& path, const QString& reason) {
    return StoreStatus::failure(StoreStatus::Code::Failed,
                                messageText("DBCompactFailed",
                                            "The database %1 could not be compacted: %2~~It "
                                            "was left as it was.",
                                            {path, reason}));
}

bool fsyncPath(const QByteArray& native, int flags) {
    const int fd = ::open(native.constData(), flags | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

// The copy's tables, their row counts and its marks must equal the original's.
StoreStatus compareCopy(SqliteDb& original, SqliteDb& copy, const QString& path) {
    QString check;
    if (!copy.queryText("PRAGMA quick_check;", check))
        return failed(path, copy.errorText());
    if (check != QLatin1String("ok"))
        return failed(path, check);
    const char* schema = "SELECT type || ' ' || name || ' ' || tbl_name || ' ' || ifnull(sql, '')"
                         " FROM sqlite_master ORDER BY type, name;";
    QString a, b;
    if (!original.queryText(schema, a))
        return storeEngineError(original, path);
    if (!copy.queryText(schema, b))
        return failed(path, copy.errorText());
    if (a != b)
        return failed(path, QStringLiteral("the copy's schema differs"));
    for (const char* mark : {"PRAGMA application_id;", "PRAGMA user_version;"}) {
        std::int64_t x = 0, y = 0;
        if (!original.queryInt(mark, x) || !copy.queryInt(mark, y) || x != y)
            return failed(path, QStringLiteral("the copy's marks differ"));
    }
    QString names;
    if (!original.queryText("SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name;",
                            names))
        return storeEngineError(original, path);
    for (const QString& table : names.split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
        // A table name cannot be a parameter: it is quoted as an identifier.
        const QByteArray count = "SELECT COUNT(*) FROM " + quoteSqlIdentifier(table).toUtf8() + ";";
        std::int64_t x = 0, y = 0;
        if (!original.queryInt(count.constData(), x))
            return storeEngineError(original, path);
        if (!copy.queryInt(count.constData(), y))
            return failed(path, copy.errorText());
        if (x != y)
            return failed(path, QStringLiteral("the copy lacks rows of table %1").arg(table));
    }
    return {};
}
} // namespace

CompactResult compactStoreFile(const QString& path) {
    CompactResult result;
    if (StoreStatus header = checkStoreFileHeader(path); !header) {
        result.status = header;
        return result;
    }
    // A link stays a link: its target is what gets compacted.
    char resolved[PATH_MAX];
    if (!::realpath(toNativePath(path).constData(), resolved)) {
        result.status = failed(path, systemError(errno));
        return result;
    }
    const QByteArray target(resolved);
    struct stat before {};
    if (::stat(target.constData(), &before) != 0) {
        result.status = failed(path, systemError(errno));
        return result;
    }
    result.bytesBefore = before.st_size;
    const QString targetPath = fromNativePath(target);

    // The write lock: nobody else writes while the copy is made and put in place.
    SqliteDb lock;
    if (!lock.open(targetPath, SqliteDb::Mode::ReadWrite)) {
        result.status = storeEngineError(lock, path);
        return result;
    }
    if (lock.isReadOnly()) {
        result.status = StoreStatus::failure(
            StoreStatus::Code::ReadOnly,
            messageText(
                "DBReadOnly", "The database %1 cannot be written: %2",
                {path, messageText("DBReadOnlyFile", "the file or its folder is read-only", {})}));
        return result;
    }
    QString journalMode;
    if (!lock.queryText("PRAGMA journal_mode;", journalMode)) {
        result.status = storeEngineError(lock, path);
        return result;
    }
    if (journalMode.compare(QLatin1String("wal"), Qt::CaseInsensitive) == 0) {
        // Renaming over a file with a write-ahead log beside it would pair the log with
        // the wrong file.
        result.status = failed(path, QStringLiteral("it uses a write-ahead log"));
        return result;
    }
    if (!lock.exec("BEGIN IMMEDIATE;")) {
        result.status = storeEngineError(lock, path);
        return result;
    }

    // A hidden, unique, empty file of our own beside the original.
    const int slash = int(target.lastIndexOf('/'));
    const QByteArray folder = target.left(slash + 1);
    QByteArray temp = folder + "." + target.mid(slash + 1) + ".compact-XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) {
        lock.exec("ROLLBACK;");
        result.status = failed(path, systemError(errno));
        return result;
    }
    ::close(fd);
    const auto removeCopy = [&temp] {
        ::unlink(temp.constData()); // own file: the compacted copy
        const QByteArray journal = temp + "-journal";
        ::unlink(journal.constData()); // own file: the copy's rollback journal
    };
    const auto fail = [&](StoreStatus status) {
        removeCopy();
        lock.exec("ROLLBACK;");
        result.status = std::move(status);
        return result;
    };

    {
        SqliteDb reader;
        if (!reader.open(targetPath, SqliteDb::Mode::ReadOnly))
            return fail(storeEngineError(reader, path));
        SqliteStatement vacuum(reader, "VACUUM INTO :p_file;");
        if (!vacuum.isValid() || !vacuum.bindBytes(vacuum.parameter(":p_file"), temp) ||
            vacuum.step() == SqliteStatement::Step::Error)
            return fail(failed(path, reader.errorText()));
        vacuum = SqliteStatement();
        SqliteDb copy;
        if (!copy.open(fromNativePath(temp), SqliteDb::Mode::ReadOnly))
            return fail(failed(path, copy.errorText()));
        if (StoreStatus same = compareCopy(reader, copy, path); !same)
            return fail(same);
    }

    // The engine does not flush what VACUUM INTO writes; the copy must be on disc
    // before its name replaces the original. It takes the original's permissions.
    const int copyFd = ::open(temp.constData(), O_RDWR | O_CLOEXEC);
    if (copyFd < 0)
        return fail(failed(path, systemError(errno)));
    bool ok = ::fchmod(copyFd, before.st_mode & 07777) == 0;
    if (ok && (before.st_uid != ::geteuid() || before.st_gid != ::getegid()))
        (void)!::fchown(copyFd, before.st_uid, before.st_gid); // best effort: owner kept if allowed
    ok = ok && ::fsync(copyFd) == 0;
    const int syncError = errno;
    ::close(copyFd);
    if (!ok)
        return fail(failed(path, systemError(syncError)));
    // The program's own store, replaced by its verified compacted copy.
    if (::rename(temp.constData(), target.constData()) != 0) // own file: see above
        return fail(failed(path, systemError(errno)));
    fsyncPath(folder, O_RDONLY | O_DIRECTORY); // the new name is on disc too
    lock.exec("ROLLBACK;");                    // nothing was written through the lock
    lock.close();
    struct stat after {};
    if (::stat(target.constData(), &after) == 0)
        result.bytesAfter = after.st_size;
    return result;
}
