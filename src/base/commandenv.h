// The services every command works with. The program builds one before any window;
// rendolo-cli builds one per call. A subsystem whose service arrives later (catalogue,
// lyrics store, player) adds a member here, so commands keep taking this one argument.
#pragma once

#include <QString>

class Catalogue;
class FileOperations;
class Progress;
class Prompt;
class Settings;
class SongTags;
struct YesNo;

struct CommandEnv {
    QString programFolder; // where settings, catalogues and lyrics live; ends with "/"
    Settings& settings;
    Prompt& prompt;        // every question a command asks
    Progress& progress;    // the one progress window (or a silent one), with Cancel
    const YesNo& yesNo;    // "Yes"/"No" in the interface language
    SongTags& tags;        // the one analyser: rows from files and row texts into tags
    FileOperations& files; // every change to a user's file
    // The current catalogue and its one connection; set by whoever builds the
    // environment (the program, rendolo-cli, the tests).
    Catalogue* catalogue = nullptr;
};
