// The six loadable list file formats, read into a pane.
#include "base/commandenv.h"
#include "base/nativepath.h"
#include "base/progressscope.h"
#include "base/settings.h"
#include "base/translator.h"
#include "lists/listio.h"
#include "lists/listtext.h"
#include "lists/officeconverter.h"
#include "lists/songlistmodel.h"
#include "lists/songtags.h"
#include "lists/tdrecord.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cctype>
#include <cstring>
#include <sys/stat.h>
#include <vector>

using namespace listtext;

namespace listio {

namespace {
constexpr qsizetype kChunk = 1024 * 1024;
constexpr qint64 kMaxDatRows = 10'000'000;
} // namespace

bool LineReader::open(const QString& path) {
    m_file.setFileName(path);
    if (!m_file.open(QIODevice::ReadOnly)) {
        m_error = m_file.errorString();
        return false;
    }
    m_buffer.clear();
    m_pos = 0;
    m_eof = false;
    m_first = true;
    m_lineNumber = 0;
    if (!fill())
        return false;
    if (m_buffer.startsWith("\xEF\xBB\xBF")) {
        m_pos = 3;
    } else if (m_buffer.startsWith("\xFF\xFE") || m_buffer.startsWith("\xFE\xFF")) {
        // UTF-16 text (a "Unicode text" export): read whole and kept as UTF-8.
        const bool big = m_buffer.startsWith("\xFE\xFF");
        QByteArray all = m_buffer + m_file.readAll();
        const qsizetype units = (all.size() - 2) / 2;
        QString text(units, Qt::Uninitialized);
        const auto* p = reinterpret_cast<const unsigned char*>(all.constData()) + 2;
        for (qsizetype i = 0; i < units; ++i)
            text[i] = QChar(big ? char16_t(p[2 * i] << 8 | p[2 * i + 1])
                                : char16_t(p[2 * i + 1] << 8 | p[2 * i]));
        m_buffer = text.toUtf8();
        m_eof = true;
    }
    return true;
}

bool LineReader::fill() {
    if (m_eof)
        return false;
    if (m_pos > 0) {
        m_buffer.remove(0, m_pos);
        m_pos = 0;
    }
    const qsizetype old = m_buffer.size();
    m_buffer.resize(old + kChunk);
    const qint64 got = m_file.read(m_buffer.data() + old, kChunk);
    if (got < 0) {
        m_error = m_file.errorString();
        m_buffer.resize(old);
        m_eof = true;
        return false;
    }
    m_buffer.resize(old + got);
    if (got == 0)
        m_eof = true;
    return got > 0;
}

bool LineReader::next(QByteArrayView& line, QByteArrayView* ending) {
    qsizetype scanned = m_pos;
    for (;;) {
        const char* base = m_buffer.constData();
        const auto* nl = static_cast<const char*>(
            std::memchr(base + scanned, '\n', size_t(m_buffer.size() - scanned)));
        if (nl) {
            qsizetype end = nl - base;
            const qsizetype next = end + 1;
            if (end > m_pos && base[end - 1] == '\r')
                --end;
            line = QByteArrayView(base + m_pos, end - m_pos);
            if (ending)
                *ending = QByteArrayView(base + end, next - end);
            m_pos = next;
            ++m_lineNumber;
            return true;
        }
        if (m_buffer.size() - m_pos > MaxLine) {
            m_error = T("ReasonLineTooLong", "line %1 is longer than %2 MB")
                          .arg(m_lineNumber + 1)
                          .arg(MaxLine / (1024 * 1024));
            return false;
        }
        const qsizetype before = m_pos;
        scanned = m_buffer.size();
        if (!fill()) {
            if (m_pos >= m_buffer.size() || !m_error.isEmpty())
                return false;
            // The last line has no line end.
            base = m_buffer.constData();
            qsizetype end = m_buffer.size();
            if (end > m_pos && base[end - 1] == '\r')
                --end;
            line = QByteArrayView(base + m_pos, end - m_pos);
            if (ending)
                *ending = QByteArrayView(base + end, m_buffer.size() - end);
            m_pos = m_buffer.size();
            ++m_lineNumber;
            return true;
        }
        scanned -= before - m_pos; // fill() moved the unread bytes to the start
    }
}

bool holdsZeroByte(const QString& path, QString* error) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        if (error)
            *error = f.errorString();
        return false;
    }
    QByteArray chunk(kChunk, Qt::Uninitialized);
    bool first = true;
    for (;;) {
        const qint64 got = f.read(chunk.data(), kChunk);
        if (got <= 0)
            return false;
        if (first && got >= 2 &&
            ((chunk[0] == '\xFF' && chunk[1] == '\xFE') ||
             (chunk[0] == '\xFE' && chunk[1] == '\xFF')))
            return false; // UTF-16 text
        first = false;
        if (std::memchr(chunk.constData(), 0, size_t(got)))
            return true;
    }
}

