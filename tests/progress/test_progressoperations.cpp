// The operations that open the progress window: names, animations, keys and titles.
#include "app/progressoperations.h"

#include <gtest/gtest.h>

#include <QSet>

namespace {
using K = ProgressAnimationKind;

struct Expected {
    const char* name;
    K animation;
    const char* key;
    const char* title;
};

// The texts as the program has always shown them, misspellings included: language
// files are keyed on them.
const Expected kExpected[] = {
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
};
} // namespace

TEST(ProgressOperations, EveryOperationHasItsAnimationKeyAndTitle) {
    ASSERT_EQ(progressOperations().size(), std::size(kExpected));
    for (const Expected& e : kExpected) {
        SCOPED_TRACE(e.name);
        const ProgressOperation* op = findProgressOperation(QString::fromLatin1(e.name));
        ASSERT_NE(op, nullptr);
        EXPECT_EQ(op->animation, e.animation);
        EXPECT_STREQ(op->key, e.key);
        EXPECT_STREQ(op->defaultTitle, e.title);
        // Without a language file the title is the English default.
        EXPECT_EQ(progressTitle(*op), QString::fromLatin1(e.title));
    }
}

TEST(ProgressOperations, EveryAnimationIsUsedAndNamesAreUnique) {
    QSet<QString> names;
    QSet<int> kinds;
    for (const ProgressOperation& op : progressOperations()) {
        names.insert(QString::fromLatin1(op.name));
        kinds.insert(int(op.animation));
    }
    EXPECT_EQ(names.size(), qsizetype(progressOperations().size()));
    EXPECT_EQ(kinds.size(), 9); // eight animations and "none"
}

TEST(ProgressOperations, NamesMatchOnlyAsCallersSpellThem) {
    for (const char* name : {"", "Add", "ADD", "add ", "copycd", "unknown"})
        EXPECT_EQ(findProgressOperation(QString::fromLatin1(name)), nullptr) << name;
}
