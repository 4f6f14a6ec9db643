#include "lists/listsort.h"

#include "lists/columns.h"
#include "lists/selectionsize.h"
#include "lists/songlistmodel.h"

#include <QChar>

#include <algorithm>
#include <cstring>
#include <limits>

SortKind sortKindOf(int column) {
    if (column < 0 || column >= ListColumnCount)
        return SortKind::Text;
    return listColumns()[size_t(column)].numeric ? SortKind::Number : SortKind::Text;
}

double numberSortKey(QStringView text, int column) {
    constexpr double none = -std::numeric_limits<double>::infinity();
    qsizetype i = 0;
    while (i < text.size() && text[i].isSpace())
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    double value = 0;
    bool digits = false;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        value = value * 10 + (text[i].unicode() - u'0');
        digits = true;
    }
    if (i + 1 < text.size() && (text[i] == u'.' || text[i] == u',') && text[i + 1] >= u'0' &&
        text[i + 1] <= u'9') {
        double scale = 0.1;
        for (++i; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i, scale /= 10)
            value += (text[i].unicode() - u'0') * scale;
    }
    if (column == SongItem::FileSizeKb && i < text.size() && !text.mid(i).trimmed().isEmpty()) {
        // Not the plain "1525.10" the program writes: grouped, as older lists hold it.
        bool ok = false;
        const double kb = parseSizeKb(text.toString(), &ok);
        return ok ? kb : none;
    }
    if (!digits)
        return none;
    return negative ? -value : value;
}

namespace {
struct Entry {
    quint64 key;
    int row;
};
// A text's entry also points at the text, so that the passes read the characters
// without going through the row each time.
struct TextEntry {
    quint64 key;
    const char16_t* text;
    int size;
    int row;
};

// Stable sort by key (ascending, or descending), 16 bits at a time from the lowest:
// a million rows cost four passes over the entries, not twenty million comparisons.
// A 16-bit digit that every entry shares costs one pass to notice and none to move.
template <typename E>
void radixSort(std::vector<E>& entries, size_t lo, size_t hi, bool descending,
               std::vector<E>& scratch) {
    const size_t n = hi - lo;
    if (n < 2)
        return;
    const auto digitOf = [descending](quint64 key, int shift) {
        const auto d = unsigned((key >> shift) & 0xFFFF);
        return descending ? 0xFFFF - d : d;
    };
    if (n < 4096) {
        // Few entries: comparisons cost less than the passes. Entries come in row order,
        // so the row breaks ties as a stable sort would.
        std::sort(entries.begin() + qsizetype(lo), entries.begin() + qsizetype(hi),
                  [descending](const E& a, const E& b) {
                      if (a.key != b.key)
                          return descending ? b.key < a.key : a.key < b.key;
                      return a.row < b.row;
                  });
        return;
    }
    scratch.resize(std::max(scratch.size(), n));
    std::vector<quint32> count(0x10000);
    E* from = entries.data() + lo;
    E* to = scratch.data();
    bool inScratch = false;
    for (int shift = 0; shift < 64; shift += 16) {
        std::fill(count.begin(), count.end(), 0);
        for (size_t i = 0; i < n; ++i)
            ++count[digitOf(from[i].key, shift)];
        if (count[digitOf(from[0].key, shift)] == n)
            continue; // the same digit throughout
        quint32 sum = 0;
        for (quint32& c : count) {
            const quint32 here = c;
            c = sum;
            sum += here;
        }
        for (size_t i = 0; i < n; ++i)
            to[count[digitOf(from[i].key, shift)]++] = from[i];
        std::swap(from, to);
        inScratch = !inScratch;
    }
    if (inScratch)
        std::copy(from, from + n, entries.begin() + qsizetype(lo));
}

// A double as 64 bits that order as the numbers do (-infinity lowest).
quint64 orderedBits(double d) {
    quint64 bits = 0;
    static_assert(sizeof bits == sizeof d);
    std::memcpy(&bits, &d, sizeof bits);
    return (bits >> 63) ? ~bits : bits | (quint64(1) << 63);
}

template <typename E> std::vector<int> rowsOf(const std::vector<E>& entries) {
    std::vector<int> out;
    out.reserve(entries.size());
    for (const E& e : entries)
        out.push_back(e.row);
    return out;
}

// Numbers: one key per row.
std::vector<int> orderByNumber(const std::vector<SongItem>& rows, int column, Qt::SortOrder order) {
    std::vector<Entry> entries;
    entries.reserve(rows.size());
    for (size_t r = 0; r < rows.size(); ++r)
        entries.push_back({orderedBits(numberSortKey(rows[r].view(column), column)), int(r)});
    std::vector<Entry> scratch;
    radixSort(entries, 0, entries.size(), order == Qt::DescendingOrder, scratch);
    return rowsOf(entries);
}

// Texts without regard to case, compared as their case-folded UTF-16 code units, four
// units at a time: all texts by their first four units, then each run that agrees on
// them by the next four, until texts differ or end. A folder column, whose texts share
// long beginnings, costs a few passes more, never whole-string comparisons. Every step
// is stable, so equal texts stay in row order.
class TextSorter {
public:
    TextSorter(const std::vector<SongItem>& rows, int column, Qt::SortOrder order)
        : m_rows(rows), m_column(column), m_descending(order == Qt::DescendingOrder) {}

