// Rows, counters, colours and texts of a list pane.
#include "base/settings.h"
#include "lists/listsort.h"
#include "lists/rowcolours.h"
#include "lists/selectionsize.h"
#include "lists/songhint.h"
#include "lists/songlistmodel.h"
#include "lists/songtags.h"

#include <QItemSelectionModel>
#include <QLocale>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <numeric>
#include <random>

namespace {
struct CLocale {
    CLocale() { QLocale::setDefault(QLocale::c()); }
} cLocale;

SongItem row(const QString& name, const QString& bitRate = " ") {
    QStringList t{name, "1.00", "/music/"};
    for (int i = 0; i < 13; ++i)
        t << " ";
    t << ""
      << "0";
    t[SongItem::BitRate] = bitRate;
    return SongItem(t);
}
} // namespace

TEST(SongItem, PacksTextsAndKeepsTheirOrder) {
    QStringList texts;
    for (int i = 0; i < SongItem::ColumnCount; ++i)
        texts << QString("text %1").arg(i);
    SongItem it(texts);
    EXPECT_EQ(it.texts(), texts);
    EXPECT_EQ(it.subItemCount(), 17);
    EXPECT_EQ(it.path(), "text 2text 0");

    it.setText(SongItem::Artist, "A much longer artist name than before");
    EXPECT_EQ(it.text(SongItem::Artist), "A much longer artist name than before");
    EXPECT_EQ(it.text(SongItem::Album), "text 5");

    SongItem shortRow(QStringList{"only a name.mp3"});
    EXPECT_FALSE(shortRow.has(SongItem::FileSizeKb));
    EXPECT_EQ(shortRow.text(SongItem::Weight), "");
    shortRow.setText(SongItem::Weight, "3");
    EXPECT_EQ(shortRow.textCount(), 18);
    EXPECT_EQ(shortRow.text(SongItem::Weight), "3");
    EXPECT_EQ(shortRow.text(SongItem::Location), "");
}

// Each step changes the model; the counters must equal what they count afterwards.
TEST(SongListModel, CountersFollowEveryChange) {
    SongListModel m(nullptr);
    for (int i = 0; i < 5; ++i)
        m.append(row(QString("s%1.mp3").arg(i)));
    struct Step {
        const char* what;
        std::function<void()> change;
        int count, checked, errors;
    } steps[] = {
        {"check two",
         [&] {
             m.setChecked(0, true);
             m.setChecked(1, true);
         },
         5, 2, 0},
        {"checking again changes nothing", [&] { m.setChecked(1, true); }, 5, 2, 0},
        {"error marks",
         [&] {
             m.setErrorMark(2, true);
             m.setErrorMark(3, true);
             m.setErrorMark(3, true);
         },
         5, 2, 2},
        {"user check clears the error mark", [&] { m.toggleCheckedByUser(2); }, 5, 3, 1},
        {"invert", [&] { m.invertAllChecked(); }, 5, 2, 1},
        {"remove checked and marked rows",
         [&] {
             m.removeRows({3, 4, 3});
         },
         3, 0, 0},
        {"check all", [&] { m.setAllChecked(true); }, 3, 3, 0},
        {"remove first", [&] { m.removeRows({0}); }, 2, 2, 0},
        {"clear", [&] { m.clear(); }, 0, 0, 0},
    };
    for (auto& s : steps) {
        s.change();
        EXPECT_EQ(m.counter(SongListModel::Count), s.count) << s.what;
        EXPECT_EQ(m.counter(SongListModel::Checked), s.checked) << s.what;
        EXPECT_EQ(m.counter(SongListModel::Errors), s.errors) << s.what;
    }
}

TEST(SongListModel, BulkAppendAnnouncesRowsOnce) {
    SongListModel m(nullptr);
    int inserts = 0;
    QObject::connect(&m, &QAbstractItemModel::rowsInserted, [&] { ++inserts; });
    m.beginBulk();
    for (int i = 0; i < 1000; ++i)
        m.append(row("x.mp3"));
    EXPECT_EQ(m.rowCount(), 0);
    m.endBulk();
    EXPECT_EQ(m.rowCount(), 1000);
    EXPECT_EQ(inserts, 1);
}

