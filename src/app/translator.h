// Interface texts: message lookups by key with the English default the program
// carries, from the language files in <ProgramFolder>/language/.
#pragma once

#include <QHash>
#include <QString>

#include <memory>

class IniFile;

class Translator {
public:
    // languageFolder ends with "/"; language is a file name without ".lng".
    Translator(QString languageFolder, QString language);
    ~Translator();

    const QString& language() const { return m_language; }
    QString languageFolder() const { return m_folder; }
    // Switches the language file and clears the message cache.
    void changeLanguage(const QString& language);

    // The text of a message key: cached, else read from [Messages]; a key the file
    // lacks is written into it with the default. "~~" becomes a line break.
    QString translate(const QString& key, const QString& def);

    // The language file path for a language name, resolved without regard to case
    // ("English" and "english.lng" are one file).
    static QString languageFile(const QString& folder, const QString& language);

private:
    IniFile& file();

    QString m_folder;
    QString m_language;
    std::unique_ptr<IniFile> m_file;
    QHash<QString, QString> m_cache;
};

// The program's message lookup; the main window's translator answers it. Without
// one (early start-up, command-line tools) it returns the default.
QString T(const char* key, const char* def);
QString T(const QString& key, const QString& def);
void setMessageTranslator(Translator* translator);
Translator* messageTranslator();
