#include "app/translator.h"

#include "app/inifile.h"

#include <QDir>
#include <QFileInfo>

namespace {
Translator* g_messages = nullptr;
const QString kMessages = QStringLiteral("Messages");
} // namespace

Translator::Translator(QString languageFolder, QString language)
    : m_folder(std::move(languageFolder)), m_language(std::move(language)) {}

Translator::~Translator() = default;

QString Translator::languageFile(const QString& folder, const QString& language) {
    QString name = language;
    if (name.endsWith(QStringLiteral(".lng"), Qt::CaseInsensitive))
        name.chop(4);
    const QDir dir(folder);
    const QStringList existing = dir.entryList({QStringLiteral("*.lng")}, QDir::Files, QDir::Name);
    for (const QString& f : existing)
        if (QFileInfo(f).completeBaseName().compare(name, Qt::CaseInsensitive) == 0)
            return dir.filePath(f);
    return dir.filePath(name + QStringLiteral(".lng"));
}

void Translator::changeLanguage(const QString& language) {
    m_language = language;
    m_file.reset();
    m_cache.clear();
}

IniFile& Translator::file() {
    if (!m_file)
        m_file = std::make_unique<IniFile>(languageFile(m_folder, m_language));
    return *m_file;
}

QString Translator::translate(const QString& key, const QString& def) {
    const auto hit = m_cache.constFind(key);
    if (hit != m_cache.constEnd() && !hit->isEmpty())
        return *hit;
    IniFile& f = file();
    QString text;
    if (f.hasKey(kMessages, key)) {
        text = f.readString(kMessages, key, def);
    } else {
        text = def;
        f.writeString(kMessages, key, def);
        QDir().mkpath(m_folder);
        f.save(); // a folder that cannot be written still shows the text
    }
    text.replace(QStringLiteral("~~"), QStringLiteral("\n"));
    m_cache.insert(key, text);
    return text;
}

void setMessageTranslator(Translator* translator) { g_messages = translator; }
Translator* messageTranslator() { return g_messages; }

QString T(const QString& key, const QString& def) {
    if (!g_messages) {
        QString text = def;
        return text.replace(QStringLiteral("~~"), QStringLiteral("\n"));
    }
    return g_messages->translate(key, def);
}

QString T(const char* key, const char* def) {
    return T(QString::fromUtf8(key), QString::fromUtf8(def));
}
