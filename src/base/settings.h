// The program's live settings. Values are read from settings.set at start-up and
// change in memory at once; saveSettings() writes them back. The settings window
// shows and edits this store; every other part of the program reads it.
#pragma once

#include "base/inifile.h"
#include "base/listcolumns.h"

#include <QColor>
#include <QHash>
#include <QObject>
#include <QVariant>

class Settings : public QObject {
    Q_OBJECT
public:
    enum class Kind { Flag, Number, Colour, Text };
    struct Key {
        const char* name;
        Kind kind;
        QVariant def;
    };
    // Every key of [Settings] the settings window stores under its own name, with its default.
    static const QList<Key>& knownKeys();

    explicit Settings(const QString& programFolder, QObject* parent = nullptr);

    // The settings.set file itself, for the sections other parts keep directly
    // ([History], [Database], [Donation], [PrintSettings], [SettingsColumn]).
    IniFile& file() { return m_file; }

    bool flag(const QString& key) const;
    int number(const QString& key) const;
    QColor colour(const QString& key) const; // stored as a 24-bit number, red in the low byte
    QString text(const QString& key) const;
    QVariant value(const QString& key) const;

    // Changes the live value (not the file) and announces it.
    void setValue(const QString& key, const QVariant& value);

    // [SettingsColumn] F0..F17: whether a list column is visible in both panes.
    static constexpr int ColumnCount = ListColumnCount;
    bool columnVisible(int column) const;
    void setColumnVisible(int column, bool visible);

    // "Save": writes every live value of [Settings] into settings.set.
    bool saveSettings();

    static int colourToInt(const QColor& c);
    static QColor intToColour(int v);

signals:
    void changed(const QString& key);
    void columnVisibilityChanged(int column, bool visible);

private:
    IniFile m_file;
    QHash<QString, QVariant> m_values; // lower-case key -> live value
    QHash<QString, Kind> m_kinds;
    QHash<QString, QString> m_names; // lower-case key -> key as written
    QStringList m_extraKeys;         // keys set by name that the table does not hold
    bool m_columns[ColumnCount];
};
