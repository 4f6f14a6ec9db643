// The language files that come with the program.
#pragma once

#include <QString>

// Copies every shipped language file (from the folder `from`, by default the
// program's resources) into <programFolder>/language/ unless a file of that name
// (without regard to case) is already there. Returns how many were copied.
// The resources live in the window library: call initLanguageResources() (ui)
// first when using the default source.
int installShippedLanguages(const QString& programFolder,
                            const QString& from = QStringLiteral(":/language"));
