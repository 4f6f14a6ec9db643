// rendolo-cli tag [--v1] [--v2] [--remove-v1] FIELD=VALUE... FILE...
// Sets tag fields through the same ID3v1/ID3v2 Save and Strip the program uses. Prints
// per file "ok: FILE: ..." or "failed: FILE: ..." with what happened to each tag, then
// one "note: FILE: ..." line per thing the new ID3v2 tag left out on purpose (frames
// an ID3v2.3 tag cannot hold) or per other name of the file that keeps the old tag.
#include "cli/clicommand.h"

#include "media/mediafile.h"
#include "media/mpegaudio.h"

#include <map>
#include <optional>

namespace {

const char* const kBothFields[] = {"title", "artist", "album", "year", "comment", "track", "genre"};
const char* const kV2Fields[] = {"composer", "encoder", "copyright", "language", "link"};

bool isField(const std::string& name, bool v2Only) {
    for (const char* f : kBothFields)
        if (!v2Only && name == f)
            return true;
    for (const char* f : kV2Fields)
        if (name == f)
            return true;
    return false;
}

std::optional<int> number(const std::string& text, int max) {
    if (text.empty() || text.size() > 3)
        return std::nullopt;
    int v = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        v = v * 10 + (c - '0');
    }
    if (v > max)
        return std::nullopt;
    return v;
}

struct Request {
    bool v1 = false, v2 = false, removeV1 = false;
    std::map<std::string, std::string> fields;
    std::vector<std::string> files;
    uint8_t track = 0;
    uint8_t genreIndex = TID3v1::NoGenre;
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
                   !filesOnly && eq != std::string::npos && isField(a.substr(0, eq), false)) {
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
            if (isField(name, true))
                return "the field " + name + " exists only in the ID3v2 tag";
    if (auto it = r.fields.find("track"); it != r.fields.end() && !it->second.empty()) {
        const auto n = number(it->second, 255);
        if (!n)
            return "track must be a number from 0 to 255";
        r.track = uint8_t(*n);
    }
    if (auto it = r.fields.find("genre"); it != r.fields.end() && r.v1 && !it->second.empty()) {
        const auto n = number(it->second, 255);
        const int byName = GenreIndexOf(it->second);
        if (!n && byName < 0)
            return "unknown ID3v1 genre " + it->second +
                   " (give a name of the genre list or a number)";
        r.genreIndex = uint8_t(n ? *n : byName);
    }
    return {};
}

void applyV1(const Request& r, TID3v1& t) {
    for (const auto& [name, value] : r.fields) {
        if (name == "title")
            t.SetTitle(value);
        else if (name == "artist")
            t.SetArtist(value);
        else if (name == "album")
            t.SetAlbum(value);
        else if (name == "year")
            t.SetYear(value);
        else if (name == "comment")
            t.SetComment(value);
        else if (name == "track")
            t.SetTrack(r.track);
        else if (name == "genre")
            t.SetGenreIndex(r.genreIndex);
    }
}

void applyV2(const Request& r, TID3v2& t) {
    for (const auto& [name, value] : r.fields) {
        if (name == "title")
            t.SetTitle(value);
        else if (name == "artist")
            t.SetArtist(value);
        else if (name == "album")
            t.SetAlbum(value);
        else if (name == "year")
            t.SetYear(value);
        else if (name == "comment")
            t.SetComment(value);
        else if (name == "track")
            t.SetTrack(r.track);
        else if (name == "genre")
            t.SetGenre(value);
        else if (name == "composer")
            t.SetComposer(value);
        else if (name == "encoder")
            t.SetEncoder(value);
        else if (name == "copyright")
            t.SetCopyright(value);
        else if (name == "language")
            t.SetLanguage(value);
        else if (name == "link")
            t.SetLink(value);
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
    int failed = 0;
    for (const auto& file : r.files) {
        // Each tag is its own save: the line tells what happened to each, so that a
        // file changed by one save and refused by the next is not reported as untouched.
        std::vector<std::string> done;
        std::vector<std::string> notes;
        bool ok = true;
        auto outcome = [&](const char* what, bool saved, const media::SaveReport& report) {
            if (saved) {
                done.push_back(std::string(what) + " written");
                notes.insert(notes.end(), report.notes.begin(), report.notes.end());
            } else {
                ok = false;
                done.push_back(std::string(what) + " not written (" + report.error + ")");
            }
        };
        if (r.v2) {
            TID3v2& t = analyser.Tag2();
            media::SaveReport report;
            if (!t.Load(file)) {
                report.error = "cannot read the file";
                outcome("ID3v2 tag", false, report);
            } else {
                applyV2(r, t);
                outcome("ID3v2 tag", t.Save(file, &report), report);
            }
        }
        if (r.v1) {
            TID3v1& t = analyser.Tag1();
            media::SaveReport report;
            if (!t.Load(file)) {
                report.error = "cannot read the file; an ID3v1 tag needs at least 128 bytes";
                outcome("ID3v1 tag", false, report);
            } else {
                applyV1(r, t);
                outcome("ID3v1 tag", t.Save(file, &report), report);
            }
        }
        if (r.removeV1) {
            media::SaveReport report;
            const bool removed = analyser.Tag1().Strip(file, &report);
            if (removed)
                done.push_back("ID3v1 tag removed (if there was one)");
            else {
                ok = false;
                done.push_back("ID3v1 tag not removed (" + report.error + ")");
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