namespace {

QString shown(const QString& path) {
    return displayText(path);
}

QString cannotOpen(const QString& path, const QString& why) {
    return T("InfoCannotOpenFile", "Cannot open file %1:~~%2").arg(shown(path), why);
}

QString notAList(const QString& path, const QString& why) {
    return T("InfoNotAListFile", "%1 is not a list file that can be loaded:~~%2~~The list was not "
                                 "changed.")
        .arg(shown(path), why);
}

QString damaged(const QString& path, const QString& why) {
    return T("InfoListFileDamaged",
             "%1 could not be read to the end:~~%2~~The rows before that point were loaded.")
        .arg(shown(path), why);
}

QString binaryReason() {
    return T("ReasonBinary", "it holds binary data (zero bytes), not text");
}

// Refuses a text list file that cannot be opened or holds binary data.
bool textFileUsable(ReadJob& job, const QString& path) {
    QString error;
    const bool binary = holdsZeroByte(path, &error);
    if (!error.isEmpty()) {
        job.message = cannotOpen(path, error);
        return false;
    }
    if (binary) {
        job.message = notAList(path, binaryReason());
        return false;
    }
    return true;
}

// Texts of a row read back: names and folders as file-system bytes (one folder text
// shared by the rows of that folder), the rest as UTF-8 or, failing that, Windows-1252.
class RowTexts {
public:
    QString column(int column, QByteArrayView bytes) {
        if (column == SongItem::FileName)
            return fromNative(bytes);
        if (column == SongItem::Location) {
            if (bytes != QByteArrayView(m_lastBytes)) {
                m_lastBytes = bytes.toByteArray();
                m_last = fromNative(bytes);
            }
            return m_last;
        }
        return fromText(bytes);
    }

private:
    QByteArray m_lastBytes;
    QString m_last;
};

bool isTagColumn(int column) {
    return column >= SongItem::SongTitle && column <= SongItem::Copyright;
}

// Fields of a CSV record (RFC 4180: quoted fields with doubled quotes and line breaks).
class CsvRecords {
public:
    CsvRecords(LineReader& lines, char separator) : m_lines(lines), m_sep(separator) {}

    // False at the end of the file, or when a quoted field runs to the end (unclosed()).
    bool next() {
        QByteArrayView line, ending;
        if (!m_lines.next(line, &ending))
            return false;
        const qint64 firstLine = m_lines.lineNumber();
        m_data.resize(0);
        m_ends.clear();
        qsizetype i = 0;
        for (;;) {
            if (i < line.size() && line[i] == '"') {
                ++i;
                for (;;) {
                    const qsizetype q = find(line, '"', i);
                    if (q < 0) {
                        // The field goes on past the line end.
                        m_data.append(line.data() + i, line.size() - i);
                        m_data.append(ending.data(), ending.size());
                        if (!m_lines.next(line, &ending)) {
                            m_unclosed = true;
                            m_unclosedLine = firstLine;
                            return false;
                        }
                        i = 0;
                        continue;
                    }
                    m_data.append(line.data() + i, q - i);
                    if (q + 1 < line.size() && line[q + 1] == '"') {
                        m_data += '"';
                        i = q + 2;
                        continue;
                    }
                    i = q + 1;
                    break;
                }
            }
            // Unquoted text (or what follows a closing quote) up to the separator.
            const qsizetype s = find(line, m_sep, i);
            const qsizetype end = s < 0 ? line.size() : s;
            m_data.append(line.data() + i, end - i);
            m_ends.push_back(m_data.size());
            if (s < 0)
                return true;
            i = s + 1;
        }
    }
    int count() const { return int(m_ends.size()); }
    QByteArrayView field(int i) const {
        const qsizetype begin = i == 0 ? 0 : m_ends[size_t(i - 1)];
        return QByteArrayView(m_data.constData() + begin, m_ends[size_t(i)] - begin);
    }
    bool unclosed() const { return m_unclosed; }
    qint64 unclosedLine() const { return m_unclosedLine; }

private:
    static qsizetype find(QByteArrayView line, char c, qsizetype from) {
        if (from >= line.size())
            return -1;
        const auto* p = static_cast<const char*>(
            std::memchr(line.data() + from, c, size_t(line.size() - from)));
        return p ? p - line.data() : -1;
    }

