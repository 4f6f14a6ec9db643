// Small file helpers shared by the Qt-based tests.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QString>

#include <gtest/gtest.h>

namespace testfiles {

inline QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Writes (replaces) a whole file; fails the current test when it cannot.
inline void writeAll(const QString& path, const QByteArray& data) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << path.toStdString();
    ASSERT_EQ(f.write(data), data.size()) << path.toStdString();
}

// The shared corpus of real-world MP3 files beside the repository (RENDOLO_SHARED_DIR).
inline QString sharedDir() {
    return qEnvironmentVariable("RENDOLO_SHARED_DIR", RENDOLO_SHARED_DIR_DEFAULT);
}
inline QString corpusFile(const QString& name) {
    return sharedDir() + "/corpus/public/" + name;
}
inline bool corpusHas(const QString& name) {
    return QFileInfo(corpusFile(name)).isFile();
}

} // namespace testfiles

// Skips the current test when a file of the shared corpus is not there (a checkout
// without ../shared), so the suite never depends on files outside the repository.
#define SKIP_WITHOUT_CORPUS_FILE(name)                                                             \
    do {                                                                                           \
        if (!testfiles::corpusHas(name))                                                           \
            GTEST_SKIP() << "shared corpus file missing: " << QString(name).toStdString();         \
    } while (0)
