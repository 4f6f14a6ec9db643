// The text rules of the list editing commands: letter case of names, separator
// replacements read from a menu caption, and the words of "Jump To".
#pragma once

#include <QString>
#include <QStringList>

#include <cstddef>
#include <cstdint>

// The six "Change Case" entries.
enum class CaseRule {
    FirstLetters, // "First Letters Big": every word starts with a capital
    Beginning,    // "Begining big": the first character only
    AllCaps,      // "ALL CAPS"
    AllSmall,     // "all small"
    FirstWord,    // "FIRST word big": capitals before the first "-"
    LastWord,     // "last WORD BIG": capitals from the first "-" on
};

// Applies a case rule to a text. Letters are Unicode letters with their combining marks
// ("mötley crüe" -> "Mötley Crüe"); after any other character (blank, digit, dash,
// bracket, apostrophe) a new word starts, so "don't stop" -> "Don'T Stop".
QString applyCaseRule(CaseRule rule, const QString& text);

// A file name split at its last dot: the name before it and the extension from it ("" when
// the name has no dot).
struct NameParts {
    QString base;
    QString extension;
};
NameParts splitExtension(const QString& fileName);
// "Change Case" of a file name: the rule on the part before the extension; the extension
// comes back in lower case ("ac-dc - back in black.MP3" -> "Ac-Dc - Back In Black.mp3").
QString changeFileNameCase(CaseRule rule, const QString& fileName);

// A "Separator Change" entry's pair read from its caption: double blanks become one, "from"
// is the text between the first quote and the quote before "-->", "to" the text between
// the two quotes after it. Empty `from` when the caption holds no such pair.
struct SeparatorPair {
    QString from;
    QString to;
};
SeparatorPair separatorFromCaption(const QString& caption);
// Every occurrence of `from` (without regard to case) replaced by `to`; an empty `from`
// changes nothing.
QString replaceSeparator(const QString& text, const QString& from, const QString& to);

// The words of a "Jump To" text: runs of letters (with their marks) and digits, lower-cased;
// every other character separates.
QStringList jumpWords(const QString& text);
// Lower-cases a name the way jumpWords lower-cases words.
QString jumpFold(const QString& text);

// A rating as an integer: an optional sign and decimal digits that fit in 64 bits.
bool parseRating(QStringView text, qint64* value);

// Comparing texts without regard to case, without building lower-cased copies: a million
// names are compared in a few scans. Letters compare by their simple case folding.
std::size_t foldedHash(QStringView text);
bool foldedEqual(QStringView a, QStringView b);
// Where `needle` (already lower-cased, e.g. by QString::toLower) occurs in `text` from
// `from` on, comparing text lower-cased; -1 when it does not.
qsizetype indexOfLowered(QStringView text, QStringView needle, qsizetype from = 0);