    LineReader& m_lines;
    char m_sep;
    QByteArray m_data;
    std::vector<qsizetype> m_ends;
    bool m_unclosed = false;
    qint64 m_unclosedLine = 0;
};

// The separator of a CSV file from its first two records: of ",", ";", "#", tab and "|",
// the one found (outside quotes, at least once) equally often in both, and more often
// than any earlier such one; a file of one record decides by that record. 0: none.
char detectSeparator(const QString& path) {
    static constexpr char kCandidates[] = {',', ';', '#', '\t', '|'};
    LineReader lines;
    if (!lines.open(path))
        return 0;
    int counts[2][5] = {};
    int records = 0;
    bool quoted = false;
    QByteArrayView line;
    while (records < 2 && lines.next(line)) {
        for (char c : line) {
            if (c == '"') {
                quoted = !quoted;
                continue;
            }
            if (quoted)
                continue;
            for (int k = 0; k < 5; ++k)
                if (c == kCandidates[k])
                    ++counts[records][k];
        }
        if (!quoted)
            ++records;
    }
    char best = 0;
    int bestCount = 0;
    for (int k = 0; k < 5; ++k) {
        const int n = counts[0][k];
        const bool equal = records < 2 || counts[1][k] == n;
        if (equal && n > bestCount) {
            best = kCandidates[k];
            bestCount = n;
        }
    }
    return best;
}

// Rows from a CSV file, each field a column; flags 0. replace empties the list first.
void readCsvRows(ReadJob& job, const QString& path, const QString& shownPath, char sep,
                 bool replace) {
    LineReader lines;
    if (!lines.open(path)) {
        job.message = cannotOpen(shownPath, lines.error());
        return;
    }
    if (replace)
        job.model.clear();
    job.loaded = true;
    SongListModel::BulkScope bulk(job.model);
    CsvRecords records(lines, sep);
    RowTexts texts;
    int n = 0;
    while (records.next()) {
        SongItem item;
        const int count = std::min(records.count(), int(SongItem::ColumnCount));
        for (int c = 0; c < count; ++c)
            item.append(texts.column(c, records.field(c)));
        job.model.append(std::move(item));
        job.progress.item(QStringLiteral("(") + QString::number(++n) + ')');
        if (job.progress.cancelled())
            return;
    }
    if (records.unclosed())
        job.message = damaged(shownPath, T("ReasonUnclosedQuote", "line %1: a quoted field is "
                                                                  "not closed")
                                             .arg(records.unclosedLine()));
    else if (!lines.error().isEmpty())
        job.message = damaged(shownPath, lines.error());
}

} // namespace

void readTxt(ReadJob& job, const QString& path) {
    if (!textFileUsable(job, path))
        return;
    LineReader lines;
    if (!lines.open(path)) {
        job.message = cannotOpen(path, lines.error());
        return;
    }
    const bool lyrics = job.env.settings.flag(QStringLiteral("CBLLoadOnBegining"));
    job.model.clear();
    job.loaded = true;
    SongListModel::BulkScope bulk(job.model);
    QByteArrayView line;
    int n = 0;
    while (lines.next(line)) {
        SongItem item;
        item.append(fromNative(line));
        if (lyrics)
            markLyricsOnLoad(job.env, item);
        job.model.append(std::move(item));
        job.progress.item(QStringLiteral("(") + QString::number(++n) + ')');
        if (job.progress.cancelled())
            return;
    }
    if (!lines.error().isEmpty())
        job.message = damaged(path, lines.error());
}

