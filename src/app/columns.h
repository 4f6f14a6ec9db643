// The 18 list columns: header message keys, English headers, default widths and sort kinds.
#pragma once

#include <QString>

struct ColumnInfo {
    const char* headerKey;
    const char* defaultHeader;
    int defaultWidth;
    bool numeric; // sorted as a number, else as text without regard to case
};

constexpr int ListColumnCount = 18;
const ColumnInfo& listColumn(int column);
// The header caption in the interface language.
QString listColumnHeader(int column);
