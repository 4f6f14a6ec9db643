// TStringCompare: fuzzy comparison of two short texts (file names, artist names).
//
// Both texts are normalised (ASCII upper case, file extension, punctuation, separators,
// doubled letters, filler words), split into words, and four measures are blended into one
// similarity from 0 to 100. A pair is found when the similarity is greater than Percentage.
//
// Texts are UTF-8. They are handled as sequences of code points, so a non-ASCII letter is
// one character; bytes that are not valid UTF-8 each count as one character of their own.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class TStringCompare {
public:
    using TNotify = std::function<void(TStringCompare& sender)>;
    using TFound = std::function<void(TStringCompare& sender, const std::string& first,
                                      const std::string& second, double percent)>;

    // One text after the normalisation that does not depend on the other text of a pair.
    // Built once per text by Prepare() so that a list can be compared pair by pair cheaply.
    struct Key {
        std::uint64_t upperHash = 0;
        std::uint64_t rebuiltHash = 0;
        std::uint64_t symbolMask = 0; // bit k set when counts[k] > 0
    };
    struct Prepared {
        Key key;                   // first: what every pair reads
        std::size_t cutLength = 0; // characters left after the extension was removed
        std::vector<std::u32string> words;
        std::u32string rebuilt;                 // the kept words joined by single spaces
        std::string upper;                      // the text with a-z upper-cased (UTF-8 bytes)
        std::array<std::uint32_t, 36> counts{}; // 0-9 then A-Z
    };

    TStringCompare();

    // Whole exclude-word lines; matching ignores ASCII case.
    const std::vector<std::string>& ExcludeWords() const { return m_excludeWords; }
    void SetExcludeWords(const std::vector<std::string>& lines) { m_excludeWords = lines; }

    const std::string& ExcludeChars() const { return m_excludeChars; }
    void SetExcludeChars(const std::string& chars) { m_excludeChars = chars; }

    const std::string& Spacers() const { return m_spacers; }
    void SetSpacers(const std::string& chars) { m_spacers = chars; }

    bool ExcludeExtension() const { return m_excludeExtension; }
    void SetExcludeExtension(bool on) { m_excludeExtension = on; }

    bool ExcludeDoubleLetters() const { return m_excludeDoubleLetters; }
    void SetExcludeDoubleLetters(bool on) { m_excludeDoubleLetters = on; }

    double Percentage() const { return m_percentage; }
    // Stored only when 0 < value <= 100; anything else keeps the previous threshold.
    void SetPercentage(double value);

    // Similarity of the most recent found pair; 0 until a pair is found.
    double LastPercentage() const { return m_lastPercentage; }

    TNotify OnBeforeCompare;
    TFound OnFound;

    // Raises OnBeforeCompare; when the pair is found, stores LastPercentage, raises OnFound
    // with the texts as given and returns true.
    bool Compare(const std::string& first, const std::string& second);

    // The similarity of Compare(first, second) without threshold or events (100 for pairs
    // that are equal after upper-casing or after normalisation).
    double Similarity(const std::string& first, const std::string& second) const;

    // Batch use: prepare every text once, then compare prepared texts. ComparePrepared gives
    // exactly the result of Compare on the texts they were prepared from (same found flag,
    // same similarity) but raises no events and leaves LastPercentage alone. It skips the
    // word matching when the other measures already show that the pair cannot be found.
    // Prepared texts depend on the properties: prepare again after changing them.
    Prepared Prepare(const std::string& text) const;
    bool ComparePrepared(const Prepared& first, const Prepared& second, double* percent) const;

    // The first, cheap test of ComparePrepared on the keys of two prepared texts (a loop
    // over many texts keeps the keys side by side): true when the pair is certainly not
    // found, because the texts differ and share too few of the symbols 0-9, A-Z for the
    // similarity to exceed Percentage even if every other measure were 100. False means
    // "ask ComparePrepared".
    bool CannotPass(const Key& first, const Key& second) const {
        if (first.upperHash == second.upperHash || first.rebuiltHash == second.rebuiltHash)
            return false;
        const std::uint64_t either = first.symbolMask | second.symbolMask;
        return either != 0 &&
               bitCount(first.symbolMask & second.symbolMask) < m_minShared[bitCount(either)];
    }

private:
    // Bits set in a word; written out because without a popcnt instruction in the target
    // std::popcount becomes a library call, and this runs for every pair of a list.
    static int bitCount(std::uint64_t x) {
        x = x - ((x >> 1) & 0x5555555555555555ull);
        x = (x & 0x3333333333333333ull) + ((x >> 2) & 0x3333333333333333ull);
        x = (x + (x >> 4)) & 0x0F0F0F0F0F0F0F0Full;
        return static_cast<int>((x * 0x0101010101010101ull) >> 56);
    }

    enum class Outcome { Identical, Blended, Pruned };
    void updateMinShared();
    Outcome evaluate(const Prepared& first, const Prepared& second, bool prune,
                     double& similarity) const;

    std::vector<std::string> m_excludeWords;
    std::string m_excludeChars;
    std::string m_spacers;
    bool m_excludeExtension = true;
    bool m_excludeDoubleLetters = true;
    double m_percentage = 85.0;
    // For each number of symbols in a pair (1 to 36), the fewest symbols both texts must
    // share before the pair can pass at all, even with every other measure at 100.
    std::array<unsigned char, 37> m_minShared{};
    double m_lastPercentage = 0.0;
};
