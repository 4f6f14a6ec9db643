#include "lists/listtext.h"

#include "base/nativepath.h"

#include <QStringEncoder>

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace listtext {

namespace {
// Windows-1252 at 0x80..0x9F; the five bytes it leaves undefined keep their C1 code.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char16_t cp1252(unsigned char b) {
    return b >= 0x80 && b < 0xA0 ? kCp1252High[b - 0x80] : char16_t(b);
}

bool isAscii(QByteArrayView bytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    // Eight bytes at a time: any high bit means not ASCII.
    for (; i + 8 <= n; i += 8) {
        std::uint64_t w;
        std::memcpy(&w, p + i, 8);
        if (w & 0x8080808080808080ULL)
            return false;
    }
    for (; i < n; ++i)
        if (p[i] & 0x80)
            return false;
    return true;
}

bool hasByteEscapes(QStringView text) {
    for (QChar c : text)
        if (c.unicode() >= 0xDC80 && c.unicode() <= 0xDCFF)
            return true;
    return false;
}
} // namespace

void appendUtf8(QByteArray& out, QStringView text) {
    if (text.isEmpty())
        return;
    const qsizetype old = out.size();
    const qsizetype need = old + text.size() * 3;
    if (out.capacity() < need)
        out.reserve(std::max(need, out.capacity() * 2));
    out.resize(need);
    QStringEncoder encoder(QStringEncoder::Utf8);
    char* end = encoder.appendToBuffer(out.data() + old, text);
    out.resize(end - out.constData());
}

void appendNative(QByteArray& out, QStringView text) {
    if (hasByteEscapes(text))
        out += toNativePath(text.toString());
    else
        appendUtf8(out, text);
}

QByteArray nativeBytes(QStringView text) {
    QByteArray out;
    appendNative(out, text);
    return out;
}

QByteArray utf8Bytes(QStringView text) {
    QByteArray out;
    appendUtf8(out, text);
    return out;
}

QString fromNative(QByteArrayView bytes) {
    if (isAscii(bytes))
        return QString::fromLatin1(bytes.data(), bytes.size());
    return fromNativePath(QByteArray::fromRawData(bytes.data(), bytes.size()));
}

