// The record file: its bytes, reading past the end, skipping, seeking, FindRecord's
// flags, long texts, and atomic creation.
#include "lists/tdrecord.h"
#include "support/testfiles.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace testfiles;

namespace {
class RecordTest : public ::testing::Test {
protected:
    QString file(const QString& name = "r.rec") const { return dir.filePath(name); }
    // A file of the given fields, written by TDRecord.
    QString fileWith(std::initializer_list<const char*> fields) {
        TDRecord rec;
        EXPECT_TRUE(rec.Open(file(), true));
        for (const char* f : fields)
            EXPECT_TRUE(rec.WriteField(f));
        EXPECT_TRUE(rec.Close());
        return file();
    }
    QTemporaryDir dir;
};
} // namespace

TEST_F(RecordTest, FieldsAreALengthByteAndTheirBytes) {
    TDRecord rec;
    ASSERT_TRUE(rec.Open(file(), true));
    EXPECT_TRUE(rec.WriteField("v 3.0.4"));
    EXPECT_TRUE(rec.WriteNumber(17));
    EXPECT_TRUE(rec.WriteField(""));
    EXPECT_TRUE(rec.WriteNumber(-5000000000LL));
    EXPECT_FALSE(rec.WriteField(QByteArray(256, 'x'))); // refused, nothing written
    EXPECT_TRUE(rec.WriteField(QByteArray(255, 'y')));
    ASSERT_TRUE(rec.Close());
    const QByteArray expected = QByteArray("\x07v 3.0.4") + '\x02' + "17" + '\0' + '\x0B' +
                                "-5000000000" + '\xFF' + QByteArray(255, 'y');
    EXPECT_EQ(readAll(file()), expected);
}

TEST_F(RecordTest, ReadsNumbersBooleansAndEmptyAtTheEnd) {
    TDRecord rec;
    ASSERT_TRUE(rec.OpenRead(fileWith({"1", "0", "42", "x42", "-7", "abc"})));
    EXPECT_TRUE(rec.ReadBool());
    EXPECT_FALSE(rec.ReadBool());
    EXPECT_EQ(rec.ReadNumber(), 42);
    EXPECT_EQ(rec.ReadNumber(), 0); // not a number
    EXPECT_EQ(rec.ReadNumber(), -7);
    EXPECT_FALSE(rec.AtEnd());
    EXPECT_EQ(rec.ReadField(), "abc");
    EXPECT_TRUE(rec.AtEnd());
    EXPECT_EQ(rec.ReadField(), "");
    EXPECT_EQ(rec.ReadNumber(), 0);
    EXPECT_FALSE(rec.Truncated());
}

TEST_F(RecordTest, SkipsSeeksAndStopsAtTheEnd) {
    TDRecord rec;
    ASSERT_TRUE(rec.OpenRead(fileWith({"a", "bb", "ccc"})));
    rec.SkipFields(2);
    EXPECT_EQ(rec.Position(), 5);
    EXPECT_EQ(rec.ReadField(), "ccc");
    EXPECT_TRUE(rec.SeekTo(2));
    EXPECT_EQ(rec.ReadField(), "bb");
    EXPECT_FALSE(rec.SeekTo(-1));
    EXPECT_FALSE(rec.SeekTo(100));
    EXPECT_EQ(rec.Position(), 5); // unchanged by a refused seek
    EXPECT_TRUE(rec.SeekTo(0));
    rec.SkipFields(10);
    EXPECT_TRUE(rec.AtEnd());
}

TEST_F(RecordTest, AFieldCutOffByTheEndGivesWhatIsThere) {
    writeAll(file(), QByteArray("\x02ok\x09"
                                "abc",
                                7));
    TDRecord rec;
    ASSERT_TRUE(rec.OpenRead(file()));
    EXPECT_EQ(rec.ReadField(), "ok");
    EXPECT_EQ(rec.ReadField(), "abc");
    EXPECT_TRUE(rec.Truncated());
    EXPECT_TRUE(rec.AtEnd());
}

TEST_F(RecordTest, WritesAppendAtTheEndAndAreReadBack) {
    fileWith({"one"});
    TDRecord rec;
    ASSERT_TRUE(rec.Open(file(), false)); // kept, not recreated
    EXPECT_EQ(rec.ReadField(), "one");
    EXPECT_TRUE(rec.SeekTo(0));
    EXPECT_TRUE(rec.WriteField("two"));
    EXPECT_TRUE(rec.AtEnd()); // a write leaves the position at the end
    EXPECT_TRUE(rec.SeekTo(0));
    EXPECT_EQ(rec.ReadField(), "one");
    EXPECT_EQ(rec.ReadField(), "two");
}

