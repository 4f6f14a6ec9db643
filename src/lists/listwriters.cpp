// The nine list file formats, written from a pane's rows.
#include "base/commandenv.h"
#include "base/nativepath.h"
#include "base/progress.h"
#include "base/progressscope.h"
#include "base/prompt.h"
#include "base/settings.h"
#include "base/translator.h"
#include "lists/columns.h"
#include "lists/listio.h"
#include "lists/listtext.h"
#include "lists/officeconverter.h"
#include "lists/songlistmodel.h"
#include "lists/tdrecord.h"

#include <QColor>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace listtext;

namespace listio {

bool OutFile::open(const QString& path) {
    m_file = std::make_unique<QSaveFile>(path);
    m_failed = false;
    if (!m_file->open(QIODevice::WriteOnly)) {
        m_error = m_file->errorString();
        m_file.reset();
        return false;
    }
    m_buffer.reserve(2 * 1024 * 1024);
    return true;
}

void OutFile::flush(bool force) {
    if (!m_file || (!force && m_buffer.size() < 1024 * 1024))
        return;
    if (!m_failed && !m_buffer.isEmpty() && m_file->write(m_buffer) != m_buffer.size()) {
        m_failed = true;
        m_error = m_file->errorString();
    }
    m_buffer.resize(0);
}

bool OutFile::commit() {
    if (!m_file)
        return false;
    flush(true);
    if (m_failed)
        m_file->cancelWriting();
    const bool ok = m_file->commit() && !m_failed;
    if (!ok && m_error.isEmpty())
        m_error = m_file->errorString();
    m_file.reset();
    return ok;
}

void OutFile::discard() {
    if (m_file) {
        m_file->cancelWriting();
        m_file->commit();
        m_file.reset();
    }
    m_buffer.clear();
}

FileBatch::~FileBatch() {
    drop();
    for (const Pending& p : m_done)
        ::unlink(p.temporary.constData()); // own file: a temporary never put in place
}

void FileBatch::fail(const QString& why) {
    if (!m_failed)
        m_error = why;
    m_failed = true;
}

bool FileBatch::begin(const QString& path) {
    drop();
    m_failed = false;
    m_current.target = toNativePath(path);
    const qsizetype slash = m_current.target.lastIndexOf('/');
    // A hidden temporary beside the target: the rename stays on one file system.
    m_current.temporary = m_current.target.left(slash + 1) + '.' +
                          m_current.target.mid(slash + 1).left(200) + ".XXXXXX";
    m_fd = ::mkstemp(m_current.temporary.data());
    if (m_fd < 0) {
        fail(QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    // The permissions a new file gets (mkstemp makes it private), or those of the old file.
    struct stat st {};
    mode_t mode;
    if (::stat(m_current.target.constData(), &st) == 0) {
        mode = st.st_mode & 07777;
    } else {
        if (m_newMode < 0) {
            const mode_t mask = ::umask(0);
            ::umask(mask);
            m_newMode = int(0666 & ~mask);
        }
        mode = mode_t(m_newMode);
    }
    ::fchmod(m_fd, mode);
    m_buffer.resize(0);
    return true;
}

void FileBatch::flush(bool force) {
    if (m_fd < 0 || (!force && m_buffer.size() < 1024 * 1024))
        return;
    const char* p = m_buffer.constData();
    qsizetype left = m_buffer.size();
    while (left > 0 && !m_failed) {
        const ssize_t n = ::write(m_fd, p, size_t(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            fail(QString::fromLocal8Bit(std::strerror(errno)));
        else {
            p += n;
            left -= n;
        }
    }
    m_buffer.resize(0);
}

bool FileBatch::end() {
    if (m_fd < 0)
        return false;
    flush(true);
    if (::close(m_fd) != 0)
        fail(QString::fromLocal8Bit(std::strerror(errno)));
    m_fd = -1;
    if (m_failed) {
        ::unlink(m_current.temporary.constData()); // own file: the failed temporary
        return false;
    }
    m_done.push_back(m_current);
    return true;
}

void FileBatch::drop() {
    if (m_fd < 0)
        return;
    ::close(m_fd);
    m_fd = -1;
    ::unlink(m_current.temporary.constData()); // own file: the dropped temporary
    m_buffer.resize(0);
}

bool FileBatch::commitAll(const std::function<void()>& step) {
    drop();
    if (m_done.empty())
        return true;
    bool ok = true;
    for (const Pending& p : m_done) {
        // A playlist the program writes (a list file, not a song) replaces its earlier one.
        if (ok && ::rename(p.temporary.constData(), p.target.constData()) != 0) { // own file:
            m_error = QString::fromLocal8Bit(std::strerror(errno));
            m_failedTarget = fromNativePath(p.target);
            ok = false;
        }
        if (!ok)
            ::unlink(p.temporary.constData()); // own file: not put in place
        if (step)
            step();
    }
    m_done.clear();
    return ok;
}

namespace {

// Column texts that are names or folders keep their file-system bytes.
bool isNameColumn(int column) {
    return column == SongItem::FileName || column == SongItem::Location;
}

void appendColumn(QByteArray& out, const SongItem& item, int column) {
    if (isNameColumn(column))
        appendNative(out, item.view(column));
    else
        appendUtf8(out, item.view(column));
}

// Drops the zero bytes from out[start...]: a tag text may hold the character U+0000 (a
// terminator a tag kept), which has no place in a text file (readers take a zero byte
// for binary data).
void dropZeroBytes(QByteArray& out, qsizetype start) {
    if (out.indexOf('\0', start) < 0)
        return;
    qsizetype to = start;
    for (qsizetype from = start; from < out.size(); ++from)
        if (out[from] != '\0')
            out[to++] = out[from];
    out.truncate(to);
}

// A column as text files hold it.
void appendTextColumn(QByteArray& out, const SongItem& item, int column) {
    const qsizetype start = out.size();
    appendColumn(out, item, column);
    dropZeroBytes(out, start);
}

// After each row written: shows its number and, when Cancel was asked, decides whether
// the file goes on. With askOnCancel (and "Show Warnings" on) the user is asked; Yes
// goes on (and Cancel works again), No ends the file there. Without it the file ends.
class RowSteps {
public:
    RowSteps(WriteJob& job, bool askOnCancel) : m_job(job), m_ask(askOnCancel) {}
    bool next(int row) {
        m_job.progress.item(QStringLiteral("(") + QString::number(row + 1) + ')');
        if (!m_job.progress.cancelled())
            return true;
        if (!m_ask)
            return false;
        if (m_job.env.settings.flag(QStringLiteral("CBWarnings")) &&
            !m_job.env.prompt.askYesNo(
                T("WarningSaveNotFinished",
                  "You haven't finished saving file. Do you wish to continue?")))
            return false;
        m_job.env.progress.resumeAfterCancel();
        return true;
    }

private:
    WriteJob& m_job;
    bool m_ask;
};

bool finish(WriteJob& job, OutFile& out) {
    if (out.commit())
        return true;
    job.error = out.errorString();
    return false;
}

bool openOut(WriteJob& job, OutFile& out, const QString& path) {
    if (out.open(path))
        return true;
    job.error = out.errorString();
    return false;
}

QString hexColour(const QVariant& v, const QColor& fallback) {
    const QColor c = v.value<QColor>().isValid() ? v.value<QColor>() : fallback;
    return QString::asprintf("#%02X%02X%02X", c.red(), c.green(), c.blue());
}

// How the list aligns a column's cells.
const char* alignment(int column) {
    switch (column) {
    case SongItem::SongTitle:
        return " align=\"right\"";
    case SongItem::TrackNumber:
    case SongItem::LengthSec:
    case SongItem::CRC:
    case SongItem::Original:
    case SongItem::Copyright:
    case SongItem::Weight:
        return " align=\"center\"";
    default:
        return "";
    }
}

void appendEscaped(QByteArray& out, QStringView text) {
    appendUtf8(out, escapeMarkup(text));
}

bool isIntegerText(QStringView t) {
    t = t.trimmed();
    if (t.startsWith(u'-'))
        t = t.mid(1);
    if (t.isEmpty() || t.size() > 18)
        return false;
    for (QChar c : t)
        if (c < u'0' || c > u'9')
            return false;
    return true;
}

// The office formats go through a temporary file that LibreOffice converts.
bool officeMissing(WriteJob& job, const char* type, const char* package) {
    if (!OfficeConverter::findProgram().isEmpty())
        return false;
    job.error = T("InfoOfficeMissing",
                  "Saving and loading %1 files needs LibreOffice, which was not found.~~Install "
                  "the package %2, or set RENDOLO_SOFFICE to the soffice program.")
                    .arg(QLatin1String(type), QLatin1String(package));
    return true;
}

bool convertInto(WriteJob& job, const QString& source, const QString& filter,
                 const QString& convertTo, const QString& extension, const QString& path) {
    OfficeConverter office(job.env.progress);
    QByteArray made;
    const OfficeConverter::Result r = office.convert(source, filter, convertTo, extension, &made);
    if (r.cancelled) {
        job.cancelled = true;
        return false;
    }
    if (!r.ok) {
        job.error = r.error;
        return false;
    }
    OutFile out;
    if (!openOut(job, out, path))
        return false;
    out.buffer() = std::move(made);
    return finish(job, out);
}

// Writes the temporary source of an office conversion: rows as writeRow appends them.
// False on Cancel (nothing is written then) or when the file cannot be written.
template <typename Head, typename Row, typename Tail>
bool writeSource(WriteJob& job, const QString& path, Head head, Row writeRow, Tail tail) {
    OutFile out;
    if (!openOut(job, out, path))
        return false;
    QByteArray& b = out.buffer();
    head(b);
    RowSteps steps(job, false);
    for (int r = 0; r < job.model.size(); ++r) {
        writeRow(b, job.model.item(r));
        out.flush();
        if (!steps.next(r)) {
            out.discard();
            job.cancelled = true;
            return false;
        }
    }
    tail(b);
    return finish(job, out);
}

QString sourcePath(const QTemporaryDir& dir, const QString& target, const char* extension) {
    QString base = QFileInfo(target).completeBaseName();
    if (base.isEmpty())
        base = QStringLiteral("list");
    return dir.filePath(displayText(base) + QLatin1String(extension));
}

} // namespace

bool writeTxt(WriteJob& job, const QString& path) {
    OutFile out;
    if (!openOut(job, out, path))
        return false;
    QByteArray& b = out.buffer();
    RowSteps steps(job, true);
    for (int r = 0; r < job.model.size(); ++r) {
        appendNative(b, withoutExtension(job.model.item(r).view(SongItem::FileName)));
        b += '\n';
        out.flush();
        if (!steps.next(r))
            break;
    }
    return finish(job, out);
}

namespace {
// One CSV field: quoted (RFC 4180) when it holds the separator, a quote, CR or LF.
void appendCsvColumn(QByteArray& out, const SongItem& item, int column, char sep) {
    const qsizetype start = out.size();
    appendTextColumn(out, item, column);
    const char* p = out.constData() + start;
    const qsizetype n = out.size() - start;
    for (qsizetype i = 0; i < n; ++i) {
        const char c = p[i];
        if (c == sep || c == '"' || c == '\r' || c == '\n') {
            const QByteArray raw(p, n);
            out.truncate(start);
            appendCsvField(out, raw, sep);
            return;
        }
    }
}
} // namespace

bool writeCsv(WriteJob& job, const QString& path) {
    OutFile out;
    if (!openOut(job, out, path))
        return false;
    QByteArray& b = out.buffer();
    RowSteps steps(job, true);
    const char sep = job.separator;
    for (int r = 0; r < job.model.size(); ++r) {
        const SongItem& item = job.model.item(r);
        appendCsvColumn(b, item, 0, sep);
        for (int c = 1; c < item.textCount(); ++c) {
            b += sep;
            appendCsvColumn(b, item, c, sep);
        }
        b += "\r\n";
        out.flush();
        if (!steps.next(r))
            break;
    }
    return finish(job, out);
}

bool writeHtm(WriteJob& job, const QString& path) {
    OutFile out;
    if (!openOut(job, out, path))
        return false;
    QByteArray& b = out.buffer();
    b += "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n<title>";
    appendEscaped(b, QFileInfo(path).completeBaseName());
    b += "</title>\n</head>\n<body>\n<table border=\"1\" cellspacing=\"0\" width=\"100%\">\n<tr>";
    for (int c = 0; c < ListColumnCount; ++c) {
        // The header cells have the colour of a window border.
        b += "<td nowrap BGCOLOR=\"#B4B4B4\"><B>";
        appendEscaped(b, listColumnHeader(c));
        b += "</B></td>";
    }
    b += "</tr>\n";
    RowSteps steps(job, true);
    const SongListModel& m = job.model;
    for (int r = 0; r < m.size(); ++r) {
        const SongItem& item = m.item(r);
        // The colours the pane draws the row with: the bit-rate cell (or the whole row)
        // in its band colour, the text green for songs with lyrics.
        const QString text = hexColour(m.data(m.index(r, 0), Qt::ForegroundRole), Qt::black);
        const QString rowBack = hexColour(m.data(m.index(r, 0), Qt::BackgroundRole), Qt::white);
        const QString rateBack =
            hexColour(m.data(m.index(r, SongItem::BitRate), Qt::BackgroundRole), Qt::white);
        b += "<tr>";
        for (int c = 0; c < ListColumnCount; ++c) {
            b += "<td nowrap";
            b += alignment(c);
            b += " BGCOLOR=\"";
            appendUtf8(b, c == SongItem::BitRate ? rateBack : rowBack);
            b += "\">";
            const QStringView cell = item.view(c);
            if (cell.isEmpty()) {
                b += "<BR>";
            } else {
                b += "<font color=\"";
                appendUtf8(b, text);
                b += "\">";
                if (c == 0)
                    b += "<B>";
                appendEscaped(b, cell);
                if (c == 0)
                    b += "</B>";
                b += "</font>";
            }
            b += "</td>";
        }
        b += "</tr>\n";
        out.flush();
        if (!steps.next(r))
            break;
    }
    b += "</table>\n</body>\n</html>\n";
    return finish(job, out);
}

void appendM3uEntry(QByteArray& b, const SongItem& item) {
    b += "#EXTINF:";
    const QStringView length = item.view(SongItem::LengthSec);
    if (isIntegerText(length))
        appendUtf8(b, length.trimmed());
    else
        b += "-1";
    b += ',';
    appendNative(b, withoutExtension(item.view(SongItem::FileName)));
    b += '\n';
    appendNative(b, item.view(SongItem::Location));
    appendNative(b, item.view(SongItem::FileName));
    b += '\n';
}

bool writeM3u(WriteJob& job, const QString& path) {
    OutFile out;
    if (!openOut(job, out, path))
        return false;
    QByteArray& b = out.buffer();
    b += "#EXTM3U\n";
    RowSteps steps(job, true);
    for (int r = 0; r < job.model.size(); ++r) {
        const SongItem& item = job.model.item(r);
        if (item.subItemCount() > 1)
            appendM3uEntry(b, item);
        out.flush();
        if (!steps.next(r))
            break;
    }
    return finish(job, out);
}

bool writeRnl(WriteJob& job, const QString& path) {
    const SongListModel& m = job.model;
    // Every row gets the largest number of sub-items (shorter rows are padded with
    // empty fields, which a reader drops again); texts over 255 bytes make it a "long"
    // file, whose full fields continue in the next.
    int count = 0;
    bool longTexts = false;
    const QChar* lastLocation = nullptr;
    for (int r = 0; r < m.size(); ++r) {
        const SongItem& item = m.item(r);
        count = std::max(count, item.subItemCount());
        for (int c = 0; c < item.textCount() && !longTexts; ++c) {
            const QStringView v = item.view(c);
            if (v.size() <= TDRecord::MaxFieldLength / 3)
                continue; // three bytes per UTF-16 unit at most
            if (c == SongItem::Location && v.data() == lastLocation)
                continue;
            if (c == SongItem::Location)
                lastLocation = v.data();
            if (nativeBytes(v).size() > TDRecord::MaxFieldLength)
                longTexts = true;
        }
    }
    TDRecord rec;
    if (!rec.Create(path)) {
        job.error = rec.ErrorString();
        return false;
    }
    const auto field = [&](QByteArrayView bytes) {
        return longTexts ? rec.WriteLongField(bytes) : rec.WriteField(bytes);
    };
    field(longTexts ? QByteArrayView("v 3.0.4 long") : QByteArrayView("v 3.0.4"));
    field(QByteArray::number(count));
    QByteArray scratch;
    scratch.reserve(1024);
    RowSteps steps(job, true);
    bool ok = true;
    for (int r = 0; r < m.size() && ok; ++r) {
        const SongItem& item = m.item(r);
        scratch.resize(0);
        appendNative(scratch, item.view(SongItem::FileName));
        field(scratch);
        field(item.checked() ? QByteArrayView("1") : QByteArrayView("0"));
        for (int s = 0; s < count; ++s) {
            const int c = s + 1;
            if (!item.has(c)) {
                ok = field(QByteArrayView()) && ok; // padding: this row has no such sub-item
                continue;
            }
            const QStringView v = item.view(c);
            if (v.isEmpty()) {
                ok = field(QByteArrayView(" ")) && ok;
                continue;
            }
            scratch.resize(0);
            appendColumn(scratch, item, c);
            ok = field(scratch) && ok;
        }
        if (!steps.next(r))
            break;
    }
    if (!rec.Close()) {
        job.error = rec.ErrorString();
        return false;
    }
    return true;
}

bool writeDat(WriteJob& job, const QString& path) {
    OutFile out;
    if (!openOut(job, out, path))
        return false;
    QByteArray& b = out.buffer();
    const SongListModel& m = job.model;
    b += QByteArray::number(ListColumnCount) + ',' + QByteArray::number(m.size()) + '\n';
    bool anyWidth = false;
    for (int w : job.options.columnWidths)
        anyWidth = anyWidth || w != 0;
    for (int c = 0; c < ListColumnCount; ++c) {
        const int width =
            anyWidth ? job.options.columnWidths[size_t(c)] : listColumns()[size_t(c)].width;
        b += "cw " + QByteArray::number(c) + ',' + QByteArray::number(width) + '\n';
    }
    RowSteps steps(job, true);
    for (int r = 0; r < m.size(); ++r) {
        const SongItem& item = m.item(r);
        const QByteArray rowText = QByteArray::number(r);
        for (int c = 0; c < item.textCount(); ++c) {
            if (item.view(c).isEmpty())
                continue;
            b += QByteArray::number(c);
            b += ',';
            b += rowText;
            b += ',';
            b += c == 0 ? QByteArray::number(item.stateFlags()) : QByteArrayLiteral("-1");
            b += ',';
            const qsizetype start = b.size();
            appendTextColumn(b, item, c);
            // Line breaks in a text travel as tab (CR) and backspace (LF).
            for (qsizetype i = start; i < b.size(); ++i) {
                if (b[i] == '\r')
                    b[i] = '\t';
                else if (b[i] == '\n')
                    b[i] = '\b';
            }
            b += '\n';
        }
        out.flush();
        if (!steps.next(r))
            break;
    }
    return finish(job, out);
}

bool writeXml(WriteJob& job, const QString& path) {
    OutFile out;
    if (!openOut(job, out, path))
        return false;
    QByteArray& b = out.buffer();
    const SongListModel& m = job.model;
    QByteArray tags[ListColumnCount];
    for (int c = 0; c < ListColumnCount; ++c)
        tags[c] = xmlElementName(listColumnHeader(c)).toUtf8();
    b += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<CATALOG>\n<NUMBER>";
    b += QByteArray::number(m.size());
    b += "</NUMBER>\n";
    RowSteps steps(job, false); // Cancel ends the file without a question
    for (int r = 0; r < m.size(); ++r) {
        const SongItem& item = m.item(r);
        b += "<CD id=\"" + QByteArray::number(r) + "\">\n";
        // The tag columns: song title up to the comment for a full row.
        for (int c = SongItem::SongTitle; c <= item.subItemCount() - 8; ++c) {
            b += '<' + tags[c] + ">\n";
            appendEscaped(b, item.view(c));
            b += "\n</" + tags[c] + ">\n";
        }
        b += "</CD>\n";
        out.flush();
        if (!steps.next(r))
            break;
    }
    b += "</CATALOG>\n";
    return finish(job, out);
}

bool writeXls(WriteJob& job, const QString& path) {
    if (job.model.size() > MaxXlsRows) {
        job.error = T("InfoXlsTooManyRows",
                      "A spreadsheet file holds at most %1 rows; this list has %2.~~Save it in "
                      "another format, or remove rows first.")
                        .arg(MaxXlsRows)
                        .arg(job.model.size());
        return false;
    }
    if (officeMissing(job, ".xls", "libreoffice-calc-nogui"))
        return false;
    QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/rendolo-xls-XXXXXX"));
    const QString csv = sourcePath(dir, path, ".csv");
    // All 18 columns, as UTF-8 CSV; every column is read as text, so "=1+1" and "007"
    // stay what they are.
    const bool written = writeSource(
        job, csv, [](QByteArray&) {},
        [](QByteArray& b, const SongItem& item) {
            for (int c = 0; c < ListColumnCount; ++c) {
                if (c)
                    b += ',';
                QByteArray cell = utf8Bytes(displayText(item.view(c)));
                cell.replace('\0', QByteArray());
                appendCsvField(b, cell, ',');
            }
            b += "\r\n";
        },
        [](QByteArray&) {});
    if (!written)
        return false;
    QString columns;
    for (int c = 1; c <= ListColumnCount; ++c)
        columns +=
            (c > 1 ? QStringLiteral("/") : QString()) + QString::number(c) + QStringLiteral("/2");
    return convertInto(job, csv, QStringLiteral("CSV:44,34,76,1,") + columns, QStringLiteral("xls"),
                       QStringLiteral("xls"), path);
}

bool writeDoc(WriteJob& job, const QString& path) {
    if (officeMissing(job, ".doc", "libreoffice-writer-nogui"))
        return false;
    QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/rendolo-doc-XXXXXX"));
    const QString html = sourcePath(dir, path, ".htm");
    const bool written = writeSource(
        job, html,
        [](QByteArray& b) {
            b += "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n</head>\n<body>\n"
                 "<table border=\"1\" cellspacing=\"0\">\n";
        },
        [](QByteArray& b, const SongItem& item) {
            b += "<tr>";
            for (int c = 0; c < ListColumnCount; ++c) {
                b += "<td";
                b += alignment(c);
                b += '>';
                appendEscaped(b, item.view(c));
                b += "</td>";
            }
            b += "</tr>\n";
        },
        [](QByteArray& b) { b += "</table>\n</body>\n</html>\n"; });
    if (!written)
        return false;
    return convertInto(job, html, QStringLiteral("HTML (StarWriter)"),
                       QStringLiteral("doc:MS Word 97"), QStringLiteral("doc"), path);
}

} // namespace listio
