// The list editing commands on real rows and real files: case rules, separators,
// renames that never replace, folder renames with the rows below them, the trash, the
// counters after each command, rating, find and jump.
#include "base/settings.h"
#include "lists/editcommands.h"
#include "lists/findrows.h"
#include "lists/selectcommands.h"
#include "lists/songlistmodel.h"
#include "support/fatmount.h"
#include "support/guiapp.h"
#include "support/testenv.h"
#include "support/testfiles.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace testfiles;

namespace {
// A full row (17 sub-items) for a file.
SongItem songRow(const QString& name, const QString& folder, const QString& weight = "0",
                 const QString& artist = {}, const QString& title = {}) {
    QStringList t{name, "1.00", folder, title, artist};
    while (t.size() < SongItem::Weight)
        t << " ";
    t << weight;
    return SongItem(t);
}

class EditTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ensureGuiApplication(); }
    void SetUp() override {
        qputenv("XDG_DATA_HOME", QFile::encodeName(dir.path() + "/data"));
        QDir().mkpath(dir.path() + "/music");
    }
    PaneRef pane() { return PaneRef{&model, &selection, 0}; }
    PaneRef otherPane() { return PaneRef{&other, &otherSelection, 1}; }
    QString music(const QString& rel = {}) const { return dir.path() + "/music/" + rel; }
    // A file in the music folder and its row.
    void addFile(const QString& rel, const QByteArray& content = "mp3") {
        QDir().mkpath(QFileInfo(music(rel)).path());
        writeAll(music(rel), content);
        const QFileInfo fi(music(rel));
        model.append(songRow(fi.fileName(), fi.path() + '/'));
    }
    int count(SongListModel::Counter c) const { return model.counter(c); }
    QStringList names(const SongListModel& m) const {
        QStringList out;
        for (const SongItem& it : m.items())
            out << it.text(SongItem::FileName);
        return out;
    }

    QTemporaryDir dir;
    TestEnv t{dir.path() + "/"};
    SongListModel model{&t.settings};
    SongListModel other{&t.settings};
    QItemSelectionModel selection{&model};
    QItemSelectionModel otherSelection{&other};
};
} // namespace

