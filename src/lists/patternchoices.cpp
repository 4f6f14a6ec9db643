#include "lists/patternchoices.h"

namespace {
using K = PatternChoice::Kind;
constexpr const char* kSeparator = "- - - - - - - - - - -";
} // namespace

const QList<PatternChoice>& fileNameChoices() {
    static const QList<PatternChoice> choices = {
        {"Artist - Song Title.mp3", "A - S", K::Pattern},
        {"Artist - Album - Song Title.mp3", "A - B - S", K::Pattern},
        {"[Track] - Song Title.mp3", "[T] - S", K::Pattern},
        {"Song Title - Artist.mp3", "S - A", K::Pattern},
        {"Song Title.mp3", "S", K::Pattern},
        {kSeparator, "", K::Separator},
        {"Custom", "", K::Custom},
        {"Automatically", "Auto", K::Pattern},
    };
    return choices;
}

const QList<PatternChoice>& folderChoices() {
    static const QList<PatternChoice> choices = {
        {"Normal", "", K::Pattern},
        {"Artist sub Directory", "A", K::Pattern},
        {"Album sub Directory", "B", K::Pattern},
        {"Genre sub Directory", "G", K::Pattern},
        {"Artist/Album/", "A/B", K::Pattern},
        {"Genre/Artist/", "G/A", K::Pattern},
        {kSeparator, "", K::Separator},
        {"Custom", "", K::Custom},
    };
    return choices;
}

int choiceIndex(const QList<PatternChoice>& choices, const QString& text) {
    for (int i = 0; i < choices.size(); ++i)
        if (text == QLatin1String(choices[i].text))
            return i;
    for (int i = 0; i < choices.size(); ++i)
        if (text.compare(QLatin1String(choices[i].text), Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

int customChoiceIndex(const QList<PatternChoice>& choices) {
    for (int i = 0; i < choices.size(); ++i)
        if (choices[i].kind == K::Custom)
            return i;
    return -1;
}

bool patternHasCommand(const QString& pattern) {
    for (QChar c : pattern)
        if (QStringView(u"ABGSTY").contains(c))
            return true;
    return false;
}
