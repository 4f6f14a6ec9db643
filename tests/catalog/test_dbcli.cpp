// rendolo-cli db: create, save (rows or folders), load and compact, with their exit
// codes, and rows that survive the trip through the catalogue unchanged.
#include "support/testfiles.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace testfiles;

namespace {
struct CliRun {
    int code;
    QByteArray out;
    QByteArray err;
};

class DbCliTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        root = dir.path() + "/";
        QDir().mkpath(root + "home");
    }
    CliRun cli(const QStringList& args, const QByteArray& input = {}) {
        QProcess p;
        QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
        e.insert("RENDOLO_HOME", root + "home");
        p.setProcessEnvironment(e);
        p.start(RENDOLO_CLI, QStringList{"db"} + args);
        p.write(input);
        p.closeWriteChannel();
        EXPECT_TRUE(p.waitForFinished(60000));
        return {p.exitCode(), p.readAllStandardOutput(), p.readAllStandardError()};
    }
    QTemporaryDir dir;
    QString root;
};
} // namespace

TEST_F(DbCliTest, RowsRoundTripWithExitCodes) {
    const QString db = root + "my cat.db3";
    EXPECT_EQ(cli({"create", db}).code, 0);
    EXPECT_EQ(cli({"create", db}).code, 1); // never over an existing file

    const QByteArray rows = "a.mp3\t1234.5\t/m/\tTab\\there\tBack\\\\slash\tLine\\nbreak\t1999\t"
                            "Rock\t3\t\t215\t192000\t44100\tYes\tNo\tNo\tR \t-1\n"
                            "b.mp3\n"
                            "c.mp3\t0\t/m/\n";
    CliRun r = cli({"save", "--db", db, "--key", "CD 1", "--rows", "-"}, rows);
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "3\n");
    QByteArray expected = rows;
    expected.replace("b.mp3\n", "b.mp3\t\t\t\t\t\t\t\t\t\t\t\t\tNo\tNo\tNo\t\t\n");
    expected.replace("c.mp3\t0\t/m/\n", "c.mp3\t0\t/m/\t\t\t\t\t\t\t\t\t\t\tNo\tNo\tNo\t\t\n");
    r = cli({"load", "--db", db, "--key", "cd 1"});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, expected);
    r = cli({"load", "--db", db, "--names-only"});
    EXPECT_TRUE(r.out.startsWith("a.mp3\t \t \t")) << r.out.toStdString();

    const QByteArray before = readAll(db);
    r = cli({"save", "--db", db, "--key", "Cd 1", "--rows", "-"}, rows);
    EXPECT_EQ(r.code, 3);
    EXPECT_TRUE(r.out.isEmpty());
    r = cli({"save", "--db", db, "--key", "bad", "--rows", "-"}, "ok.mp3\nbroken\\q.mp3\n");
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains(":2:")) << r.err.toStdString();
    EXPECT_EQ(readAll(db), before); // nothing written either way

    r = cli({"compact", db});
    EXPECT_EQ(r.code, 0);
    const QList<QByteArray> fields = r.out.trimmed().split('\t');
    ASSERT_EQ(fields.size(), 3);
    EXPECT_EQ(fields[0], db.toUtf8());
    EXPECT_EQ(fields[2].toLongLong(), QFileInfo(db).size());

    writeAll(root + "text.db3", "not a database");
    r = cli({"compact", root + "text.db3"});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains("text.db3"));
    EXPECT_EQ(readAll(root + "text.db3"), "not a database");
    r = cli({"load", "--db", root + "missing.db3"});
    EXPECT_EQ(r.code, 1);
    EXPECT_FALSE(QFile::exists(root + "missing.db3"));
    EXPECT_EQ(cli({"save", "--db", db, "--key", "k"}).code, 2); // neither folders nor rows
}

TEST_F(DbCliTest, SavesFoldersAsCatalogueCdScansThem) {
    SKIP_WITHOUT_CORPUS_FILE("musicmetadata__adts-0-frame.mp3");
    QDir().mkpath(root + "cd/sub");
    ASSERT_TRUE(QFile::copy(corpusFile("musicmetadata__adts-0-frame.mp3"), root + "cd/sub/a.mp3"));
    const QString db = root + "c.db3";
    ASSERT_EQ(cli({"create", db}).code, 0);
    CliRun r = cli({"save", "--db", db, "--key", "k", root + "cd"});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "1\n");
    r = cli({"load", "--db", db});
    EXPECT_TRUE(r.out.startsWith("a.mp3\t")) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains("\tJan Pillemann Otze\t")) << r.out.toStdString();

    r = cli({"create", "--kind", "lyrics", root + "l.lyr"});
    EXPECT_EQ(r.code, 0);
    r = cli({"load", "--db", root + "l.lyr"});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains("lyrics store")) << r.err.toStdString();
}
