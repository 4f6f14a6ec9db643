#include "base/progressoperations.h"

#include "base/translator.h"

namespace {
using K = ProgressAnimationKind;
// Some defaults carry the program's historical spelling; language files key on them.
constexpr ProgressOperation kOperations[] = {
    {"copy", K::Copy, "MsgCopyFiles", "Copying files ..."},
    {"copyCD", K::CopyFromCd, "MsgCopyFilesFromCD", "Findi On CD Copying to disc ..."},
    {"move", K::Move, "MsgMoveFiles", "Moving files ..."},
    {"delete", K::Delete, "MsgDeleteFiles", "Deleting files ..."},
    {"loadDB", K::Load, "MsgLoadDB", "Loading database ..."},
    {"importDB", K::Load, "MsgImportDB", "Importing to database ..."},
    {"saveDB", K::Save, "MsgSaveDB", "Saving to database ..."},
    {"exportDB", K::Save, "MsgExportDB", "Exporting database ..."},
    {"load", K::Load, "MsgLoad", "Loading file list ..."},
    {"save", K::Save, "MsgSave", "Saving file list ..."},
    {"savev1", K::Save, "MsgSaveID3v1", "Saving ID3 tag v1 ..."},
    {"savev2", K::Save, "MsgSaveID3v2", "Saving ID3 tag v2 ..."},
    {"savesync", K::Save, "MsgSaveSync", "Synchronizing ID3 tags (v1 and v2) ..."},
    {"add", K::Load, "MsgAdd", "Adding files ..."},
    {"loadLyrics", K::Load, "MsgLoadLyrics", "Loading lyrics ..."},
    {"importLyr", K::Load, "MsgImportLyr", "Importing lyrics ..."},
    {"exportLyr", K::Save, "MsgExportLyr", "Exporting lyrics ..."},
    {"stat", K::None, "MsgStatistics", "Writing statistics ..."},
    {"compare", K::Compare, "MsgCompare", "Comparing lists ..."},
    {"mistakes", K::Mistakes, "MsgMistakes", "Searching for mistakes ..."},
    {"loadTrans", K::Load, "MsgLoadTrans", "Loading translations ..."},
    {"cddb", K::Load, "MsgCDDB", "Geting info from CDDB ..."},
    {"reload", K::Load, "MsgReload", "Reloading ID3 tags ..."},
    {"resave", K::Save, "MsgResave", "Resaving ID3 tags ..."},
    {"rename", K::Move, "MsgRenameFiles", "Renaming files ..."},
};
} // namespace

std::span<const ProgressOperation> progressOperations() {
    return kOperations;
}

const ProgressOperation* findProgressOperation(const QString& name) {
    for (const ProgressOperation& op : kOperations)
        if (name == QLatin1String(op.name))
            return &op;
    return nullptr;
}

QString progressTitle(const ProgressOperation& operation) {
    return T(operation.key, operation.defaultTitle);
}
