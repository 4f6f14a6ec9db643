#include "cli/jsonwriter.h"

#include <cmath>
#include <cstdio>

namespace {

// Length of the valid UTF-8 sequence at text[i], 0 when the byte there starts none.
size_t utf8SequenceLength(std::string_view text, size_t i) {
    const auto b0 = static_cast<unsigned char>(text[i]);
    size_t n;
    unsigned char lo = 0x80, hi = 0xBF;
    if (b0 < 0x80)
        return 1;
    if (b0 >= 0xC2 && b0 <= 0xDF)
        n = 2;
    else if (b0 >= 0xE0 && b0 <= 0xEF) {
        n = 3;
        lo = b0 == 0xE0 ? 0xA0 : 0x80;
        hi = b0 == 0xED ? 0x9F : 0xBF;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        n = 4;
        lo = b0 == 0xF0 ? 0x90 : 0x80;
        hi = b0 == 0xF4 ? 0x8F : 0xBF;
    } else
        return 0;
    if (i + n > text.size())
        return 0;
    for (size_t k = 1; k < n; ++k) {
        const auto b = static_cast<unsigned char>(text[i + k]);
        if (b < lo || b > hi)
            return 0;
        lo = 0x80;
        hi = 0xBF;
    }
    return n;
}

} // namespace

std::string JsonWriter::quote(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 2);
    out += '"';
    for (size_t i = 0; i < text.size();) {
        const char c = text[i];
        const auto u = static_cast<unsigned char>(c);
        char buf[8];
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
            ++i;
        } else if (u < 0x20) {
            std::snprintf(buf, sizeof buf, "\\u%04x", u);
            out += buf;
            ++i;
        } else if (const size_t n = utf8SequenceLength(text, i); n > 0) {
            out.append(text.substr(i, n));
            i += n;
        } else {
            // A byte that is not UTF-8 (a file name in another encoding) is written as
            // the lone surrogate U+DC00 + byte, the usual way of carrying such bytes.
            std::snprintf(buf, sizeof buf, "\\udc%02x", u);
            out += buf;
            ++i;
        }
    }
    out += '"';
    return out;
}

void JsonWriter::key(std::string_view name) {
    if (!m_first)
        m_text += ", ";
    m_first = false;
    if (!name.empty()) {
        m_text += quote(name);
        m_text += ": ";
    }
}

void JsonWriter::beginObject(std::string_view name) {
    key(name);
    m_text += '{';
    m_first = true;
}

void JsonWriter::endObject() {
    m_text += '}';
    m_first = false;
}

void JsonWriter::field(std::string_view name, std::string_view value) {
    key(name);
    m_text += quote(value);
}

void JsonWriter::field(std::string_view name, bool value) {
    key(name);
    m_text += value ? "true" : "false";
}

void JsonWriter::field(std::string_view name, int64_t value) {
    key(name);
    m_text += std::to_string(value);
}

void JsonWriter::field(std::string_view name, double value) {
    key(name);
    if (!std::isfinite(value)) {
        m_text += "null";
        return;
    }
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.17g", value);
    std::string s(buf);
    if (s.find_first_of(".eE") == std::string::npos)
        s += ".0"; // stays a floating-point number for the reader
    m_text += s;
}

void JsonWriter::field(std::string_view name, const std::vector<std::string>& values) {
    key(name);
    m_text += '[';
    for (size_t i = 0; i < values.size(); ++i) {
        if (i)
            m_text += ", ";
        m_text += quote(values[i]);
    }
    m_text += ']';
}