    std::vector<int> run() {
        m_entries.resize(m_rows.size());
        for (size_t r = 0; r < m_rows.size(); ++r) {
            const QStringView text = m_rows[r].view(m_column);
            m_entries[r] = {0, text.utf16(), int(text.size()), int(r)};
        }
        sortRange(0, m_entries.size(), 0);
        return rowsOf(m_entries);
    }

private:
    static char16_t fold(char16_t c) {
        if (c < 0x80)
            return c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c;
        if (QChar::isSurrogate(c))
            return c;
        return QChar::toCaseFolded(c);
    }

    // The four units from `depth` as one number that orders like the units; 0 marks
    // the end (a unit 0 counts as 1 so that it stays apart from the end).
    static quint64 keyAt(const TextEntry& e, int depth, bool* continues) {
        quint64 key = 0;
        for (int i = depth; i < depth + 4; ++i) {
            char16_t c = i < e.size ? fold(e.text[i]) : 0;
            if (i < e.size && c == 0)
                c = 1;
            key = (key << 16) | c;
        }
        *continues = e.size > depth + 4;
        return key;
    }

    // Whole texts from `depth` on, folded as they are read; for the small runs that
    // agree on a beginning, where another pass would cost more than reading on.
    static int compareFrom(const TextEntry& x, const TextEntry& y, int depth) {
        for (int i = depth;; ++i) {
            if (i >= x.size || i >= y.size)
                return i < y.size ? -1 : i < x.size ? 1 : 0;
            const char16_t cx = fold(x.text[i]), cy = fold(y.text[i]);
            if (cx != cy)
                return cx < cy ? -1 : 1;
        }
    }

    void sortSmall(size_t lo, size_t hi, int depth) {
        // Insertion sort: stable, and the run is short.
        for (size_t i = lo + 1; i < hi; ++i) {
            const TextEntry e = m_entries[i];
            size_t j = i;
            while (j > lo) {
                int c = compareFrom(m_entries[j - 1], e, depth);
                if (m_descending)
                    c = -c;
                if (c <= 0)
                    break;
                m_entries[j] = m_entries[j - 1];
                --j;
            }
            m_entries[j] = e;
        }
    }

    void sortRange(size_t lo, size_t hi, int depth) {
        if (hi - lo <= 16) {
            sortSmall(lo, hi, depth);
            return;
        }
        while (hi - lo > 1) {
            bool deeper = false;
            bool allEqual = true;
            for (size_t i = lo; i < hi; ++i) {
                bool continues = false;
                m_entries[i].key = keyAt(m_entries[i], depth, &continues);
                deeper = deeper || continues;
                allEqual = allEqual && m_entries[i].key == m_entries[lo].key;
            }
            if (allEqual) {
                if (!deeper)
                    return; // the same text throughout, already in row order
                depth += 4; // a shared beginning (a folder path): look further on
                continue;
            }
            radixSort(m_entries, lo, hi, m_descending, m_scratch);
            // Runs that agree on these four units and go on are ordered by the next ones.
            for (size_t i = lo; i < hi;) {
                size_t j = i + 1;
                while (j < hi && m_entries[j].key == m_entries[i].key)
                    ++j;
                if (j - i > 1 && (m_entries[i].key & 0xFFFF) != 0)
                    sortRange(i, j, depth + 4);
                i = j;
            }
            return;
        }
    }

    const std::vector<SongItem>& m_rows;
    const int m_column;
    const bool m_descending;
    std::vector<TextEntry> m_entries;
    std::vector<TextEntry> m_scratch;
};
} // namespace

std::vector<int> sortedOrder(const std::vector<SongItem>& rows, int column, Qt::SortOrder order) {
    if (sortKindOf(column) == SortKind::Number)
        return orderByNumber(rows, column, order);
    return TextSorter(rows, column, order).run();
}

void sortList(SongListModel& model, int column, Qt::SortOrder order) {
    if (column < 0 || column >= SongItem::ColumnCount || model.size() < 2)
        return;
    model.reorder(sortedOrder(model.items(), column, order));
}
