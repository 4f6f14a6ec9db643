// The size of the selected songs as the status bar shows it.
#pragma once

#include <QString>

// " KB" stepped up to " MB", " GB", " TB" while the value exceeds 1024; two decimals.
QString sizeText(double kb);
// A FileSizeKb text as a number; "." and "," both count as the decimal separator.
// ok is false when the text is not a number.
double parseSizeKb(const QString& text, bool* ok = nullptr);
