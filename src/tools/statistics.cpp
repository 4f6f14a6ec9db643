#include "tools/statistics.h"

#include "base/commandenv.h"
#include "base/progressscope.h"
#include "base/texts.h"
#include "base/translator.h"
#include "lists/selectionsize.h"
#include "lists/songlistmodel.h"

#include <QHashFunctions>
#include <QLocale>

#include <algorithm>
#include <limits>

namespace {
constexpr std::uint32_t None = std::numeric_limits<std::uint32_t>::max();

// The finaliser of splitmix64: spreads every bit of a key over the whole hash.
std::uint64_t mix(std::uint64_t x) {
    x ^= x >> 30;
    x *= 0xbf58476d1ce4e5b9ULL;
    x ^= x >> 27;
    x *= 0x94d049bb133111ebULL;
    return x ^ (x >> 31);
}

std::uint64_t textHash(QStringView text) {
    return mix(qHash(text));
}

// An open-addressing index from hashes to entries numbered 0, 1, 2, ... in the order
// added; the caller keeps the entries and says whether one holds the key. A slot holds
// the top half of the hash beside the entry, so a lookup reads one slot and, on a likely
// match, that one entry: a million lookups in random order cost a cache miss or two
// each, where a node-based hash map costs several.
class FlatIndex {
public:
    template <class IsKey> std::uint32_t find(std::uint64_t hash, IsKey isKey) const {
        if (m_slots.empty())
            return None;
        const std::uint64_t tag = hash >> 32;
        for (std::size_t i = hash & m_mask;; i = (i + 1) & m_mask) {
            const std::uint64_t slot = m_slots[i];
            if (slot == 0)
                return None;
            const std::uint32_t entry = std::uint32_t(slot) - 1;
            if ((slot >> 32) == tag && isKey(entry))
                return entry;
        }
    }
    // Adds the next entry under the hash and returns its number.
    std::uint32_t add(std::uint64_t hash) {
        if ((m_hashes.size() + 1) * 2 > m_slots.size())
            grow();
        const auto entry = std::uint32_t(m_hashes.size());
        m_hashes.push_back(hash);
        place(hash, entry);
        return entry;
    }

private:
    void place(std::uint64_t hash, std::uint32_t entry) {
        std::size_t i = hash & m_mask;
        while (m_slots[i] != 0)
            i = (i + 1) & m_mask;
        m_slots[i] = ((hash >> 32) << 32) | (std::uint64_t(entry) + 1);
    }
    void grow() {
        m_slots.assign(std::max<std::size_t>(16, m_slots.size() * 2), 0);
        m_mask = m_slots.size() - 1;
        for (std::uint32_t e = 0; e < m_hashes.size(); ++e)
            place(m_hashes[e], e);
    }

    std::vector<std::uint64_t> m_slots;  // (top half of the hash << 32) | (entry + 1); 0: empty
    std::vector<std::uint64_t> m_hashes; // by entry, to place them again when the index grows
    std::size_t m_mask = 0;
};

// Numbers for texts: equal texts (letter case counts) get one number, in the order met.
// The last text asked for is kept apart: the songs of one album usually follow each
// other, and then the lookup is one comparison.
class TextNumbers {
public:
    // The text's number; `added` tells whether it was met now for the first time.
    std::uint32_t number(QStringView text, bool* added) {
        *added = false;
        if (m_last != None && text == m_texts[m_last])
            return m_last;
        const std::uint64_t hash = textHash(text);
        std::uint32_t n = m_index.find(hash, [&](std::uint32_t e) { return m_texts[e] == text; });
        if (n == None) {
            n = m_index.add(hash);
            m_texts.push_back(text.toString());
            *added = true;
        }
        m_last = n;
        return n;
    }
    const QString& text(std::uint32_t n) const { return m_texts[n]; }

private:
    FlatIndex m_index;
    std::vector<QString> m_texts;
    std::uint32_t m_last = None;
};

// Rows matched by their text without regard to letter case; rows are numbered in the
// order their first spelling is met. Every spelling is remembered, so only the first
// song of each spelling is case-folded.
class CaselessRows {
public:
    std::uint32_t row(QStringView text) {
        bool added = false;
        const std::uint32_t spelling = m_spellings.number(text, &added);
        if (added)
            m_rowOf.push_back(m_folded.number(text.toString().toCaseFolded(), &added));
        return m_rowOf[spelling];
    }

private:
    TextNumbers m_spellings;
    TextNumbers m_folded;               // a folded form's number is its row
    std::vector<std::uint32_t> m_rowOf; // by spelling
};

// The distinct (artist row, number) pairs met: an artist's years by the year texts'
// numbers.
class PairSet {
public:
    bool insert(std::uint32_t row, std::uint32_t number) {
        const std::uint64_t key = (std::uint64_t(row) << 32) | number;
        if (key == m_last)
            return false; // the same as the song before
        m_last = key;
        const std::uint64_t hash = mix(key);
        if (m_index.find(hash, [&](std::uint32_t e) { return m_keys[e] == key; }) != None)
            return false;
        m_index.add(hash);
        m_keys.push_back(key);
        return true;
    }

private:
    FlatIndex m_index;
    std::vector<std::uint64_t> m_keys;
    std::uint64_t m_last = ~std::uint64_t(0);
};

// The distinct albums of each artist, compared as whole texts (letter case counts).
class ArtistAlbums {
public:
    // Appends the album to the artist's list when the artist has no album of that text.
    bool insert(std::uint32_t row, StatisticsArtist& artist, QStringView album) {
        if (m_last != None && m_keys[m_last].row == row &&
            artist.albums[m_keys[m_last].index] == album)
            return false; // the same as the song before
        const std::uint64_t hash = mix(qHash(album) ^ (std::uint64_t(row) * 0x9e3779b97f4a7c15ULL));
        const auto isKey = [&](std::uint32_t e) {
            return m_keys[e].row == row && artist.albums[m_keys[e].index] == album;
        };
        m_last = m_index.find(hash, isKey);
        if (m_last != None)
            return false;
        m_last = m_index.add(hash);
        m_keys.push_back({row, std::uint32_t(artist.albums.size())});
        artist.albums.append(album.toString());
        return true;
    }

private:
    struct Key {
        std::uint32_t row;
        std::uint32_t index; // in the artist's albums
    };
    FlatIndex m_index;
    std::vector<Key> m_keys;
    std::uint32_t m_last = None; // the key of the song before
};

std::int64_t saturatingAdd(std::int64_t a, std::int64_t b) {
    return a > std::numeric_limits<std::int64_t>::max() - b
               ? std::numeric_limits<std::int64_t>::max()
               : a + b;
}
} // namespace