TEST(SongListModel, FindsByNameWithoutCaseAndByExactLocation) {
    SongListModel m(nullptr);
    m.append(SongItem(QStringList{"Song.mp3", "1.00", "/a/"}));
    m.append(SongItem(QStringList{"song.MP3", "1.00", "/b/"}));
    EXPECT_EQ(m.findSongItem("SONG.mp3"), 0);
    EXPECT_EQ(m.findSongItem("song.mp3", "/b/"), 1);
    EXPECT_EQ(m.findSongItem("song.mp3", "/B/"), -1);
    EXPECT_EQ(m.findSongItem("other.mp3"), -1);
}

TEST(RowColours, BitRateBandsDimmingAndNames) {
    QTemporaryDir dir;
    Settings s(dir.path() + "/");
    struct {
        const char* text;
        const char* key;
    } bands[] = {
        {"55999", "BitCMin"},   {"56000", "BitCMid1"},  {"127999", "BitCMid1"},
        {"128000", "BitCMid2"}, {"223999", "BitCMid2"}, {"224000", "BitCMax"},
        {"320000", "BitCMax"},
    };
    for (auto& b : bands)
        EXPECT_EQ(bitRateColor(b.text, s), s.colour(b.key)) << b.text;
    EXPECT_EQ(bitRateColor(" ", s), QColor(Qt::white));
    EXPECT_EQ(bitRateColor("", s), QColor(Qt::white));

    EXPECT_EQ(dimColor(Qt::white, 30), QColor(225, 225, 225));
    EXPECT_EQ(dimColor(QColor(10, 100, 200), 0), QColor(10, 100, 200));
    // A small red component borrows from green.
    EXPECT_EQ(dimColor(QColor(10, 100, 200), 30), QColor(236, 69, 170));
    EXPECT_EQ(dimColor(Qt::black, 30), QColor(Qt::black));

    EXPECT_EQ(htmlColor(Qt::white), "white");
    EXPECT_EQ(htmlColor(QColor(224, 255, 224)), "#E0FFE0");
}

TEST(SelectionSize, TextsAndParsing) {
    struct {
        double kb;
        const char* text;
    } cases[] = {
        {0, "0.00 KB"},
        {1024, "1024.00 KB"},
        {1536, "1.50 MB"},
        {3379.2, "3.30 MB"},
        {1024.0 * 1024 * 1.5, "1.50 GB"},
        {1024.0 * 1024 * 1024 * 2048, "2048.00 TB"},
    };
    for (auto& c : cases)
        EXPECT_EQ(sizeText(c.kb), c.text) << c.kb;
    EXPECT_EQ(fileSizeKbText(3456789), "3375.77");
    EXPECT_EQ(fileSizeKbText(0), "0.00");
    EXPECT_EQ(fileSizeKbText(1234567890), "1205630.00"); // six significant digits
}

// Sizes of 1,000 KB and more: written without grouping in every locale, and read back
// (also with grouping, as older lists may hold them) as the same number.
TEST(SelectionSize, LargeSizesReadBackInEveryLocale) {
    struct {
        const char* text;
        bool ok;
        double kb;
    } parsed[] = {
        {"1,525.10", true, 1525.10},
        {"1.525,10", true, 1525.10},
        {"3375.77", true, 3375.77},
        {"3375,77", true, 3375.77},
        {"1 525,10", true, 1525.10},
        {"1.205.630", true, 1205630},
        {"", false, 0},
        {"x", false, 0},
        {"1e5", false, 0},
        {"inf", false, 0},
        {" ", false, 0},
    };
    for (auto& p : parsed) {
        bool ok = !p.ok;
        const double kb = parseSizeKb(p.text, &ok);
        EXPECT_EQ(ok, p.ok) << p.text;
        if (p.ok) {
            EXPECT_DOUBLE_EQ(kb, p.kb) << p.text;
        }
    }
    for (const QLocale& locale :
         {QLocale(QLocale::English, QLocale::UnitedStates),
          QLocale(QLocale::German, QLocale::Germany), QLocale(QLocale::French, QLocale::France)}) {
        QLocale::setDefault(locale);
        const QString text = fileSizeKbText(1561702); // 1525.10 KB
        EXPECT_EQ(text.size(), 7) << text.toStdString();
        bool ok = false;
        EXPECT_DOUBLE_EQ(parseSizeKb(text, &ok), 1525.10) << text.toStdString();
        EXPECT_TRUE(ok);
        EXPECT_EQ(sizeText(1024), QString("1024") + locale.decimalPoint() + "00 KB");
    }
    QLocale::setDefault(QLocale::c());
}