void readCsv(ReadJob& job, const QString& path) {
    if (!textFileUsable(job, path))
        return;
    char sep = job.state.csvSeparator.isNull() ? 0 : char(job.state.csvSeparator.toLatin1());
    if (!sep) {
        sep = detectSeparator(path);
        if (sep)
            job.state.csvSeparator = QChar::fromLatin1(sep); // kept for the pane's next CSV
        else
            sep = ',';
    }
    readCsvRows(job, path, path, sep, false);
}

namespace {
// A playlist line as a path: file:// URLs decoded, other URLs and blank lines skipped
// (""), relative paths taken from the playlist's folder.
QString playlistEntry(QByteArrayView line, const QString& folder) {
    QByteArrayView t = line.trimmed();
    if (t.isEmpty() || t.startsWith('#'))
        return {};
    QByteArray bytes;
    const qsizetype scheme = t.indexOf("://");
    if (scheme > 0) {
        for (qsizetype i = 0; i < scheme; ++i) {
            const char c = t[i];
            if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '+' || c == '-' || c == '.'))
                return {}; // not a URL after all: "C:" and the like never get here
        }
        if (t.first(scheme).toByteArray().toLower() != "file")
            return {};
        QByteArrayView rest = t.sliced(scheme + 3);
        if (rest.startsWith("localhost/"))
            rest = rest.sliced(9);
        if (!rest.startsWith('/'))
            return {}; // a file on another host
        bytes = QByteArray::fromPercentEncoding(rest.toByteArray());
    } else {
        bytes = t.toByteArray();
    }
    QString path = fromNative(bytes);
    if (!path.startsWith('/'))
        path = folder + path;
    return QDir::cleanPath(path);
}

} // namespace

void readM3u(ReadJob& job, const QString& path) {
    if (!textFileUsable(job, path))
        return;
    LineReader lines;
    if (!lines.open(path)) {
        job.message = cannotOpen(path, lines.error());
        return;
    }
    const QString folder = QFileInfo(path).absolutePath() + '/';
    QString folderText;
    job.loaded = true;
    SongListModel::BulkScope bulk(job.model);
    QByteArrayView line;
    int n = 0;
    while (lines.next(line)) {
        QString entry = playlistEntry(line, folder);
        if (entry.isEmpty())
            continue;
        // Playlists made on Windows separate folders with backslashes.
        if (entry.contains('\\') && !QFileInfo::exists(entry)) {
            QString slashed = QString(entry).replace('\\', '/');
            if (!slashed.startsWith('/'))
                slashed = folder + slashed;
            slashed = QDir::cleanPath(slashed);
            if (QFileInfo::exists(slashed))
                entry = slashed;
        }
        // A folder or a device is no song; a missing file still gets its row, as
        // AddSongItem gives it.
        struct stat st {};
        const bool exists = ::stat(toNativePath(entry).constData(), &st) == 0;
        if (exists && !S_ISREG(st.st_mode))
            continue;
        const qsizetype slash = entry.lastIndexOf('/');
        if (QStringView(entry).left(slash + 1) != folderText)
            folderText = entry.left(slash + 1); // one text for the rows of a folder
        const QString name = entry.mid(slash + 1);
        job.model.append(job.env.tags.makeSongItem(
            name, folderText, exists ? fileAttributes(name, st.st_mode & S_IWUSR) : -1,
            exists ? std::int64_t(st.st_size) : -1));
        job.progress.item(QStringLiteral("(") + QString::number(++n) + ')');
        if (job.progress.cancelled())
            return;
    }
    if (!lines.error().isEmpty())
        job.message = damaged(path, lines.error());
}

