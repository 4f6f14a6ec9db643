#include "tools/duplicatefinder.h"

namespace {

// How many comparisons may pass between two progress calls inside one row.
constexpr std::uint64_t kProgressStride = 4096;

std::vector<TStringCompare::Prepared> prepareAll(const TStringCompare& compare,
                                                 const std::vector<std::string>& names) {
    std::vector<TStringCompare::Prepared> out;
    out.reserve(names.size());
    for (const auto& name : names)
        out.push_back(compare.Prepare(name));
    return out;
}

std::vector<TStringCompare::Key> keysOf(const std::vector<TStringCompare::Prepared>& prepared) {
    std::vector<TStringCompare::Key> keys;
    keys.reserve(prepared.size());
    for (const auto& p : prepared)
        keys.push_back(p.key);
    return keys;
}

// The shared loop shape: row i of `rows`, columns j from `firstColumn(i)` to `columns`.
// compare(i, j, percent) tells whether the pair is found.
template <typename FirstColumn, typename ComparePair>
bool runLoop(std::size_t rows, std::size_t columns, FirstColumn firstColumn,
             ComparePair comparePair, const DuplicateFinder::PairFound& found,
             const DuplicateFinder::Progress& progress) {
    if (rows == 0 || columns == 0)
        return true;
    const std::uint64_t total = static_cast<std::uint64_t>(rows) * columns;
    std::uint64_t sinceProgress = 0;
    for (std::size_t i = 0; i < rows; ++i) {
        for (std::size_t j = firstColumn(i); j < columns; ++j) {
            double percent = 0.0;
            if (comparePair(i, j, percent) && found)
                found(DuplicatePair{i, j, percent});
            if (progress && ++sinceProgress >= kProgressStride) {
                sinceProgress = 0;
                if (!progress(static_cast<std::uint64_t>(i) * columns + j, total))
                    return false;
            }
        }
        if (progress && !progress(static_cast<std::uint64_t>(i) * columns + columns - 1, total))
            return false;
    }
    return true;
}

} // namespace

bool DuplicateFinder::FindItself(const std::vector<std::string>& names, const PairFound& found,
                                 const Progress& progress) const {
    const auto prepared = prepareAll(m_compare, names);
    const auto keys = keysOf(prepared);
    return runLoop(
        names.size(), names.size(), [](std::size_t i) { return i + 1; },
        [&](std::size_t i, std::size_t j, double& percent) {
            return !m_compare.CannotPass(keys[i], keys[j]) &&
                   m_compare.ComparePrepared(prepared[i], prepared[j], &percent);
        },
        found, progress);
}

bool DuplicateFinder::FindOther(const std::vector<std::string>& first,
                                const std::vector<std::string>& second, const PairFound& found,
                                const Progress& progress) const {
    const auto preparedFirst = prepareAll(m_compare, first);
    const auto preparedSecond = prepareAll(m_compare, second);
    const auto keysFirst = keysOf(preparedFirst);
    const auto keysSecond = keysOf(preparedSecond);
    return runLoop(
        first.size(), second.size(), [](std::size_t) { return std::size_t{0}; },
        [&](std::size_t i, std::size_t j, double& percent) {
            return !m_compare.CannotPass(keysFirst[i], keysSecond[j]) &&
                   m_compare.ComparePrepared(preparedFirst[i], preparedSecond[j], &percent);
        },
        found, progress);
}

bool DuplicateFinder::FindItselfPlain(const std::vector<std::string>& names, const PairFound& found,
                                      const Progress& progress) const {
    TStringCompare compare = m_compare;
    compare.OnBeforeCompare = nullptr;
    compare.OnFound = nullptr;
    return runLoop(
        names.size(), names.size(), [](std::size_t i) { return i + 1; },
        [&](std::size_t i, std::size_t j, double& percent) {
            if (!compare.Compare(names[i], names[j]))
                return false;
            percent = compare.LastPercentage();
            return true;
        },
        found, progress);
}

bool DuplicateFinder::FindOtherPlain(const std::vector<std::string>& first,
                                     const std::vector<std::string>& second, const PairFound& found,
                                     const Progress& progress) const {
    TStringCompare compare = m_compare;
    compare.OnBeforeCompare = nullptr;
    compare.OnFound = nullptr;
    return runLoop(
        first.size(), second.size(), [](std::size_t) { return std::size_t{0}; },
        [&](std::size_t i, std::size_t j, double& percent) {
            if (!compare.Compare(first[i], second[j]))
                return false;
            percent = compare.LastPercentage();
            return true;
        },
        found, progress);
}
