// settings.set and the INI store behind it.
#include "base/inifile.h"
#include "base/settings.h"
#include "support/testfiles.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>

using namespace testfiles;

TEST(IniFile, KeysWithSeparatorsCaseAndOrderSurviveARoundTrip) {
    QTemporaryDir dir;
    const QString path = dir.filePath("a.lng");
    {
        IniFile ini(path);
        ini.writeString("Translations", "FMain.LVList.Column[3]", "Artist");
        ini.writeString("History", "/home/me/Music/a.b [live]", "1");
        ini.writeString("Translations", "FMain.Caption", "Rendolo ~~ Grüße");
        ini.writeString("Translations", "zeta", "last");
        ASSERT_TRUE(ini.save());
    }
    IniFile ini(path);
    EXPECT_EQ(ini.readString("translations", "fmain.lvlist.COLUMN[3]"), "Artist");
    EXPECT_EQ(ini.readString("HISTORY", "/home/me/Music/a.b [live]"), "1");
    EXPECT_EQ(ini.readString("Translations", "FMain.Caption"), "Rendolo ~~ Grüße");
    EXPECT_EQ(ini.keys("Translations"),
              QStringList({"FMain.LVList.Column[3]", "FMain.Caption", "zeta"}));
    EXPECT_TRUE(readAll(path).contains("FMain.LVList.Column[3]=Artist\n"));
}

TEST(IniFile, GarbledLinesAreSkippedAndBadNumbersGiveTheDefault) {
    QTemporaryDir dir;
    const QString path = dir.filePath("settings.set");
    writeAll(path,
             "garbage without equals\n[Settings\n=novalue\n[Settings]\nSEDBUse=abc\nCBWarnings=x\n"
             "SEMin= 64 \nCBDimWindow=0\r\nCBStar=5\n\xff\xfe broken\n");
    IniFile ini(path);
    EXPECT_EQ(ini.readInt("Settings", "SEDBUse", 10), 10);
    EXPECT_TRUE(ini.readBool("Settings", "CBWarnings", true));
    EXPECT_EQ(ini.readInt("Settings", "SEMin", 56), 64);
    EXPECT_FALSE(ini.readBool("Settings", "CBDimWindow", true));
    EXPECT_TRUE(ini.readBool("Settings", "CBStar", false)); // any non-zero integer is true
}

TEST(IniFile, ALineBreakInAValueCannotSplitTheLine) {
    QTemporaryDir dir;
    const QString path = dir.filePath("x.set");
    IniFile ini(path);
    ini.writeString("S", "k", "one\ntwo");
    ini.writeString("S", "next", "1");
    ASSERT_TRUE(ini.save());
    IniFile again(path);
    EXPECT_EQ(again.keys("S"), QStringList({"k", "next"}));
}

TEST(Settings, DefaultsWithoutAFileAndEveryKeyAfterSave) {
    QTemporaryDir dir;
    const QString folder = dir.path() + '/';
    Settings s(folder);
    EXPECT_TRUE(s.flag("RBHorizontal"));
    EXPECT_FALSE(s.flag("CBCloseMinimize"));
    EXPECT_EQ(s.number("SEDBUse"), 10);
    EXPECT_EQ(s.colour("BitCMin"), QColor(255, 224, 255));
    EXPECT_EQ(s.colour("SNormal"), QColor(0, 96, 191));
    EXPECT_EQ(s.text("Language"), "English");
    EXPECT_EQ(s.text("Mp3FileFormat"), "A - S");
    EXPECT_TRUE(s.columnVisible(17));
    EXPECT_FALSE(QFile::exists(folder + "settings.set"));

    ASSERT_TRUE(s.saveSettings());
    IniFile ini(folder + "settings.set");
    QStringList expected;
    for (const Settings::Key& k : Settings::knownKeys())
        expected << QString::fromLatin1(k.name);
    EXPECT_EQ(ini.keys("Settings"), expected); // every key, in the table's order
    EXPECT_EQ(ini.readString("Settings", "BitCMin"), QString::number(255 | 224 << 8 | 255 << 16));
    EXPECT_EQ(ini.readString("Settings", "CBWarnings"), "1");
    EXPECT_EQ(ini.keys("SettingsColumn").size(), Settings::ColumnCount);
}

TEST(Settings, ChangesAreLiveAnnouncedAndOnlySavedOnSave) {
    QTemporaryDir dir;
    const QString folder = dir.path() + '/';
    {
        Settings s(folder);
        QSignalSpy changed(&s, &Settings::changed);
        QSignalSpy columns(&s, &Settings::columnVisibilityChanged);
        s.setValue("cbwarnings", false);
        s.setValue("SActive", QColor(1, 2, 3));
        s.setColumnVisible(4, false);
        s.setColumnVisible(4, false); // no change, no signal
        EXPECT_EQ(changed.size(), 2);
        EXPECT_EQ(changed.at(0).at(0).toString(), "CBWarnings");
        EXPECT_EQ(columns.size(), 1);
        EXPECT_FALSE(s.flag("CBWarnings"));
        EXPECT_EQ(s.colour("SActive"), QColor(1, 2, 3));
        Settings unsaved(folder);
        EXPECT_TRUE(unsaved.flag("CBWarnings"));
        ASSERT_TRUE(s.saveSettings());
    }
    Settings restarted(folder);
    EXPECT_FALSE(restarted.flag("CBWarnings"));
    EXPECT_EQ(restarted.colour("SActive"), QColor(1, 2, 3));
    EXPECT_FALSE(restarted.columnVisible(4));
    EXPECT_TRUE(restarted.columnVisible(3));
}

TEST(Settings, OtherSectionsAndTheOlderRandomKeyAreKept) {
    QTemporaryDir dir;
    const QString folder = dir.path() + '/';
    writeAll(folder + "settings.set",
             "[Settings]\nSERandomSeed=33\n[Database]\ndatabase=7\n[History]\n/music/=1\n");
    Settings s(folder);
    EXPECT_EQ(s.number("SERandomSeed_skip_"), 33);
    ASSERT_TRUE(s.saveSettings());
    IniFile ini(folder + "settings.set");
    EXPECT_EQ(ini.readInt("Database", "database", 0), 7);
    EXPECT_EQ(ini.readString("History", "/music/"), "1");
}
