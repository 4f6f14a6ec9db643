#include "lists/editrules.h"

#include <algorithm>
#include <limits>

namespace {
// A letter or a mark that belongs to one ("u" + combining diaeresis stays one letter).
bool isWordLetter(char32_t c) {
    return QChar::isLetter(c) || QChar::isMark(c);
}

// The code point at i and how many UTF-16 units it takes.
char32_t codePointAt(const QString& s, qsizetype i, int* units) {
    const QChar c = s.at(i);
    if (c.isHighSurrogate() && i + 1 < s.size() && s.at(i + 1).isLowSurrogate()) {
        *units = 2;
        return QChar::surrogateToUcs4(c, s.at(i + 1));
    }
    *units = 1;
    return c.unicode();
}

void appendCodePoint(QString& out, char32_t c) {
    if (QChar::requiresSurrogates(c)) {
        out += QChar(QChar::highSurrogate(c));
        out += QChar(QChar::lowSurrogate(c));
    } else {
        out += QChar(char16_t(c));
    }
}

// Lower-cases the text, then capitalises the first character and, when `everyWord`, every
// character after one that is not a letter.
QString capitalise(const QString& text, bool everyWord) {
    const QString lower = text.toLower();
    QString out;
    out.reserve(lower.size());
    bool start = true;
    for (qsizetype i = 0; i < lower.size();) {
        int units = 1;
        const char32_t c = codePointAt(lower, i, &units);
        appendCodePoint(out, start ? QChar::toTitleCase(c) : c);
        start = everyWord && !isWordLetter(c);
        i += units;
    }
    return out;
}
} // namespace

QString applyCaseRule(CaseRule rule, const QString& text) {
    switch (rule) {
    case CaseRule::FirstLetters:
        return capitalise(text, true);
    case CaseRule::Beginning:
        return capitalise(text, false);
    case CaseRule::AllCaps:
        return text.toUpper();
    case CaseRule::AllSmall:
        return text.toLower();
    case CaseRule::FirstWord:
    case CaseRule::LastWord: {
        const qsizetype dash = text.indexOf('-');
        if (dash < 0)
            return text.toLower();
        if (rule == CaseRule::FirstWord)
            return text.left(dash).toUpper() + text.mid(dash).toLower();
        return text.left(dash).toLower() + text.mid(dash).toUpper();
    }
    }
    return text;
}

NameParts splitExtension(const QString& fileName) {
    const qsizetype dot = fileName.lastIndexOf('.');
    if (dot < 0)
        return {fileName, {}};
    return {fileName.left(dot), fileName.mid(dot)};
}

QString changeFileNameCase(CaseRule rule, const QString& fileName) {
    const NameParts parts = splitExtension(fileName);
    return applyCaseRule(rule, parts.base) + parts.extension.toLower();
}

SeparatorPair separatorFromCaption(const QString& caption) {
    QString s = caption;
    s.replace(QLatin1String("  "), QLatin1String(" "));
    const qsizetype arrow = s.indexOf(QLatin1String("-->"));
    if (arrow < 0)
        return {};
    const qsizetype q1 = s.indexOf('\'');
    const qsizetype q2 = s.lastIndexOf('\'', arrow);
    const qsizetype q3 = s.indexOf('\'', arrow);
    const qsizetype q4 = q3 < 0 ? -1 : s.indexOf('\'', q3 + 1);
    if (q1 < 0 || q2 <= q1 || q3 < 0 || q4 < 0)
        return {};
    return {s.mid(q1 + 1, q2 - q1 - 1), s.mid(q3 + 1, q4 - q3 - 1)};
}

QString replaceSeparator(const QString& text, const QString& from, const QString& to) {
    if (from.isEmpty())
        return text;
    QString out = text;
    return out.replace(from, to, Qt::CaseInsensitive);
}

QString jumpFold(const QString& text) {
    return text.toLower();
}

QStringList jumpWords(const QString& text) {
    QStringList words;
    QString word;
    for (qsizetype i = 0; i < text.size();) {
        int units = 1;
        const char32_t c = codePointAt(text, i, &units);
        if (QChar::isLetterOrNumber(c) || QChar::isMark(c)) {
            word += QStringView(text).mid(i, units);
        } else if (!word.isEmpty()) {
            words << jumpFold(word);
            word.clear();
        }
        i += units;
    }
    if (!word.isEmpty())
        words << jumpFold(word);
    return words;
}

bool parseRating(QStringView text, qint64* value) {
    qsizetype i = 0;
    const bool negative = !text.isEmpty() && text[0] == u'-';
    if (!text.isEmpty() && (text[0] == u'-' || text[0] == u'+'))
        ++i;
    if (i == text.size())
        return false;
    // Accumulated negatively, so the most negative value fits too.
    qint64 v = 0;
    for (; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9')
            return false;
        const int digit = c - u'0';
        if (v < (std::numeric_limits<qint64>::min() + digit) / 10)
            return false;
        v = v * 10 - digit;
    }
    if (!negative) {
        if (v == std::numeric_limits<qint64>::min())
            return false;
        v = -v;
    }
    *value = v;
    return true;
}

namespace {
// One folded code unit; ASCII without a table lookup. Surrogates stay as they are.
inline char16_t foldUnit(char16_t c) {
    if (c < 0x80)
        return c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c;
    return QChar(c).isSurrogate() ? c : QChar::toCaseFolded(c);
}

inline char16_t lowerUnit(char16_t c) {
    if (c < 0x80)
        return c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c;
    return QChar(c).isSurrogate() ? c : QChar::toLower(c);
}
} // namespace

std::size_t foldedHash(QStringView text) {
    std::size_t h = 1469598103934665603ull; // FNV-1a over the folded units
    for (const QChar c : text) {
        h ^= foldUnit(c.unicode());
        h *= 1099511628211ull;
    }
    return h;
}

bool foldedEqual(QStringView a, QStringView b) {
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i)
        if (a[i] != b[i] && foldUnit(a[i].unicode()) != foldUnit(b[i].unicode()))
            return false;
    return true;
}

qsizetype indexOfLowered(QStringView text, QStringView needle, qsizetype from) {
    const qsizetype n = text.size(), m = needle.size();
    if (m == 0)
        return from <= n ? from : -1;
    const char16_t first = needle[0].unicode();
    for (qsizetype i = std::max<qsizetype>(from, 0); i + m <= n; ++i) {
        if (lowerUnit(text[i].unicode()) != first)
            continue;
        qsizetype k = 1;
        while (k < m && lowerUnit(text[i + k].unicode()) == needle[k].unicode())
            ++k;
        if (k == m)
            return i;
    }
    return -1;
}