bool isValidUtf8(QByteArrayView bytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    while (i < n) {
        const unsigned char c = p[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        int len;
        unsigned char lo = 0x80, hi = 0xBF;
        if (c >= 0xC2 && c <= 0xDF) {
            len = 2;
        } else if (c >= 0xE0 && c <= 0xEF) {
            len = 3;
            lo = c == 0xE0 ? 0xA0 : 0x80; // no overlong forms
            hi = c == 0xED ? 0x9F : 0xBF; // no surrogates
        } else if (c >= 0xF0 && c <= 0xF4) {
            len = 4;
            lo = c == 0xF0 ? 0x90 : 0x80;
            hi = c == 0xF4 ? 0x8F : 0xBF; // nothing past U+10FFFF
        } else {
            return false;
        }
        if (i + len > n)
            return false;
        for (int k = 1; k < len; ++k) {
            if (p[i + k] < lo || p[i + k] > hi)
                return false;
            lo = 0x80;
            hi = 0xBF;
        }
        i += len;
    }
    return true;
}

QString fromWindows1252(QByteArrayView bytes) {
    QString out(bytes.size(), Qt::Uninitialized);
    QChar* d = out.data();
    for (qsizetype i = 0; i < bytes.size(); ++i)
        d[i] = QChar(cp1252(static_cast<unsigned char>(bytes[i])));
    return out;
}

QString fromText(QByteArrayView bytes) {
    if (isAscii(bytes))
        return QString::fromLatin1(bytes.data(), bytes.size());
    if (isValidUtf8(bytes))
        return QString::fromUtf8(bytes.data(), bytes.size());
    return fromWindows1252(bytes);
}

QString displayText(QStringView text) {
    if (!hasByteEscapes(text))
        return text.toString();
    QString out = text.toString();
    for (qsizetype i = 0; i < out.size(); ++i) {
        const char16_t u = out.at(i).unicode();
        const bool paired = i > 0 && out.at(i - 1).isHighSurrogate();
        if (u >= 0xDC80 && u <= 0xDCFF && !paired)
            out[i] = QChar(cp1252(static_cast<unsigned char>(u - 0xDC00)));
    }
    return out;
}

QStringView withoutExtension(QStringView fileName) {
    const qsizetype dot = fileName.lastIndexOf(u'.');
    return dot > 0 ? fileName.left(dot) : fileName;
}

void appendCsvField(QByteArray& out, QByteArrayView field, char separator) {
    bool quote = false;
    for (char c : field)
        if (c == separator || c == '"' || c == '\r' || c == '\n') {
            quote = true;
            break;
        }
    if (!quote) {
        out.append(field.data(), field.size());
        return;
    }
    out += '"';
    for (char c : field) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
}

QString escapeMarkup(QStringView input) {
    const QString text = displayText(input);
    QString out;
    out.reserve(text.size() + 8);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const char16_t u = c.unicode();
        if (c.isHighSurrogate()) {
            if (i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
                out += c;
                out += text.at(++i);
            }
            continue; // an unpaired half is no character
        }
        if (c.isLowSurrogate() || u == 0xFFFE || u == 0xFFFF)
            continue;
        if (u < 0x20 && u != '\t' && u != '\n' && u != '\r')
            continue;
        switch (u) {
        case '&':
            out += QLatin1String("&amp;");
            break;
        case '<':
            out += QLatin1String("&lt;");
            break;
        case '>':
            out += QLatin1String("&gt;");
            break;
        case '"':
            out += QLatin1String("&quot;");
            break;
        default:
            out += c;
        }
    }
    return out;
}

namespace {
bool isNameStartChar(char32_t c) {
    return (c >= 'A' && c <= 'Z') || c == '_' || (c >= 'a' && c <= 'z') ||
           (c >= 0xC0 && c <= 0xD6) || (c >= 0xD8 && c <= 0xF6) || (c >= 0xF8 && c <= 0x2FF) ||
           (c >= 0x370 && c <= 0x37D) || (c >= 0x37F && c <= 0x1FFF) ||
           (c >= 0x200C && c <= 0x200D) || (c >= 0x2070 && c <= 0x218F) ||
           (c >= 0x2C00 && c <= 0x2FEF) || (c >= 0x3001 && c <= 0xD7FF) ||
           (c >= 0xF900 && c <= 0xFDCF) || (c >= 0xFDF0 && c <= 0xFFFD) ||
           (c >= 0x10000 && c <= 0xEFFFF);
}
bool isNameChar(char32_t c) {
    return isNameStartChar(c) || c == '-' || c == '.' || (c >= '0' && c <= '9') || c == 0xB7 ||
           (c >= 0x300 && c <= 0x36F) || (c >= 0x203F && c <= 0x2040);
}
} // namespace

QString xmlElementName(QStringView caption) {
    const QString text = displayText(caption);
    QString out;
    // ":" is left out on purpose: it would make the name a namespace prefix.
    for (qsizetype i = 0; i < text.size(); ++i) {
        char32_t c = text.at(i).unicode();
        qsizetype units = 1;
        if (text.at(i).isHighSurrogate() && i + 1 < text.size() &&
            text.at(i + 1).isLowSurrogate()) {
            c = QChar::surrogateToUcs4(text.at(i), text.at(i + 1));
            units = 2;
        }
        const bool ok = out.isEmpty() ? isNameStartChar(c) : isNameChar(c);
        if (ok)
            out += text.mid(i, units);
        else
            out += u'_';
        i += units - 1;
    }
    return out.isEmpty() ? QStringLiteral("_") : out;
}

} // namespace listtext
