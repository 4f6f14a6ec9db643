#include "lists/fileformat.h"

#include <string_view>

namespace {

std::string asciiLower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return s;
}

// Position of the extension's dot in a file name, or npos when there is none.
std::size_t extensionDot(const std::string& name) {
    const std::size_t dot = name.rfind('.');
    if (dot == std::string::npos)
        return dot;
    const std::size_t slash = name.find_last_of("/\\");
    if (slash != std::string::npos && slash > dot)
        return std::string::npos;
    return dot;
}

bool isAutoSeparator(char c) {
    return c == ' ' || c == '-' || c == '.' || c == '[' || c == ']' || c == '_';
}

bool isDigitsOnly(const std::string& s) {
    for (char c : s)
        if (c < '0' || c > '9')
            return false;
    return !s.empty();
}

} // namespace

bool IsPatternLetter(char c) {
    return c == 'A' || c == 'B' || c == 'G' || c == 'S' || c == 'T' || c == 'Y';
}

std::string* PatternField(TOMp3Format& format, char letter) {
    switch (letter) {
    case 'A':
        return &format.PatArtist;
    case 'B':
        return &format.PatAlbum;
    case 'G':
        return &format.PatGenre;
    case 'S':
        return &format.PatTitle;
    case 'T':
        return &format.PatTrack;
    case 'Y':
        return &format.PatYear;
    default:
        return nullptr;
    }
}

const std::string* PatternField(const TOMp3Format& format, char letter) {
    return PatternField(const_cast<TOMp3Format&>(format), letter);
}

std::string ParseFileName(TOMp3Format& format, const std::string& fileName,
                          const std::string& pattern, char letter) {
    const bool cached =
        format.HasParse && format.ParsedName == fileName && format.CachedPattern == pattern;
    if (!cached) {
        std::string work = fileName;
        if (extensionDot(work) == std::string::npos)
            work += ".mp3";
        const std::string extension = work.substr(extensionDot(work));

        std::string patternText = pattern;
        if (pattern == kAutoPattern) {
            patternText = AutoPattern(work);
            const std::size_t dot = patternText.rfind('.');
            if (dot != std::string::npos)
                patternText.resize(dot);
        }
        // The blank only terminates the last literal run.
        patternText += extension + " ";

        format.CachedPattern = pattern;
        format.FoundLetters.clear();
        format.ValueCount = 0;
        format.TokenCount = 0;
        format.Values.clear();
        format.Separators.clear();
        for (char l : std::string_view("ABGSTY"))
            PatternField(format, l)->clear();

        char current = 0; // no letter yet
        std::string run;
        for (std::size_t k = 0; k < patternText.size(); ++k) {
            const char c = patternText[k];
            const bool isLetter = IsPatternLetter(c);
            if (!isLetter && k + 1 < patternText.size()) {
                run += c;
                continue;
            }
            if (!run.empty()) {
                format.Separators.push_back(run);
                const std::size_t at = work.find(run);
                const std::string value =
                    at == std::string::npos ? std::string() : work.substr(0, at);
                if (std::string* field = PatternField(format, current); field && field->empty())
                    *field = value;
                if (!value.empty()) {
                    work.erase(0, value.size());
                    if (current != 0) {
                        format.FoundLetters += current;
                        format.Values.push_back(value);
                        ++format.ValueCount;
                    }
                }
                if (work.starts_with(run))
                    work.erase(0, run.size());
                ++format.TokenCount;
                run.clear();
            }
            current = isLetter ? c : 0;
        }
        format.ParsedName = fileName;
        format.HasParse = true;
    }
    format.CachedName = asciiLower(fileName);

    char upper = letter;
    if (upper >= 'a' && upper <= 'z')
        upper = static_cast<char>(upper - 'a' + 'A');
    const std::string* field = PatternField(format, upper);
    return field ? *field : std::string();
}

std::string AutoPattern(const std::string& name) {
    std::string pattern;
    std::string word;
    std::string run;
    int plainWords = 0;
    for (char c : name) {
        if (isAutoSeparator(c)) {
            run += c;
            continue;
        }
        if (run.empty()) {
            word += c;
        } else if (run == " " || run == "_") {
            word += run;
            word += c;
            run.clear();
        } else {
            if (!word.empty()) {
                char letter;
                if (isDigitsOnly(word)) {
                    letter = word.size() <= 2 ? 'T' : 'Y';
                } else {
                    static constexpr char kPlain[] = {'A', 'S', 'B', 'G'};
                    letter = kPlain[plainWords % 4];
                    ++plainWords;
                }
                pattern += letter;
            }
            pattern += run;
            run.clear();
            word.assign(1, c);
        }
    }
    pattern += word;
    return pattern;
}

std::string BuildFromPattern(TOMp3Format& format, const std::string& pattern) {
    std::string result;
    for (char c : pattern) {
        if (const std::string* field = PatternField(format, c))
            result += *field;
        else
            result += c;
    }
    format.CachedName = result;
    format.HasParse = false;
    return result;
}

std::string CleanFileName(const std::string& text, CleanForm form) {
    const std::string_view removed =
        form == CleanForm::File ? std::string_view("/\\:*\"<>|?'") : std::string_view(".*\"<>|?'");
    std::string out;
    out.reserve(text.size());
    for (char c : text)
        if (removed.find(c) == std::string_view::npos)
            out += c;
    return out;
}
