// A small writer for one-line JSON objects (rendolo-cli output).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class JsonWriter {
public:
    void beginObject(std::string_view key = {});
    void endObject();
    void field(std::string_view key, std::string_view value);
    void field(std::string_view key, const char* value) { field(key, std::string_view(value)); }
    void field(std::string_view key, bool value);
    void field(std::string_view key, int64_t value);
    void field(std::string_view key, int value) { field(key, int64_t(value)); }
    void field(std::string_view key, unsigned value) { field(key, int64_t(value)); }
    void field(std::string_view key, double value);
    // An array of strings.
    void field(std::string_view key, const std::vector<std::string>& values);

    const std::string& text() const { return m_text; }

    // A JSON string literal for UTF-8 text; control characters as \u00XX.
    static std::string quote(std::string_view text);

private:
    void key(std::string_view name);

    std::string m_text;
    bool m_first = true;
};
