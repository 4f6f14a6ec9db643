#include "lists/findrows.h"
#include "lists/rowscan.h"

#include "lists/editrules.h"
#include "lists/selectcommands.h"
#include "lists/songlistmodel.h"

#include <algorithm>
#include <string_view>

namespace {
// The search of one field: the text (lower-cased once when case does not matter).
qsizetype searchField(QStringView field, const QString& text, bool caseSensitive, qsizetype from) {
    return caseSensitive ? field.indexOf(text, from, Qt::CaseSensitive)
                         : indexOfLowered(field, text, from);
}

bool matches(const SongItem& item, const FindOptions& options, const QString& text) {
    const QStringView field = item.view(options.column);
    qsizetype at = searchField(field, text, options.caseSensitive, 0);
    if (!options.wholeWords)
        return at >= 0;
    // "Whole words only" looks at the start of a word: the field's start or after a blank.
    while (at >= 0) {
        if (at == 0 || field[at - 1] == u' ')
            return true;
        at = searchField(field, text, options.caseSensitive, at + 1);
    }
    return false;
}
} // namespace

bool findMatches(const SongItem& item, const FindOptions& options) {
    return matches(item, options, options.caseSensitive ? options.text : options.text.toLower());
}

FindResult findNext(PaneRef pane, const FindOptions& options, int lastFound) {
    FindResult result;
    result.lastFound = lastFound;
    const SongListModel& model = *pane.model;
    if (options.text.isEmpty() || options.text == u" " || model.size() == 0)
        return result;
    if (lastFound >= model.size() - 1)
        lastFound = -1;
    const std::vector<SongItem>& items = model.items();
    const QString text = options.caseSensitive ? options.text : options.text.toLower();
    for (size_t r = size_t(lastFound + 1); r < items.size(); ++r) {
        prefetchRow(items, r, options.column);
        if (!matches(items[r], options, text))
            continue;
        result.rows.push_back(int(r));
        if (!options.findAll)
            break;
    }
    if (result.rows.empty() || options.findAll) {
        result.lastFound = -1; // ran to the end: the next search starts at the top
    } else {
        result.lastFound = result.rows.front();
    }
    if (!result.rows.empty()) {
        const bool keep = options.staySelected || options.findAll;
        selectRows(pane, result.rows, !keep, result.rows.front());
    }
    return result;
}

void JumpIndex::clear() {
    std::string().swap(m_names);
    std::vector<std::size_t>().swap(m_starts);
}

void JumpIndex::rebuild(const SongListModel& model) {
    clear();
    const std::vector<SongItem>& items = model.items();
    std::size_t total = 0;
    for (const SongItem& it : items)
        total += std::size_t(it.view(SongItem::FileName).size()) + 1;
    m_names.resize(total);
    m_starts.reserve(items.size() + 1);
    std::size_t at = 0;
    for (size_t r = 0; r < items.size(); ++r) {
        prefetchRow(items, r, SongItem::FileName);
        m_starts.push_back(at);
        const QStringView name = items[r].view(SongItem::FileName);
        // Most names are plain ASCII: lower-cased byte by byte, without a copy.
        bool plain = true;
        for (const QChar c : name)
            if (c.unicode() >= 0x80 || c.unicode() == 0) {
                plain = false;
                break;
            }
        if (plain) {
            if (at + std::size_t(name.size()) + 1 > m_names.size())
                m_names.resize(at + std::size_t(name.size()) + 1 + (total >> 4));
            char* out = m_names.data() + at;
            for (const QChar c : name) {
                const char16_t u = c.unicode();
                *out++ = char(u >= 'A' && u <= 'Z' ? u + 32 : u);
            }
            at += std::size_t(name.size());
        } else {
            QString folded = jumpFold(name.toString());
            folded.replace(QChar(0), QChar(' ')); // the separator stays unique
            const QByteArray utf8 = folded.toUtf8();
            if (at + std::size_t(utf8.size()) + 1 > m_names.size())
                m_names.resize(at + std::size_t(utf8.size()) + 1 + (total >> 4));
            std::copy(utf8.begin(), utf8.end(), m_names.begin() + std::ptrdiff_t(at));
            at += std::size_t(utf8.size());
        }
        m_names[at++] = 0;
    }
    m_names.resize(at);
    m_starts.push_back(at);
}

std::vector<int> JumpIndex::filter(const QString& text) const {
    const QStringList words = jumpWords(text);
    std::vector<int> rows;
    const int n = size();
    if (words.isEmpty()) {
        rows.resize(size_t(n));
        for (int i = 0; i < n; ++i)
            rows[size_t(i)] = i;
        return rows;
    }
    std::vector<std::string> needles;
    for (const QString& w : words)
        needles.push_back(w.toStdString());
    // The longest word is the rarest: one scan of the whole buffer finds its rows...
    std::sort(needles.begin(), needles.end(),
              [](const std::string& a, const std::string& b) { return a.size() > b.size(); });
    const std::string_view all(m_names);
    std::size_t row = 0;
    for (std::size_t at = all.find(needles[0]); at != std::string_view::npos;) {
        while (m_starts[row + 1] <= at)
            ++row;
        rows.push_back(int(row));
        at = all.find(needles[0], m_starts[row + 1]);
    }
    // ...and each other word keeps the names that hold it too.
    for (size_t k = 1; k < needles.size(); ++k) {
        const std::string& w = needles[k];
        rows.erase(std::remove_if(rows.begin(), rows.end(),
                                  [&](int r) {
                                      const std::size_t s = m_starts[size_t(r)];
                                      const std::size_t e = m_starts[size_t(r) + 1] - 1;
                                      return all.substr(s, e - s).find(w) == std::string_view::npos;
                                  }),
                   rows.end());
    }
    return rows;
}
