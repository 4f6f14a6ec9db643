// File-name patterns: split a file name into song fields by a pattern such as "A - S",
// derive a pattern from a name ("Auto"), and build a name from field values.
//
// Pattern letters (upper case only): A artist, B album, G genre, S song title, T track,
// Y year. Every other character of a pattern stands for itself.
#pragma once

#include <string>
#include <vector>

// The state of one parse, reused between calls.
struct TOMp3Format {
    std::string CachedName; // the last parsed file name, lower-cased (also set by BuildFromPattern)
    std::string CachedPattern; // the pattern of the last parse as given ("Auto" stays "Auto")
    std::string FoundLetters;  // letters that received a non-empty value, in the order found
    int ValueCount = 0;        // number of entries in Values
    int TokenCount = 0;        // number of entries in Separators
    std::string PatArtist, PatAlbum, PatTitle, PatYear, PatGenre,
        PatTrack;                        // first value per letter
    std::vector<std::string> Values;     // Values[i] is the value of FoundLetters[i]
    std::vector<std::string> Separators; // the literal runs in pattern order

    // The name exactly as given to the parse the fields hold; the cache is used only for
    // this very name (two names that differ only in letter case are two different files).
    std::string ParsedName;
    bool HasParse = false;
};

// The pattern name that asks ParseFileName to derive the pattern from each name.
inline constexpr const char* kAutoPattern = "Auto";

bool IsPatternLetter(char c);

// The record's field for a pattern letter (A, B, G, S, T, Y; upper case), or nullptr.
std::string* PatternField(TOMp3Format& format, char letter);
const std::string* PatternField(const TOMp3Format& format, char letter);

// Parses fileName by pattern into format (unless it already holds that parse) and returns
// the value of letter (A, B, S, T, G, Y in either case), or "" for any other letter or 0.
// A name without extension is parsed as if it ended in ".mp3". Text before the pattern's
// leading literal belongs to no letter: it is cut off and not reported as a value.
std::string ParseFileName(TOMp3Format& format, const std::string& fileName,
                          const std::string& pattern, char letter = 0);

// The pattern that the name suggests: "01 - Artist - Song.mp3" gives "T - A - S.mp3".
std::string AutoPattern(const std::string& name);

// The pattern with each letter replaced by the record's value for it (values are not scanned
// again). The result is also stored in CachedName; it drops the cached parse.
std::string BuildFromPattern(TOMp3Format& format, const std::string& pattern);

enum class CleanForm {
    File,   // remove / \ : * " < > | ? '
    Folder, // keep the folder separators and ":", remove "." instead: . * " < > | ? '
};

// The text without the characters a file (or folder) name may not hold.
std::string CleanFileName(const std::string& text, CleanForm form = CleanForm::File);
