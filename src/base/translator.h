// Interface texts: message lookups by key with the English default the program
// carries, from the language files in <ProgramFolder>/language/.
#pragma once

#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>

#include <map>
#include <memory>

class IniFile;

class Translator : public QObject {
    Q_OBJECT
public:
    // languageFolder ends with "/"; language is a file name without ".lng".
    Translator(QString languageFolder, QString language, QObject* parent = nullptr);
    ~Translator() override; // saves what is still unsaved

    const QString& language() const { return m_language; }
    QString languageFolder() const { return m_folder; }
    // Switches the language file, clears the message cache and announces the change.
    // References from languageIni()/iniAt() are invalid afterwards.
    void changeLanguage(const QString& language);

    // The text of a message key: cached, else read from [Messages]; a key the file
    // lacks is written into it with the default. "~~" becomes a line break.
    QString translate(const QString& key, const QString& def);
    // Reads the whole [Messages] section of the current file into the cache.
    void loadMessages();

    // The names (without ".lng") of the language files in the folder, sorted.
    QStringList languages() const;

    // The file path for a language name, resolved without regard to case
    // ("English" and "english.lng" are one file).
    static QString languageFile(const QString& folder, const QString& language);
    // The template every window writes its design texts into.
    static QString templateLanguage() { return QStringLiteral("english"); }

    // One in-memory copy per language file, shared by every user of this translator
    // (message lookups, window templates, the translate window), so that no writer
    // overwrites another's keys with a stale copy.
    IniFile& languageIni(const QString& language);
    IniFile& iniAt(const QString& path);
    // Marks a file as changed: saved at once, or, with delayed saving, once shortly
    // after (many windows writing their templates at start-up cost one write).
    void fileChanged(IniFile& file);
    // Saves every changed file now. False when one could not be written (an
    // unwritable language folder: the texts are still shown).
    bool flush();
    // Delayed saving needs a running event loop; it is on when an application
    // object exists at construction.
    void setDelayedSave(bool delayed) { m_delayed = delayed; }
    bool delayedSave() const { return m_delayed; }

    // "~~" <-> line break, as language files store them.
    static QString fromFileText(QString text);
    static QString toFileText(QString text);

signals:
    void languageChanged(const QString& language);

private:
    QString m_folder;
    QString m_language;
    IniFile* m_current = nullptr;
    std::map<QString, std::unique_ptr<IniFile>> m_files; // lower-case path -> file
    QHash<QString, QString> m_cache;
    bool m_delayed = false;
    bool m_flushScheduled = false;
};

// The program's message lookup; the main window's translator answers it. Without
// one (early start-up, command-line tools) it returns the default.
QString T(const char* key, const char* def);
QString T(const QString& key, const QString& def);
void setMessageTranslator(Translator* translator);
Translator* messageTranslator();
