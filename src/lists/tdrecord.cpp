#include "lists/tdrecord.h"

#include "lists/listtext.h"

#include <QFile>
#include <QSaveFile>

#include <algorithm>
#include <string_view>

namespace {
constexpr qsizetype kReadChunk = 256 * 1024;
constexpr qsizetype kWriteChunk = 256 * 1024;

std::string_view sv(QByteArrayView v) {
    return {v.data(), size_t(v.size())};
}
bool containsText(std::string_view hay, std::string_view needle) {
    return !needle.empty() && hay.find(needle) != std::string_view::npos;
}
} // namespace

TDRecord::TDRecord() = default;

TDRecord::~TDRecord() {
    if (m_atomic)
        Discard();
    else
        Close();
}

void TDRecord::fail(const QString& why) {
    m_error = why;
}

bool TDRecord::IsOpen() const {
    return m_file && m_file->isOpen();
}

bool TDRecord::Open(const QString& path, bool recreate) {
    Close();
    auto f = std::make_unique<QFile>(path);
    QIODevice::OpenMode mode = QIODevice::ReadWrite;
    if (recreate)
        mode |= QIODevice::Truncate;
    if (!f->open(mode)) {
        fail(f->errorString());
        return false;
    }
    m_diskSize = f->size();
    m_file = std::move(f);
    m_readable = true;
    m_atomic = false;
    m_pos = 0;
    return true;
}

bool TDRecord::OpenRead(const QString& path) {
    Close();
    auto f = std::make_unique<QFile>(path);
    if (!f->open(QIODevice::ReadOnly)) {
        fail(f->errorString());
        return false;
    }
    m_diskSize = f->size();
    m_file = std::move(f);
    m_readable = true;
    m_atomic = false;
    m_pos = 0;
    return true;
}

bool TDRecord::Create(const QString& path) {
    Close();
    auto f = std::make_unique<QSaveFile>(path);
    if (!f->open(QIODevice::WriteOnly)) {
        fail(f->errorString());
        return false;
    }
    m_diskSize = 0;
    m_file = std::move(f);
    m_readable = false;
    m_atomic = true;
    m_pos = 0;
    return true;
}

bool TDRecord::flushWrites() {
    if (m_out.isEmpty())
        return !m_writeFailed;
    if (!m_atomic && !m_file->seek(m_diskSize))
        m_writeFailed = true;
    if (!m_writeFailed && m_file->write(m_out) != m_out.size())
        m_writeFailed = true;
    if (m_writeFailed && m_error.isEmpty())
        fail(m_file->errorString());
    if (!m_writeFailed)
        m_diskSize += m_out.size();
    m_out.clear();
    return !m_writeFailed;
}

bool TDRecord::Close() {
    if (!m_file)
        return !m_writeFailed;
    bool ok = flushWrites();
    if (m_atomic) {
        auto* save = static_cast<QSaveFile*>(m_file.get());
        if (!ok) {
            save->cancelWriting();
        }
        if (!save->commit()) {
            if (ok)
                fail(save->errorString());
            ok = false;
        }
    } else {
        m_file->close();
    }
    m_file.reset();
    m_buf.clear();
    m_bufStart = m_pos = m_diskSize = 0;
    m_atomic = m_readable = m_truncated = false;
    const bool result = ok && !m_writeFailed;
    m_writeFailed = false;
    return result;
}

void TDRecord::Discard() {
    if (m_file && m_atomic)
        static_cast<QSaveFile*>(m_file.get())->cancelWriting();
    m_out.clear();
    Close();
}

qint64 TDRecord::Size() const {
    return m_diskSize + m_out.size();
}

bool TDRecord::ensure(qsizetype n) {
    const qint64 bufEnd = m_bufStart + m_buf.size();
    if (m_pos >= m_bufStart && bufEnd - m_pos >= n)
        return true;
    if (!m_file || !m_readable)
        return false;
    if (!m_out.isEmpty() && !flushWrites())
        return false;
    if (m_pos >= m_diskSize)
        return false;
    // Refill from the read position on.
    if (!m_file->seek(m_pos))
        return false;
    const qsizetype want = std::max(kReadChunk, n);
    m_buf.resize(want);
    const qint64 got = m_file->read(m_buf.data(), want);
    m_buf.resize(got > 0 ? got : 0);
    m_bufStart = m_pos;
    return m_buf.size() >= n;
}

