// A command environment for tests: settings in a given program folder, scripted
// answers and progress, the real analyser and file operations.
#pragma once

#include "base/commandenv.h"
#include "base/scripted.h"
#include "base/settings.h"
#include "base/texts.h"
#include "catalog/catalogue.h"
#include "fileops/fileoperations.h"
#include "lists/songtags.h"

struct TestEnv {
    explicit TestEnv(const QString& programFolder)
        : settings(programFolder),
          tags(settings, yesNo, files), env{programFolder, settings, prompt, progress,
                                            yesNo,         tags,     files},
          catalogue(programFolder) {
        env.catalogue = &catalogue;
    }

    Settings settings;
    ScriptedPrompt prompt;
    ScriptedProgress progress;
    YesNo yesNo;
    FileOperations files;
    SongTags tags;
    CommandEnv env;
    Catalogue catalogue;
};
