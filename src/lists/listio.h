// The pieces behind saveList and loadList: buffered atomic output, a line reader for
// text list files, and one writer and one reader per format. Used by listfiles.cpp
// and the playlists; not by windows.
#pragma once

#include "lists/listfiles.h"

#include <QByteArray>
#include <QFile>
#include <QSaveFile>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

class ProgressScope;

namespace listio {

// A file written through a buffer into a QSaveFile: the old file is replaced only by
// commit(), so a failure or a discard keeps it.
class OutFile {
public:
    bool open(const QString& path);
    // Append here; flush() writes the buffer out once it is large.
    QByteArray& buffer() { return m_buffer; }
    void flush(bool force = false);
    bool commit();
    void discard();
    QString errorString() const { return m_error; }

private:
    std::unique_ptr<QSaveFile> m_file;
    QByteArray m_buffer;
    QString m_error;
    bool m_failed = false;
};

// Many files written one after another and put in place together (group playlists):
// each goes to a temporary file beside its target, and commitAll() renames each over its
// target, so no file is ever seen half written and until then every old file stays;
// temporaries not committed are removed. Unlike OutFile there is no sync per file (a
// thousand syncs take seconds, and a sync of the whole file system waits for everything
// other programs wrote); ext4 writes a file renamed over another out before the rename.
class FileBatch {
public:
    FileBatch() = default;
    ~FileBatch();
    FileBatch(const FileBatch&) = delete;
    FileBatch& operator=(const FileBatch&) = delete;

    // Starts the next file; append to buffer(), then end() (or drop()).
    bool begin(const QString& path);
    QByteArray& buffer() { return m_buffer; }
    void flush(bool force = false);
    bool end();
    void drop();
    // False when a file could not be put in place (failedTarget()): those before it are.
    // step runs after each file (a busy disc can make renames slow: the window stays live).
    bool commitAll(const std::function<void()>& step = {});
    QString errorString() const { return m_error; }
    QString failedTarget() const { return m_failedTarget; }

private:
    struct Pending {
        QByteArray temporary;
        QByteArray target;
    };
    void fail(const QString& why);

    std::vector<Pending> m_done;
    Pending m_current;
    int m_fd = -1;
    int m_newMode = -1; // permissions of a new file (0666 less the umask)
    bool m_failed = false;
    QByteArray m_buffer;
    QString m_error;
    QString m_failedTarget;
};

// The lines of a text list file: a UTF-8 byte order mark is dropped, UTF-16 with a byte
// order mark is read as UTF-8, lines end in LF or CR LF.
class LineReader {
public:
    static constexpr qsizetype MaxLine = 16 * 1024 * 1024;

    bool open(const QString& path);
    // The next line without its end; the view is valid until the next call. False at the
    // end of the file, after a read error or at a line longer than MaxLine (see error()).
    bool next(QByteArrayView& line, QByteArrayView* ending = nullptr);
    QString error() const { return m_error; }
    qint64 lineNumber() const { return m_lineNumber; }

private:
    bool fill();

    QFile m_file;
    QByteArray m_buffer;
    qsizetype m_pos = 0;
    bool m_eof = false;
    bool m_utf16 = false;
    bool m_bigEndian = false;
    bool m_first = true;
    qint64 m_lineNumber = 0;
    QString m_error;
};

// Whether a text list file holds a zero byte: such a file is binary, not a list
// (UTF-16 files with a byte order mark excepted). Sets error when it cannot be read.
bool holdsZeroByte(const QString& path, QString* error);

struct WriteJob {
    CommandEnv& env;
    const SongListModel& model;
    ProgressScope& progress;
    char separator;
    const ListSaveOptions& options;
    QString error;          // set when the file could not be written
    bool cancelled = false; // nothing was written (an office conversion cancelled)
};
// Each writes the whole file; false on failure (job.error says why) or cancel.
bool writeTxt(WriteJob& job, const QString& path);
bool writeCsv(WriteJob& job, const QString& path);
bool writeHtm(WriteJob& job, const QString& path);
bool writeM3u(WriteJob& job, const QString& path);
bool writeRnl(WriteJob& job, const QString& path);
bool writeDat(WriteJob& job, const QString& path);
bool writeXml(WriteJob& job, const QString& path);
bool writeXls(WriteJob& job, const QString& path);
bool writeDoc(WriteJob& job, const QString& path);

// The most rows an ".xls" file holds (LibreOffice drops the others without a word).
inline constexpr int MaxXlsRows = 65536;

// "#EXTINF:" + length + "," + name without extension, then the path: one entry of a playlist.
void appendM3uEntry(QByteArray& out, const SongItem& item);

struct ReadJob {
    CommandEnv& env;
    SongListModel& model;
    ListFileState& state;
    ProgressScope& progress;
    // What to tell the user: the file is no list of its type (the list unchanged), or
    // reading stopped early (the rows before stay). Empty when all went well.
    QString message;
    bool loaded = false; // the list was changed
};
void readTxt(ReadJob& job, const QString& path);
void readCsv(ReadJob& job, const QString& path);
void readM3u(ReadJob& job, const QString& path);
void readRnl(ReadJob& job, const QString& path);
void readDat(ReadJob& job, const QString& path);
void readXls(ReadJob& job, const QString& path);

} // namespace listio
