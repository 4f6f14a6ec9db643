// rendolo-cli tag [--v1] [--v2] [--remove-v1] FIELD=VALUE... FILE...
// Sets tag fields through the same ID3v1/ID3v2 Save and Strip the program uses. Prints
// per file "ok: FILE: ..." or "failed: FILE: ..." with what happened to each tag, then
// one "note: FILE: ..." line per thing the new ID3v2 tag left out on purpose (frames
// an ID3v2.3 tag cannot hold) or per other name of the file that keeps the old tag.
#include "cli/clicommand.h"

#include "base/nativepath.h"
#include "fileops/fileoperations.h"
#include "media/mpegaudio.h"
#include "media/tagfields.h"

#include <map>
#include <type_traits>

namespace {

struct Request {
    bool v1 = false, v2 = false, removeV1 = false;
    std::map<std::string, std::string> fields; // by the tag-field table's names
    std::vector<std::string> files;
};

// Returns an error text, empty when the arguments are usable.
std::string parse(const std::vector<std::string>& args, Request& r) {
    bool filesOnly = false;
    for (const auto& a : args) {
        if (!filesOnly && a == "--") {
            filesOnly = true;
        } else if (!filesOnly && a == "--v1") {
            r.v1 = true;
        } else if (!filesOnly && a == "--v2") {
            r.v2 = true;
        } else if (!filesOnly && a == "--remove-v1") {
            r.removeV1 = true;
        } else if (!filesOnly && a.size() > 2 && a[0] == '-' && a[1] == '-') {
            return "unknown option " + a;
        } else if (const auto eq = a.find('=');
                   !filesOnly && eq != std::string::npos && FindTagField(a.substr(0, eq))) {
            r.fields[a.substr(0, eq)] = a.substr(eq + 1);
        } else {
            r.files.push_back(a);
        }
    }
    if (!r.v1 && !r.v2 && !r.removeV1) {
        r.v1 = r.v2 = true; // no tag named: both
    } else if (!r.v1 && !r.v2 && r.removeV1 && !r.fields.empty()) {
        r.v2 = true; // fields with --remove-v1 alone go to the ID3v2 tag
    }
    if (r.v1 && r.removeV1)
        return "--v1 and --remove-v1 exclude each other";
    if (r.files.empty())
        return "no files given";
    if (r.fields.empty() && !r.removeV1)
        return "no FIELD=VALUE given";
    if (!r.v2)
        for (const auto& [name, value] : r.fields)
            if (!InId3v1(FindTagField(name)->field))
                return "the field " + name + " exists only in the ID3v2 tag";
    if (auto it = r.fields.find("track");
        it != r.fields.end() && !it->second.empty() && !ParseTrackByte(it->second))
        return "track must be a number from 0 to 255";
    if (auto it = r.fields.find("genre");
        it != r.fields.end() && r.v1 && !ParseGenreByte(it->second, true))
        return "unknown ID3v1 genre " + it->second + " (give a name of the genre list or a number)";
    return {};
}

template <typename Tag> void apply(const Request& r, Tag& t) {
    for (const auto& [name, value] : r.fields)
        SetField(t, FindTagField(name)->field, value);
    if constexpr (std::is_same_v<Tag, TID3v1>) {
        // The command line also takes a genre by its number.
        if (auto it = r.fields.find("genre"); it != r.fields.end())
            t.SetGenreIndex(ParseGenreByte(it->second, true).value_or(TID3v1::NoGenre));
    }
}

int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    Request r;
    if (const std::string problem = parse(args, r); !problem.empty()) {
        err << "rendolo-cli tag: " << problem << "\n"
            << "usage: rendolo-cli tag [--v1] [--v2] [--remove-v1] FIELD=VALUE... FILE...\n";
        return 2;
    }
    TMPEGaudio analyser; // its Tag1 and Tag2 are the program's tag objects
    FileOperations files;
    int failed = 0;
    for (const auto& file : r.files) {
        // Each tag is its own save: the line tells what happened to each, so that a
        // file changed by one save and refused by the next is not reported as untouched.
        std::vector<std::string> done;
        std::vector<std::string> notes;
        bool ok = true;
        const QString path = fromNativePath(file);
        auto outcome = [&](const char* what, const FileOperations::Result& result) {
            if (result.ok) {
                done.push_back(std::string(what) + " written");
                for (const QString& n : result.notes)
                    notes.push_back(n.toStdString());
            } else {
                ok = false;
                done.push_back(std::string(what) + " not written (" + result.error.toStdString() +
                               ")");
            }
        };
        if (r.v2) {
            TID3v2& t = analyser.Tag2();
            if (!t.Load(file)) {
                outcome("ID3v2 tag", FileOperations::Result::failure("cannot read the file"));
            } else {
                apply(r, t);
                outcome("ID3v2 tag", files.saveId3v2(t, path));
            }
        }
        if (r.v1) {
            TID3v1& t = analyser.Tag1();
            if (!t.Load(file)) {
                outcome("ID3v1 tag",
                        FileOperations::Result::failure(
                            "cannot read the file; an ID3v1 tag needs at least 128 bytes"));
            } else {
                apply(r, t);
                outcome("ID3v1 tag", files.saveId3v1(t, path));
            }
        }
        if (r.removeV1) {
            const FileOperations::Result removed = files.stripId3v1(analyser.Tag1(), path);
            if (removed.ok) {
                done.push_back("ID3v1 tag removed (if there was one)");
            } else {
                ok = false;
                done.push_back("ID3v1 tag not removed (" + removed.error.toStdString() + ")");
            }
        }
        out << (ok ? "ok: " : "failed: ") << file << ":";
        for (size_t i = 0; i < done.size(); ++i)
            out << (i ? "; " : " ") << done[i];
        out << "\n";
        for (const auto& n : notes)
            out << "note: " << file << ": " << n << "\n";
        if (!ok)
            ++failed;
    }
    return failed ? 1 : 0;
}

} // namespace

static CliRegistrar reg({"tag",
                         "tag [--v1] [--v2] [--remove-v1] FIELD=VALUE... FILE...  write tag fields "
                         "(title artist album year comment track genre; ID3v2 also composer "
                         "encoder copyright language link)",
                         &run});
