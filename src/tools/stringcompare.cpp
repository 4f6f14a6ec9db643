#include "tools/stringcompare.h"

#include <algorithm>
#include <bit>
#include <string_view>
#include <utility>

namespace {

// The blend weights, written out so that every build computes the same doubles.
constexpr double kWordWeight = 0.5;
constexpr double kCharWeight = 0.3333333333333333;
constexpr double kCountWeight = 0.08333333333333333;
constexpr double kLengthWeight = 0.08333333333333333;

constexpr char32_t kNoChar = 0xFFFFFFFFu;

// UTF-8 to code points. A byte that does not start a valid sequence becomes a code point
// of its own in the U+DC80..U+DCFF range, so it is kept, never equals an ASCII character
// and never throws.
std::u32string decodeUtf8(std::string_view s) {
    std::u32string out;
    out.reserve(s.size());
    std::size_t i = 0;
    while (i < s.size()) {
        const auto b0 = static_cast<unsigned char>(s[i]);
        if (b0 < 0x80) {
            out.push_back(b0);
            ++i;
            continue;
        }
        int len = 0;
        char32_t cp = 0;
        char32_t min = 0;
        if ((b0 & 0xE0) == 0xC0) {
            len = 2, cp = b0 & 0x1F, min = 0x80;
        } else if ((b0 & 0xF0) == 0xE0) {
            len = 3, cp = b0 & 0x0F, min = 0x800;
        } else if ((b0 & 0xF8) == 0xF0) {
            len = 4, cp = b0 & 0x07, min = 0x10000;
        }
        bool ok = len > 0 && i + len <= s.size();
        for (int k = 1; ok && k < len; ++k) {
            const auto b = static_cast<unsigned char>(s[i + k]);
            if ((b & 0xC0) != 0x80)
                ok = false;
            else
                cp = (cp << 6) | (b & 0x3F);
        }
        if (ok && (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)))
            ok = false;
        if (ok) {
            out.push_back(cp);
            i += len;
        } else {
            out.push_back(0xDC00 + b0);
            ++i;
        }
    }
    return out;
}

std::string asciiUpper(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return s;
}

template <typename Str> std::uint64_t fnv1a(const Str& s) {
    std::uint64_t h = 1469598103934665603ull;
    for (auto c : s) {
        h ^= static_cast<std::uint64_t>(c);
        h *= 1099511628211ull;
    }
    return h;
}

// 100 when equal (also both 0), else the smaller over the larger, times 100.
inline double ratio(std::size_t a, std::size_t b) {
    if (a == b)
        return 100.0;
    const double lo = static_cast<double>(std::min(a, b));
    const double hi = static_cast<double>(std::max(a, b));
    return lo / hi * 100.0;
}

inline double blend(double word, double chars, double count, double length) {
    return kWordWeight * word + kCharWeight * chars + kCountWeight * count + kLengthWeight * length;
}

// 2 x matching positions / (sum of lengths). A position i of the shorter word s matches when
// s[i] equals t[i], t[i+1] or t[i+2], or t[i] equals s[i+1] or s[i+2].
double wordSimilarity(const std::u32string& x, const std::u32string& y) {
    const std::u32string& s = x.size() <= y.size() ? x : y;
    const std::u32string& t = x.size() <= y.size() ? y : x;
    const std::size_t ls = s.size();
    const std::size_t lt = t.size();
    if (ls + lt == 0)
        return 0.0;
    std::size_t matches = 0;
    for (std::size_t i = 0; i < ls; ++i) {
        const char32_t si = s[i];
        const char32_t ti = t[i];
        if (si == ti || (i + 1 < lt && si == t[i + 1]) || (i + 2 < lt && si == t[i + 2]) ||
            (i + 1 < ls && ti == s[i + 1]) || (i + 2 < ls && ti == s[i + 2]))
            ++matches;
    }
    return 2.0 * static_cast<double>(matches) / static_cast<double>(ls + lt);
}

inline bool isSpaceOrControl(char32_t c) {
    return c <= 32;
}

