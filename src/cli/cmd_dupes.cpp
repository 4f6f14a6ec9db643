// rendolo-cli dupes: the duplicate finder over the files of folder scans.
#include "cli/clicommand.h"
#include "lists/folderlisting.h"
#include "tools/duplicatefinder.h"
#include "tools/stringcompare.h"

#include <charconv>
#include <string>

namespace {

struct Song {
    std::string path;
    std::string fileName;
};

void collect(const std::vector<std::string>& folders, bool recursive, std::vector<Song>& songs) {
    for (const auto& folder : folders)
        ScanFolderFiles(folder, recursive, [&](const ScannedFile& f) {
            songs.push_back({f.folder + f.fileName, f.fileName});
            return true;
        });
}

std::vector<std::string> namesOf(const std::vector<Song>& songs) {
    std::vector<std::string> names;
    names.reserve(songs.size());
    for (const auto& s : songs)
        names.push_back(s.fileName);
    return names;
}

// Two decimals and a full stop, whatever the locale.
std::string percentText(double percent) {
    char buffer[64];
    const auto r =
        std::to_chars(buffer, buffer + sizeof buffer, percent, std::chars_format::fixed, 2);
    return std::string(buffer, r.ptr);
}

} // namespace

static int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    static const char* kUsage =
        "usage: rendolo-cli dupes [--threshold N] [-r] DIR... [--other DIR...]\n";
    double threshold = 85.0;
    bool recursive = false;
    bool other = false;
    std::vector<std::string> firstFolders;
    std::vector<std::string> secondFolders;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--threshold") {
            if (i + 1 >= args.size()) {
                err << kUsage;
                return 2;
            }
            const std::string& v = args[++i];
            const auto r = std::from_chars(v.data(), v.data() + v.size(), threshold);
            if (r.ec != std::errc() || r.ptr != v.data() + v.size() || !(threshold > 0.0) ||
                threshold > 100.0) {
                err << "dupes: the threshold must be a number above 0 and at most 100\n";
                return 2;
            }
        } else if (a == "-r") {
            recursive = true;
        } else if (a == "--other") {
            other = true;
        } else {
            (other ? secondFolders : firstFolders).push_back(a);
        }
    }
    if (firstFolders.empty()) {
        err << kUsage;
        return 2;
    }

    TStringCompare compare;
    compare.SetPercentage(threshold);
    const DuplicateFinder finder(compare);

    std::vector<Song> first;
    std::vector<Song> second;
    collect(firstFolders, recursive, first);
    if (other)
        collect(secondFolders, recursive, second);
    const std::vector<Song>& right = other ? second : first;
    const auto print = [&](const DuplicatePair& p) {
        out << percentText(p.percent) << '\t' << first[p.first].path << '\t' << right[p.second].path
            << '\n';
    };
    if (other)
        finder.FindOther(namesOf(first), namesOf(second), print);
    else
        finder.FindItself(namesOf(first), print);
    return 0;
}

static CliRegistrar reg({"dupes",
                         "dupes [--threshold N] [-r] DIR... [--other DIR...]  similar file names "
                         "within the folders or between the two groups: PERCENT, PATH, PATH",
                         &run});
