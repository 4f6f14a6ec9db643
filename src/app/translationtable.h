// The rows of the translate window: every text of a language file once, with the
// keys that carry it, so that a text shared by several keys is translated once.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class IniFile;
class Progress;

struct TranslationRow {
    bool message = true; // [Messages]; false for [Translations]
    QString text;        // as stored in the file ("~~" for line breaks)
    QStringList keys;
    // The hidden key column: every key followed by ";".
    QString keyList() const;
};

class TranslationTable {
public:
    // Reads both sections, grouping keys whose texts are equal without regard to
    // case (messages only with messages, translations with translations). Progress
    // shows "(percent%)", messages 0-50, translations 50-100. False when cancelled
    // (the rows read so far stay).
    bool load(const IniFile& file, Progress* progress = nullptr);
    void clear();

    const QList<TranslationRow>& rows() const { return m_rows; }
    int size() const { return int(m_rows.size()); }
    void setText(int row, const QString& text);
    bool modified() const { return m_modified; }

    // Writes every row's text under each of its keys into its section; clears the
    // modified note. The caller saves the file.
    void writeTo(IniFile& file);

private:
    QList<TranslationRow> m_rows;
    bool m_modified = false;
};