bool TDRecord::ReadField(QByteArrayView& field) {
    field = {};
    if (!ensure(1))
        return false;
    const auto length = static_cast<unsigned char>(m_buf.at(m_pos - m_bufStart));
    if (!ensure(1 + length)) {
        // Cut off by the end of the file: the bytes that are there.
        const qsizetype at = m_pos - m_bufStart + 1;
        const qsizetype have = std::max<qsizetype>(0, m_buf.size() - at);
        field = QByteArrayView(m_buf.constData() + std::min(at, m_buf.size()), have);
        m_pos = m_bufStart + m_buf.size();
        m_truncated = true;
        return true;
    }
    const qsizetype at = m_pos - m_bufStart + 1;
    field = QByteArrayView(m_buf.constData() + at, length);
    m_pos += 1 + length;
    return true;
}

QByteArray TDRecord::ReadField() {
    QByteArrayView v;
    if (!ReadField(v))
        return {};
    return v.toByteArray();
}

bool TDRecord::WriteField(QByteArrayView text) {
    if (!m_file || text.size() > MaxFieldLength)
        return false;
    m_out.append(char(text.size()));
    m_out.append(text.data(), text.size());
    m_pos = Size();
    if (m_out.size() >= kWriteChunk)
        return flushWrites();
    return !m_writeFailed;
}

bool TDRecord::WriteNumber(qint64 value) {
    return WriteField(QByteArray::number(value));
}

qint64 TDRecord::ReadNumber() {
    QByteArrayView v;
    if (!ReadField(v))
        return 0;
    bool ok = false;
    const qint64 n = v.toByteArray().toLongLong(&ok);
    return ok ? n : 0;
}

bool TDRecord::ReadBool() {
    QByteArrayView v;
    return ReadField(v) && v == "1";
}

void TDRecord::SkipFields(qint64 n) {
    for (qint64 i = 0; i < n; ++i) {
        if (!ensure(1))
            return;
        const auto length = static_cast<unsigned char>(m_buf.at(m_pos - m_bufStart));
        m_pos = std::min(m_pos + 1 + length, Size());
    }
}

bool TDRecord::SeekTo(qint64 position) {
    if (!m_file || position < 0 || position > Size())
        return false;
    m_pos = position;
    return true;
}

bool TDRecord::AtEnd() {
    return m_pos >= Size();
}

qint64 TDRecord::FindRecord(QByteArrayView key, int flags, qint64 furtherFields) {
    if (!m_file || !m_readable || !flushWrites())
        return -1;
    m_pos = 0;
    const bool exact = flags & CaseSensitive;
    const QString lowerKey = exact ? QString() : listtext::fromText(key).toLower();
    const std::string_view k = sv(key);
    for (;;) {
        const qint64 at = m_pos;
        QByteArrayView field;
        if (!ReadField(field))
            return -1;
        bool match;
        if (exact) {
            const std::string_view f = sv(field);
            match = f == k || ((flags & KeyInField) && containsText(f, k)) ||
                    ((flags & FieldInKey) && containsText(k, f));
        } else {
            const QString f = listtext::fromText(field).toLower();
            match = f == lowerKey ||
                    ((flags & KeyInField) && !lowerKey.isEmpty() && f.contains(lowerKey)) ||
                    ((flags & FieldInKey) && !f.isEmpty() && lowerKey.contains(f));
        }
        if (match)
            return at;
        SkipFields(furtherFields);
    }
}

bool TDRecord::WriteLongField(QByteArrayView text) {
    qsizetype at = 0;
    for (;;) {
        const qsizetype piece = std::min<qsizetype>(MaxFieldLength, text.size() - at);
        if (!WriteField(text.sliced(at, piece)))
            return false;
        at += piece;
        if (piece < MaxFieldLength)
            return true; // a short (or empty) piece ends the text
    }
}

QByteArray TDRecord::ReadLongField(qsizetype keepAtMost) {
    QByteArray out;
    QByteArrayView piece;
    while (ReadField(piece)) {
        if (keepAtMost < 0 || out.size() < keepAtMost)
            out.append(piece.data(), piece.size());
        if (piece.size() < MaxFieldLength)
            break;
    }
    return out;
}
