#include "lists/selectionsize.h"

#include <QLocale>

#include <algorithm>

QString sizeText(double kb) {
    static const char* units[] = {" KB", " MB", " GB", " TB"};
    int unit = 0;
    while (kb > 1024 && unit < 3) {
        kb /= 1024;
        ++unit;
    }
    QLocale locale;
    locale.setNumberOptions(locale.numberOptions() | QLocale::OmitGroupSeparator);
    return locale.toString(kb, 'f', 2) + QLatin1String(units[unit]);
}

double parseSizeKb(const QString& text, bool* ok) {
    // Sizes are written without grouping, but lists and catalogues written by older
    // versions (or by hand) may carry group separators: "1,525.10", "1.525,10",
    // "1 525,10". Blanks and apostrophes are dropped; of "." and ",", the last one is
    // the decimal separator and any before it group digits. A lone separator that
    // occurs once is the decimal separator, whichever it is.
    QString t;
    t.reserve(text.size());
    for (const QChar c : text) {
        if (c.isSpace() || c == QChar(0x00A0) || c == QChar(0x202F) || c == '\'' ||
            c == QChar(0x2019))
            continue;
        t += c;
    }
    const qsizetype lastDot = t.lastIndexOf('.');
    const qsizetype lastComma = t.lastIndexOf(',');
    const qsizetype decimal = std::max(lastDot, lastComma);
    if (decimal >= 0) {
        const QChar sep = t.at(decimal);
        const bool both = lastDot >= 0 && lastComma >= 0;
        if (!both && t.count(sep) > 1) {
            t.remove(sep); // "1.525.100": only group separators
        } else {
            QString number;
            number.reserve(t.size());
            for (qsizetype i = 0; i < t.size(); ++i) {
                const QChar c = t.at(i);
                if (i == decimal)
                    number += '.';
                else if (c != '.' && c != ',')
                    number += c;
            }
            t = number;
        }
    }
    // Digits and one decimal point only: no exponents, no "inf".
    const auto plainNumber = [](const QString& n) {
        bool digit = false;
        for (qsizetype i = 0; i < n.size(); ++i) {
            if (n.at(i).isDigit())
                digit = true;
            else if (n.at(i) != '.' && !(n.at(i) == '-' && i == 0))
                return false;
        }
        return digit;
    };
    const bool digits = plainNumber(t);
    bool parsed = false;
    const double value = digits ? QLocale::c().toDouble(t, &parsed) : 0.0;
    if (ok)
        *ok = parsed;
    return parsed ? value : 0.0;
}