TEST(EditRules, CaseRules) {
    using R = CaseRule;
    struct Case {
        R rule;
        const char* in;
        const char* out;
    };
    const Case cases[] = {
        {R::FirstLetters, "don't stop", "Don'T Stop"},
        {R::FirstLetters, "mötley crüe", "Mötley Crüe"},
        {R::FirstLetters, "ЛЮБЭ - конь", "Любэ - Конь"},
        {R::FirstLetters,
         "e\xcc\x81"
         "cole (live)2nite",
         "E\xcc\x81"
         "cole (Live)2Nite"},
        {R::FirstLetters, "AC/DC", "Ac/Dc"},
        {R::Beginning, "ABBA - waterloo", "Abba - waterloo"},
        {R::Beginning, "élan", "Élan"},
        {R::AllCaps, "straße", "STRASSE"},
        {R::AllSmall, "ÅSA", "åsa"},
        {R::FirstWord, "abba - Waterloo - live", "ABBA - waterloo - live"},
        {R::FirstWord, "Waterloo", "waterloo"},
        {R::LastWord, "ABBA - Waterloo - live", "abba - WATERLOO - LIVE"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(applyCaseRule(c.rule, QString::fromUtf8(c.in)).toStdString(), c.out) << c.in;
    // File names keep their extension, in lower case.
    EXPECT_EQ(changeFileNameCase(R::FirstLetters, "ac-dc - back in black.MP3"),
              "Ac-Dc - Back In Black.mp3");
    EXPECT_EQ(changeFileNameCase(R::AllCaps, "1.2 song.Mp3"), "1.2 SONG.mp3");
    EXPECT_EQ(changeFileNameCase(R::AllCaps, "no extension"), "NO EXTENSION");
}

TEST(EditRules, SeparatorCaptionsAndJumpWords) {
    struct Case {
        const char* caption;
        const char* from;
        const char* to;
    };
    const Case cases[] = {
        {"'_'  -->  '  '", "_", " "},
        {"'  '  -->  '_'", " ", "_"},
        {"'-'  -->  '  -  '", "-", " - "},
        {"'  -  '  -->  '-'", " - ", "-"},
        {"'_-_'  -->  '  -  '", "_-_", " - "},
        {"'  -  '  -->  '_-_'", " - ", "_-_"},
        {"Custom", "", ""},
    };
    for (const Case& c : cases) {
        const SeparatorPair p = separatorFromCaption(c.caption);
        EXPECT_EQ(p.from, c.from) << c.caption;
        EXPECT_EQ(p.to, c.to) << c.caption;
    }
    EXPECT_EQ(replaceSeparator("Artist - Title.mp3", " - ", "_-_"), "Artist_-_Title.mp3");
    EXPECT_EQ(replaceSeparator("a_B_c.MP3", "b", "x"), "a_x_c.MP3");
    EXPECT_EQ(jumpWords("Beat it!"), QStringList({"beat", "it"}));
    EXPECT_EQ(jumpWords(QString::fromUtf8("Mötley-Crüe_2 (Ёлка)")),
              QStringList({QString::fromUtf8("mötley"), QString::fromUtf8("crüe"), "2",
                           QString::fromUtf8("ёлка")}));
}

TEST_F(EditTest, ChecksKeepTheCountersRight) {
    for (int i = 0; i < 10; ++i)
        model.append(songRow(QString("s%1.mp3").arg(i), "/m/"));
    model.setErrorMark(2, true);
    checkAll(model);
    EXPECT_EQ(count(SongListModel::Checked), 10);
    EXPECT_EQ(count(SongListModel::Errors), 1); // "Check All" keeps error marks
    invertChecked(model);
    EXPECT_EQ(count(SongListModel::Checked), 0);
    selectRows(pane(), {2, 3});
    // Space twice: the selected rows' flags flip and come back; a row that changes loses
    // its error mark.
    checkSelected(pane(), SongListModel::CheckChange::Invert);
    EXPECT_EQ(count(SongListModel::Checked), 2);
    EXPECT_EQ(count(SongListModel::Errors), 0);
    checkSelected(pane(), SongListModel::CheckChange::Invert);
    EXPECT_EQ(count(SongListModel::Checked), 0);
    checkSelected(pane(), SongListModel::CheckChange::Check);
    checkSelected(pane(), SongListModel::CheckChange::Check);
    EXPECT_EQ(count(SongListModel::Checked), 2);
    model.setErrorMark(5, true);
    uncheckAll(model);
    EXPECT_EQ(count(SongListModel::Checked), 0);
    EXPECT_EQ(count(SongListModel::Errors), 0);

    // The same seed draws the same rows; every row is drawn anew.
    SongListModel big(&t.settings);
    for (int i = 0; i < 2000; ++i)
        big.append(songRow("x.mp3", "/m/"));
    const int n = randomCheck(big, 10, 7);
    EXPECT_EQ(big.counter(SongListModel::Checked), n);
    EXPECT_GT(n, 120);
    EXPECT_LT(n, 280);
    std::vector<bool> first;
    for (const SongItem& it : big.items())
        first.push_back(it.checked());
    EXPECT_EQ(randomCheck(big, 10, 7), n);
    for (size_t i = 0; i < first.size(); ++i)
        ASSERT_EQ(big.item(int(i)).checked(), first[i]);
}

TEST_F(EditTest, CopiesAndRemovalsKeepBothPanesCountersRight) {
    for (int i = 0; i < 6; ++i)
        model.append(songRow(QString("s%1.mp3").arg(i), "/m/"));
    model.setChecked(1, true);
    model.setErrorMark(1, true);
    model.setErrorMark(4, true);
    selectRows(pane(), {1, 3, 4});
    EXPECT_EQ(copySelectedRows(pane(), other), 3);
    EXPECT_EQ(other.counter(SongListModel::Count), 3);
    EXPECT_EQ(other.counter(SongListModel::Checked), 1);
    EXPECT_EQ(other.counter(SongListModel::Errors), 2);
    EXPECT_EQ(names(other), QStringList({"s1.mp3", "s3.mp3", "s4.mp3"}));
    EXPECT_EQ(count(SongListModel::Count), 6);

    // Removing the checked rows keeps the others' selection.
    removeFromList(t.env, pane(), targetRows(pane(), RowTarget::Checked));
    EXPECT_EQ(names(model), QStringList({"s0.mp3", "s2.mp3", "s3.mp3", "s4.mp3", "s5.mp3"}));
    EXPECT_EQ(count(SongListModel::Checked), 0);
    EXPECT_EQ(count(SongListModel::Errors), 1);
    EXPECT_EQ(pane().selectedRows(), std::vector<int>({2, 3}));
    EXPECT_EQ(t.progress.operations().last(), "delete");

    // Many scattered rows go at once, and the selection of the rest comes back.
    SongListModel big(&t.settings);
    QItemSelectionModel bigSelection(&big);
    const PaneRef bp{&big, &bigSelection, 0};
    for (int i = 0; i < 1000; ++i)
        big.append(songRow(QString::number(i), "/m/"));
    std::vector<int> odd, picked;
    for (int i = 1; i < 1000; i += 2)
        odd.push_back(i);
    selectRows(bp, {0, 1, 2, 998});
    removeRowsKeepingSelection(bp, odd);
    EXPECT_EQ(big.size(), 500);
    EXPECT_EQ(big.item(1).text(0), "2");
    EXPECT_EQ(bp.selectedRows(), std::vector<int>({0, 1, 499}));

    appendNote(model, "");
    appendNote(model, "\tx");
    appendNote(model, "keep me");
    EXPECT_EQ(removeEmptyLines(pane()), 2);
    EXPECT_EQ(names(model).last(), "keep me");
    EXPECT_EQ(model.item(model.size() - 1).textCount(), 1);
}

TEST_F(EditTest, RenamesNeverReplaceAndSayWhy) {
    addFile("a.mp3", "song a");
    addFile("b.mp3", "song b");
    selectRows(pane(), {0});
    // F2 onto an existing name: nothing moves, the row stays, the message says why.
    t.prompt.push(QString("b.mp3"));
    FileChanges c = renameWithPrompt(t.env, pane(), RenameType::File);
    ASSERT_EQ(c.size(), 1u);
    EXPECT_FALSE(c[0].result.ok);
    EXPECT_EQ(readAll(music("a.mp3")), "song a");
    EXPECT_EQ(readAll(music("b.mp3")), "song b");
    EXPECT_EQ(model.item(0).text(0), "a.mp3");
    ASSERT_EQ(t.prompt.informed().size(), 1);
    EXPECT_TRUE(t.prompt.informed()[0].contains("the new name exists"));
    // A name that would leave the folder is refused.
    t.prompt.push(QString("../a.mp3"));
    renameWithPrompt(t.env, pane(), RenameType::File);
    EXPECT_EQ(readAll(music("a.mp3")), "song a");
    EXPECT_FALSE(QFileInfo::exists(dir.path() + "/a.mp3"));
    // Cancel changes nothing; a plain rename works; "Only List" edits the row only.
    renameWithPrompt(t.env, pane(), RenameType::File);
    t.prompt.push(QString("c.mp3"));
    c = renameWithPrompt(t.env, pane(), RenameType::File);
    EXPECT_TRUE(c[0].result.ok);
    EXPECT_EQ(c[0].to, music("c.mp3"));
    EXPECT_EQ(readAll(music("c.mp3")), "song a");
    EXPECT_EQ(model.item(0).text(0), "c.mp3");
    t.prompt.push(QString("just the row"));
    renameWithPrompt(t.env, pane(), RenameType::OnlyList);
    EXPECT_EQ(model.item(0).text(0), "just the row");
    EXPECT_TRUE(QFileInfo::exists(music("c.mp3")));
    EXPECT_EQ(t.prompt.asked().size(), 5);
}

TEST_F(EditTest, ChangeCaseAndSeparatorsOnFilesEndWithOneSummary) {
    addFile("ac-dc - back in black.MP3", "acdc");
    addFile("Artist - Title.mp3", "title");
    addFile("Artist_-_Title.mp3", "taken");
    addFile("gone.mp3");
    QFile::remove(music("gone.mp3"));
    selectRows(pane(), {0, 1, 3});
    FileChanges c = changeCase(t.env, pane(), {0}, CaseRule::FirstLetters, RenameType::File);
    EXPECT_EQ(names(model)[0], "Ac-Dc - Back In Black.mp3");
    EXPECT_EQ(readAll(music("Ac-Dc - Back In Black.mp3")), "acdc");
    // A taken name fails; a name without the separator is no change.
    c = changeSeparator(t.env, pane(), {1, 3}, separatorFromCaption("'  -  '  -->  '_-_'"),
                        RenameType::File);
    EXPECT_EQ(c.size(), 1u);
    // The vanished file fails, the other goes through: one message for the batch.
    c = changeCase(t.env, pane(), {1, 3}, CaseRule::AllCaps, RenameType::File);
    ASSERT_EQ(c.size(), 2u);
    EXPECT_TRUE(c[0].result.ok) << c[0].result.error.toStdString() << c[0].to.toStdString();
    EXPECT_FALSE(c[1].result.ok);
    EXPECT_EQ(readAll(music("Artist_-_Title.mp3")), "taken");
    EXPECT_EQ(readAll(music("ARTIST - TITLE.mp3")), "title");
    ASSERT_EQ(t.prompt.informed().size(), 2);
    EXPECT_TRUE(t.prompt.informed()[0].startsWith("1 of 1 files could not be changed:"));
    EXPECT_TRUE(t.prompt.informed()[0].contains("Artist - Title.mp3: the new name exists"));
    EXPECT_TRUE(t.prompt.informed()[1].startsWith("1 of 2 files could not be changed:"));
    EXPECT_TRUE(t.prompt.informed()[1].contains("gone.mp3: No such file"));
}

TEST_F(EditTest, FolderRenamesChangeTheLastNameAndMoveEveryRowBelow) {
    addFile("abba/waterloo.mp3");
    addFile("abba/live/sos.mp3");
    addFile("abbamania/mamma mia.mp3");
    addFile("other/abba.mp3");
    // Case and separators change the last folder name only; rows at or below it follow.
    changeCase(t.env, pane(), {0}, CaseRule::AllCaps, RenameType::Directory);
    EXPECT_TRUE(QFileInfo(music("ABBA/live/sos.mp3")).isFile());
    EXPECT_EQ(model.item(0).text(SongItem::Location), music("ABBA/"));
    EXPECT_EQ(model.item(1).text(SongItem::Location), music("ABBA/live/"));
    EXPECT_EQ(model.item(2).text(SongItem::Location), music("abbamania/"));
    EXPECT_EQ(model.item(3).text(SongItem::Location), music("other/"));
    // F2: a typed name stays in the old parent; a path elsewhere is refused; an
    // existing folder is never replaced.
    selectRows(pane(), {1});
    t.prompt.push(QString("Live 1979"));
    renameWithPrompt(t.env, pane(), RenameType::Directory);
    EXPECT_EQ(model.item(1).text(SongItem::Location), music("ABBA/Live 1979/"));
    EXPECT_TRUE(QFileInfo(music("ABBA/Live 1979/sos.mp3")).isFile());
    t.prompt.push(music("other/Live 1979/"));
    FileChanges c = renameWithPrompt(t.env, pane(), RenameType::Directory);
    ASSERT_EQ(c.size(), 1u);
    EXPECT_FALSE(c[0].result.ok);
    selectRows(pane(), {2});
    t.prompt.push(QString("other"));
    c = renameWithPrompt(t.env, pane(), RenameType::Directory);
    EXPECT_EQ(c[0].result.errorCode, EEXIST);
    EXPECT_TRUE(QFileInfo(music("abbamania/mamma mia.mp3")).isFile());
    EXPECT_EQ(model.item(2).text(SongItem::Location), music("abbamania/"));
    EXPECT_EQ(t.prompt.asked()[0], "New name: ");
}

TEST_F(EditTest, DeleteMovesToTheTrashAndKeepsWhatFailed) {
    addFile("one.mp3", "1");
    addFile("two.mp3", "2");
    addFile("gone.mp3");
    QFile::remove(music("gone.mp3"));
    appendNote(model, "a note");
    for (int r = 0; r < 4; ++r)
        model.setChecked(r, true);
    // No to the warning: nothing happens.
    EXPECT_TRUE(deleteFromDisc(t.env, pane(), targetRows(pane(), RowTarget::Checked)).empty());
    EXPECT_EQ(model.size(), 4);
    t.prompt.push(Prompt::Answer::Yes);
    const FileChanges c = deleteFromDisc(t.env, pane(), targetRows(pane(), RowTarget::Checked));
    ASSERT_EQ(c.size(), 3u);
    EXPECT_EQ(c[0].kind, FileChange::Trash);
    EXPECT_EQ(readAll(dir.path() + "/data/Trash/files/one.mp3"), "1");
    EXPECT_EQ(c[1].to, dir.path() + "/data/Trash/files/two.mp3");
    EXPECT_FALSE(QFileInfo::exists(music("one.mp3")));
    // The vanished file keeps its row with the red tick; the note only left the list.
    EXPECT_EQ(names(model), QStringList({"gone.mp3"}));
    EXPECT_TRUE(model.item(0).hasFlag(SongItem::ErrorMark));
    EXPECT_EQ(count(SongListModel::Errors), 1);
    EXPECT_EQ(count(SongListModel::Checked), 1);
    EXPECT_TRUE(t.prompt.asked()[0].startsWith("You are about to move files to the trash."));
    ASSERT_EQ(t.prompt.informed().size(), 1);
    EXPECT_TRUE(t.prompt.informed()[0].contains("gone.mp3"));
    EXPECT_TRUE(t.prompt.listed().isEmpty()); // every file had a trash
}

TEST_F(EditTest, FilesWithoutATrashAreNamedInOneQuestion) {
    FatMount fat(dir.path());
    if (!fat.mounted())
        GTEST_SKIP() << "no FUSE or fusefat here";
    writeAll(fat.path("a.mp3"), "a");
    writeAll(fat.path("b.mp3"), "b");
    fat.unmount();
    ASSERT_TRUE(fat.mount(true)); // read-only: no trash can be made there
    addFile("here.mp3");
    model.append(songRow("a.mp3", fat.path("")));
    model.append(songRow("b.mp3", fat.path("")));
    const std::vector<int> all{0, 1, 2};
    // Asked even with warnings off; No keeps those files with the red tick, quietly.
    t.settings.setValue("CBWarnings", false);
    FileChanges c = deleteFromDisc(t.env, pane(), all);
    ASSERT_EQ(t.prompt.asked().size(), 1);
    EXPECT_TRUE(t.prompt.asked()[0].startsWith("You are about to permanently delete"));
    EXPECT_EQ(t.prompt.listed(), QStringList({fat.path("a.mp3"), fat.path("b.mp3")}));
    ASSERT_EQ(c.size(), 3u);
    EXPECT_EQ(c[0].kind, FileChange::Trash);
    EXPECT_TRUE(c[1].declined && c[2].declined);
    EXPECT_EQ(names(model), QStringList({"a.mp3", "b.mp3"}));
    EXPECT_EQ(count(SongListModel::Errors), 2);
    EXPECT_TRUE(t.prompt.informed().isEmpty());
    // Yes tries to delete them for good; the read-only mount refuses, and says so once.
    t.prompt.push(Prompt::Answer::Yes);
    c = deleteFromDisc(t.env, pane(), {0, 1});
    EXPECT_EQ(c[0].kind, FileChange::Delete);
    EXPECT_FALSE(c[0].result.ok);
    EXPECT_EQ(readAll(fat.path("a.mp3")), "a");
    ASSERT_EQ(t.prompt.informed().size(), 1);
    EXPECT_TRUE(t.prompt.informed()[0].startsWith("2 of 2 files could not be changed:"));
}

TEST_F(EditTest, RatingIs64BitStableAndKeepsTheSelection) {
    const QString max = QString::number(std::numeric_limits<qint64>::max());
    model.append(songRow("a", "/m/", "3"));
    model.append(songRow("b", "/m/", max));
    model.append(songRow("c", "/m/", ""));
    model.append(songRow("d", "/m/", "3"));
    model.append(songRow("e", "/m/", "-1"));
    QStringList sixteen{"f", "1.00", "/m/"};
    while (sixteen.size() < SongItem::Weight)
        sixteen << " ";
    model.append(SongItem(sixteen)); // a row of 16 sub-items gets "0" first
    selectRows(pane(), {1, 5});
    ASSERT_TRUE(rate(t.env, pane(), {1, 5}, RateAction::Up));
    // Sorted highest first, equal ratings in their order, non-numbers last.
    EXPECT_EQ(names(model), QStringList({"b", "a", "d", "f", "e", "c"}));
    EXPECT_EQ(model.item(0).text(SongItem::Weight), max); // no overflow
    EXPECT_EQ(model.item(3).text(SongItem::Weight), "1");
    EXPECT_EQ(pane().selectedRows(), std::vector<int>({0, 3}));
    selectRows(pane(), {4});
    rate(t.env, pane(), {4}, RateAction::Down);
    EXPECT_EQ(model.item(4).text(SongItem::Weight), "-2");

    // A rating that is no integer stops the command there; rows before keep their change.
    model.setText(0, SongItem::Weight, "x");
    t.settings.setValue("CBWeightResort", false);
    EXPECT_FALSE(rate(t.env, pane(), {1, 0, 2}, RateAction::Up));
    EXPECT_EQ(model.item(1).text(SongItem::Weight), "4");
    EXPECT_EQ(model.item(0).text(SongItem::Weight), "x");
    EXPECT_EQ(model.item(2).text(SongItem::Weight), "3");
    EXPECT_EQ(t.prompt.informed().last(), "'x' is not a valid integer value.");
}

TEST_F(EditTest, FindAndJump) {
    const char* titles[] = {"Love Me Do",  "Glove",    "All You Need Is Love", "love", "Beat It",
                            "Beat Street", "It's Beat"};
    for (const char* title : titles)
        model.append(songRow(QString(title) + ".mp3", "/m/", "0", "Artist", title));
    FindOptions o;
    o.text = "love";
    o.column = SongItem::SongTitle;
    o.wholeWords = true;
    o.staySelected = false;
    FindResult r = findNext(pane(), o, -1);
    EXPECT_EQ(r.rows, std::vector<int>({0}));
    r = findNext(pane(), o, r.lastFound);
    EXPECT_EQ(r.rows, std::vector<int>({2}));
    EXPECT_EQ(pane().selectedRows(), std::vector<int>({2}));
    r = findNext(pane(), o, r.lastFound);
    r = findNext(pane(), o, r.lastFound);
    EXPECT_TRUE(r.rows.empty());
    EXPECT_EQ(r.lastFound, -1); // ran to the end: the next search starts at the top
    o.findAll = true;
    o.caseSensitive = true;
    r = findNext(pane(), o, -1);
    EXPECT_EQ(r.rows, std::vector<int>({3}));
    o.caseSensitive = o.wholeWords = false;
    r = findNext(pane(), o, -1);
    EXPECT_EQ(r.rows, std::vector<int>({0, 1, 2, 3}));
    EXPECT_EQ(pane().selectedRows(), std::vector<int>({0, 1, 2, 3}));

    JumpIndex jump;
    jump.rebuild(model);
    EXPECT_EQ(jump.filter("beat it"), std::vector<int>({4, 6}));
    EXPECT_EQ(jump.filter("  "), std::vector<int>({0, 1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(jump.filter("LOVE"), std::vector<int>({0, 1, 2, 3}));
    EXPECT_TRUE(jump.filter("love beat").empty());
}

TEST_F(EditTest, SelectOnOtherListAndGoToLine) {
    for (const char* n : {"A.mp3", "b.mp3", "c.mp3"})
        model.append(songRow(n, "/m/"));
    for (const char* n : {"x.mp3", "a.MP3", "B.mp3", "a.mp3"})
        other.append(songRow(n, "/n/"));
    selectRows(pane(), {0, 1});
    EXPECT_TRUE(selectOnOtherList(pane(), otherPane()));
    EXPECT_EQ(otherPane().selectedRows(), std::vector<int>({1, 2}));

    struct Case {
        const char* typed;
        std::vector<int> selected;
        bool message;
    };
    const Case cases[] = {{"3", {2}, false},
                          {"abc", {2}, true},
                          {"1000000000000", {2}, false},
                          {"0", {2}, false},
                          {" 1 ", {0}, false}};
    for (const Case& c : cases) {
        const qsizetype before = t.prompt.informed().size();
        t.prompt.push(QString(c.typed));
        goToLine(t.env, pane());
        EXPECT_EQ(pane().selectedRows(), c.selected) << c.typed;
        EXPECT_EQ(t.prompt.informed().size() - before, c.message ? 1 : 0) << c.typed;
    }
}
