#include "media/textcodec.h"

namespace media {

namespace {

void appendUtf8(std::string& out, uint32_t cp) {
    if (cp < 0x80) {
        out += char(cp);
    } else if (cp < 0x800) {
        out += char(0xC0 | (cp >> 6));
        out += char(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += char(0xE0 | (cp >> 12));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    } else {
        out += char(0xF0 | (cp >> 18));
        out += char(0x80 | ((cp >> 12) & 0x3F));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    }
}

constexpr uint32_t kReplacement = 0xFFFD;

// Reads one code point from valid or invalid UTF-8; an invalid sequence yields U+FFFD
// and consumes its longest valid prefix (at least one byte).
uint32_t nextCodePoint(std::string_view s, size_t& i) {
    const auto b0 = uint8_t(s[i]);
    if (b0 < 0x80) {
        ++i;
        return b0;
    }
    int need = 0;
    uint32_t cp = 0;
    uint8_t lo = 0x80, hi = 0xBF;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        need = 1;
        cp = b0 & 0x1F;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        need = 2;
        cp = b0 & 0x0F;
        if (b0 == 0xE0)
            lo = 0xA0;
        if (b0 == 0xED)
            hi = 0x9F;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        need = 3;
        cp = b0 & 0x07;
        if (b0 == 0xF0)
            lo = 0x90;
        if (b0 == 0xF4)
            hi = 0x8F;
    } else {
        ++i;
        return kReplacement;
    }
    ++i;
    for (int k = 0; k < need; ++k) {
        if (i >= s.size())
            return kReplacement;
        const auto b = uint8_t(s[i]);
        if (b < lo || b > hi)
            return kReplacement;
        lo = 0x80;
        hi = 0xBF;
        cp = (cp << 6) | (b & 0x3F);
        ++i;
    }
    return cp;
}

} // namespace

std::string latin1ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (char c : bytes)
        appendUtf8(out, uint8_t(c));
    return out;
}

std::string utf8ToLatin1(std::string_view text, bool* fits) {
    std::string out;
    out.reserve(text.size());
    bool allFit = true;
    for (size_t i = 0; i < text.size();) {
        const uint32_t cp = nextCodePoint(text, i);
        if (cp > 0xFF) {
            out += '?';
            allFit = false;
        } else {
            out += char(cp);
        }
    }
    if (fits)
        *fits = allFit;
    return out;
}

std::string sanitizeUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (size_t i = 0; i < bytes.size();)
        appendUtf8(out, nextCodePoint(bytes, i));
    return out;
}

std::string utf16ToUtf8(std::string_view bytes, bool bigEndianDefault) {
    std::string out;
    out.reserve(bytes.size());
    bool big = bigEndianDefault;
    bool atStart = true;
    uint32_t pendingHigh = 0;
    size_t i = 0;
    for (; i + 1 < bytes.size(); i += 2) {
        const auto a = uint8_t(bytes[i]), b = uint8_t(bytes[i + 1]);
        if (atStart && ((a == 0xFF && b == 0xFE) || (a == 0xFE && b == 0xFF))) {
            big = a == 0xFE;
            atStart = false;
            continue;
        }
        const uint32_t unit = big ? (uint32_t(a) << 8 | b) : (uint32_t(b) << 8 | a);
        atStart = false;
        if (pendingHigh) {
            if (unit >= 0xDC00 && unit <= 0xDFFF) {
                appendUtf8(out, 0x10000 + ((pendingHigh - 0xD800) << 10) + (unit - 0xDC00));
                pendingHigh = 0;
                continue;
            }
            appendUtf8(out, kReplacement);
            pendingHigh = 0;
        }
        if (unit >= 0xD800 && unit <= 0xDBFF) {
            pendingHigh = unit;
        } else if (unit >= 0xDC00 && unit <= 0xDFFF) {
            appendUtf8(out, kReplacement);
        } else {
            appendUtf8(out, unit);
            if (unit == 0)
                atStart = true; // the next value of a list may carry its own mark
        }
    }
    if (pendingHigh)
        appendUtf8(out, kReplacement);
    if (i < bytes.size())
        appendUtf8(out, kReplacement); // a lone trailing byte
    return out;
}

std::string utf8ToUtf16Bom(std::string_view text) {
    std::string out("\xFF\xFE", 2);
    out.reserve(2 + text.size() * 2);
    auto put = [&out](uint32_t unit) {
        out += char(unit & 0xFF);
        out += char(unit >> 8);
    };
    for (size_t i = 0; i < text.size();) {
        const uint32_t cp = nextCodePoint(text, i);
        if (cp >= 0x10000) {
            put(0xD800 + ((cp - 0x10000) >> 10));
            put(0xDC00 + ((cp - 0x10000) & 0x3FF));
        } else {
            put(cp);
        }
    }
    return out;
}

std::string decodeId3Text(uint8_t encoding, std::string_view bytes) {
    switch (encoding) {
    case 0:
        return latin1ToUtf8(bytes);
    case 1:
        return utf16ToUtf8(bytes, false);
    case 2:
        return utf16ToUtf8(bytes, true);
    case 3:
        return sanitizeUtf8(bytes);
    default:
        return latin1ToUtf8(bytes);
    }
}

std::string trimControl(std::string_view text) {
    size_t b = 0, e = text.size();
    while (b < e && uint8_t(text[b]) <= 32)
        ++b;
    while (e > b && uint8_t(text[e - 1]) <= 32)
        --e;
    return std::string(text.substr(b, e - b));
}

std::string trimControlRight(std::string_view text) {
    size_t e = text.size();
    while (e > 0 && uint8_t(text[e - 1]) <= 32)
        --e;
    return std::string(text.substr(0, e));
}

size_t utf8Length(std::string_view text) {
    size_t n = 0;
    for (size_t i = 0; i < text.size();) {
        nextCodePoint(text, i);
        ++n;
    }
    return n;
}

std::string utf8Left(std::string_view text, size_t count) {
    size_t i = 0;
    for (size_t n = 0; n < count && i < text.size(); ++n)
        nextCodePoint(text, i);
    return std::string(text.substr(0, i));
}

} // namespace media