std::u32string trimmed(const std::u32string& s) {
    std::size_t b = 0;
    std::size_t e = s.size();
    while (b < e && isSpaceOrControl(s[b]))
        ++b;
    while (e > b && isSpaceOrControl(s[e - 1]))
        --e;
    return s.substr(b, e - b);
}

} // namespace

TStringCompare::TStringCompare()
    : m_excludeWords{"The"}, m_excludeChars(",.'\"()[]"), m_spacers(" _-") {
    updateMinShared();
}

void TStringCompare::SetPercentage(double value) {
    if (value > 0.0 && value <= 100.0) {
        m_percentage = value;
        updateMinShared();
    }
}

void TStringCompare::updateMinShared() {
    for (int symbols = 1; symbols <= 36; ++symbols) {
        int shared = 0;
        while (shared <= symbols &&
               blend(100.0, 100.0 * shared / symbols, 100.0, 100.0) <= m_percentage)
            ++shared;
        m_minShared[symbols] = static_cast<unsigned char>(shared);
    }
}

TStringCompare::Prepared TStringCompare::Prepare(const std::string& text) const {
    Prepared p;
    p.upper = asciiUpper(text);
    p.key.upperHash = fnv1a(p.upper);

    // Exclusion text: the lines joined by CR LF, trimmed as a whole, upper-cased, framed by
    // LF and CR so that only a whole line can match a word.
    std::string joined;
    for (std::size_t i = 0; i < m_excludeWords.size(); ++i) {
        if (i > 0)
            joined += "\r\n";
        joined += m_excludeWords[i];
    }
    const std::u32string exclusion = U"\n" + trimmed(decodeUtf8(asciiUpper(joined))) + U"\r";
    const std::u32string spacers = decodeUtf8(m_spacers);
    const std::u32string excludeChars = decodeUtf8(m_excludeChars);

    std::u32string work = decodeUtf8(p.upper);
    if (m_excludeExtension) {
        const std::size_t dot = work.rfind(U'.');
        if (dot != std::u32string::npos) {
            const std::size_t backslash = work.rfind(U'\\');
            const std::size_t colon = work.rfind(U':');
            const bool afterBackslash = backslash == std::u32string::npos || dot > backslash;
            const bool afterColon = colon == std::u32string::npos || dot > colon;
            if (afterBackslash && afterColon)
                work.resize(dot);
        }
    }
    p.cutLength = work.size();
    work = trimmed(work);
    work.push_back(U' ');

    char32_t previous = kNoChar;
    std::u32string word;
    for (char32_t c : work) {
        if (spacers.find(c) != std::u32string::npos)
            c = U' ';
        if (m_excludeDoubleLetters && c == previous)
            continue;
        previous = c;
        if (c != U' ' && excludeChars.find(c) != std::u32string::npos)
            continue;
        if (c >= U'0' && c <= U'9')
            ++p.counts[c - U'0'];
        else if (c >= U'A' && c <= U'Z')
            ++p.counts[10 + (c - U'A')];
        if (c != U' ') {
            word.push_back(c);
            continue;
        }
        if (word.empty())
            continue;
        if (exclusion.find(U"\n" + word + U"\r") == std::u32string::npos) {
            if (!p.rebuilt.empty())
                p.rebuilt.push_back(U' ');
            p.rebuilt += word;
            p.words.push_back(word);
        }
        word.clear();
    }
    for (std::size_t k = 0; k < p.counts.size(); ++k)
        if (p.counts[k] > 0)
            p.key.symbolMask |= std::uint64_t{1} << k;
    p.key.rebuiltHash = fnv1a(p.rebuilt);
    return p;
}

