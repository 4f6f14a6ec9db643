#include "app/inifile.h"

#include <QFile>
#include <QSaveFile>

// Texts stay UTF-8 bytes: no wide-character conversion is needed.
#define SI_NO_CONVERSION
#include <SimpleIni.h>

// Case-insensitive sections and keys.
struct IniData : CSimpleIniA {};

namespace {
QByteArray wide(const QString& s) { return s.toUtf8(); }
QString qs(const char* s) { return s ? QString::fromUtf8(s) : QString(); }
} // namespace

IniFile::IniFile(QString path) : m_path(std::move(path)), m_ini(std::make_unique<IniData>()) {
    reload();
}

IniFile::~IniFile() = default;

void IniFile::reload() {
    m_ini->Reset();
    m_ini->SetUnicode(true);
    m_ini->SetMultiKey(false);
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
    m_ini->SetValue(wide(section).constData(), wide(key).constData(), wide(value).constData(), nullptr, true);
}

void IniFile::writeInt(const QString& section, const QString& key, int value) {
    writeString(section, key, QString::number(value));
}

void IniFile::writeBool(const QString& section, const QString& key, bool value) {
    writeString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

void IniFile::deleteKey(const QString& section, const QString& key) {
    m_ini->Delete(wide(section).constData(), wide(key).constData(), true);
}

void IniFile::eraseSection(const QString& section) { m_ini->Delete(wide(section).constData(), nullptr); }

bool IniFile::save() {
    std::string data;
    if (m_ini->Save(data, false) < 0)
        return false;
    QSaveFile f(m_path);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    if (f.write(data.data(), qint64(data.size())) != qint64(data.size())) {
        f.cancelWriting();
        return false;
    }
    return f.commit();
}
