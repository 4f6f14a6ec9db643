// Sub-folders built from a song's fields by a move/copy folder pattern such as "A/B".
#pragma once

#include <functional>
#include <string>

// The song's text for a pattern letter (A, B, G, S, T, Y); "" when the song has no such
// column.
using FolderFieldLookup = std::function<std::string(char letter)>;

// The sub-folder of a song, relative to the chosen target folder, ending in exactly one "/"
// ("" for an empty pattern; "/" when nothing is left). Upper-case A, B, G, S, T, Y insert
// the song's fields; "/" and "\" both separate folder levels; lower-case letters and all
// other characters are literal. The characters ? * " < > | are removed. A value never adds
// a level or leaves the target folder: "/", "\" and NUL are removed from values, and a
// level that ends up as "." or ".." is dropped.
std::string BuildSubFolder(const std::string& pattern, const FolderFieldLookup& field);