namespace {
std::vector<SongItem> column(int col, const QStringList& texts) {
    std::vector<SongItem> rows;
    for (const QString& t : texts) {
        SongItem it(QStringList{"f.mp3"});
        it.setText(col, t);
        rows.push_back(it);
    }
    return rows;
}
} // namespace

// Size, year, track, length, bit rate, frequency and rating sort as numbers; the rest as
// text without regard to case. Equal keys keep their order in both directions.
TEST(ListSort, SortKindsAndStability) {
    struct {
        int col;
        QStringList texts;
        std::vector<int> ascending;
        std::vector<int> descending;
    } cases[] = {
        {SongItem::TrackNumber, {"10", "9", "0", "2"}, {2, 3, 1, 0}, {0, 1, 3, 2}},
        {SongItem::FileSizeKb, {"1,525.10", "999.00", "1525,20", "x"}, {3, 1, 0, 2}, {2, 0, 1, 3}},
        {SongItem::Year, {"2005-03-01", " ", "1999", "2005"}, {1, 2, 0, 3}, {0, 3, 2, 1}},
        {SongItem::Weight, {"-2", "3", "0", "-10"}, {3, 0, 2, 1}, {1, 2, 0, 3}},
        {SongItem::BitRate, {"128000", "64000", "128000", "320000"}, {1, 0, 2, 3}, {3, 0, 2, 1}},
        {SongItem::SongTitle,
         {"banana", "Apple", "apple", "Äpfel", "cherry", "", "APPLE"},
         {5, 1, 2, 6, 0, 4, 3},
         {3, 4, 0, 1, 2, 6, 5}},
        {SongItem::Location, {"/m/b/", "/M/a/", "/m/a/x/", "/m/"}, {3, 1, 2, 0}, {0, 2, 1, 3}},
        {SongItem::CRC, {"Yes", "no", "No", "yes"}, {1, 2, 0, 3}, {0, 3, 1, 2}},
    };
    for (auto& c : cases) {
        const auto rows = column(c.col, c.texts);
        EXPECT_EQ(sortedOrder(rows, c.col, Qt::AscendingOrder), c.ascending) << c.col;
        EXPECT_EQ(sortedOrder(rows, c.col, Qt::DescendingOrder), c.descending) << c.col;
    }
    // A row that does not carry the column sorts as an empty text.
    std::vector<SongItem> short_ = {SongItem(QStringList{"b.mp3", "1.00", "/x/", "Title"}),
                                    SongItem(QStringList{"a.mp3"})};
    EXPECT_EQ(sortedOrder(short_, SongItem::SongTitle, Qt::AscendingOrder),
              (std::vector<int>{1, 0}));
}