void readRnl(ReadJob& job, const QString& path) {
    TDRecord rec;
    if (!rec.OpenRead(path)) {
        job.message = cannotOpen(path, rec.ErrorString());
        return;
    }
    if (rec.AtEnd()) {
        job.message = notAList(path, T("ReasonEmpty", "the file is empty"));
        return;
    }
    // "v 3.0.4" (or "v 3.0.4 long"), then the number of sub-items per row; older files
    // start with the number.
    const QByteArray first = rec.ReadField();
    bool longTexts = false;
    QByteArray countText = first;
    if (first.startsWith('v')) {
        longTexts = first.endsWith(" long");
        countText = rec.ReadField();
    }
    bool digits = !countText.isEmpty() && countText.size() <= 2;
    for (char c : countText)
        digits = digits && c >= '0' && c <= '9';
    const int count = digits ? countText.toInt() : -1;
    if (count < 0 || count > SongItem::ColumnCount - 1) {
        job.message = notAList(path, T("ReasonRnlHeader", "its header does not give a number of "
                                                          "columns from 0 to 17"));
        return;
    }
    const bool tags = job.env.settings.flag(QStringLiteral("RBLTBegining"));
    const bool lyrics = job.env.settings.flag(QStringLiteral("CBLLoadOnBegining"));
    job.model.clear();
    job.loaded = true;
    SongListModel::BulkScope bulk(job.model);
    RowTexts texts;
    QByteArray piece;
    const auto next = [&](QByteArrayView& v) {
        if (!longTexts)
            return rec.ReadField(v);
        if (rec.AtEnd())
            return false;
        // A row holds 64K characters: a damaged file's endless text is not kept whole.
        piece = rec.ReadLongField(1024 * 1024);
        v = piece;
        return true;
    };
    const QString blank = QStringLiteral(" ");
    int n = 0;
    QByteArrayView v;
    while (next(v)) {
        SongItem item;
        item.append(texts.column(SongItem::FileName, v));
        if (next(v)) {
            item.setChecked(v == "1");
            // Empty fields pad rows shorter than the longest: those at a row's end are
            // dropped. Without tags read at load, the 13 tag and stream texts are blank.
            int padding = 0;
            for (int s = 0; s < count && next(v); ++s) {
                if (v.isEmpty()) {
                    ++padding;
                    continue;
                }
                for (; padding > 0; --padding)
                    item.append(!tags && isTagColumn(item.textCount()) ? blank : QString());
                const int c = item.textCount();
                item.append(!tags && isTagColumn(c) ? blank : texts.column(c, v));
            }
        }
        // Files from before the rating have 16 sub-items: their rows get a rating of 0.
        if (item.subItemCount() == SongItem::Weight - 1)
            item.append(QStringLiteral("0"));
        if (lyrics)
            markLyricsOnLoad(job.env, item);
        job.model.append(std::move(item));
        job.progress.item(QStringLiteral("(") + QString::number(++n) + ')');
        if (job.progress.cancelled())
            return;
    }
}

