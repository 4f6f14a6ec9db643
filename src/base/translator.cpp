#include "base/translator.h"

#include "base/inifile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTimer>

#include <algorithm>

namespace {
Translator* g_messages = nullptr;
const QString kMessages = QStringLiteral("Messages");
const QString kBreak = QStringLiteral("~~");
} // namespace

Translator::Translator(QString languageFolder, QString language, QObject* parent)
    : QObject(parent), m_folder(std::move(languageFolder)), m_language(std::move(language)),
      m_delayed(QCoreApplication::instance() != nullptr) {
    if (!m_folder.isEmpty() && !m_folder.endsWith('/'))
        m_folder += '/';
}

Translator::~Translator() {
    flush();
    if (g_messages == this)
        g_messages = nullptr;
}

QString Translator::languageFile(const QString& folder, const QString& language) {
    QString name = language;
    if (name.endsWith(QStringLiteral(".lng"), Qt::CaseInsensitive))
        name.chop(4);
    const QDir dir(folder);
    const QStringList existing = dir.entryList({QStringLiteral("*.lng")}, QDir::Files, QDir::Name);
    for (const QString& f : existing)
        if (QFileInfo(f).completeBaseName().compare(name, Qt::CaseInsensitive) == 0)
            return dir.filePath(f);
    // A new template gets the template's own name, whatever case the language was asked in.
    if (name.compare(templateLanguage(), Qt::CaseInsensitive) == 0)
        name = templateLanguage();
    return dir.filePath(name + QStringLiteral(".lng"));
}

QStringList Translator::languages() const {
    QStringList names;
    const QStringList files = QDir(m_folder).entryList({QStringLiteral("*.lng")}, QDir::Files,
                                                       QDir::Name | QDir::IgnoreCase);
    for (const QString& f : files)
        names << QFileInfo(f).completeBaseName();
    // A file this translator holds but has not written yet (the template, a second after
    // start-up) is listed under its own name too, so the list does not change its
    // entries' spelling once the file appears.
    const QString folder = QDir(m_folder).absolutePath();
    for (const auto& [id, file] : m_files) {
        const QFileInfo info(file->path());
        const QString name = info.completeBaseName();
        if (info.absolutePath() == folder &&
            info.suffix().compare(QLatin1String("lng"), Qt::CaseInsensitive) == 0 &&
            !names.contains(name, Qt::CaseInsensitive))
            names << name;
    }
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    });
    return names;
}

IniFile& Translator::iniAt(const QString& path) {
    const QString id = QFileInfo(path).absoluteFilePath().toLower();
    auto it = m_files.find(id);
    if (it == m_files.end())
        it = m_files.emplace(id, std::make_unique<IniFile>(path)).first;
    return *it->second;
}

IniFile& Translator::languageIni(const QString& language) {
    return iniAt(languageFile(m_folder, language));
}

void Translator::changeLanguage(const QString& language) {
    // Files are read again from disk: a language file may have been edited meanwhile.
    flush();
    m_files.clear();
    m_language = language;
    m_current = nullptr;
    m_cache.clear();
    emit languageChanged(language);
}

void Translator::fileChanged(IniFile& file) {
    if (!file.isModified())
        return;
    if (!m_delayed) {
        QDir().mkpath(QFileInfo(file.path()).absolutePath());
        file.save(); // a folder that cannot be written still shows the texts
        return;
    }
    if (!m_flushScheduled) {
        m_flushScheduled = true;
        QTimer::singleShot(1000, this, [this] { flush(); });
    }
}

bool Translator::flush() {
    m_flushScheduled = false;
    bool ok = true;
    for (auto& [id, file] : m_files) {
        if (!file->isModified())
            continue;
        QDir().mkpath(QFileInfo(file->path()).absolutePath());
        if (!file->save()) {
            ok = false;
            // Kept in memory; not retried for every later lookup.
            file->reload();
        }
    }
    return ok;
}

QString Translator::fromFileText(QString text) {
    return text.replace(kBreak, QStringLiteral("\n"));
}

QString Translator::toFileText(QString text) {
    return text.replace(QStringLiteral("\r\n"), kBreak).replace('\n', kBreak).replace('\r', kBreak);
}

QString Translator::translate(const QString& key, const QString& def) {
    const auto hit = m_cache.constFind(key);
    if (hit != m_cache.constEnd() && !hit->isEmpty())
        return *hit;
    if (!m_current)
        m_current = &languageIni(m_language);
    IniFile& f = *m_current;
    QString text;
    if (f.hasKey(kMessages, key)) {
        text = f.readString(kMessages, key, def);
    } else {
        text = def;
        f.writeString(kMessages, key, def);
        fileChanged(f);
    }
    text = fromFileText(text);
    m_cache.insert(key, text);
    return text;
}

void Translator::loadMessages() {
    if (!m_current)
        m_current = &languageIni(m_language);
    for (const auto& [key, value] : m_current->entries(kMessages))
        if (!key.isEmpty())
            m_cache.insert(key, fromFileText(value));
}

void setMessageTranslator(Translator* translator) {
    g_messages = translator;
}
Translator* messageTranslator() {
    return g_messages;
}

QString T(const QString& key, const QString& def) {
    if (!g_messages)
        return Translator::fromFileText(def);
    return g_messages->translate(key, def);
}

QString T(const char* key, const char* def) {
    return T(QString::fromUtf8(key), QString::fromUtf8(def));
}
