// List files: each format written and read back, the faults of old list files, and
// damaged input.
#include "base/nativepath.h"
#include "listfixtures.h"
#include "lists/listformats.h"
#include "lists/listtext.h"
#include "lists/songtags.h"
#include "support/testfiles.h"

#include <QFile>
#include <QGuiApplication>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>
#include <QXmlStreamReader>

#include <csignal>
#include <sys/resource.h>

using namespace listfixtures;
using namespace testfiles;

namespace {
QByteArray field(const QByteArray& text) {
    return char(text.size()) + text;
}
} // namespace

// ---- .rnl

TEST_F(ListFilesTest, RnlOfAnOrdinaryListIsTheClassicFormat) {
    SongItem a = fullRow("Song.mp3");
    a.setChecked(true);
    model.append(a);
    ASSERT_TRUE(save("list.rnl", ListFormat::Rnl));
    // Version, 17 sub-items, then name, checked flag and the texts, " " for an empty one.
    QByteArray expected = field("v 3.0.4") + field("17") + field("Song.mp3") + field("1");
    for (int c = 1; c < SongItem::ColumnCount; ++c)
        expected += field(c == SongItem::Attributes ? " " : a.text(c).toUtf8());
    EXPECT_EQ(readAll(path("list.rnl")), expected);
    EXPECT_EQ(state.title, path("list.rnl"));
}

TEST_F(ListFilesTest, RnlRoundTripsMixedRows) {
    // A note first: classic files took the first row's count for every row.
    model.append(SongItem(QStringList{"-- a note --"}));
    SongItem full = fullRow("Two.mp3");
    full.setChecked(true);
    model.append(full);
    model.append(SongItem(QStringList{"Short.mp3", "1.00", "/x/"}));
    model.append(fullRow("Fourth.mp3", "Ärzte"));
    ASSERT_TRUE(save("mixed.rnl", ListFormat::Rnl));
    EXPECT_EQ(rowsOf(reload("mixed.rnl")), asStoredInRnl(model));
    EXPECT_EQ(loaded.counter(SongListModel::Checked), 1);
    EXPECT_EQ(loadedState.title, path("mixed.rnl"));
}

TEST_F(ListFilesTest, OlderRnlFiles) {
    const auto row = [](const QByteArray& name, int subItems) {
        QByteArray b = field(name) + field("0");
        for (int i = 0; i < subItems; ++i)
            b += field(QByteArray::number(i));
        return b;
    };
    struct Case {
        const char* what;
        QByteArray bytes;
        QStringList rows;
    } cases[] = {
        {"no version field", field("2") + row("a", 2), {"a|0|1"}},
        {"16 sub-items get a rating",
         field("v 3.0.4") + field("16") + row("a", 16),
         {"a|0|1|2|3|4|5|6|7|8|9|10|11|12|13|14|15|0"}},
        {"a row cut short by the end gets none",
         field("v 3.0.4") + field("16") + row("a", 16) + row("b", 3),
         {"a|0|1|2|3|4|5|6|7|8|9|10|11|12|13|14|15|0", "b|0|1|2"}},
        {"a field cut off",
         field("17") + field("a") + field("1") +
             QByteArray("\x05"
                        "ab"),
         {"[x]a|ab"}},
        {"no rows", field("v 3.0.4") + field("17"), {}},
    };
    for (const Case& c : cases) {
        writeAll(path("old.rnl"), c.bytes);
        EXPECT_EQ(rowsOf(reload("old.rnl")), c.rows) << c.what;
        EXPECT_TRUE(t.prompt.informed().isEmpty()) << c.what;
    }
}

TEST_F(ListFilesTest, RnlLoadedWithoutTagsKeepsSizeFolderAttributesAndRating) {
    SongItem a = fullRow("Song.mp3");
    a.setText(SongItem::Attributes, "R ");
    a.setText(SongItem::Weight, "5");
    model.append(a);
    ASSERT_TRUE(save("rated.rnl", ListFormat::Rnl));
    setTagsOnLoad(false);
    const SongItem& b = reload("rated.rnl").item(0);
    EXPECT_EQ(b.text(SongItem::FileSizeKb), "3375.77");
    EXPECT_EQ(b.text(SongItem::Location), "/music/");
    for (int c = SongItem::SongTitle; c <= SongItem::Copyright; ++c)
        EXPECT_EQ(b.text(c), " ") << c;
    EXPECT_EQ(b.text(SongItem::Attributes), "R ");
    EXPECT_EQ(b.text(SongItem::Weight), "5");
}

