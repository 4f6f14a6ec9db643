// Rows and a pane for the list file tests.
#pragma once

#include "lists/listfiles.h"
#include "lists/songlistmodel.h"
#include "support/testenv.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// Readable failures.
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

namespace listfixtures {

// A row as a scan with tags gives it.
inline SongItem fullRow(const QString& name, const QString& artist = "Artist",
                        const QString& bitRate = "128000") {
    return SongItem(QStringList{name, "3375.77", "/music/", "Title", artist, "Album", "1999",
                                "Rock", "3", "Comment", "215", bitRate, "44100", "No", "Yes", "No",
                                "", "0"});
}

// Each row as its texts joined by "|", with "[x]" for a checked one.
inline QStringList rowsOf(const SongListModel& model) {
    QStringList out;
    for (int r = 0; r < model.size(); ++r)
        out << QString(model.item(r).checked() ? "[x]" : "") + model.item(r).texts().join('|');
    return out;
}

// The rows as ".rnl" gives them back: it stores an empty sub-item as " ".
inline QStringList asStoredInRnl(const SongListModel& model) {
    QStringList out;
    for (int r = 0; r < model.size(); ++r) {
        QStringList texts = model.item(r).texts();
        for (int c = 1; c < texts.size(); ++c)
            if (texts[c].isEmpty())
                texts[c] = " ";
        out << QString(model.item(r).checked() ? "[x]" : "") + texts.join('|');
    }
    return out;
}

class ListFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        root = dir.path() + "/";
    }
    QString path(const QString& name) const { return root + name; }
    bool save(const QString& name, ListFormat format) {
        return saveList(t.env, model, state, path(name), format);
    }
    // Loads into a fresh pane.
    SongListModel& reload(const QString& name) {
        loaded.clear();
        loadList(t.env, loaded, loadedState, path(name));
        return loaded;
    }
    void setTagsOnLoad(bool on) {
        t.settings.setValue("RBLTBegining", on);
        t.settings.setValue("RBLTNever", !on);
    }

    QTemporaryDir dir;
    QString root;
    TestEnv t{QDir::tempPath() + "/rendolo-test-no-such-folder/"};
    SongListModel model{&t.settings};
    ListFileState state;
    SongListModel loaded{&t.settings};
    ListFileState loadedState;
};

} // namespace listfixtures
