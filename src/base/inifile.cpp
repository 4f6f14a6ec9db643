#include "base/inifile.h"

#include <QFile>
#include <QSaveFile>

#include <algorithm>
#include <vector>

// Texts stay UTF-8 bytes: no wide-character conversion is needed.
#define SI_NO_CONVERSION
#include <SimpleIni.h>

// Case-insensitive sections and keys.
struct IniData : CSimpleIniA {};

namespace {
QByteArray wide(const QString& s) {
    return s.toUtf8();
}
QString qs(const char* s) {
    return s ? QString::fromUtf8(s) : QString();
}
} // namespace

IniFile::IniFile(QString path) : m_path(std::move(path)), m_ini(std::make_unique<IniData>()) {
    reload();
}

IniFile::~IniFile() = default;

void IniFile::reload() {
    m_ini->Reset();
    m_ini->SetUnicode(true);
    m_ini->SetMultiKey(false);
    m_ini->SetSpaces(false); // "key=value", as every INI reader expects
    m_modified = false;
    QFile f(m_path);
    if (!f.open(QIODevice::ReadOnly))
        return;
    const QByteArray data = f.readAll();
    m_ini->LoadData(data.constData(), size_t(data.size()));
}

bool IniFile::hasKey(const QString& section, const QString& key) const {
    return m_ini->GetValue(wide(section).constData(), wide(key).constData(), nullptr) != nullptr;
}

QString IniFile::readString(const QString& section, const QString& key, const QString& def) const {
    const char* v = m_ini->GetValue(wide(section).constData(), wide(key).constData(), nullptr);
    return v ? qs(v) : def;
}

int IniFile::readInt(const QString& section, const QString& key, int def) const {
    bool ok = false;
    const int v = readString(section, key).trimmed().toInt(&ok);
    return ok ? v : def;
}

bool IniFile::readBool(const QString& section, const QString& key, bool def) const {
    bool ok = false;
    const int v = readString(section, key).trimmed().toInt(&ok);
    return ok ? v != 0 : def;
}

QStringList IniFile::keys(const QString& section) const {
    CSimpleIniA::TNamesDepend names;
    m_ini->GetAllKeys(wide(section).constData(), names);
    names.sort(CSimpleIniA::Entry::LoadOrder());
    QStringList out;
    for (const auto& e : names)
        out << qs(e.pItem);
    return out;
}

QList<QPair<QString, QString>> IniFile::entries(const QString& section) const {
    QList<QPair<QString, QString>> out;
    const QByteArray sec = wide(section);
    const auto* keys = m_ini->GetSection(sec.constData());
    if (!keys)
        return out;
    std::vector<std::pair<CSimpleIniA::Entry, const char*>> lines(keys->begin(), keys->end());
    std::sort(lines.begin(), lines.end(),
              [](const auto& a, const auto& b) { return a.first.nOrder < b.first.nOrder; });
    out.reserve(qsizetype(lines.size()));
    for (const auto& [k, v] : lines)
        out.append({qs(k.pItem), qs(v)});
    return out;
}

QStringList IniFile::sections() const {
    CSimpleIniA::TNamesDepend names;
    m_ini->GetAllSections(names);
    names.sort(CSimpleIniA::Entry::LoadOrder());
    QStringList out;
    for (const auto& e : names)
        out << qs(e.pItem);
    return out;
}

void IniFile::writeString(const QString& section, const QString& key, const QString& value) {
    // A line break inside a key or value would split the line and garble the file.
    auto oneLine = [](QString s) {
        if (s.contains('\n') || s.contains('\r'))
            s.replace(QStringLiteral("\r\n"), QStringLiteral(" "))
                .replace('\n', ' ')
                .replace('\r', ' ');
        return s;
    };
    const QByteArray sec = wide(section), k = wide(oneLine(key)), v = wide(oneLine(value));
    const char* old = m_ini->GetValue(sec.constData(), k.constData(), nullptr);
    if (old && v == old)
        return;
    m_ini->SetValue(sec.constData(), k.constData(), v.constData(), nullptr, true);
    m_modified = true;
}

void IniFile::writeInt(const QString& section, const QString& key, int value) {
    writeString(section, key, QString::number(value));
}

void IniFile::writeBool(const QString& section, const QString& key, bool value) {
    writeString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

void IniFile::deleteKey(const QString& section, const QString& key) {
    if (m_ini->Delete(wide(section).constData(), wide(key).constData(), true))
        m_modified = true;
}

void IniFile::eraseSection(const QString& section) {
    if (m_ini->Delete(wide(section).constData(), nullptr))
        m_modified = true;
}

bool IniFile::save() {
    m_error.clear();
    std::string data;
    if (m_ini->Save(data, false) < 0) {
        m_error = QStringLiteral("the text could not be prepared");
        return false;
    }
    QSaveFile f(m_path);
    if (!f.open(QIODevice::WriteOnly)) {
        m_error = f.errorString();
        return false;
    }
    if (f.write(data.data(), qint64(data.size())) != qint64(data.size())) {
        m_error = f.errorString();
        f.cancelWriting();
        return false;
    }
    if (!f.commit()) {
        m_error = f.errorString();
        return false;
    }
    m_modified = false;
    return true;
}
