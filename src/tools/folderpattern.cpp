#include "tools/folderpattern.h"

#include <string_view>

namespace {

bool isFolderLetter(char c) {
    return c == 'A' || c == 'B' || c == 'G' || c == 'S' || c == 'T' || c == 'Y';
}

} // namespace

std::string BuildSubFolder(const std::string& pattern, const FolderFieldLookup& field) {
    if (pattern.empty())
        return {};

    std::string text;
    for (char c : pattern) {
        if (isFolderLetter(c)) {
            if (!field)
                continue;
            for (char v : field(c))
                if (v != '/' && v != '\\' && v != '\0')
                    text += v;
        } else if (c == '/' || c == '\\') {
            if (!text.empty() && text.back() != '/')
                text += '/';
        } else {
            text += c;
        }
    }

    constexpr std::string_view kRemoved = "?*\"<>|";
    std::string cleaned;
    for (char c : text)
        if (kRemoved.find(c) == std::string_view::npos)
            cleaned += c;

    // Keep the levels that name a folder inside the target: "." and ".." (and the empty
    // levels that removed characters can leave) are dropped.
    std::string result;
    std::size_t start = 0;
    while (start <= cleaned.size()) {
        std::size_t end = cleaned.find('/', start);
        if (end == std::string::npos)
            end = cleaned.size();
        const std::string_view level(cleaned.data() + start, end - start);
        if (!level.empty() && level != "." && level != "..") {
            if (!result.empty())
                result += '/';
            result.append(level);
        }
        start = end + 1;
    }

    while (!result.empty() && result.back() == ' ')
        result.pop_back();
    result += '/';
    return result;
}
