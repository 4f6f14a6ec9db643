// Text as list files store it. File names and folders keep the bytes the file system
// gave them (see base/nativepath.h); every other text is UTF-8, and text loaded from
// files that are not UTF-8 (old lists) is read as Windows-1252. Formats that must be
// valid UTF-8 (HTML, XML, office documents) show a name's foreign bytes as Windows-1252
// characters instead.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace listtext {

// Appends text as UTF-8, or for names and folders (native) as the file-system bytes.
void appendUtf8(QByteArray& out, QStringView text);
void appendNative(QByteArray& out, QStringView text);
QByteArray nativeBytes(QStringView text);
QByteArray utf8Bytes(QStringView text);

// A name or folder read back: the bytes as the file system has them.
QString fromNative(QByteArrayView bytes);
// Any other text read back: UTF-8 when it is valid UTF-8, else Windows-1252.
QString fromText(QByteArrayView bytes);
bool isValidUtf8(QByteArrayView bytes);
QString fromWindows1252(QByteArrayView bytes);

// The text with each byte a name could not decode as UTF-8 shown as its Windows-1252
// character: for formats that must be valid UTF-8.
QString displayText(QStringView text);

// The file name without its extension ("Song.mp3" -> "Song"; a leading dot is no extension).
QStringView withoutExtension(QStringView fileName);

// RFC 4180: a field holding the separator, a double quote, CR or LF is quoted, its
// quotes doubled.
void appendCsvField(QByteArray& out, QByteArrayView field, char separator);

// Escapes & < > (and " in attribute values) for HTML and XML, and drops the characters
// XML 1.0 cannot hold (control characters other than tab, CR, LF; U+FFFE, U+FFFF;
// unpaired surrogates).
QString escapeMarkup(QStringView text);
// An XML element name from a caption: every character a name may not hold becomes "_".
QString xmlElementName(QStringView caption);

} // namespace listtext
