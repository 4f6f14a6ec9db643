#include "benchfiles.h"

#include <algorithm>
#include <filesystem>

std::vector<std::string> mp3FilesUnder(const std::string& folder) {
    std::vector<std::string> files;
    std::error_code ec;
    for (auto it = std::filesystem::recursive_directory_iterator(folder, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
        if (!it->is_regular_file(ec))
            continue;
        std::string ext = it->path().extension().string();
        std::transform(ext.begin(), ext.end(), ext.begin(), ::tolower);
        if (ext == ".mp3")
            files.push_back(it->path().string());
    }
    std::sort(files.begin(), files.end());
    return files;
}
