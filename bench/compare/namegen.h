// Generated song file names for exercising the duplicate finder: artists with several
// songs, track numbers, albums, and near-duplicates (case, typing slips, doubled letters,
// "The", separators, live/remaster suffixes). Deterministic for a given seed.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace namegen {

class Random {
public:
    explicit Random(std::uint64_t seed) : m_state(seed * 2654435761u + 0x9E3779B97F4A7C15ull) {}
    std::uint64_t next() {
        // splitmix64
        std::uint64_t z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    std::size_t below(std::size_t n) { return n ? static_cast<std::size_t>(next() % n) : 0; }
    bool chance(int percent) { return below(100) < static_cast<std::size_t>(percent); }

private:
    std::uint64_t m_state;
};

inline std::string word(Random& r) {
    static const char* syllables[] = {
        "ka", "ro", "mi",  "ne",  "ta",  "lo",  "su", "ri", "an", "el", "or",  "vi", "da", "be",
        "li", "mo", "sha", "ter", "gon", "wel", "ix", "un", "pa", "qu", "zen", "y",  "ch", "st"};
    std::string w;
    const std::size_t n = 1 + r.below(3);
    for (std::size_t i = 0; i < n; ++i)
        w += syllables[r.below(sizeof syllables / sizeof *syllables)];
    w[0] = static_cast<char>(w[0] - 'a' + 'A');
    return w;
}

inline std::string phrase(Random& r, std::size_t minWords, std::size_t maxWords) {
    std::string p;
    const std::size_t n = minWords + r.below(maxWords - minWords + 1);
    for (std::size_t i = 0; i < n; ++i) {
        if (i)
            p += ' ';
        p += word(r);
    }
    return p;
}

inline std::string twoDigits(std::size_t n) {
    return std::string(1, static_cast<char>('0' + n / 10 % 10)) + static_cast<char>('0' + n % 10);
}

inline std::string mutate(Random& r, std::string name) {
    const std::size_t dot = name.rfind('.');
    const std::size_t stemEnd = dot == std::string::npos ? name.size() : dot;
    switch (r.below(8)) {
    case 0: // letter case
        for (char& c : name)
            if (c >= 'a' && c <= 'z' && r.chance(30))
                c = static_cast<char>(c - 'a' + 'A');
        break;
    case 1: // swapped neighbours
        if (stemEnd > 3) {
            const std::size_t i = 1 + r.below(stemEnd - 2);
            std::swap(name[i], name[i - 1]);
        }
        break;
    case 2: // a dropped letter
        if (stemEnd > 3)
            name.erase(1 + r.below(stemEnd - 2), 1);
        break;
    case 3: // a doubled letter
        if (stemEnd > 3) {
            const std::size_t i = r.below(stemEnd);
            name.insert(i, 1, name[i]);
        }
        break;
    case 4:
        name = "The " + name;
        break;
    case 5: // separators
        for (char& c : name)
            if (c == ' ')
                c = '_';
        break;
    case 6:
        name.insert(stemEnd, r.chance(50) ? " (Live)" : " [Remastered]");
        break;
    default: // another letter
        if (stemEnd > 2)
            name[r.below(stemEnd)] = static_cast<char>('a' + r.below(26));
        break;
    }
    return name;
}

// n names; about one in eight is a near-duplicate of an earlier one.
inline std::vector<std::string> fileNames(std::size_t n, std::uint64_t seed) {
    Random r(seed);
    std::vector<std::string> artists;
    for (std::size_t i = 0; i < 50 + n / 20; ++i)
        artists.push_back(r.chance(15) ? "The " + phrase(r, 1, 2) : phrase(r, 1, 3));
    std::vector<std::string> names;
    names.reserve(n);
    while (names.size() < n) {
        if (!names.empty() && r.chance(12)) {
            names.push_back(mutate(r, names[r.below(names.size())]));
            continue;
        }
        const std::string& artist = artists[r.below(artists.size())];
        const std::string title = phrase(r, 1, 4);
        std::string name;
        switch (r.below(4)) {
        case 0:
            name = twoDigits(1 + r.below(20)) + " - " + artist + " - " + title;
            break;
        case 1:
            name = artist + " - " + phrase(r, 1, 3) + " - " + twoDigits(1 + r.below(20)) + " - " +
                   title;
            break;
        case 2:
            name = artist + "-" + title;
            break;
        default:
            name = artist + " - " + title;
            break;
        }
        names.push_back(name + (r.chance(90) ? ".mp3" : ".MP3"));
    }
    return names;
}

} // namespace namegen
