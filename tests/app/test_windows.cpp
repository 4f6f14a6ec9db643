// The window translator, the custom style, settings and translate windows.
#include "app/languages.h"
#include "app/ui/tfsettings.h"
#include "app/ui/tftranslate.h"
#include "base/inifile.h"
#include "base/scripted.h"
#include "base/settings.h"
#include "base/translator.h"
#include "base/ui/windowtranslator.h"
#include "lists/ui/tfcustom.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>

namespace {
void writeAll(const QString& path, const QByteArray& data) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(data);
}

// A small window with one component of every kind.
struct SampleWindow : QWidget {
    QPushButton* save = new QPushButton("Save", this);
    QLabel* label = new QLabel("First~line", this);
    QLabel* skipped = new QLabel("Not for translators", this);
    QLineEdit* edit = new QLineEdit("typed", this);
    QTableView* table = new QTableView(this);
    QStandardItemModel model{0, 2};
    QMenuBar* bar = new QMenuBar(this);
    QMenu* file = bar->addMenu("&File");
    QAction* exit = file->addAction("Exit");
    SampleWindow() {
        setObjectName("FSample");
        setWindowTitle("Sample");
        save->setObjectName("BSave");
        save->setToolTip("Writes it");
        label->setObjectName("LInfo");
        label->setText("Two\nlines");
        skipped->setObjectName("LVersion_skip_");
        edit->setObjectName("EName");
        model.setHorizontalHeaderLabels({"Name", "Size"});
        table->setModel(&model);
        table->setObjectName("LVList");
        file->setObjectName("MFile");
        exit->setObjectName("MExit");
        file->addSeparator()->setObjectName("N1");
    }
};
} // namespace

class TestWindows : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString folder() const { return m_dir.path() + "/language/"; }

