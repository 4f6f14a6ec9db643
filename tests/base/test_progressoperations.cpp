// The operations that open the progress window: names, animations, keys and titles.
#include "base/inifile.h"
#include "base/progressoperations.h"
#include "base/translator.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>

namespace {
QString shippedGerman() {
    return qEnvironmentVariable("RENDOLO_SOURCE_DIR") + "/resources/language/Deutsch.lng";
}
} // namespace

// The shipped translation names every operation's key, so a key misspelt in the table
// (or a title that never reaches the translators) shows here.
TEST(ProgressOperations, EveryKeyIsTranslatedInTheShippedLanguage) {
    ASSERT_TRUE(QFile::exists(shippedGerman())) << "RENDOLO_SOURCE_DIR not set";
    QTemporaryDir dir;
    ASSERT_TRUE(QFile::copy(shippedGerman(), dir.filePath("Deutsch.lng")));
    const IniFile german(dir.filePath("Deutsch.lng"));
    Translator tr(dir.path() + '/', "Deutsch");
    setMessageTranslator(&tr);
    for (const ProgressOperation& op : progressOperations()) {
        SCOPED_TRACE(op.name);
        const QString text = german.readString("Messages", QString::fromLatin1(op.key));
        ASSERT_FALSE(text.isEmpty());
        EXPECT_NE(text, QString::fromLatin1(op.defaultTitle));
        EXPECT_EQ(progressTitle(op), text);
    }
    setMessageTranslator(nullptr);
    // Without a language file every title is its English default.
    for (const ProgressOperation& op : progressOperations())
        EXPECT_EQ(progressTitle(op), QString::fromLatin1(op.defaultTitle)) << op.name;
}

TEST(ProgressOperations, EveryAnimationIsUsedAndNamesAndKeysAreUnique) {
    QSet<QString> names, keys;
    QSet<int> kinds;
    for (const ProgressOperation& op : progressOperations()) {
        names.insert(QString::fromLatin1(op.name));
        keys.insert(QString::fromLatin1(op.key));
        kinds.insert(int(op.animation));
    }
    EXPECT_EQ(names.size(), qsizetype(progressOperations().size()));
    EXPECT_EQ(keys.size(), qsizetype(progressOperations().size()));
    EXPECT_EQ(kinds.size(), 9); // eight animations and "none"
    EXPECT_EQ(findProgressOperation("copyCD")->animation, ProgressAnimationKind::CopyFromCd);
    EXPECT_EQ(findProgressOperation("stat")->animation, ProgressAnimationKind::None);
}

TEST(ProgressOperations, NamesMatchOnlyAsCallersSpellThem) {
    for (const char* name : {"", "Add", "ADD", "add ", "copycd", "unknown"})
        EXPECT_EQ(findProgressOperation(QString::fromLatin1(name)), nullptr) << name;
    EXPECT_NE(findProgressOperation("add"), nullptr);
}
