// An INI file with the program's semantics: sections and keys without regard to
// case, keys may hold "/ . [ ]", order kept, UTF-8 text. Written atomically.
#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

#include <memory>

struct IniData;

class IniFile {
public:
    explicit IniFile(QString path);
    ~IniFile();
    IniFile(const IniFile&) = delete;
    IniFile& operator=(const IniFile&) = delete;

    const QString& path() const { return m_path; }
    // Re-reads the file; a missing file reads as empty.
    void reload();

    bool hasKey(const QString& section, const QString& key) const;
    QString readString(const QString& section, const QString& key, const QString& def = {}) const;
    // Integers, booleans and colours: a value that is not an integer gives the default.
    int readInt(const QString& section, const QString& key, int def) const;
    bool readBool(const QString& section, const QString& key, bool def) const;
    QStringList keys(const QString& section) const;
    // Every key = value line of a section, in file order.
    QList<QPair<QString, QString>> entries(const QString& section) const;
    QStringList sections() const;

    // Setters change memory only; save() writes the file.
    void writeString(const QString& section, const QString& key, const QString& value);
    void writeInt(const QString& section, const QString& key, int value);
    void writeBool(const QString& section, const QString& key, bool value);
    void deleteKey(const QString& section, const QString& key);
    void eraseSection(const QString& section);
    // Writes the whole file (temporary file + rename). False when it could not be written;
    // errorString() then says why.
    bool save();
    const QString& errorString() const { return m_error; }
    // Whether memory differs from the file since the last load or save.
    bool isModified() const { return m_modified; }

private:
    QString m_path;
    std::unique_ptr<IniData> m_ini;
    bool m_modified = false;
    QString m_error;
};
