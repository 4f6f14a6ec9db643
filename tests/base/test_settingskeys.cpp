// Every settings key the code names is one the settings store knows: a misspelt key
// would silently read as its type's empty value.
#include "base/settings.h"

#include <gtest/gtest.h>

#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QSet>

TEST(SettingsKeys, EveryKeyNamedInTheCodeIsKnown) {
    const QString src = qEnvironmentVariable("RENDOLO_SOURCE_DIR") + "/src";
    ASSERT_TRUE(QFile::exists(src)) << "RENDOLO_SOURCE_DIR not set";
    QSet<QString> known;
    for (const Settings::Key& k : Settings::knownKeys())
        known.insert(QString::fromLatin1(k.name).toLower());

    // settings.flag("X"), m_settings->text("X"), env.settings.setValue("X", ...), and the
    // key comparisons of the handlers of Settings::changed.
    const QRegularExpression use(
        R"re((?:[sS]ettings|\bs)\s*(?:\.|->)\s*(?:flag|number|colour|text|value|setValue)\(\s*"([^"]+)")re");
    const QRegularExpression compare(R"re(\bkey\s*==\s*"([^"]+)")re");
    int seen = 0;
    QStringList unknown;
    QDirIterator it(src, {"*.cpp", "*.h"}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly)) << path.toStdString();
        const QString code = QString::fromUtf8(f.readAll());
        for (const QRegularExpression* re : {&use, &compare}) {
            auto m = re->globalMatch(code);
            while (m.hasNext()) {
                const QString key = m.next().captured(1);
                ++seen;
                if (!known.contains(key.toLower()))
                    unknown << QFileInfo(path).fileName() + ": " + key;
            }
        }
    }
    EXPECT_GT(seen, 20); // the patterns still find the program's settings reads
    EXPECT_TRUE(unknown.isEmpty()) << unknown.join('\n').toStdString();
}
