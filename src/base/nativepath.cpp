#include "base/nativepath.h"

namespace {
// Length of the valid UTF-8 sequence starting at p, or 0.
int utf8Length(const unsigned char* p, qsizetype left) {
    const unsigned char c = p[0];
    int n = 0;
    char32_t cp = 0;
    if (c < 0x80)
        return 1;
    if (c >= 0xC2 && c <= 0xDF) {
        n = 2;
        cp = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
        n = 3;
        cp = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
        n = 4;
        cp = c & 0x07;
    } else {
        return 0;
    }
    if (left < n)
        return 0;
    for (int i = 1; i < n; ++i) {
        if ((p[i] & 0xC0) != 0x80)
            return 0;
        cp = (cp << 6) | (p[i] & 0x3F);
    }
    // Overlong forms, surrogates and values past U+10FFFF are not valid.
    if ((n == 3 && cp < 0x800) || (n == 4 && (cp < 0x10000 || cp > 0x10FFFF)) ||
        (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    return n;
}
} // namespace

QString fromNativePath(const QByteArray& bytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
    const qsizetype size = bytes.size();
    QString out;
    out.reserve(size);
    qsizetype i = 0;
    while (i < size) {
        // Runs of valid text convert in one go.
        qsizetype j = i;
        int n = 0;
        while (j < size && (n = utf8Length(p + j, size - j)) > 0)
            j += n;
        if (j > i)
            out += QString::fromUtf8(bytes.constData() + i, j - i);
        if (j < size) {
            out += QChar(char16_t(0xDC00 + p[j]));
            ++j;
        }
        i = j;
    }
    return out;
}

QString fromNativePath(const std::string& bytes) {
    return fromNativePath(QByteArray::fromRawData(bytes.data(), qsizetype(bytes.size())));
}

QByteArray toNativePath(const QString& path) {
    bool escapes = false;
    for (QChar c : path)
        if (c.unicode() >= 0xDC80 && c.unicode() <= 0xDCFF) {
            escapes = true;
            break;
        }
    if (!escapes)
        return path.toUtf8();
    QByteArray out;
    out.reserve(path.size());
    qsizetype i = 0;
    const qsizetype size = path.size();
    while (i < size) {
        qsizetype j = i;
        // A lone low surrogate in U+DC80..U+DCFF stands for one raw byte.
        const auto escaped = [&](qsizetype k) {
            const char16_t u = path.at(k).unicode();
            return u >= 0xDC80 && u <= 0xDCFF && (k == 0 || !path.at(k - 1).isHighSurrogate());
        };
        while (j < size && !escaped(j))
            ++j;
        if (j > i)
            out += QStringView(path).mid(i, j - i).toUtf8();
        if (j < size) {
            out += char(path.at(j).unicode() - 0xDC00);
            ++j;
        }
        i = j;
    }
    return out;
}

std::string toNativePathString(const QString& path) {
    return toNativePath(path).toStdString();
}