// Many rows take the fast paths (passes over four characters at a time, long shared
// beginnings, short runs); they must give what a plain stable sort gives.
TEST(ListSort, ManyRowsSortAsAPlainStableSort) {
    std::mt19937 rng(7);
    const QString pieces[] = {"/home/music/", "Ab", "ab", "AB", "b", "ä", "Ä", " ", "z", "", "é"};
    QStringList texts;
    for (int i = 0; i < 20000; ++i) {
        QString t;
        const int n = int(rng() % 7);
        for (int k = 0; k < n; ++k)
            t += pieces[rng() % std::size(pieces)];
        texts << t;
    }
    const auto rows = column(SongItem::Album, texts);
    for (Qt::SortOrder order : {Qt::AscendingOrder, Qt::DescendingOrder}) {
        std::vector<int> expected(texts.size());
        std::iota(expected.begin(), expected.end(), 0);
        std::stable_sort(expected.begin(), expected.end(), [&](int a, int b) {
            const QString x = texts[a].toCaseFolded(), y = texts[b].toCaseFolded();
            return order == Qt::AscendingOrder ? x < y : y < x;
        });
        EXPECT_EQ(sortedOrder(rows, SongItem::Album, order), expected) << int(order);
    }
    // Numbers too: many equal ratings keep their order.
    QStringList weights;
    for (int i = 0; i < 20000; ++i)
        weights << QString::number(int(rng() % 21) - 10);
    const auto rated = column(SongItem::Weight, weights);
    std::vector<int> expected(weights.size());
    std::iota(expected.begin(), expected.end(), 0);
    std::stable_sort(expected.begin(), expected.end(),
                     [&](int a, int b) { return weights[b].toInt() < weights[a].toInt(); });
    EXPECT_EQ(sortedOrder(rated, SongItem::Weight, Qt::DescendingOrder), expected);
}

TEST(ListSort, SortingReordersTheRowsAndKeepsTheSelection) {
    SongListModel m(nullptr);
    for (const char* name : {"c.mp3", "a.mp3", "b.mp3"})
        m.append(SongItem(QStringList{name, "1.00", "/m/"}));
    m.setChecked(0, true);
    QItemSelectionModel selection(&m);
    selection.select(m.index(0, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    int layouts = 0;
    QObject::connect(&m, &QAbstractItemModel::layoutChanged, [&] { ++layouts; });
    sortList(m, SongItem::FileName, Qt::AscendingOrder);
    EXPECT_EQ(layouts, 1);
    EXPECT_EQ(m.item(0).text(0), "a.mp3");
    EXPECT_EQ(m.item(2).text(0), "c.mp3");
    EXPECT_TRUE(m.item(2).checked());
    ASSERT_EQ(selection.selectedRows().size(), 1);
    EXPECT_EQ(selection.selectedRows().first().row(), 2);
    EXPECT_EQ(m.counter(SongListModel::Checked), 1);
}

TEST(SongHint, EscapesTagTextsAndFollowsTheSettings) {
    QTemporaryDir dir;
    Settings s(dir.path() + "/");
    SongItem it = row("a.mp3", "128000");
    it.setText(SongItem::SongTitle, "<script>Tom & Jerry</script>");
    it.setText(SongItem::Album, "Best \"Of\"");
    const QString hint = buildSongHint(it, s);
    EXPECT_TRUE(hint.startsWith("<b>INFO</b><hr><br>"));
    EXPECT_TRUE(hint.contains("&lt;script&gt;Tom &amp; Jerry&lt;/script&gt;"));
    EXPECT_FALSE(hint.contains("<script>"));
    EXPECT_TRUE(hint.contains("Best &quot;Of&quot;"));
    EXPECT_TRUE(hint.contains("Doesn't have lyrics"));
    EXPECT_TRUE(hint.contains("Empty DB")); // no catalogue open
    EXPECT_FALSE(hint.contains("Artist"));  // off by default
    EXPECT_TRUE(hint.endsWith("<br>"));

    s.setValue("CBHArtist", true);
    s.setValue("CBHBitRate", true);
    HintSources sources;
    sources.findOnCd = [](const QString& name) {
        return name == "a" ? QString("CD 7") : QString();
    };
    const QString more = buildSongHint(it, s, sources);
    EXPECT_TRUE(more.contains("<b>Artist: </b>"));
    EXPECT_TRUE(more.contains("<b>On CD: </b>CD 7"));
    EXPECT_TRUE(more.contains("background-color:" + htmlColor(s.colour("BitCMid2"))));
    // The parts keep their order: title before album before length.
    EXPECT_LT(more.indexOf("Song title"), more.indexOf("Album"));
    EXPECT_LT(more.indexOf("Album"), more.indexOf("Length (sec)"));
}