TEST_F(ListFilesTest, RnlNeverCutsLongTexts) {
    SongItem a = fullRow("Song.mp3");
    a.setText(SongItem::Location, "/music/" + QString(200, QChar(0x00E9)) + "/"); // 408 bytes
    a.setText(SongItem::Comment, QString(255, 'c'));
    model.append(a);
    model.append(fullRow("Other.mp3"));
    ASSERT_TRUE(save("long.rnl", ListFormat::Rnl));
    EXPECT_TRUE(readAll(path("long.rnl")).startsWith(field("v 3.0.4 long")));
    EXPECT_EQ(rowsOf(reload("long.rnl")), asStoredInRnl(model));
}

TEST_F(ListFilesTest, NamesKeepTheirFileSystemBytes) {
    // A name in Latin-1 on a UTF-8 system, and a tag text in UTF-8.
    const QString name = fromNativePath(QByteArray("Caf\xE9.mp3"));
    model.append(fullRow(name, "Café"));
    for (const char* file : {"bytes.rnl", "bytes.csv", "bytes.dat"}) {
        ASSERT_TRUE(save(file, listFormatOfPath(file)));
        EXPECT_TRUE(readAll(path(file)).contains("Caf\xE9.mp3")) << file;
        EXPECT_TRUE(readAll(path(file)).contains("Caf\xC3\xA9")) << file;
        EXPECT_EQ(reload(file).item(0).text(SongItem::FileName), name) << file;
        EXPECT_EQ(loaded.item(0).text(SongItem::Artist), "Café") << file;
    }
}

TEST_F(ListFilesTest, OldTextInWindows1252IsRead) {
    writeAll(path("old.csv"), "a.mp3,1.00,/m/,Ca\xF1"
                              "on \x80\r\n");
    EXPECT_EQ(reload("old.csv").item(0).text(SongItem::SongTitle), QString::fromUtf8("Cañon €"));
}

TEST_F(ListFilesTest, ZeroCharactersOfTagsStayOutOfTextFiles) {
    // Tags can hand the pane a text with U+0000 in it (a kept terminator).
    SongItem a = fullRow("Song.mp3");
    a.setText(SongItem::Comment, QString("iTunNORM") + QChar(0) + " 0000080E");
    model.append(a);
    for (const char* file : {"z.csv", "z.dat"}) {
        ASSERT_TRUE(save(file, listFormatOfPath(file)));
        EXPECT_FALSE(readAll(path(file)).contains('\0')) << file;
        EXPECT_EQ(reload(file).item(0).text(SongItem::Comment), "iTunNORM 0000080E") << file;
    }
    ASSERT_TRUE(save("z.rnl", ListFormat::Rnl)); // length-prefixed: kept as it is
    EXPECT_EQ(reload("z.rnl").item(0).text(SongItem::Comment), a.text(SongItem::Comment));
}

// ---- files that are no lists, or damaged ones

