// rendolo-cli edit runs the pane's commands: the same actions on the same files give the
// same rows, counters and file changes as the core commands on a pane.
#include "base/settings.h"
#include "lists/editcommands.h"
#include "lists/findrows.h"
#include "lists/folderscanner.h"
#include "lists/selectcommands.h"
#include "lists/songlistmodel.h"
#include "support/guiapp.h"
#include "support/testenv.h"
#include "support/testfiles.h"

#include <QDir>
#include <QDirIterator>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace testfiles;

namespace {
// The same small tree in a folder: songs that are not real MP3s still get rows.
void makeTree(const QString& root) {
    QDir().mkpath(root + "/abba gold");
    writeAll(root + "/abba gold/waterloo.mp3", "w");
    writeAll(root + "/abba gold/dancing_queen.mp3", "d");
    writeAll(root + "/ac-dc - back in black.MP3", "b");
    writeAll(root + "/beat it.mp3", "i");
    writeAll(root + "/love me do.mp3", "l");
}

struct Output {
    int exitCode = -1;
    QList<QJsonObject> lines;
};

Output runCli(const QString& home, const QStringList& args) {
    QProcess cli;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("RENDOLO_HOME", home);
    env.insert("XDG_DATA_HOME", home + "/data");
    cli.setProcessEnvironment(env);
    cli.start(RENDOLO_CLI, QStringList{"edit"} + args);
    Output out;
    if (!cli.waitForFinished(20000))
        return out;
    out.exitCode = cli.exitCode();
    for (const QByteArray& line : cli.readAllStandardOutput().split('\n'))
        if (!line.isEmpty())
            out.lines << QJsonDocument::fromJson(line).object();
    return out;
}
} // namespace