private slots:
    void init() {
        QDir(folder()).removeRecursively();
        QDir().mkpath(folder());
    }

    void templateHoldsDesignTextsButNoSkipComponents() {
        Translator tr(folder(), "English");
        SampleWindow w;
        WindowTranslator wt(&w, tr);
        wt.setLanguage("English");
        QVERIFY(tr.flush());
        IniFile ini(folder() + "english.lng");
        QCOMPARE(ini.readString("Translations", "FSample.Caption"), QString("Sample"));
        QCOMPARE(ini.readString("Translations", "FSample.BSave.Caption"), QString("Save"));
        QCOMPARE(ini.readString("Translations", "FSample.BSave.Hint"), QString("Writes it"));
        QCOMPARE(ini.readString("Translations", "FSample.LInfo.Caption"), QString("Two~~lines"));
        QCOMPARE(ini.readString("Translations", "FSample.EName.Text"), QString("typed"));
        QCOMPARE(ini.readString("Translations", "FSample.LVList.Column[1]"), QString("Size"));
        QCOMPARE(ini.readString("Translations", "FSample.MFile.Caption"), QString("&File"));
        QCOMPARE(ini.readString("Translations", "FSample.MExit.Caption"), QString("Exit"));
        QVERIFY(!ini.hasKey("Translations", "FSample.MExit.Hint")); // no tip of its own
        QVERIFY(!ini.hasKey("Translations", "FSample.N1.Caption")); // separator
        for (const QString& key : ini.keys("Translations"))
            QVERIFY2(!key.contains("_skip_"), qPrintable(key));
    }

    void translationsApplyAndUnknownKeysAreIgnored() {
        writeAll(
            folder() + "Deutsch.lng",
            "[Translations]\nFSample.Caption=Beispiel\nfsample.bsave.caption=Speichern\n"
            "FSample.LInfo.Caption=Zwei~~Zeilen\nFSample.Missing.Caption=x\nFSample.BSave.Colour="
            "red\n"
            "FSample.LVList.Column[0]=Dateiname\nFSample.LVList.Column[9]=x\nFOther.BSave.Caption="
            "Nein\n"
            "FSample.MExit.Caption=Beenden\nFSample.LVersion_skip_.Caption=Version\nbroken line\n");
        Translator tr(folder(), "Deutsch");
        SampleWindow w;
        WindowTranslator& wt = *WindowTranslator::attach(&w, tr);
        QCOMPARE(w.windowTitle(), QString("Beispiel"));
        QCOMPARE(w.save->text(), QString("Speichern"));
        QCOMPARE(w.label->text(), QString("Zwei\nZeilen"));
        QCOMPARE(w.model.headerData(0, Qt::Horizontal).toString(), QString("Dateiname"));
        QCOMPARE(w.exit->text(), QString("Beenden"));
        QCOMPARE(w.skipped->text(), QString("Version"));
        QCOMPARE(w.save->toolTip(), QString("Writes it"));

        // Back to English: the design texts return, also where the file had no key.
        tr.changeLanguage("English");
        QCOMPARE(wt.language(), QString("Deutsch")); // hidden and not told to follow at once
        w.show();
        QCOMPARE(wt.language(), QString("English"));
        QCOMPARE(w.save->text(), QString("Save"));
        QCOMPARE(w.windowTitle(), QString("Sample"));
        QCOMPARE(w.skipped->text(), QString("Not for translators"));
    }

    void customStyleRefusesPatternsWithoutCommands() {
        Translator tr(folder(), "English");
        ScriptedPrompt prompt;
        TFCustom custom(prompt, tr);
        custom.setPattern("a - s");
        QVERIFY(!custom.tryAccept());
        QCOMPARE(prompt.informed(),
                 QStringList{
                     "You must input at least one command. Check that is written in UPPER CASE!"});
        custom.setPattern("[T] x");
        QVERIFY(custom.tryAccept());

        // With the tick on, typed letters become commands.
        auto* edit = custom.findChild<QLineEdit*>("EPattern_skip_");
        edit->clear();
        QTest::keyClicks(edit, "a-s");
        QCOMPARE(custom.pattern(), QString("A-S"));
        custom.findChild<QCheckBox*>("CBUpperCase")->setChecked(false);
        QTest::keyClicks(edit, "x");
        QCOMPARE(custom.pattern(), QString("A-Sx"));
        QTest::mouseClick(custom.findChild<QLabel*>("LAlbum"), Qt::LeftButton);
        QCOMPARE(custom.pattern(), QString("A-SxB"));
    }

    void settingsWindowIsBoundToTheLiveStore() {
        QTemporaryDir home;
        const QString programFolder = home.path() + '/';
        Settings settings(programFolder);
        Translator tr(folder(), "English");
        ScriptedPrompt prompt;
        TFSettings w(settings, prompt, tr);

        // Every control of the generic rule exists under its key and shows the default.
        for (const Settings::Key& k : Settings::knownKeys()) {
            if (k.kind == Settings::Kind::Text || QByteArray(k.name).startsWith("Title") ||
                QByteArray(k.name) == "CBDirStruct_skip_" || QByteArray(k.name) == "LTitleSize" ||
                QByteArray(k.name) == "LTitleCharset" || QByteArray(k.name) == "StartHistory")
                continue;
            QVERIFY2(w.findChild<QWidget*>(k.name), k.name);
        }
        QVERIFY(w.findChild<QRadioButton*>("RBHorizontal")->isChecked());
        QCOMPARE(w.findChild<QSpinBox*>("SEDBUse")->value(), 10);

        // Changes are live; a change from elsewhere shows in the window.
        w.findChild<QRadioButton*>("RBWhole")->setChecked(true);
        QVERIFY(settings.flag("RBWhole"));
        QVERIFY(!settings.flag("RBHorizontal"));
        settings.setValue("SEMin", 96);
        QCOMPARE(w.findChild<QSpinBox*>("SEMin")->value(), 96);

        // Unticking "Show Warnings" and answering No keeps it ticked.
        auto* warnings = w.findChild<QCheckBox*>("CBWarnings");
        prompt.push(Prompt::Answer::No);
        warnings->click();
        QVERIFY(warnings->isChecked());
        QVERIFY(settings.flag("CBWarnings"));
        QCOMPARE(prompt.asked().size(), 1);
        prompt.push(Prompt::Answer::Yes);
        warnings->click();
        QVERIFY(!settings.flag("CBWarnings"));

        // Column visibility goes to the store and survives a restart after "Save".
        auto* columns = w.findChild<QListWidget*>("LBColumns");
        QCOMPARE(columns->count(), 18);
        QCOMPARE(columns->item(4)->text(), QString("Artist"));
        columns->item(4)->setCheckState(Qt::Unchecked);
        QVERIFY(!settings.columnVisible(4));

        // A pattern entry sets the pattern; "Custom" cancelled keeps the entry before.
        auto* formats = w.findChild<QComboBox*>("CBMp3Format_skip_");
        formats->setCurrentIndex(3);
        emit formats->activated(3);
        QCOMPARE(settings.text("Mp3FileFormat"), QString("S - A"));
        QTimer::singleShot(0, [] {
            if (auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
                d->reject();
        });
        formats->setCurrentIndex(6);
        emit formats->activated(6);
        QCOMPARE(settings.text("Mp3FileFormat"), QString("S - A"));
        QCOMPARE(formats->currentIndex(), 3);

        w.showPage("List"); // the column menu's "Set visible columns"
        QCOMPARE(w.findChild<QTabWidget*>("PCSettings")->currentWidget()->objectName(),
                 QString("TSList"));
        QVERIFY(w.isVisible());
        w.save();
        QVERIFY(!w.isVisible());
        Settings restarted(programFolder);
        QVERIFY(!restarted.columnVisible(4));
        QVERIFY(restarted.flag("RBWhole"));
        QCOMPARE(restarted.text("Mp3FileFormat_text"), QString("Song Title - Artist.mp3"));
        TFSettings again(restarted, prompt, tr);
        QCOMPARE(again.findChild<QListWidget*>("LBColumns")->item(4)->checkState(), Qt::Unchecked);
    }

    void failedSaveSaysWhichFileAndKeepsTheWindowOpen() {
        // A program folder that cannot hold files (a plain file stands in its place, so
        // this holds also for root).
        QTemporaryDir home;
        writeAll(home.path() + "/blocked", "not a folder");
        const QString programFolder = home.path() + "/blocked/";
        Settings settings(programFolder);
        Translator tr(folder(), "English");
        ScriptedPrompt prompt;
        TFSettings w(settings, prompt, tr);
        w.show();
        w.findChild<QRadioButton*>("RBWhole")->setChecked(true);
        w.save();
        QVERIFY(w.isVisible());
        QCOMPARE(prompt.informed().size(), 1);
        const QString message = prompt.informed().first();
        QVERIFY2(message.startsWith("The settings could not be saved.\n" + programFolder +
                                    "settings.set: "),
                 qPrintable(message));
        QVERIFY2(message.size() > programFolder.size() + 50, qPrintable(message)); // and why
        QVERIFY(settings.flag("RBWhole")); // the change still holds for this run
    }

    void languageSwitchReachesTheSettingsWindowAtOnce() {
        writeAll(folder() + "Deutsch.lng", "[Translations]\nFSettings.BSave.Caption=Speichern\n");
        QTemporaryDir home;
        Settings settings(home.path() + '/');
        Translator tr(folder(), "English");
        ScriptedPrompt prompt;
        TFSettings w(settings, prompt, tr);
        auto* language = w.findChild<QComboBox*>("CBLanguage_skip_");
        const int i = language->findText("Deutsch");
        QVERIFY(i >= 0);
        language->setCurrentIndex(i);
        emit language->activated(i);
        QCOMPARE(settings.text("Language"), QString("Deutsch"));
        QCOMPARE(tr.language(), QString("Deutsch"));
        QCOMPARE(w.findChild<QPushButton*>("BSave")->text(), QString("Speichern"));
    }

    void translateWindowGroupsEditsAndSavesUnderEveryKey() {
        writeAll(folder() + "Deutsch.lng",
                 "[Messages]\nA=Artist\nB=Artist\nC=Album\n[Translations]\n"
                 "FMain.X.Caption=Artist\n");
        QTemporaryDir home;
        Settings settings(home.path() + '/');
        Translator tr(folder(), "English");
        ScriptedPrompt prompt;
        ScriptedProgress progress;
        TFTranslate w(tr, settings, prompt, progress);
        QVERIFY(w.selectLanguage("deutsch"));
        QVERIFY(w.load());
        QCOMPARE(progress.operations(), QStringList{"loadTrans"});
        QCOMPARE(w.table().size(), 3);
        QCOMPARE(w.counterText(), QString("#: 3"));
        auto* list = w.findChild<QTreeWidget*>("LVTranslate");
        list->setCurrentItem(list->topLevelItem(1));
        QCOMPARE(w.counterText(), QString("#: 2 / 3"));

        list->topLevelItem(0)->setText(0, "Interpret"); // an edit in the list
        QVERIFY(w.table().modified());
        QTRY_COMPARE(list->currentItem(), list->topLevelItem(1));

        // Loading again asks first; No keeps the edits.
        QVERIFY(!w.load());
        QCOMPARE(prompt.asked().size(), 1);
        QCOMPARE(w.table().rows()[0].text, QString("Interpret"));

        // Closing with unsaved edits asks; No keeps the window open.
        w.show();
        QVERIFY(!w.close());
        QVERIFY(w.isVisible());
        QCOMPARE(prompt.asked().size(), 2);

        QVERIFY(w.save());
        QVERIFY(w.close()); // saved: no question
        QCOMPARE(prompt.asked().size(), 2);
        IniFile saved(folder() + "Deutsch.lng");
        QCOMPARE(saved.readString("Messages", "A"), QString("Interpret"));
        QCOMPARE(saved.readString("Messages", "B"), QString("Interpret"));
        QCOMPARE(saved.readString("Translations", "FMain.X.Caption"), QString("Artist"));

        prompt.push(QString(folder() + "Mine.txt"));
        QVERIFY(w.saveAs());
        QVERIFY(QFile::exists(folder() + "Mine.lng"));
    }

    void shippedGermanCoversTheSettingsWindow() {
        initLanguageResources();
        QTemporaryDir home;
        QCOMPARE(installShippedLanguages(home.path() + '/'), 1);
        const QString lang = home.path() + "/language/";
        Settings settings(home.path() + '/');
        Translator tr(lang, "English");
        ScriptedPrompt prompt;
        TFSettings w(settings, prompt, tr);
        TFCustom c(prompt, tr);
        QVERIFY(tr.flush());
        IniFile english(lang + "english.lng");
        IniFile german(lang + "Deutsch.lng");
        for (const QString& key : english.keys("Translations"))
            QVERIFY2(german.hasKey("Translations", key), qPrintable(key));
    }
};

QTEST_MAIN(TestWindows)
#include "test_windows.moc"
