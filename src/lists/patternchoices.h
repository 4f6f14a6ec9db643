// The entries of the two pattern lists of the settings window, which the ID3 Tags
// menu's "Type Of Conversion" and the Edit menu's "(Move / Copy) Type" repeat.
#pragma once

#include <QList>
#include <QString>

struct PatternChoice {
    enum class Kind { Pattern, Separator, Custom };
    const char* text;    // the entry's caption
    const char* pattern; // the pattern it stands for (Kind::Pattern only)
    Kind kind;
};

// "Prefered Mp3 File Format:" entries (stored as Mp3FileFormat / Mp3FileFormat_text).
const QList<PatternChoice>& fileNameChoices();
// "Move / Copy Directory Structure" entries (MoveCopyFileFormat / CBDirStruct_skip_).
const QList<PatternChoice>& folderChoices();
// The entry with the given caption (exact, else without regard to case); -1 if none.
int choiceIndex(const QList<PatternChoice>& choices, const QString& text);
// The index of the "Custom" entry.
int customChoiceIndex(const QList<PatternChoice>& choices);
// True when a typed pattern holds at least one command letter A, B, G, S, T or Y.
bool patternHasCommand(const QString& pattern);