TEST(EditCli, AgreesWithThePane) {
    ensureGuiApplication();
    QTemporaryDir dir;
    const QString home = dir.path() + "/home";
    QDir().mkpath(home);
    const QString cliRoot = dir.path() + "/cli", paneRoot = dir.path() + "/pane";
    makeTree(cliRoot);
    makeTree(paneRoot);

    const Output out =
        runCli(home, {"-r",       cliRoot,     "--select",   "1,3",    "--case",  "first-letters",
                      "--type",   "directory", "--select",   "2",      "--case",  "all-caps",
                      "--select", "4-5",       "--rate",     "up",     "--check", "selected",
                      "--find",   "IT",        "--find-all", "--jump", "beat it", "--select",
                      "3",        "--delete",  "selected",   "--note", "side B"});
    ASSERT_EQ(out.exitCode, 0);

    // The same on a pane, with the program's core commands.
    qputenv("XDG_DATA_HOME", QFile::encodeName(home + "/data"));
    TestEnv t(home + "/");
    t.prompt.push(Prompt::Answer::Yes); // the warning before the trash
    SongListModel model(&t.settings);
    QItemSelectionModel selection(&model);
    const PaneRef pane{&model, &selection, 0};
    FolderScanner(model, t.tags, t.progress).scanFolder(paneRoot, true);
    std::vector<QJsonObject> expected;
    const auto note = [&](const FileChanges& changes) {
        for (const FileChange& c : changes)
            expected.push_back({{"op", c.kind == FileChange::Trash ? "trash" : "rename"},
                                {"from", c.from},
                                {"to", c.to}});
    };
    selectRows(pane, {0, 2});
    note(changeCase(t.env, pane, pane.selectedRows(), CaseRule::FirstLetters, RenameType::File));
    selectRows(pane, {1});
    note(changeCase(t.env, pane, pane.selectedRows(), CaseRule::AllCaps, RenameType::Directory));
    selectRows(pane, {3, 4});
    rate(t.env, pane, pane.selectedRows(), RateAction::Up);
    checkSelected(pane, SongListModel::CheckChange::Check);
    const auto listed = [&](const char* op, const std::vector<int>& rows) {
        QJsonArray a;
        for (const int r : rows)
            a.append(r + 1);
        expected.push_back({{"op", op}, {"rows", a}});
    };
    FindOptions find;
    find.text = "IT";
    find.findAll = true;
    selection.clearSelection();
    listed("find", findNext(pane, find, -1).rows);
    JumpIndex jump;
    jump.rebuild(model);
    listed("jump", jump.filter("beat it"));
    selectRows(pane, {2});
    note(deleteFromDisc(t.env, pane, pane.selectedRows()));
    appendNote(model, "side B");

    // One line per file operation, find and jump, in the order of the actions; then the
    // rows and the counters.
    const QList<QJsonObject>& lines = out.lines;
    ASSERT_EQ(lines.size(), qsizetype(expected.size()) + model.size() + 1);
    const auto local = [&](QString path) { return path.replace(cliRoot, paneRoot); };
    size_t k = 0;
    for (; k < expected.size(); ++k) {
        const QJsonObject& e = expected[k];
        EXPECT_EQ(lines[k]["op"].toString().toStdString(), e["op"].toString().toStdString());
        if (e.contains("rows")) {
            EXPECT_EQ(lines[k]["rows"].toArray(), e["rows"].toArray()) << k;
            continue;
        }
        EXPECT_EQ(local(lines[k]["from"].toString()).toStdString(),
                  e["from"].toString().toStdString());
        if (e["op"] == "rename") {
            EXPECT_EQ(local(lines[k]["to"].toString()).toStdString(),
                      e["to"].toString().toStdString());
        }
        EXPECT_TRUE(lines[k]["ok"].toBool()) << lines[k]["error"].toString().toStdString();
    }
    for (int r = 0; r < model.size(); ++r, ++k) {
        const SongItem& it = model.item(r);
        QStringList texts;
        for (const QJsonValue v : lines[k]["texts"].toArray())
            texts << local(v.toString());
        EXPECT_EQ(texts.join('|').toStdString(), it.texts().join('|').toStdString()) << r;
        EXPECT_EQ(lines[k]["checked"].toBool(), it.checked()) << r;
        EXPECT_EQ(lines[k]["flags"].toInt(), it.stateFlags()) << r;
    }
    EXPECT_EQ(lines[k]["count"].toInt(), model.size());
    EXPECT_EQ(lines[k]["checked"].toInt(), model.counter(SongListModel::Checked));
    EXPECT_EQ(lines[k]["errors"].toInt(), model.counter(SongListModel::Errors));
    // Both trees were changed alike on disc.
    const auto tree = [](const QString& root) {
        QStringList files;
        QDirIterator it(root, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext())
            files << it.next().mid(root.size());
        files.sort();
        return files.join('\n').toStdString();
    };
    EXPECT_EQ(tree(cliRoot), tree(paneRoot));
    EXPECT_NE(tree(cliRoot).find("/ABBA GOLD/waterloo.mp3"), std::string::npos);
}

TEST(EditCli, AFailedFileOperationEndsWithOne) {
    QTemporaryDir dir;
    makeTree(dir.path() + "/m");
    writeAll(dir.path() + "/m/Beat It.mp3", "taken");
    const Output out =
        runCli(dir.path(), {dir.path() + "/m", "--find", "beat it", "--case-sensitive", "--case",
                            "first-letters", "--rename", "../out.mp3"});
    EXPECT_EQ(out.exitCode, 1);
    ASSERT_GE(out.lines.size(), 3);
    EXPECT_FALSE(out.lines[1]["ok"].toBool());
    EXPECT_EQ(out.lines[1]["error"].toString().toStdString(), "the new name exists");
    EXPECT_FALSE(out.lines[2]["ok"].toBool());
    EXPECT_EQ(readAll(dir.path() + "/m/beat it.mp3"), "i");
    EXPECT_FALSE(QFileInfo::exists(dir.path() + "/out.mp3"));
}
