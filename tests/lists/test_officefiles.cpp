// ".xls" and ".doc" through LibreOffice: with it (skipped where it is not installed),
// without it, and with one that fails or hangs (a stand-in script).
#include "listfixtures.h"
#include "lists/officeconverter.h"
#include "support/testfiles.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>

using namespace listfixtures;
using namespace testfiles;

namespace {
class OfficeTest : public ListFilesTest {
protected:
    void SetUp() override {
        ListFilesTest::SetUp();
        m_old = qgetenv("RENDOLO_SOFFICE");
        m_had = qEnvironmentVariableIsSet("RENDOLO_SOFFICE");
    }
    void TearDown() override {
        if (m_had)
            qputenv("RENDOLO_SOFFICE", m_old);
        else
            qunsetenv("RENDOLO_SOFFICE");
    }
    // A stand-in for soffice running the given shell commands.
    void fakeOffice(const QByteArray& body) {
        const QString script = path("fake-soffice");
        writeAll(script, "#!/bin/sh\n" + body + "\n");
        QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("RENDOLO_SOFFICE", script.toUtf8());
    }

private:
    QByteArray m_old;
    bool m_had = false;
};

#define SKIP_WITHOUT_LIBREOFFICE()                                                                 \
    do {                                                                                           \
        if (OfficeConverter::findProgram().isEmpty())                                              \
            GTEST_SKIP() << "LibreOffice (soffice) is not installed";                              \
    } while (0)
} // namespace

TEST_F(OfficeTest, XlsRoundTripKeepsEveryTextAsText) {
    SKIP_WITHOUT_LIBREOFFICE();
    SongItem a = fullRow(QString::fromUtf8("Ärzte, \"live\".mp3"));
    a.setText(SongItem::SongTitle, "=1+1");
    a.setText(SongItem::TrackNumber, "007");
    a.setText(SongItem::Comment, "-5");
    model.append(a);
    model.append(fullRow("Second.mp3"));
    ASSERT_TRUE(save("sheet.xls", ListFormat::Xls)) << t.prompt.informed().join(' ').toStdString();
    EXPECT_TRUE(readAll(path("sheet.xls")).startsWith("\xD0\xCF\x11\xE0"));
    const ListLoadResult r = loadList(t.env, loaded, loadedState, path("sheet.xls"));
    EXPECT_TRUE(r.loaded);
    EXPECT_TRUE(r.resetHeaders);
    EXPECT_EQ(rowsOf(loaded), rowsOf(model));
    EXPECT_TRUE(t.prompt.informed().isEmpty()) << t.prompt.informed().join(' ').toStdString();
}

TEST_F(OfficeTest, DocIsAWordDocument) {
    SKIP_WITHOUT_LIBREOFFICE();
    model.append(fullRow("Song & <more>.mp3"));
    ASSERT_TRUE(save("table.doc", ListFormat::Doc)) << t.prompt.informed().join(' ').toStdString();
    EXPECT_TRUE(readAll(path("table.doc")).startsWith("\xD0\xCF\x11\xE0"));
}

TEST_F(OfficeTest, WithoutLibreOfficeTheMessageNamesThePackage) {
    qputenv("RENDOLO_SOFFICE", path("not-installed").toUtf8());
    model.append(fullRow("Song.mp3"));
    EXPECT_FALSE(save("x.xls", ListFormat::Xls));
    EXPECT_TRUE(t.prompt.informed().last().contains("libreoffice-calc-nogui"));
    EXPECT_FALSE(save("x.doc", ListFormat::Doc));
    EXPECT_TRUE(t.prompt.informed().last().contains("libreoffice-writer-nogui"));
    writeAll(path("in.xls"), "whatever");
    EXPECT_FALSE(loadList(t.env, loaded, loadedState, path("in.xls")).loaded);
    EXPECT_TRUE(t.prompt.informed().last().contains("libreoffice-calc-nogui"));
    EXPECT_FALSE(QFile::exists(path("x.xls")));
    EXPECT_FALSE(QFile::exists(path("x.doc")));
}

TEST_F(OfficeTest, ALibreOfficeThatMakesNothingIsAFailure) {
    fakeOffice("echo 'Error: source file could not be loaded'; exit 0");
    model.append(fullRow("Song.mp3"));
    writeAll(path("x.xls"), "the old sheet");
    EXPECT_FALSE(save("x.xls", ListFormat::Xls));
    EXPECT_TRUE(t.prompt.informed().last().contains("source file could not be loaded"));
    EXPECT_EQ(readAll(path("x.xls")), "the old sheet");
    loaded.append(fullRow("Kept.mp3"));
    EXPECT_FALSE(loadList(t.env, loaded, loadedState, path("x.xls")).loaded);
    EXPECT_EQ(rowsOf(loaded), QStringList{fullRow("Kept.mp3").texts().join('|')});
    EXPECT_TRUE(t.prompt.informed().last().contains("x.xls"));
}

TEST_F(OfficeTest, CancelStopsAHangingLibreOffice) {
    fakeOffice("sleep 60");
    model.append(fullRow("Song.mp3"));
    t.progress.cancelAtItem(int(t.progress.items().size()) + 5); // a few polls into the wait
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(save("hang.xls", ListFormat::Xls));
    EXPECT_LT(clock.elapsed(), 5000);
    EXPECT_FALSE(QFile::exists(path("hang.xls")));
    EXPECT_TRUE(t.prompt.informed().isEmpty()); // cancelled: nothing to tell
}

TEST_F(OfficeTest, AHangingLibreOfficeIsStoppedAtTheTimeLimit) {
    fakeOffice("sleep 60");
    qputenv("RENDOLO_SOFFICE_TIMEOUT", "1");
    writeAll(path("slow.xls"), "whatever");
    loaded.append(fullRow("Kept.mp3"));
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(loadList(t.env, loaded, loadedState, path("slow.xls")).loaded);
    qunsetenv("RENDOLO_SOFFICE_TIMEOUT");
    EXPECT_LT(clock.elapsed(), 5000);
    EXPECT_EQ(loaded.size(), 1);
    EXPECT_TRUE(t.prompt.informed().last().contains("within 1 seconds"));
}

TEST_F(OfficeTest, SpreadsheetsOfMoreRowsThanTheyHoldAreRefused) {
    fakeOffice("exit 0"); // never reached
    for (int i = 0; i <= 65536; ++i)
        model.append(SongItem(QStringList{"n"}));
    EXPECT_FALSE(save("big.xls", ListFormat::Xls));
    EXPECT_TRUE(t.prompt.informed().last().contains("65536"));
    EXPECT_FALSE(QFile::exists(path("big.xls")));
}

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
