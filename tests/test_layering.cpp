// The include direction between the source folders: base <- subsystems <- their ui/
// <- app. A subsystem names the other subsystems it may use; windows may use the
// windows of base and lists. The link lines keep QtWidgets out of the logic; this
// keeps the folders from growing circular.
#include <gtest/gtest.h>

#include <QDirIterator>
#include <QFile>
#include <QMap>
#include <QRegularExpression>
#include <QSet>

namespace {
// Folder -> the folders (besides itself) its logic may include.
const QMap<QString, QStringList>& logicRules() {
    static const QMap<QString, QStringList> rules = {
        {"media", {}},
        {"base", {}},
        {"fileops", {"base", "media"}},
        {"lists", {"base", "media", "fileops"}},
        {"tags", {"base", "media", "fileops", "lists"}},
        {"catalog", {"base", "media", "fileops", "lists"}},
        {"lyrics", {"base", "media", "fileops", "lists", "catalog"}},
        {"tools", {"base", "media", "fileops", "lists", "catalog", "lyrics", "tags"}},
        {"player", {"base", "media", "lists"}},
        {"print", {"base", "lists"}},
        {"net", {"base", "media", "lists"}},
    };
    return rules;
}

// Whether code in `from` ("lists", "lists/ui", "cli", "app/ui", ...) may include `to`.
bool mayInclude(const QString& from, const QString& to) {
    const QString fromTop = from.section('/', 0, 0);
    const QString toTop = to.section('/', 0, 0);
    const bool fromUi = from.endsWith("/ui");
    const bool toUi = to.endsWith("/ui");
    if (fromTop == "app")
        return true; // the shell composes everything
    if (fromTop == "cli")
        return !toUi && toTop != "app"; // the core, never windows
    if (!logicRules().contains(fromTop))
        return false;
    const bool allowedTop = toTop == fromTop || logicRules()[fromTop].contains(toTop);
    if (!fromUi)
        return !toUi && allowedTop;
    if (toUi) // windows use their own, and the shared ones of base and lists
        return toTop == fromTop || ((toTop == "base" || toTop == "lists") && allowedTop);
    return allowedTop;
}
} // namespace

TEST(Layering, TheRulesThemselves) {
    EXPECT_TRUE(mayInclude("lists", "base"));
    EXPECT_FALSE(mayInclude("base", "lists"));
    EXPECT_FALSE(mayInclude("lists", "app"));
    EXPECT_FALSE(mayInclude("lists", "lists/ui"));
    EXPECT_TRUE(mayInclude("tags/ui", "lists/ui"));
    EXPECT_TRUE(mayInclude("tags/ui", "base/ui"));
    EXPECT_FALSE(mayInclude("catalog/ui", "tags/ui"));
    EXPECT_FALSE(mayInclude("cli", "lists/ui"));
    EXPECT_TRUE(mayInclude("app/ui", "tools/ui"));
}

TEST(Layering, EveryIncludeFollowsTheDirection) {
    const QString src = qEnvironmentVariable("RENDOLO_SOURCE_DIR") + "/src/";
    ASSERT_TRUE(QFile::exists(src)) << "RENDOLO_SOURCE_DIR not set";
    const QRegularExpression include(R"re(^\s*#\s*include\s*"([a-z]+(?:/ui)?)/[^/"]+")re",
                                     QRegularExpression::MultilineOption);
    QStringList wrong;
    int seen = 0;
    QDirIterator it(src, {"*.cpp", "*.h"}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString rel = path.mid(src.size());
        QString from = rel.section('/', 0, 0);
        if (rel.section('/', 1, 1) == "ui")
            from += "/ui";
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        auto m = include.globalMatch(QString::fromUtf8(f.readAll()));
        while (m.hasNext()) {
            const QString to = m.next().captured(1);
            ++seen;
            if (!mayInclude(from, to))
                wrong << rel + " includes " + to;
        }
    }
    EXPECT_GT(seen, 100);
    EXPECT_TRUE(wrong.isEmpty()) << wrong.join('\n').toStdString();
}

// Every change to a user's file goes through FileOperations (src/fileops) so that it is
// done one safe way (and journalled). Direct renames, removals and tag saves elsewhere are
// faults; a line that handles a file of the program's own (a temporary file it made, its
// settings) says so with the marker "own file:" in a comment.
TEST(Layering, OnlyFileOperationsChangesUsersFiles) {
    const QString src = qEnvironmentVariable("RENDOLO_SOURCE_DIR") + "/src/";
    ASSERT_TRUE(QFile::exists(src)) << "RENDOLO_SOURCE_DIR not set";
    const QRegularExpression direct(
        R"re((std::rename|::rename\s*\(|\brenameat2?\s*\(|::unlink\s*\(|\bunlinkat\s*\(|)re"
        R"re(std::remove\s*\(|filesystem::remove|fs::remove|fs::rename|QFile::remove|QFile::rename|)re"
        R"re(QFile::moveToTrash|moveToTrash\s*\(|removeRecursively|\.remove\(\s*\)|)re"
        R"re(\.Save\s*\(|\.Strip\s*\(|::truncate\s*\(|::ftruncate\s*\())re");
    QStringList found;
    QDirIterator it(src, {"*.cpp", "*.h"}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QString rel = path.mid(src.size());
        if (rel.startsWith("media/") || rel.startsWith("fileops/"))
            continue;
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        int line = 0;
        for (const QString& text : QString::fromUtf8(f.readAll()).split('\n')) {
            ++line;
            if (direct.match(text).hasMatch() && !text.contains("own file:"))
                found << rel + ":" + QString::number(line) + ": " + text.trimmed();
        }
    }
    EXPECT_TRUE(found.isEmpty()) << found.join('\n').toStdString();
}
