// Message lookups, language files and the rows of the translate window.
#include "app/inifile.h"
#include "app/languages.h"
#include "app/scripted.h"
#include "app/translationtable.h"
#include "app/translator.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {
void writeAll(const QString& path, const QByteArray& data) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(data);
}
} // namespace

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

TEST(TranslationTable, GroupsEqualTextsAndSavesUnderEveryKey) {
    QTemporaryDir dir;
    const QString path = dir.filePath("x.lng");
    writeAll(path,
             "[Messages]\nA=Artist\nB=artist\nC=Album\n[Translations]\nFMain.X.Caption=Artist\n"
             "FMain.Y.Caption=Artist\nFMain.Z.Hint=Line~~two\n");
    IniFile ini(path);
    ScriptedProgress progress;
    TranslationTable table;
    ASSERT_TRUE(table.load(ini, &progress));
    ASSERT_EQ(table.size(), 4); // messages and translations are grouped apart
    EXPECT_EQ(table.rows()[0].keyList(), "A;B;");
    EXPECT_TRUE(table.rows()[0].message);
    EXPECT_EQ(table.rows()[2].keyList(), "FMain.X.Caption;FMain.Y.Caption;");
    EXPECT_FALSE(table.rows()[2].message);
    EXPECT_EQ(table.rows()[3].text, "Line~~two");
    EXPECT_EQ(progress.items().front(), "(16%)");
    EXPECT_EQ(progress.items().back(), "(100%)");

    table.setText(0, "Interpret");
    table.setText(2, "Künstler");
    EXPECT_TRUE(table.modified());
    table.writeTo(ini);
    EXPECT_FALSE(table.modified());
    ASSERT_TRUE(ini.save());
    IniFile saved(path);
    EXPECT_EQ(saved.readString("Messages", "A"), "Interpret");
    EXPECT_EQ(saved.readString("Messages", "B"), "Interpret");
    EXPECT_EQ(saved.readString("Messages", "C"), "Album");
    EXPECT_EQ(saved.readString("Translations", "FMain.Y.Caption"), "Künstler");
    EXPECT_FALSE(saved.hasKey("Messages", "FMain.Y.Caption"));
}

TEST(TranslationTable, CancelStopsLoading) {
    QTemporaryDir dir;
    const QString path = dir.filePath("x.lng");
    QByteArray data = "[Messages]\n";
    for (int i = 0; i < 100; ++i)
        data += "K" + QByteArray::number(i) + "=T" + QByteArray::number(i) + "\n";
    writeAll(path, data);
    IniFile ini(path);
    ScriptedProgress progress;
    progress.startProgress("loadTrans");
    progress.cancelAtItem(3);
    TranslationTable table;
    EXPECT_FALSE(table.load(ini, &progress));
    EXPECT_LT(table.size(), 100);
}

TEST(Languages, ShippedFilesAreInstalledOnlyWhenMissing) {
    QTemporaryDir src, home;
    writeAll(src.filePath("Deutsch.lng"), "[Messages]\nConstYes=Ja\n");
    QDir().mkpath(home.filePath("language"));
    writeAll(home.filePath("language/deutsch.lng"), "[Messages]\nConstYes=Mine\n");
    EXPECT_EQ(installShippedLanguages(home.path() + '/', src.path()), 0);
    EXPECT_EQ(IniFile(home.filePath("language/deutsch.lng")).readString("Messages", "ConstYes"),
              "Mine");
    QFile::remove(home.filePath("language/deutsch.lng"));
    EXPECT_EQ(installShippedLanguages(home.path() + '/', src.path()), 1);
    EXPECT_EQ(IniFile(home.filePath("language/Deutsch.lng")).readString("Messages", "ConstYes"),
              "Ja");
}
