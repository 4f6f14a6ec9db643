#include "cli/jsonwriter.h"

#include <cmath>
#include <cstdio>

std::string JsonWriter::quote(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 2);
    out += '"';
    for (char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (u < 0x20) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04x", u);
            out += buf;
        } else {
            out += c;
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