QString StatisticsResult::sizeText() const {
    return ::sizeText(sizeKb);
}

QString StatisticsResult::playtimeText() const {
    return timeText(playtimeSeconds) + QStringLiteral("  (") + QString::number(playtimeSeconds) +
           ' ' + T("GeneralSec", "sec") + ')';
}

double StatisticsResult::share(const StatisticsGenre& genre) const {
    return songs > 0 ? double(genre.songs) * 100.0 / double(songs) : 0.0;
}

QString shareText(double percent, const QLocale& locale) {
    QLocale l = locale;
    l.setNumberOptions(QLocale::OmitGroupSeparator);
    return l.toString(percent, 'f', 1);
}

QString joinedText(const QStringList& items) {
    QString out;
    for (const QString& item : items)
        out += item + QStringLiteral(", ");
    return out;
}

QString allArtistsText(const StatisticsResult& result) {
    QString out;
    for (const StatisticsArtist& a : result.artists)
        out += a.name + QStringLiteral(", ");
    return out;
}

std::int64_t lengthSeconds(QStringView text) {
    if (text.isEmpty())
        return 0;
    std::int64_t value = 0;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return 0;
        const int digit = c.unicode() - u'0';
        if (value > (std::numeric_limits<std::int64_t>::max() - digit) / 10)
            return 0; // beyond 64 bits: not a number the program can hold
        value = value * 10 + digit;
    }
    return value;
}

StatisticsResult computeStatistics(CommandEnv& env, const PaneRef& pane, bool detailed) {
    StatisticsResult r;
    r.detailed = detailed;
    if (!pane)
        return r;
    const SongListModel& model = *pane.model;
    const std::vector<int> rows = pane.selectedRows();
    r.files = std::int64_t(rows.size());

    ProgressScope progress(env.progress, QStringLiteral("stat"));
    CaselessRows genreRows;
    CaselessRows artistRows;
    TextNumbers yearNumbers;
    PairSet artistYears;
    ArtistAlbums artistAlbums;
    const int paneRows = model.size();
    int shownPercent = -1;
    QString percentText;

    // "File size:" is the whole selection's, also when Cancel ends the walk early.
    const auto addSize = [&](int row) {
        const SongItem& song = model.item(row);
        if (!song.has(SongItem::FileSizeKb))
            return;
        bool ok = false;
        const double kb = parseSizeKb(song.text(SongItem::FileSizeKb), &ok);
        if (ok)
            r.sizeKb += kb;
    };
    std::size_t next = 0;
    while (next < rows.size()) {
        const int row = rows[next++];
        if (row < 0 || row >= model.size())
            break; // rows went away while events ran: keep what was counted
        addSize(row);
        const SongItem& song = model.item(row);
        if (!song.has(SongItem::LengthSec))
            continue; // a bare note row: counted as a file, not as a song
        const std::int64_t length = lengthSeconds(song.view(SongItem::LengthSec));

        const QStringView genre = song.view(SongItem::Genre);
        const std::uint32_t g = genreRows.row(genre);
        if (g == r.genres.size())
            r.genres.push_back({genre.toString(), 0});
        ++r.genres[g].songs;

        bool newYear = false;
        const std::uint32_t y = yearNumbers.number(song.view(SongItem::Year), &newYear);
        if (newYear)
            r.years.push_back({yearNumbers.text(y), 0});
        ++r.years[y].songs;

        if (detailed) {
            const QStringView artist = song.view(SongItem::Artist);
            const std::uint32_t a = artistRows.row(artist);
            if (a == r.artists.size())
                r.artists.push_back({artist.toString(), 0, {}, {}});
            StatisticsArtist& entry = r.artists[a];
            ++entry.songs;
            if (artistYears.insert(a, y))
                entry.years.append(yearNumbers.text(y));
            if (artistAlbums.insert(a, entry, song.view(SongItem::Album)))
                ++r.albumCount;
        }

        const int percent = paneRows > 0 ? int(std::int64_t(row) * 100 / paneRows) : 0;
        if (percent != shownPercent) {
            shownPercent = percent;
            percentText = QStringLiteral("(%1%)").arg(percent);
        }
        progress.item(percentText);
        ++r.songs;
        r.playtimeSeconds = saturatingAdd(r.playtimeSeconds, length);
        if (progress.cancelled()) {
            r.cancelled = true;
            break;
        }
    }
    for (; next < rows.size() && rows[next] < model.size(); ++next)
        addSize(rows[next]);
    return r;
}
