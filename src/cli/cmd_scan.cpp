// rendolo-cli scan: the rows a pane gets from a folder scan, one per line.
#include "base/nativepath.h"
#include "base/programfolder.h"
#include "base/scripted.h"
#include "base/settings.h"
#include "base/texts.h"
#include "cli/clicommand.h"
#include "cli/rowtext.h"
#include "fileops/fileoperations.h"
#include "lists/folderscanner.h"
#include "lists/songtags.h"

#include <QCoreApplication>

static int run(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    bool recursive = false;
    bool v1Only = false;
    std::vector<std::string> folders;
    for (const std::string& a : args) {
        if (a == "-r")
            recursive = true;
        else if (a == "--v1-only")
            v1Only = true;
        else
            folders.push_back(a);
    }
    if (folders.empty()) {
        err << "usage: rendolo-cli scan [-r] [--v1-only] DIR...\n";
        return 2;
    }
    // The same settings the program reads (" Load ID3 Tag on " decides whether tags are
    // read, " List Shows " which tag the columns come from); --v1-only forces the
    // classic ID3v1 rows for this run.
    Settings settings(resolveProgramFolder(QCoreApplication::applicationDirPath()));
    if (v1Only) {
        settings.setValue("RBListV1", true);
        settings.setValue("RBListV2", false);
    }
    YesNo yesNo;
    FileOperations files;
    SongTags reader(settings, yesNo, files);
    SilentProgress progress;
    FolderScanner scanner([&](SongItem&& item) { out << rowLine(item); }, reader, progress);
    for (const std::string& f : folders)
        scanner.scanFolder(fromNativePath(f), recursive);
    return 0;
}

static CliRegistrar reg({"scan",
                         "scan [-r] [--v1-only] DIR...  the rows a list pane gets from scanning "
                         "the folders (with -r their subfolders too): the 18 column texts "
                         "separated by tabs (backslash, tab, CR, LF inside a text as \\\\ \\t \\r "
                         "\\n); --v1-only takes the tag columns from ID3v1 only",
                         &run});
