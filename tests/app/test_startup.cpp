// The real program: one instance per user, data files in its program folder.
#include "app/donation.h"
#include "app/singleinstance.h"
#include "base/inifile.h"

#include <QCoreApplication>
#include <QDate>
#include <QElapsedTimer>
#include <QLocalSocket>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

namespace {
QProcessEnvironment environmentFor(const QTemporaryDir& dir) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    env.insert("RENDOLO_HOME", dir.path() + "/home");
    env.insert("XDG_DATA_HOME", dir.path() + "/xdg");
    env.insert("XDG_RUNTIME_DIR", dir.path() + "/run");
    QDir().mkpath(dir.path() + "/run");
    QFile::setPermissions(dir.path() + "/run",
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return env;
}

bool waitForListener(const QString& runtimeDir, int ms) {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms) {
        QLocalSocket s;
        s.connectToServer(runtimeDir + "/Rendolo_v3");
        if (s.waitForConnected(100))
            return true;
        QThread::msleep(100);
    }
    return false;
}
} // namespace

TEST(Startup, SecondStartWakesTheFirstAndEnds) {
    QTemporaryDir dir;
    const QProcessEnvironment env = environmentFor(dir);
    QProcess first;
    first.setProcessEnvironment(env);
    first.start(RENDOLO_BIN, {});
    ASSERT_TRUE(first.waitForStarted());
    ASSERT_TRUE(waitForListener(dir.path() + "/run", 15000)) << "the first instance never listened";

    QProcess second;
    second.setProcessEnvironment(env);
    second.start(RENDOLO_BIN, {dir.path() + "/not-added.mp3"});
    ASSERT_TRUE(second.waitForFinished(10000));
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(first.state(), QProcess::Running);

    // The first instance prepares its program folder and desktop entries while it starts
    // (it listens before it has finished).
    for (const QString& file :
         {dir.path() + "/home/settings.set", dir.path() + "/xdg/applications/rendolo.desktop",
          dir.path() + "/xdg/mime/packages/rendolo.xml"}) {
        QDeadlineTimer deadline(15000);
        while (!QFile::exists(file) && !deadline.hasExpired())
            QThread::msleep(20);
        EXPECT_TRUE(QFile::exists(file)) << file.toStdString();
    }

    first.kill(); // a crash: its lock and socket stay behind
    first.waitForFinished();
    QProcess third;
    third.setProcessEnvironment(env);
    third.start(RENDOLO_BIN, {});
    ASSERT_TRUE(third.waitForStarted());
    EXPECT_TRUE(waitForListener(dir.path() + "/run", 15000))
        << "a crashed instance blocked the next start";
    third.terminate();
    if (!third.waitForFinished(5000))
        third.kill();
}

TEST(Startup, GarbledSettingsAndUnwritableFolderStillStart) {
    QTemporaryDir dir;
    QProcessEnvironment env = environmentFor(dir);
    QDir().mkpath(dir.path() + "/home");
    QFile f(dir.path() + "/home/settings.set");
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("\xff\xfe garbage [[[\nRBHorizontal=abc\n[Settings\n=x\n");
    f.close();
    QFile::setPermissions(dir.path() + "/home", QFile::ReadOwner | QFile::ExeOwner);
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(RENDOLO_BIN, {"/no/such/file.mp3", QString::fromLatin1("/tmp/\xe9t\xe9.mp3")});
    ASSERT_TRUE(p.waitForStarted());
    EXPECT_TRUE(waitForListener(dir.path() + "/run", 15000));
    EXPECT_EQ(p.state(), QProcess::Running);
    p.terminate();
    if (!p.waitForFinished(5000))
        p.kill();
    QFile::setPermissions(dir.path() + "/home",
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

TEST(Donation, CountsOneRunPerDayAndFallsDueAfterFive) {
    QTemporaryDir dir;
    IniFile ini(dir.path() + "/settings.set");
    QDate day(2026, 1, 1);
    EXPECT_FALSE(updateDonationReminder(ini, day));
    EXPECT_FALSE(updateDonationReminder(ini, day)); // same day: not counted again
    EXPECT_EQ(ini.readInt("Donation", "GetRuns", -1), 1);
    bool due = false;
    for (int i = 1; i <= 5 && !due; ++i)
        due = updateDonationReminder(ini, day.addDays(i));
    EXPECT_TRUE(due);
    EXPECT_EQ(ini.readInt("Donation", "GetRuns", -1), 0);
    // A month away is due at once; an unreadable date counts as today.
    EXPECT_TRUE(updateDonationReminder(ini, day.addDays(40)));
    ini.writeString("Donation", "LastRun", "garbage");
    EXPECT_FALSE(updateDonationReminder(ini, day.addDays(41)));
    ini.writeBool("Donation", "HasNotDonated", false);
    for (int i = 0; i < 50; ++i)
        EXPECT_FALSE(updateDonationReminder(ini, day.addDays(100 + i)));
}

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
