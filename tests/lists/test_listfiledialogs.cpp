// The save and load buttons' dialogs, the question on an unfinished save, and the
// command line agreeing with the pane.
#include "base/inifile.h"
#include "base/nativepath.h"
#include "listfixtures.h"
#include "lists/listformats.h"
#include "support/testfiles.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>

using namespace listfixtures;
using namespace testfiles;

using FileChoice = ScriptedPrompt::FileChoice;

namespace {
class DialogTest : public ListFilesTest {
protected:
    void SetUp() override {
        ListFilesTest::SetUp();
        for (int i = 0; i < 5; ++i)
            model.append(fullRow(QString("Song %1.mp3").arg(i)));
    }
};
} // namespace

TEST(ListFormats, TypesByExtensionAndEntries) {
    EXPECT_EQ(listFormatOfPath("/a/b.TXT"), ListFormat::Txt);
    EXPECT_EQ(listFormatOfPath("/a/b.html"), ListFormat::Htm);
    EXPECT_EQ(listFormatOfPath("/a/b.M3U8"), ListFormat::M3u);
    EXPECT_EQ(listFormatOfPath("/a.rnl/b"), ListFormat::None);
    EXPECT_EQ(listFormatOfPath("/a/.rnl"), ListFormat::None);
    const std::pair<const char*, int> entries[] = {
        {"/x/l.txt", 1},  {"/x/l.CSV", 2}, {"/x/l.xls", 3}, {"/x/l.doc", 4}, {"/x/l.html", 5},
        {"/x/l.m3u", 6},  {"/x/l.rnl", 7}, {"/x/l.dat", 8}, {"/x/l.xml", 9}, {"/x/l.mp3", 1},
        {"/x/music/", 0}, {"", 0},         {"/x/noext", 0},
    };
    for (const auto& [title, entry] : entries)
        EXPECT_EQ(listSaveEntryFor(title), entry) << title;
    const std::tuple<const char*, ListFormat, const char*> names[] = {
        {"/x/songs.csv", ListFormat::Txt, "/x/songs.txt"},
        {"/x/songs", ListFormat::Rnl, "/x/songs.rnl"},
        {"/x/songs.RNL", ListFormat::Rnl, "/x/songs.RNL"},
        {"/x/songs.html", ListFormat::Htm, "/x/songs.html"},
        {"/x/Best of vol.2", ListFormat::Csv, "/x/Best of vol.2.csv"},
    };
    for (const auto& [typed, format, written] : names)
        EXPECT_EQ(withListExtension(typed, format), written) << typed;
    EXPECT_EQ(listSaveFilters().size(), 9);
    EXPECT_EQ(listSaveFilters()[6], "Rendolo (*.rnl)");
    EXPECT_EQ(listOpenFilters().size(), 7);
    EXPECT_TRUE(listOpenFilters()[0].contains("*.txt *.csv *.xls *.m3u *.m3u8 *.rnl *.dat"));
}

TEST_F(ListFilesTest, SavingAnEmptyPaneSaysSo) {
    pressSave(t.env, model, state);
    EXPECT_EQ(t.prompt.informed(), QStringList{"There are no items in list to save."});
    EXPECT_TRUE(t.prompt.asked().isEmpty()); // no dialog
}