void readDat(ReadJob& job, const QString& path) {
    if (!textFileUsable(job, path))
        return;
    LineReader lines;
    if (!lines.open(path)) {
        job.message = cannotOpen(path, lines.error());
        return;
    }
    // "columns,rows", then "cw column,width" lines and "column,row,picture,text" cells.
    QByteArrayView line;
    const bool hasFirst = lines.next(line);
    qint64 columns = 0, rows = 0;
    if (hasFirst) {
        const qsizetype comma = line.indexOf(',');
        bool ok1 = false, ok2 = false;
        if (comma > 0) {
            columns = line.first(comma).trimmed().toLongLong(&ok1);
            rows = line.sliced(comma + 1).trimmed().toLongLong(&ok2);
        }
        if (!ok1 || !ok2)
            columns = rows = 0;
    }
    if (columns <= 0 || rows <= 0) {
        job.message = notAList(path, T("ReasonDatHeader", "it holds no data, or its first line "
                                                          "does not give the numbers of columns "
                                                          "and rows"));
        return;
    }
    if (rows > kMaxDatRows) {
        job.message = notAList(path, T("ReasonDatRows", "it claims %1 rows; a data file may "
                                                        "hold at most %2")
                                         .arg(rows)
                                         .arg(kMaxDatRows));
        return;
    }
    // Every row starts blank with one text per column (column 0 is the file name).
    const int width = int(std::min<qint64>(columns, SongItem::ColumnCount - 1)) + 1;
    const SongItem blankRow(QStringList(width, QString()));
    std::vector<SongItem> grid(size_t(rows), blankRow);
    std::vector<bool> built(size_t(rows), false);

    // Cells usually come row by row: a row's texts are gathered, then made one row.
    QString cells[SongItem::ColumnCount];
    bool set[SongItem::ColumnCount] = {};
    std::uint8_t flags = 0;
    qint64 current = -1;
    const auto flush = [&] {
        if (current < 0)
            return;
        SongItem& row = grid[size_t(current)];
        if (!built[size_t(current)]) {
            QStringList list;
            for (int c = 0; c < width; ++c)
                list << cells[c];
            const bool hadFlags = set[0];
            row = SongItem(list);
            if (hadFlags) {
                row.setFlag(SongItem::ErrorMark, flags & SongItem::ErrorMark);
                row.setFlag(SongItem::HasLyrics, flags & SongItem::HasLyrics);
            }
            built[size_t(current)] = true;
        } else {
            for (int c = 0; c < width; ++c)
                if (set[c])
                    row.setText(c, cells[c]);
            if (set[0]) {
                row.setFlag(SongItem::ErrorMark, flags & SongItem::ErrorMark);
                row.setFlag(SongItem::HasLyrics, flags & SongItem::HasLyrics);
            }
        }
        for (int c = 0; c < width; ++c) {
            cells[c].clear();
            set[c] = false;
        }
    };
    RowTexts texts;
    QByteArray scratch;
    bool cancelled = false;
    while (lines.next(line)) {
        if (line.startsWith("cw"))
            continue; // column widths: the headers are set again after the load
        qsizetype at = 0;
        qint64 numbers[3] = {};
        bool ok = true;
        for (int k = 0; k < 3 && ok; ++k) {
            const qsizetype comma = line.indexOf(',', at);
            if (comma < 0) {
                ok = false;
                break;
            }
            numbers[k] = line.sliced(at, comma - at).trimmed().toLongLong(&ok);
            at = comma + 1;
        }
        const qint64 column = numbers[0], row = numbers[1];
        if (!ok || column < 0 || column >= width || row < 0 || row >= rows)
            continue; // not a cell, or off the grid
        if (row != current) {
            flush();
            current = row;
            job.progress.item(QStringLiteral("(") + QString::number(row + 1) + ')');
            if (job.progress.cancelled()) {
                cancelled = true;
                break;
            }
        }
        // Tab and backspace stand for CR and LF.
        scratch = line.sliced(at).toByteArray();
        for (char& c : scratch) {
            if (c == '\t')
                c = '\r';
            else if (c == '\b')
                c = '\n';
        }
        cells[column] = texts.column(int(column), scratch);
        set[column] = true;
        if (column == 0) {
            const qint64 picture = numbers[2];
            flags = picture < 0
                        ? 0
                        : std::uint8_t(picture & (SongItem::ErrorMark | SongItem::HasLyrics));
        }
    }
    if (!cancelled)
        flush();
    job.model.clear();
    job.loaded = true;
    SongListModel::BulkScope bulk(job.model);
    for (SongItem& item : grid)
        job.model.append(std::move(item));
    if (!lines.error().isEmpty())
        job.message = damaged(path, lines.error());
}

void readXls(ReadJob& job, const QString& path) {
    if (OfficeConverter::findProgram().isEmpty()) {
        job.message = T("InfoOfficeMissing",
                        "Saving and loading %1 files needs LibreOffice, which was not found.~~"
                        "Install the package %2, or set RENDOLO_SOFFICE to the soffice program.")
                          .arg(QStringLiteral(".xls"), QStringLiteral("libreoffice-calc-nogui"));
        return;
    }
    if (!QFileInfo(path).isFile()) {
        job.message = cannotOpen(path, T("ReasonNoFile", "there is no such file"));
        return;
    }
    OfficeConverter office(job.env.progress);
    QByteArray csv;
    const OfficeConverter::Result r = office.convert(
        path, QStringLiteral("MS Excel 97"),
        QStringLiteral("csv:Text - txt - csv (StarCalc):44,34,76,1,,0,false,true,true"),
        QStringLiteral("csv"), &csv);
    if (r.cancelled)
        return;
    if (!r.ok) {
        job.message = notAList(path, r.error);
        return;
    }
    QTemporaryFile tmp(QDir::tempPath() + QStringLiteral("/rendolo-xls-XXXXXX.csv"));
    if (!tmp.open() || tmp.write(csv) != csv.size() || !tmp.flush()) {
        job.message = cannotOpen(tmp.fileName(), tmp.errorString());
        return;
    }
    tmp.close();
    readCsvRows(job, tmp.fileName(), path, ',', true);
}

} // namespace listio
