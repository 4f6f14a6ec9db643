// Message lookups from the language files.
#include "base/inifile.h"
#include "base/scripted.h"
#include "base/translator.h"
#include "support/testfiles.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace testfiles;

TEST(Translator, AMissingKeyIsWrittenBackWithItsDefault) {
    QTemporaryDir dir;
    const QString folder = dir.path() + "/language/"; // not there yet
    Translator tr(folder, "English");
    EXPECT_EQ(tr.translate("InfoNoSelected", "There are no items selected."),
              "There are no items selected.");
    EXPECT_EQ(tr.translate("Multi", "One~~Two"), "One\nTwo");
    IniFile ini(folder + "english.lng"); // "English" and the template are one file
    EXPECT_EQ(ini.readString("Messages", "InfoNoSelected"), "There are no items selected.");
    EXPECT_EQ(ini.readString("Messages", "Multi"), "One~~Two");
}

TEST(Translator, ReadsTheLanguageFileWithoutRegardToCaseAndCaches) {
    QTemporaryDir dir;
    const QString folder = dir.path() + '/';
    writeAll(folder + "deutsch.lng", "[Messages]\nConstYes=Ja\nLines=Eins~~Zwei\n");
    Translator tr(folder, "Deutsch");
    EXPECT_EQ(tr.translate("constyes", "Yes"), "Ja");
    EXPECT_EQ(tr.translate("Lines", "x"), "Eins\nZwei");
    writeAll(folder + "deutsch.lng", "[Messages]\nConstYes=Jawohl\n");
    EXPECT_EQ(tr.translate("constyes", "Yes"), "Ja"); // cached
    tr.changeLanguage("DEUTSCH");
    EXPECT_EQ(tr.translate("constyes", "Yes"), "Jawohl"); // cache cleared
    EXPECT_EQ(QDir(folder).entryList({"*.lng"}), QStringList{"deutsch.lng"});
    EXPECT_EQ(tr.languages(), QStringList{"deutsch"});
}

TEST(Translator, AnUnwritableFolderStillShowsTheTexts) {
    QTemporaryDir dir;
    // A folder that cannot be made: its parent is a plain file (holds even for root).
    writeAll(dir.filePath("blocker"), "x");
    const QString folder = dir.filePath("blocker") + "/language/";
    Translator tr(folder, "English");
    EXPECT_EQ(tr.translate("A", "Text A~~b"), "Text A\nb");
    EXPECT_EQ(tr.translate("A", "Text A~~b"), "Text A\nb");
    EXPECT_EQ(tr.translate("B", "Text B"), "Text B");
    EXPECT_FALSE(tr.flush());
    tr.changeLanguage("Deutsch");
    EXPECT_EQ(tr.translate("A", "Text A"), "Text A");
}

TEST(Translator, DelayedWritesOfSeveralUsersAreSavedTogetherWithoutLoss) {
    QTemporaryDir dir;
    const QString folder = dir.path() + '/';
    Translator tr(folder, "english");
    tr.setDelayedSave(true);
    IniFile& tmpl = tr.languageIni("ENGLISH");
    tmpl.writeString("Translations", "FMain.Caption", "Rendolo");
    tr.fileChanged(tmpl);
    tr.translate("Key", "Text");
    EXPECT_FALSE(QFile::exists(folder + "english.lng"));
    ASSERT_TRUE(tr.flush());
    IniFile ini(folder + "english.lng");
    EXPECT_EQ(ini.readString("Translations", "FMain.Caption"), "Rendolo");
    EXPECT_EQ(ini.readString("Messages", "Key"), "Text");
}
