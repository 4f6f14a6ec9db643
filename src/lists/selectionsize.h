// The size of the selected songs as the status bar shows it.
#pragma once

#include <QString>

// " KB" stepped up to " MB", " GB", " TB" while the value exceeds 1024; two decimals,
// the locale's decimal separator, no grouping.
QString sizeText(double kb);
// A FileSizeKb text as a number; "." and "," both count as the decimal separator.
// Group separators are tolerated ("1,525.10" and "1.525,10" are both 1525.1): of the two
// marks the last one is the decimal separator. ok is false when the text is not a number.
// Every reader of a size text (selection, list files, catalogues) uses this one.
double parseSizeKb(const QString& text, bool* ok = nullptr);
