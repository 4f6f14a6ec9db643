#include "lists/findrows.h"

#include "lists/editrules.h"
#include "lists/selectcommands.h"
#include "lists/songlistmodel.h"

#include <algorithm>

bool findMatches(const SongItem& item, const FindOptions& options) {
    const QStringView field = item.view(options.column);
    const Qt::CaseSensitivity cs = options.caseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive;
    qsizetype at = field.indexOf(options.text, 0, cs);
    if (!options.wholeWords)
        return at >= 0;
    // "Whole words only" looks at the start of a word: the field's start or after a blank.
    while (at >= 0) {
        if (at == 0 || field[at - 1] == u' ')
            return true;
        at = field.indexOf(options.text, at + 1, cs);
    }
    return false;
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
    for (size_t r = size_t(lastFound + 1); r < items.size(); ++r) {
        if (!findMatches(items[r], options))
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
    m_names.clear();
    m_names.squeeze();
    m_starts.clear();
    m_starts.shrink_to_fit();
}

void JumpIndex::rebuild(const SongListModel& model) {
    clear();
    const std::vector<SongItem>& items = model.items();
    qsizetype total = 0;
    for (const SongItem& it : items)
        total += it.view(SongItem::FileName).size() + 1;
    m_names.resize(total);
    m_starts.reserve(items.size() + 1);
    char16_t* out = reinterpret_cast<char16_t*>(m_names.data());
    qsizetype at = 0;
    qsizetype consumed = 0; // of `total`, by the names written so far
    for (const SongItem& it : items) {
        m_starts.push_back(at);
        const QStringView name = it.view(SongItem::FileName);
        consumed += name.size() + 1;
        // Most names are plain ASCII: lower-cased in place instead of through a copy.
        bool plain = true;
        for (const QChar c : name)
            if (c.unicode() >= 0x80 || c.unicode() == 0) {
                plain = false;
                break;
            }
        if (plain) {
            for (const QChar c : name) {
                const char16_t u = c.unicode();
                out[at++] = u >= 'A' && u <= 'Z' ? char16_t(u + 32) : u;
            }
        } else {
            QString folded = jumpFold(name.toString());
            folded.replace(QChar(0), QChar(' ')); // the separator stays unique
            const qsizetype need = at + folded.size() + 1 + (total - consumed);
            if (need > m_names.size()) {
                // A lower case longer than the name (rare): make room for it.
                m_names.resize(need);
                out = reinterpret_cast<char16_t*>(m_names.data());
            }
            std::copy(folded.utf16(), folded.utf16() + folded.size(), out + at);
            at += folded.size();
        }
        out[at++] = 0;
    }
    m_names.truncate(at);
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
    // The longest word is the rarest: one scan of the whole buffer finds its rows...
    const QString* first = &words.front();
    for (const QString& w : words)
        if (w.size() > first->size())
            first = &w;
    const QStringView all(m_names);
    qsizetype at = all.indexOf(*first, 0, Qt::CaseSensitive);
    while (at >= 0) {
        const auto next = std::upper_bound(m_starts.begin(), m_starts.end(), at);
        const int row = int(next - m_starts.begin()) - 1;
        rows.push_back(row);
        if (next == m_starts.end())
            break;
        at = all.indexOf(*first, *next, Qt::CaseSensitive);
    }
    // ...and each other word keeps the names that hold it too.
    for (const QString& w : words) {
        if (&w == first)
            continue;
        rows.erase(std::remove_if(rows.begin(), rows.end(),
                                  [&](int row) {
                                      const qsizetype s = m_starts[size_t(row)];
                                      const qsizetype e = m_starts[size_t(row) + 1] - 1;
                                      return !all.mid(s, e - s).contains(w, Qt::CaseSensitive);
                                  }),
                   rows.end());
    }
    return rows;
}
