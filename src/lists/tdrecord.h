// TDRecord: a record file, a plain sequence of fields, each one length byte (0 to 255)
// followed by that many bytes of text, with no record separators: a reader knows how
// many fields make one record. Numbers and booleans are decimal text ("1" is true).
// Behind the ".rnl" list files and the old catalogue and lyrics archives.
//
// Reads and writes go through a buffer, so a field costs no system call; the file is
// never held in memory as a whole.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <memory>

class QFileDevice;

class TDRecord {
public:
    // FindRecord flags.
    enum FindFlag {
        CaseSensitive = 1, // otherwise both sides are compared lower-cased
        KeyInField = 2,    // also match when the key occurs inside the field
        FieldInKey = 4,    // also match when the field occurs inside the key
    };
    static constexpr int MaxFieldLength = 255;

    TDRecord();
    ~TDRecord(); // closes; a file from Create that was not closed is dropped
    TDRecord(const TDRecord&) = delete;
    TDRecord& operator=(const TDRecord&) = delete;

    // Opens for reading and writing, creating the file empty when it does not exist or
    // when recreate is asked.
    bool Open(const QString& path, bool recreate);
    // Opens an existing file for reading only: never creates or changes it.
    bool OpenRead(const QString& path);
    // Writes a new file that replaces path only when Close() succeeds; until then (and
    // after a failure or Discard) the old file stays as it was.
    bool Create(const QString& path);
    // Writes what is buffered and closes; for Create, puts the new file in place.
    // False when anything could not be written.
    bool Close();
    // For Create: closes without replacing the old file.
    void Discard();
    bool IsOpen() const;
    // Why the last open, write or close failed.
    QString ErrorString() const { return m_error; }

    // The next field; "" at the end of the file.
    QByteArray ReadField();
    // The next field as a view into the buffer, valid until the next call; false at the end
    // of the file. A field cut off by the end of the file gives the bytes that are there.
    bool ReadField(QByteArrayView& field);
    // Appends a field at the end of the file (a text over 255 bytes is refused: false).
    bool WriteField(QByteArrayView text);
    bool WriteNumber(qint64 value);
    // The next field as a 64-bit number; 0 when it is not one.
    qint64 ReadNumber();
    // True when the next field is "1".
    bool ReadBool();
    // Skips n fields, stopping at the end of the file.
    void SkipFields(qint64 n);
    // Goes to a byte position; false (position unchanged) when outside the file.
    bool SeekTo(qint64 position);
    bool AtEnd();
    qint64 Position() const { return m_pos; }
    qint64 Size() const;
    // Whether a read met the end of the file inside a field.
    bool Truncated() const { return m_truncated; }

    // From the start of the file, reads the first field of each record and compares it
    // with key (by the flags above); after each miss skips furtherFields fields, the rest
    // of that record. Returns the byte position of the matching field, the file then
    // positioned just after it, or -1 (at the end of the file). An empty text never
    // matches by containment.
    qint64 FindRecord(QByteArrayView key, int flags, qint64 furtherFields);

    // Texts of any length: 255-byte pieces, each full piece continued by the next field;
    // a text whose length is a multiple of 255 ends with an empty field.
    bool WriteLongField(QByteArrayView text);
    // keepAtMost >= 0: the text is read whole but only its first keepAtMost bytes kept.
    QByteArray ReadLongField(qsizetype keepAtMost = -1);

private:
    bool ensure(qsizetype n);
    bool flushWrites();
    void fail(const QString& why);

    std::unique_ptr<QFileDevice> m_file;
    bool m_atomic = false;
    bool m_readable = false;
    QByteArray m_buf; // bytes of the file from m_bufStart on
    qint64 m_bufStart = 0;
    QByteArray m_out;      // fields written but not yet in the file
    qint64 m_pos = 0;      // the position of the next read
    qint64 m_diskSize = 0; // the file's size without m_out
    bool m_truncated = false;
    bool m_writeFailed = false;
    QString m_error;
};
