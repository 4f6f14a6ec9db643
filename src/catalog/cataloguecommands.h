// The catalogue commands of the "Database" menu and their share of start-up and exit:
// saving a pane or a scanned folder under a recognition key, loading rows back,
// creating and compacting catalogue files.
#pragma once

#include "catalog/storefile.h"
#include "lists/songitem.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <vector>

class CatalogueStore;
class Progress;
class SongListModel;
struct CommandEnv;
struct YesNo;

// Saving rows under a key in one transaction, with the progress window "saveDB" and
// "(n%)" per row. Cancel keeps (commits) the rows saved so far; an error keeps none
// and names the row and the reason.
struct SaveResult {
    StoreStatus status;
    int saved = 0;
    bool cancelled = false;
    int failedRow = -1; // the row whose insert failed
};
SaveResult saveRows(CatalogueStore& store, const QString& key, const std::vector<SongItem>& rows,
                    const YesNo& yesNo, Progress& progress);
// The message for a failed save: the row and its file name when the row itself was
// refused, else only the reason (a lock, a read-only file, a full disc).
QString saveFailureText(const SaveResult& result, const QString& key,
                        const std::vector<SongItem>& rows);

// Loading the rows under a key (or all) in saved order with the progress window
// "loadDB"; `namesOnly` gives every field but the file name as one blank. Cancel
// stops before the next row; the rows so far stay.
struct LoadResult {
    StoreStatus status;
    int loaded = 0;
    bool cancelled = false;
};
LoadResult loadRows(CatalogueStore& store, const std::optional<QString>& key, bool namesOnly,
                    const YesNo& yesNo, Progress& progress,
                    const std::function<void(SongItem&&)>& sink);

// AskRecognitionKey: asks for a key until one is not in use; false when the user
// cancels, answers No, or the catalogue cannot be read (a message says why).
bool askRecognitionKey(CommandEnv& env, CatalogueStore& store, QString& key);

// "Save To Database" › "List": the pane's rows under a new key in the current
// catalogue. Nothing happens for an empty pane or when no catalogue is current.
// Returns the number of rows saved.
int saveListToCatalogue(CommandEnv& env, const SongListModel& model);

// Scans folders with their subfolders as "Catalogue CD" does: tags read whatever the
// " Load ID3 Tag on " setting says, lyrics not looked up; the settings are set back
// afterwards, also after Cancel. False when the scan was cancelled.
bool scanFoldersForCatalogue(CommandEnv& env, SongListModel& model, const QStringList& folders,
                             bool* audioCd = nullptr);

// "Save To Database" › "Catalogue CD": asks for a folder, scans it into a pane of its
// own (the visible panes stay as they are) and saves it as "List" does. When the folder
// holds audio-CD tracks and `cddb` is given, asks whether to look the CD up first and
// runs `cddb` on the scanned rows on Yes. Returns the number of rows saved.
using CddbLookup = std::function<void(SongListModel&)>;
int catalogueCd(CommandEnv& env, const CddbLookup& cddb = {});

// "Load From Database" › "All Data" / "Select Data By Key" (the key from an input
// box): replaces the pane's rows with the catalogue's, from the catalogue opened
// last (the current one when none is open yet).
void loadFromDatabase(CommandEnv& env, SongListModel& model, bool byKey, bool namesOnly);

// "Database File" › "Create New": asks for a name and creates an empty catalogue of
// that name in the program folder. Returns its file name, empty when none was made.
QString createNewCatalogue(CommandEnv& env);

// "Compact Database": the current catalogue and the lyrics store, each reported when
// it fails. Clears CatalogueChanged.
void compactDatabase(CommandEnv& env);

// Start-up: a missing "database.db3" and "lyrics.lyr" are created empty. Returns the
// messages of those that could not be made.
QStringList createMissingStores(const QString& programFolder);
// First activation: opens the current catalogue ("Load Default Database") unless the
// command line opened one, then compacts when "Each Time" or "After Number of Uses: "
// says so.
void catalogueAtStart(CommandEnv& env, bool openDefault);
// Exit: raises the current catalogue's use count when a store was written.
void catalogueAtExit(CommandEnv& env);
