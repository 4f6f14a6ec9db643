// The 18 columns of a list pane: the message key of each header and its English text.
#pragma once

#include "base/listcolumns.h"

#include <QString>

#include <array>

struct ListColumn {
    const char* key;  // message key of the header caption
    const char* text; // English default
    int width;        // default width in pixels
    bool numeric;     // sorted as a number, else as text without regard to case
};

const std::array<ListColumn, ListColumnCount>& listColumns();
// The header caption of a column in the current interface language.
QString listColumnHeader(int column);