TEST_F(DialogTest, SaveDialogPreselectsTheTypeAndForcesItsExtension) {
    // A scanned folder in the title line: ".rnl" preselected, the folder proposed.
    state.setTitle(root, false);
    t.prompt.push(FileChoice{path("songs.csv"), 0}); // the text file type chosen
    pressSave(t.env, model, state);
    EXPECT_EQ(t.prompt.lastFileDialog().type, 6);
    EXPECT_EQ(t.prompt.lastFileDialog().start, root);
    EXPECT_TRUE(QFile::exists(path("songs.txt")));
    EXPECT_FALSE(QFile::exists(path("songs.csv")));
    EXPECT_EQ(state.title, path("songs.txt"));

    // The loaded (or saved) file is proposed with its type.
    t.prompt.push(path("other")); // the proposed type kept
    pressSave(t.env, model, state);
    EXPECT_EQ(t.prompt.lastFileDialog().type, 0);
    EXPECT_EQ(t.prompt.lastFileDialog().start, path("songs.txt"));
    EXPECT_TRUE(QFile::exists(path("other.txt")));

    // "Whole List": ".m3u" preselected and the name proposed with it.
    t.prompt.push(path("whole.m3u"));
    pressSave(t.env, model, state, int(ListFormat::M3u));
    EXPECT_EQ(t.prompt.lastFileDialog().type, 5);
    EXPECT_EQ(t.prompt.lastFileDialog().start, path("other.m3u"));
    EXPECT_TRUE(readAll(path("whole.m3u")).startsWith("#EXTM3U\n"));
}

TEST_F(DialogTest, AsksBeforeReplacingTheFileReallyWritten) {
    writeAll(path("songs.txt"), "keep me");
    t.prompt.push(FileChoice{path("songs.csv"), 0});
    t.prompt.push(Prompt::Answer::No);
    pressSave(t.env, model, state);
    ASSERT_EQ(t.prompt.asked().size(), 2);
    EXPECT_TRUE(t.prompt.asked()[1].contains(path("songs.txt")));
    EXPECT_EQ(readAll(path("songs.txt")), "keep me");

    t.prompt.push(FileChoice{path("songs.csv"), 0});
    t.prompt.push(Prompt::Answer::Yes);
    pressSave(t.env, model, state);
    EXPECT_TRUE(readAll(path("songs.txt")).startsWith("Song 0\n"));
}

TEST_F(DialogTest, CancelDuringASaveAsksWhetherToFinish) {
    struct Case {
        const char* what;
        ListFormat format;
        bool warnings;
        QList<Prompt::Answer> answers;
        const char* rowMark; // found once per row written
        int rows;            // rows in the file
        int questions;       // unfinished-save questions asked
    } cases[] = {
        {"No ends the file", ListFormat::Rnl, true, {Prompt::Answer::No}, "Song ", 2, 1},
        {"Yes goes on, Cancel cleared",
         ListFormat::M3u,
         true,
         {Prompt::Answer::Yes},
         "#EXTINF",
         5,
         1},
        {"without warnings it goes on", ListFormat::Csv, false, {}, "Song ", 5, 0},
        {"XML ends without asking", ListFormat::Xml, true, {}, "<CD ", 2, 0},
    };
    for (const Case& c : cases) {
        t.settings.setValue("CBWarnings", c.warnings);
        for (Prompt::Answer a : c.answers)
            t.prompt.push(a);
        const int askedBefore = int(t.prompt.asked().size());
        t.progress.cancelAtItem(int(t.progress.items().size()) + 2); // after the second row
        const QString file = path(QString("cancel") + listFormatExtension(c.format));
        ASSERT_TRUE(saveList(t.env, model, state, file, c.format)) << c.what;
        t.progress.cancelAtItem(0);
        EXPECT_EQ(t.prompt.asked().size() - askedBefore, c.questions) << c.what;
        if (c.questions) {
            EXPECT_EQ(t.prompt.asked().last(),
                      "You haven't finished saving file. Do you wish to continue?");
        }
        EXPECT_EQ(int(readAll(file).count(c.rowMark)), c.rows) << c.what;
        EXPECT_FALSE(t.progress.cancelRequested() && c.answers.value(0) == Prompt::Answer::Yes);
    }
}

