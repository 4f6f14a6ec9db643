// Language files and the rows of the translate window.
#include "app/languages.h"
#include "app/translationtable.h"
#include "base/inifile.h"
#include "base/scripted.h"
#include "support/testfiles.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace testfiles;

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
