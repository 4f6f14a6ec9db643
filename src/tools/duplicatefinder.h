// The pair-finding loops of the duplicate finder over plain lists of names.
//
// "Itself" compares every name i with every name j > i; "Other list" compares every name
// of the first list with every name of the second. Pairs come out in loop order (i
// ascending, then j ascending), the first name of a pair always from index i. The fast loops
// prepare every name once and let TStringCompare skip pairs that cannot pass; they find
// exactly the pairs and similarities of calling Compare on every pair (the plain loops,
// kept as the reference).
#pragma once

#include "tools/stringcompare.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct DuplicatePair {
    std::size_t first = 0;  // index into the first (or only) list
    std::size_t second = 0; // index into the second list (or the same list for "Itself")
    double percent = 0.0;

    bool operator==(const DuplicatePair&) const = default;
};

class DuplicateFinder {
public:
    using PairFound = std::function<void(const DuplicatePair& pair)>;
    // position and total as the finder window counts them ("Itself": i*n + j of n*n;
    // "Other list": i*m + j of n*m). Called now and then (at least once per row of i and
    // every few thousand comparisons); returning false stops the run.
    using Progress = std::function<bool(std::uint64_t position, std::uint64_t total)>;

    // The comparison whose properties (Percentage, exclude words, ...) are used. It is read,
    // not changed: no events are raised and its LastPercentage stays.
    explicit DuplicateFinder(const TStringCompare& compare) : m_compare(compare) {}

    // Both return false when Progress stopped the run; the pairs found up to then were
    // reported.
    bool FindItself(const std::vector<std::string>& names, const PairFound& found,
                    const Progress& progress = {}) const;
    bool FindOther(const std::vector<std::string>& first, const std::vector<std::string>& second,
                   const PairFound& found, const Progress& progress = {}) const;

    // Reference loops: TStringCompare::Compare on a copy of the comparison for every pair.
    bool FindItselfPlain(const std::vector<std::string>& names, const PairFound& found,
                         const Progress& progress = {}) const;
    bool FindOtherPlain(const std::vector<std::string>& first,
                        const std::vector<std::string>& second, const PairFound& found,
                        const Progress& progress = {}) const;

private:
    const TStringCompare& m_compare;
};