TEST_F(RecordTest, FindRecordFlags) {
    // Records of three fields: a key, then two more.
    fileWith({"Alpha", "1", "x", "beta gamma", "2", "y", "Delta", "3", "z"});
    struct Case {
        const char* key;
        int flags;
        qint64 position; // of the matching key field; -1 none
    } cases[] = {
        {"Alpha", TDRecord::CaseSensitive, 0},
        {"alpha", TDRecord::CaseSensitive, -1},
        {"alpha", 0, 0},
        {"DELTA", 0, 25},
        {"gamma", 0, -1},
        {"gamma", TDRecord::KeyInField, 10},
        {"GAMMA", TDRecord::KeyInField | TDRecord::CaseSensitive, -1},
        {"the delta blues", 0, -1},
        {"the delta blues", TDRecord::FieldInKey, 25},
        {"1", TDRecord::KeyInField, -1}, // only key fields are compared
        {"", TDRecord::KeyInField | TDRecord::FieldInKey, -1},
    };
    TDRecord rec;
    ASSERT_TRUE(rec.OpenRead(file()));
    for (const Case& c : cases) {
        EXPECT_EQ(rec.FindRecord(c.key, c.flags, 2), c.position) << c.key << " " << c.flags;
        if (c.position >= 0) {
            EXPECT_EQ(rec.ReadNumber(), c.position == 0    ? 1
                                        : c.position == 10 ? 2
                                                           : 3)
                << "positioned after the key";
        }
    }
    // With no further fields every field is a candidate.
    EXPECT_EQ(rec.FindRecord("y", TDRecord::CaseSensitive, 0), 23);
}

TEST_F(RecordTest, LongTextsContinueInTheNextField) {
    const QByteArray texts[] = {"", "short", QByteArray(255, 'a'), QByteArray(256, 'b'),
                                QByteArray(700, 'c')};
    TDRecord rec;
    ASSERT_TRUE(rec.Open(file(), true));
    for (const QByteArray& t : texts)
        ASSERT_TRUE(rec.WriteLongField(t));
    ASSERT_TRUE(rec.WriteField("end"));
    ASSERT_TRUE(rec.Close());
    // 255 bytes: a full piece and an empty end; 700: 255 + 255 + 190.
    EXPECT_EQ(readAll(file()).size(), 1 + 6 + 256 + 1 + 256 + 2 + 256 + 256 + 191 + 4);
    ASSERT_TRUE(rec.OpenRead(file()));
    for (const QByteArray& t : texts)
        EXPECT_EQ(rec.ReadLongField(), t);
    EXPECT_EQ(rec.ReadField(), "end");
}

TEST_F(RecordTest, CreateReplacesTheFileOnlyWhenClosed) {
    writeAll(file(), "old contents");
    {
        TDRecord rec;
        ASSERT_TRUE(rec.Create(file()));
        ASSERT_TRUE(rec.WriteField("new"));
        rec.Discard();
    }
    EXPECT_EQ(readAll(file()), "old contents");
    {
        TDRecord rec;
        ASSERT_TRUE(rec.Create(file()));
        ASSERT_TRUE(rec.WriteField("new"));
        // Destroyed without Close: dropped as well.
    }
    EXPECT_EQ(readAll(file()), "old contents");
    TDRecord rec;
    ASSERT_TRUE(rec.Create(file()));
    ASSERT_TRUE(rec.WriteField("new"));
    ASSERT_TRUE(rec.Close());
    EXPECT_EQ(readAll(file()), "\x03new");
}

TEST_F(RecordTest, ReadingNeverCreatesAFile) {
    TDRecord rec;
    EXPECT_FALSE(rec.OpenRead(file("missing.rnl")));
    EXPECT_FALSE(rec.ErrorString().isEmpty());
    EXPECT_FALSE(QFile::exists(file("missing.rnl")));
}

TEST_F(RecordTest, ManyFieldsAcrossTheBuffer) {
    // More than one read buffer of fields, so fields cross its end.
    TDRecord rec;
    ASSERT_TRUE(rec.Create(file()));
    for (int i = 0; i < 20000; ++i)
        ASSERT_TRUE(rec.WriteField(QByteArray::number(i) + QByteArray(i % 200, '.')));
    ASSERT_TRUE(rec.Close());
    ASSERT_TRUE(rec.OpenRead(file()));
    for (int i = 0; i < 20000; ++i)
        ASSERT_EQ(rec.ReadField(), QByteArray::number(i) + QByteArray(i % 200, '.')) << i;
    EXPECT_TRUE(rec.AtEnd());
}