// The similarity of a prepared pair. Identical: 100 because the texts are equal after
// upper-casing or after normalisation (found whatever the threshold). With prune set it
// returns Pruned as soon as the similarity provably cannot exceed Percentage.
// Every bound is computed with the same operations as the real value, with a part replaced
// by a larger one; since rounding is monotonic, a bound at or below the threshold proves
// that the real value is too.
TStringCompare::Outcome TStringCompare::evaluate(const Prepared& first, const Prepared& second,
                                                 bool prune, double& similarity) const {
    similarity = 100.0;
    if (first.key.upperHash == second.key.upperHash && first.upper == second.upper)
        return Outcome::Identical;
    if (first.key.rebuiltHash == second.key.rebuiltHash && first.rebuilt == second.rebuilt)
        return Outcome::Identical;

    // Symbols present in only one text contribute 0 to the character measure, the others at
    // most 100; first with the other measures at their most, then with their real values.
    const std::uint64_t either = first.key.symbolMask | second.key.symbolMask;
    const int symbols = bitCount(either);
    const int shared = bitCount(first.key.symbolMask & second.key.symbolMask);
    if (prune && symbols > 0 && shared < m_minShared[symbols])
        return Outcome::Pruned;

    const Prepared& a = second.cutLength > first.cutLength ? second : first;
    const Prepared& b = second.cutLength > first.cutLength ? first : second;

    const double lengthMeasure = ratio(a.rebuilt.size(), b.rebuilt.size());
    const bool bHasMore = b.words.size() > a.words.size();
    const std::vector<std::u32string>& longList = bHasMore ? b.words : a.words;
    const std::vector<std::u32string>& shortList = bHasMore ? a.words : b.words;
    const double countMeasure = ratio(longList.size(), shortList.size());

    if (prune && symbols > 0) {
        const double charBound = 100.0 * shared / symbols;
        if (blend(100.0, charBound, countMeasure, lengthMeasure) <= m_percentage)
            return Outcome::Pruned;
    }
    double charMeasure = 0.0;
    if (symbols > 0) {
        double sum = 0.0;
        for (std::size_t k = 0; k < 36; ++k)
            if ((either >> k) & 1)
                sum += ratio(a.counts[k], b.counts[k]);
        charMeasure = sum / symbols;
    }

    double wordMeasure = 0.0;
    const std::size_t nShort = shortList.size();
    if (nShort > 0) {
        std::size_t remaining = longList.size();
        std::vector<unsigned char> taken(longList.size(), 0);
        double sum = 0.0;
        for (std::size_t k = 0; k < nShort && remaining > 0; ++k) {
            if (prune) {
                // Each word still to come adds at most 1.
                double best = sum;
                for (std::size_t r = k; r < nShort; ++r)
                    best += 1.0;
                if (blend(best / static_cast<double>(nShort) * 100.0, charMeasure, countMeasure,
                          lengthMeasure) <= m_percentage) {
                    return Outcome::Pruned;
                }
            }
            double bestSimilarity = 0.0;
            std::size_t bestIndex = longList.size();
            for (std::size_t j = 0; j < longList.size(); ++j) {
                if (taken[j])
                    continue;
                const double similarity = wordSimilarity(shortList[k], longList[j]);
                if (similarity > bestSimilarity) {
                    bestSimilarity = similarity;
                    bestIndex = j;
                }
            }
            if (bestIndex < longList.size()) {
                taken[bestIndex] = 1;
                --remaining;
                sum += bestSimilarity;
            }
        }
        wordMeasure = sum / static_cast<double>(nShort) * 100.0;
    }
    similarity = blend(wordMeasure, charMeasure, countMeasure, lengthMeasure);
    return Outcome::Blended;
}

double TStringCompare::Similarity(const std::string& first, const std::string& second) const {
    double similarity = 0.0;
    evaluate(Prepare(first), Prepare(second), false, similarity);
    return similarity;
}

bool TStringCompare::ComparePrepared(const Prepared& first, const Prepared& second,
                                     double* percent) const {
    double similarity = 0.0;
    const Outcome outcome = evaluate(first, second, true, similarity);
    if (outcome == Outcome::Pruned || (outcome == Outcome::Blended && !(similarity > m_percentage)))
        return false;
    if (percent)
        *percent = similarity;
    return true;
}

bool TStringCompare::Compare(const std::string& first, const std::string& second) {
    if (OnBeforeCompare)
        OnBeforeCompare(*this);
    double similarity = 0.0;
    const Outcome outcome = evaluate(Prepare(first), Prepare(second), false, similarity);
    if (outcome == Outcome::Blended && !(similarity > m_percentage))
        return false;
    m_lastPercentage = similarity;
    if (OnFound)
        OnFound(*this, first, second, similarity);
    return true;
}