TEST_F(DialogTest, LoadDialogStartsAtTheTitleFile) {
    ASSERT_TRUE(save("mine.rnl", ListFormat::Rnl));
    t.prompt.push(path("mine.rnl"));
    SongListModel other(&t.settings);
    const ListLoadResult r = pressLoad(t.env, other, state);
    EXPECT_TRUE(r.loaded);
    EXPECT_EQ(t.prompt.lastFileDialog().start, path("mine.rnl"));
    EXPECT_EQ(t.prompt.lastFileDialog().types.size(), 7);
    EXPECT_EQ(rowsOf(other), asStoredInRnl(model));
    EXPECT_EQ(t.progress.operations().last(), "load");
    EXPECT_EQ(t.progress.items().last(), "(5)");
}

// rendolo-cli list: the same core, so the same bytes and rows.
TEST_F(DialogTest, CommandLineAgreesWithThePane) {
    model.append(SongItem(QStringList{"a note, with a comma"}));
    SongItem c = fullRow("Quoted \"name\".mp3");
    c.setChecked(true);
    model.append(c);
    ASSERT_TRUE(save("pane.rnl", ListFormat::Rnl));
    const QString home = path("home");
    QDir().mkpath(home);
    const auto cli = [&](const QStringList& args, QByteArray* out = nullptr) {
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("RENDOLO_HOME", home);
        p.setProcessEnvironment(env);
        p.start(RENDOLO_CLI, QStringList{"list"} + args);
        EXPECT_TRUE(p.waitForFinished(60000));
        if (out)
            *out = p.readAllStandardOutput();
        return p.exitCode();
    };
    // The pane loads the list and saves it again, as the command line does.
    reload("pane.rnl");
    QDir().mkpath(path("by-pane"));
    QDir().mkpath(path("by-cli"));
    for (const char* ext : {".csv", ".txt", ".htm", ".m3u", ".rnl", ".dat", ".xml"}) {
        const QString name = QString("list") + ext;
        const QString paneFile = path("by-pane/" + name);
        ASSERT_TRUE(saveList(t.env, loaded, loadedState, paneFile, listFormatOfPath(paneFile)));
        EXPECT_EQ(cli({"save", path("pane.rnl"), path("by-cli/" + name)}), 0) << ext;
        EXPECT_EQ(readAll(path("by-cli/" + name)), readAll(paneFile)) << ext;
    }
    QByteArray dump;
    EXPECT_EQ(cli({"dump", path("pane.rnl")}, &dump), 0);
    const QList<QByteArray> lines = dump.trimmed().split('\n');
    ASSERT_EQ(lines.size(), model.size() + 1);
    EXPECT_TRUE(lines[5].startsWith("{\"texts\": [\"a note, with a comma\"], \"checked\": false, "
                                    "\"flags\": 0}"));
    EXPECT_TRUE(lines[6].startsWith("{\"texts\": [\"Quoted \\\"name\\\".mp3\", \"3375.77\""));
    EXPECT_TRUE(lines[6].endsWith("\"checked\": true, \"flags\": 0}"));
    EXPECT_EQ(lines.last(), "{\"count\": 7, \"checked\": 1, \"errors\": 0, \"separator\": \",\"}");

    // Failures: a message on stderr, exit 1, nothing written.
    writeAll(path("bad.rnl"), "garbage");
    EXPECT_EQ(cli({"dump", path("bad.rnl")}), 1);
    EXPECT_EQ(cli({"save", path("bad.rnl"), path("never.csv")}), 1);
    EXPECT_FALSE(QFile::exists(path("never.csv")));
    EXPECT_EQ(cli({"save", path("pane.rnl"), path("no/folder/x.csv")}), 1);
    EXPECT_EQ(cli({"save", "--separator", ";", path("pane.rnl"), path("semi.csv")}), 0);
    EXPECT_TRUE(readAll(path("semi.csv")).startsWith("Song 0.mp3;3375.77;"));

    QByteArray listed;
    EXPECT_EQ(cli({"playlists", "--by", "artist", path("pane.rnl"), path("lists")}, &listed), 0);
    EXPECT_EQ(listed, path("lists/Artist.m3u").toUtf8() + "\t6\n");
}

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