TEST_F(ListFilesTest, AFileThatIsNoListLeavesTheListAsItWas) {
    struct Case {
        const char* file;
        QByteArray bytes;
    } cases[] = {
        {"empty.rnl", ""},
        {"count.rnl", field("v 3.0.4") + field("99")},
        {"words.rnl", field("v 3.0.4") + field("abc")},
        {"binary.rnl", QByteArray("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16)},
        {"text.rnl", "just some text\n"},
        {"binary.txt", QByteArray("abc\0def", 7)},
        {"binary.csv", QByteArray("a,b\n\0\0", 6)},
        {"binary.m3u", QByteArray("#EXTM3U\n\0", 9)},
        {"zero.dat", "0,5\n"},
        {"none.dat", "hello\n"},
        {"huge.dat", "18,2000000000\n0,0,0,x\n"},
        {"empty.dat", ""},
        {"binary.dat", QByteArray("18,1\n\0", 6)},
    };
    for (const Case& c : cases) {
        writeAll(path(c.file), c.bytes);
        SongListModel pane(&t.settings);
        pane.append(fullRow("Kept.mp3"));
        pane.setDuplicateCount(3);
        ListFileState st;
        st.title = "/before/";
        const ListLoadResult r = loadList(t.env, pane, st, path(c.file));
        EXPECT_FALSE(r.loaded) << c.file;
        ASSERT_EQ(pane.size(), 1) << c.file;
        EXPECT_EQ(pane.counter(SongListModel::Duplicates), 3) << c.file;
        EXPECT_EQ(pane.item(0).text(0), "Kept.mp3") << c.file;
        EXPECT_EQ(st.title, "/before/") << c.file;
        ASSERT_FALSE(t.prompt.informed().isEmpty()) << c.file;
        EXPECT_TRUE(t.prompt.informed().last().contains(c.file)) << c.file;
    }
}

TEST_F(ListFilesTest, ExtensionsMatchWithoutRegardToCase) {
    model.append(fullRow("Song.mp3"));
    ASSERT_TRUE(save("LIST.RNL", ListFormat::Rnl));
    EXPECT_EQ(reload("LIST.RNL").size(), 1);
    writeAll(path("list.foo"), "x");
    EXPECT_FALSE(loadList(t.env, loaded, loadedState, path("list.foo")).loaded);
    EXPECT_TRUE(t.prompt.informed().last().contains(".foo"));
    EXPECT_FALSE(loadList(t.env, loaded, loadedState, path("missing.rnl")).loaded);
    EXPECT_TRUE(t.prompt.informed().last().contains("missing.rnl"));
}

TEST_F(ListFilesTest, DamagedTextFilesKeepTheRowsBefore) {
    writeAll(path("quote.csv"), "a.mp3,1\nb.mp3,\"never closed\nc.mp3\n");
    reload("quote.csv");
    EXPECT_EQ(rowsOf(loaded), QStringList{"a.mp3|1"});
    EXPECT_TRUE(t.prompt.informed().last().contains("line 2"))
        << t.prompt.informed().last().toStdString();

    // A line of 10 MB is read (its texts cut to what a row holds); one past 16 MB is refused.
    writeAll(path("long.txt"), "first\n" + QByteArray(10 * 1024 * 1024, 'x') + "\nlast\n");
    EXPECT_EQ(reload("long.txt").size(), 3);
    writeAll(path("longer.txt"), "first\n" + QByteArray(17 * 1024 * 1024, 'x') + "\nlast\n");
    EXPECT_EQ(reload("longer.txt").size(), 1);
    EXPECT_TRUE(t.prompt.informed().last().contains("line 2"));
}

// ---- .csv

TEST_F(ListFilesTest, CsvQuotesWhatNeedsItAndReadsItBack) {
    SongItem a = fullRow("a, b.mp3");
    a.setText(SongItem::SongTitle, "say \"hi\"");
    a.setText(SongItem::Comment, "two\r\nlines");
    a.setText(SongItem::Album, "  spaced  ");
    a.setFlag(SongItem::ErrorMark, true);
    model.append(a);
    model.append(SongItem(QStringList{"note only"}));
    ASSERT_TRUE(save("q.csv", ListFormat::Csv));
    const QByteArray bytes = readAll(path("q.csv"));
    EXPECT_TRUE(
        bytes.startsWith("\"a, b.mp3\",3375.77,/music/,\"say \"\"hi\"\"\",Artist,  spaced  ,"));
    EXPECT_TRUE(bytes.contains(",\"two\r\nlines\","));
    EXPECT_TRUE(bytes.endsWith("\r\nnote only\r\n"));
    EXPECT_EQ(rowsOf(reload("q.csv")), rowsOf(model));
    EXPECT_EQ(loaded.item(0).stateFlags(), 0);
    EXPECT_EQ(loaded.counter(SongListModel::Errors), 0);
}

TEST_F(ListFilesTest, CsvSeparatorIsDetectedOnceAndKept) {
    struct Case {
        const char* what;
        QByteArray text;
        char separator; // 0: none detected, "," used and nothing kept
        int fields;
    } cases[] = {
        {"three ; and two , in both lines", "a;b,c;d,e;f\ng;h,i;j,k;l\n", ';', 4},
        {"equal counts: the earlier wins", "a,b;c\nd,e;f\n", ',', 2},
        {"different counts do not qualify", "a,b,c;d\ne,f;g\n", ';', 2},
        {"separators inside quotes do not count", "\"a;b;c\",d\n\"e;f\",g\n", ',', 2},
        {"tab", "a\tb\tc\nd\te\tf\n", '\t', 3},
        {"one record", "a|b|c\n", '|', 3},
        {"none", "abc\ndef\n", 0, 1},
    };
    for (const Case& c : cases) {
        writeAll(path("s.csv"), c.text);
        ListFileState st;
        SongListModel pane(&t.settings);
        loadList(t.env, pane, st, path("s.csv"));
        EXPECT_EQ(st.csvSeparator, c.separator ? QChar::fromLatin1(c.separator) : QChar())
            << c.what;
        ASSERT_GE(pane.size(), 1) << c.what;
        EXPECT_EQ(pane.item(0).textCount(), c.fields) << c.what;
    }
    // Kept: the next load of the pane uses it, and so does its next CSV save.
    writeAll(path("semi.csv"), "a;1,5;x\nb;2,5;y\n");
    loadList(t.env, model, state, path("semi.csv"));
    writeAll(path("more.csv"), "c;3,5;z\n");
    loadList(t.env, model, state, path("more.csv"));
    EXPECT_EQ(rowsOf(model), (QStringList{"a|1,5|x", "b|2,5|y", "c|3,5|z"})); // appended
    ASSERT_TRUE(save("out.csv", ListFormat::Csv));
    EXPECT_EQ(readAll(path("out.csv")), "a;1,5;x\r\nb;2,5;y\r\nc;3,5;z\r\n");
}

// ---- .txt, .m3u, .dat

TEST_F(ListFilesTest, TxtHoldsNamesWithoutExtensions) {
    model.append(fullRow("Song.mp3"));
    model.append(SongItem(QStringList{"Band - Live.at.home.mp3"}));
    model.append(SongItem(QStringList{"no extension"}));
    ASSERT_TRUE(save("names.txt", ListFormat::Txt));
    EXPECT_EQ(readAll(path("names.txt")), "Song\nBand - Live.at.home\nno extension\n");
    writeAll(path("crlf.txt"), "\xEF\xBB\xBFone\r\ntwo\r\n\r\nlast");
    EXPECT_EQ(rowsOf(reload("crlf.txt")), (QStringList{"one", "two", "", "last"}));
}

TEST_F(ListFilesTest, M3uEntries) {
    model.append(fullRow("Song.mp3"));
    SongItem noLength = fullRow("Other.mp3");
    noLength.setText(SongItem::LengthSec, " ");
    model.append(noLength);
    model.append(SongItem(QStringList{"note", "1.00"})); // one sub-item: left out
    ASSERT_TRUE(save("p.m3u", ListFormat::M3u));
    EXPECT_EQ(readAll(path("p.m3u")), "#EXTM3U\n#EXTINF:215,Song\n/music/Song.mp3\n"
                                      "#EXTINF:-1,Other\n/music/Other.mp3\n");
}

TEST_F(ListFilesTest, M3uLoadResolvesEntriesAndSkipsWhatIsNoFile) {
    setTagsOnLoad(false);
    QDir().mkpath(path("sub"));
    writeAll(path("a.mp3"), "x");
    writeAll(path("sub/b c.mp3"), "x");
    writeAll(path("sub/list.m3u8"), "#EXTM3U\r\n\r\n../a.mp3\r\n#EXTINF:1,b\r\nfile://" +
                                        root.toUtf8() +
                                        "sub/b%20c.mp3\r\nhttp://radio.example/stream.mp3\r\n" +
                                        root.toUtf8() + "sub\r\n/dev/null\r\n  \r\ngone.mp3\r\n");
    model.append(fullRow("Earlier.mp3"));
    loadList(t.env, model, state, path("sub/list.m3u8"));
    ASSERT_EQ(model.size(), 4); // appended to the row that was there
    EXPECT_EQ(model.item(1).path(), path("a.mp3"));
    EXPECT_EQ(model.item(2).path(), path("sub/b c.mp3"));
    EXPECT_EQ(model.item(3).path(), path("sub/gone.mp3")); // a missing file still gets its row
    EXPECT_EQ(model.item(1).textCount(), SongItem::ColumnCount);
}

TEST_F(ListFilesTest, DatRoundTripsTextsFlagsAndLineBreaks) {
    SongItem a = fullRow("Song.mp3");
    a.setText(SongItem::Comment, "one\r\ntwo\nthree");
    a.setFlag(SongItem::ErrorMark, true);
    model.append(a);
    model.append(fullRow("Other.mp3"));
    ASSERT_TRUE(save("d.dat", ListFormat::Dat));
    const QByteArray bytes = readAll(path("d.dat"));
    EXPECT_TRUE(bytes.startsWith("18,2\ncw 0,280\ncw 1,90\n"));
    EXPECT_TRUE(bytes.contains("\n0,0,1,Song.mp3\n"));
    EXPECT_TRUE(bytes.contains("\n9,0,-1,one\t\btwo\bthree\n"));
    const ListLoadResult r = loadList(t.env, loaded, loadedState, path("d.dat"));
    EXPECT_TRUE(r.resetHeaders);
    EXPECT_EQ(rowsOf(loaded), rowsOf(model));
    EXPECT_EQ(loaded.counter(SongListModel::Errors), 1);
}

TEST_F(ListFilesTest, DatCellsOffTheGridAreSkipped) {
    writeAll(path("g.dat"),
             "2,3\r\ncw 0,100\r\ncw 9,5\r\n0,1,5,b.mp3\r\n0,9,-1,far\r\n7,0,-1,wide\r\n"
             "1,1,-1,1.00\r\ngarbage line\r\n0,0,-1,a.mp3\r\n0,1,1,B.mp3\r\n");
    reload("g.dat");
    EXPECT_EQ(rowsOf(loaded), (QStringList{"a.mp3||", "B.mp3|1.00|", "||"}));
    EXPECT_EQ(loaded.item(1).stateFlags(), SongItem::ErrorMark); // the later picture wins
    EXPECT_EQ(loaded.item(0).stateFlags(), 0);
}

// ---- .xml and .htm, read back by parsers

TEST_F(ListFilesTest, XmlIsWellFormedUtf8) {
    SongItem a = fullRow("Tom & Jerry.mp3");
    a.setText(SongItem::SongTitle, "Rock & <Roll> \x01\"x\"");
    a.setText(SongItem::Artist, QString::fromUtf8("Motörhead"));
    model.append(a);
    model.append(SongItem(QStringList{"note"}));
    ASSERT_TRUE(save("x.xml", ListFormat::Xml));
    QFile f(path("x.xml"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&f);
    QStringList seen;
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType token = xml.readNext();
        if (token == QXmlStreamReader::StartDocument) {
            EXPECT_EQ(xml.documentEncoding(), QString("UTF-8"));
        }
        if (token != QXmlStreamReader::StartElement)
            continue;
        const QString name = xml.name().toString();
        if (name == "CD")
            seen << "CD " + xml.attributes().value("id").toString();
        else if (name != "CATALOG")
            seen << name + "=" + xml.readElementText().trimmed();
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_EQ(seen, (QStringList{"NUMBER=2", "CD 0", "Song_Title=Rock & <Roll> \"x\"",
                                 "Artist=Motörhead", "Album=Album", "Year=1999", "Genre=Rock",
                                 "Track_Number=3", "Comment=Comment", "CD 1"}));
}

TEST(ListText, XmlElementNames) {
    const std::pair<const char*, const char*> cases[] = {
        {"Song Title", "Song_Title"},
        {"Length (sec)", "Length__sec_"},
        {"1st", "_st"},
        {"Länge", "Länge"},
        {"a:b", "a_b"},
        {"", "_"},
        {"x-1.2", "x-1.2"},
    };
    for (const auto& [caption, name] : cases)
        EXPECT_EQ(listtext::xmlElementName(QString::fromUtf8(caption)), QString::fromUtf8(name));
}

TEST_F(ListFilesTest, HtmIsADocumentWithTheTableAsDrawn) {
    t.settings.setValue("CBColorBitrate", false);
    SongItem a = fullRow("A & B <live>.mp3");
    model.append(a);
    model.append(fullRow("Slow.mp3", "Artist", "32000"));
    ASSERT_TRUE(save("h.htm", ListFormat::Htm));
    const QByteArray bytes = readAll(path("h.htm"));
    EXPECT_TRUE(bytes.contains("<meta charset=\"utf-8\">"));
    EXPECT_TRUE(bytes.contains("<table border=\"1\" cellspacing=\"0\" width=\"100%\">"));
    EXPECT_TRUE(bytes.contains("<td nowrap BGCOLOR=\"#FFFFFF\"><font color=\"#000000\"><B>A &amp; "
                               "B &lt;live&gt;.mp3</B></font></td>"));
    // The bit-rate cell in its band colour; 128000 is at the third band.
    EXPECT_TRUE(bytes.contains("BGCOLOR=\"#E0FFE0\"><font color=\"#000000\">128000<"));
    EXPECT_TRUE(bytes.contains("BGCOLOR=\"#FFE0FF\"><font color=\"#000000\">32000<"));
    EXPECT_TRUE(bytes.contains("<td nowrap align=\"center\" BGCOLOR=\"#FFFFFF\"><font "
                               "color=\"#000000\">3</font>"));
    EXPECT_TRUE(bytes.contains("<BR></td>")); // the empty Attributes cell

    QTextDocument doc;
    doc.setHtml(QString::fromUtf8(bytes));
    QTextTable* table = nullptr;
    for (QTextBlock b = doc.begin(); b.isValid() && !table; b = b.next())
        table = qobject_cast<QTextTable*>(QTextCursor(b).currentTable());
    ASSERT_TRUE(table);
    ASSERT_EQ(table->rows(), 3);
    ASSERT_EQ(table->columns(), 18);
    const auto cellText = [&](int r, int c) {
        // An empty cell holds a line break.
        return table->cellAt(r, c).firstCursorPosition().block().text().remove(
            QChar::LineSeparator);
    };
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 18; ++c)
            EXPECT_EQ(cellText(r + 1, c), model.item(r).text(c)) << r << " " << c;
    EXPECT_EQ(cellText(0, 0), "File Name");
}

// ---- writing fails

TEST_F(ListFilesTest, AFailedSaveKeepsTheOldFile) {
    for (int i = 0; i < 3000; ++i)
        model.append(fullRow(QString("Song %1.mp3").arg(i)));
    writeAll(path("keep.csv"), "the old list\n");
    // Writes past 64 KB fail (as on a full disc); the signal it raises is ignored.
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = old;
    small.rlim_cur = 64 * 1024;
    setrlimit(RLIMIT_FSIZE, &small);
    const bool savedCsv = save("keep.csv", ListFormat::Csv);
    const bool savedRnl = save("keep.rnl", ListFormat::Rnl);
    setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_FALSE(savedCsv);
    EXPECT_FALSE(savedRnl);
    EXPECT_EQ(readAll(path("keep.csv")), "the old list\n");
    EXPECT_FALSE(QFile::exists(path("keep.rnl")));
    EXPECT_EQ(QDir(root).entryList(QDir::Files | QDir::Hidden).size(), 1) << "no temporary left";
    ASSERT_GE(t.prompt.informed().size(), 2);
    EXPECT_TRUE(t.prompt.informed()[0].contains("keep.csv"));

    EXPECT_FALSE(save("no/such/folder/x.txt", ListFormat::Txt));
    EXPECT_TRUE(t.prompt.informed().last().contains("x.txt"));
    EXPECT_EQ(state.title, QString()); // a failed save names no file
}

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv); // the HTML check parses with QTextDocument
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
