// Scans over every row of a pane wait on memory: each row's texts lie in an allocation of
// their own. Asking for the texts a few rows ahead lets the next rows arrive while this
// one is compared (a million-row scan several times faster on a busy machine).
#pragma once

#include "lists/songitem.h"

#include <vector>

inline void prefetchRow(const std::vector<SongItem>& items, std::size_t row, int column) {
    constexpr std::size_t ahead = 12;
    if (row + ahead < items.size())
        __builtin_prefetch(items[row + ahead].view(column).data());
}
