#include "base/settings.h"

#include <QDir>

namespace {
constexpr int rgb(int r, int g, int b) {
    return r | (g << 8) | (b << 16);
}
const QString kSection = QStringLiteral("Settings");
Settings::Kind kindOf(const QVariant& v) {
    switch (v.typeId()) {
    case QMetaType::Bool:
        return Settings::Kind::Flag;
    case QMetaType::Int:
    case QMetaType::LongLong:
    case QMetaType::UInt:
        return Settings::Kind::Number;
    case QMetaType::QColor:
        return Settings::Kind::Colour;
    default:
        return Settings::Kind::Text;
    }
}
} // namespace

const QList<Settings::Key>& Settings::knownKeys() {
    using K = Settings::Kind;
    static const QList<Key> keys = {
        // Global
        {"RBHorizontal", K::Flag, true},
        {"RBVertical", K::Flag, false},
        {"RBWhole", K::Flag, false},
        {"CBAnimations", K::Flag, true},
        {"CBDimWindow", K::Flag, true},
        {"CBWarnings", K::Flag, true},
        {"CBCloseMinimize", K::Flag, false},
        // On Startup
        {"CBStartMenu", K::Flag, true},
        {"CBRegExt", K::Flag, true},
        {"CBUpdates", K::Flag, true},
        {"CBDatabase", K::Flag, true},
        {"CBManualy", K::Flag, true},
        {"CBEachTime", K::Flag, false},
        {"CBCoupleUses", K::Flag, false},
        {"SEDBUse", K::Number, 10},
        // List
        {"RBLTBegining", K::Flag, true},
        {"RBLTEdit", K::Flag, false},
        {"RBLTNever", K::Flag, false},
        {"RBListV2", K::Flag, true},  // " List Shows ": "ID3v2, else ID3v1"
        {"RBListV1", K::Flag, false}, //                 "ID3v1 only"
        {"CBLLoadOnBegining", K::Flag, true},
        {"CBLCheckOnEdit", K::Flag, false},
        {"CBLColorFiles", K::Flag, true},
        {"SERandomSeed_skip_", K::Number, 10},
        // List GUI
        {"BitCMin", K::Colour, rgb(255, 224, 255)},
        {"BitCMid1", K::Colour, rgb(255, 255, 224)},
        {"BitCMid2", K::Colour, rgb(224, 255, 224)},
        {"BitCMax", K::Colour, rgb(224, 255, 255)},
        {"SEMin", K::Number, 56},
        {"SEMid", K::Number, 128},
        {"SEMax", K::Number, 224},
        {"CBColorBitrate", K::Flag, false},
        {"CBWeightResort", K::Flag, true},
        {"CBStar", K::Flag, false},
        {"CBStarInterval", K::Flag, false},
        {"CBStarLimit", K::Flag, true},
        {"SEStarInterval", K::Number, 10},
        {"SEStarMax", K::Number, 100},
        // List Hint
        {"CBShowHint", K::Flag, true},
        {"CBHAlbumImage", K::Flag, true},
        {"CBHSongTitle", K::Flag, true},
        {"CBHArtist", K::Flag, false},
        {"CBHAlbum", K::Flag, true},
        {"CBHYear", K::Flag, false},
        {"CBHGenre", K::Flag, true},
        {"CBHTrackNumber", K::Flag, false},
        {"CBHComment", K::Flag, false},
        {"CBHLyrics", K::Flag, true},
        {"CBHError", K::Flag, false},
        {"CBHCD", K::Flag, true},
        {"CBHWeight", K::Flag, false},
        {"CBHLength", K::Flag, true},
        {"CBHBitRate", K::Flag, false},
        {"CBHFrequency", K::Flag, true},
        {"CBHcrc", K::Flag, false},
        {"CBHOriginal", K::Flag, false},
        {"CBHCopyright", K::Flag, false},
        // Player
        {"CBPopOut", K::Flag, false},
        {"CBWinamp", K::Flag, false},
        {"CBPlayRank", K::Flag, false},
        {"EPlayLength", K::Number, 5},
        {"CBCountDown", K::Flag, true},
        {"CBCountUp", K::Flag, false},
        {"CBShowOnScreen", K::Flag, false},
        {"SEShowTime", K::Number, 2},
        {"SNormal", K::Colour, rgb(0, 96, 191)},
        {"SActive", K::Colour, rgb(177, 208, 254)},
        {"SPosition", K::Colour, rgb(255, 255, 255)},
        // Other
        {"CBInfoId3v1", K::Flag, true},
        {"CBInfoId3v2", K::Flag, false},
        {"CBInfoMPEG", K::Flag, true},
        {"CBInfoFile", K::Flag, true},
        {"CBInfoCovers", K::Flag, false},
        {"CBInfoLyrics", K::Flag, false},
        // Further keys read and written by name
        {"Language", K::Text, QStringLiteral("English")},
        {"Mp3FileFormat", K::Text, QStringLiteral("A - S")},
        {"Mp3FileFormat_text", K::Text, QStringLiteral("Artist - Song Title.mp3")},
        {"MoveCopyFileFormat", K::Text, QString()},
        {"CBDirStruct_skip_", K::Number, 0},
        {"LTitleName", K::Text, QStringLiteral("Sans Serif")},
        {"LTitleSize", K::Number, 28},
        {"LTitleStyle", K::Text, QStringLiteral("B")},
        {"LTitleCharset", K::Number, 1},
        {"TitlePositionX", K::Number, 1},
        {"TitlePositionY", K::Number, 2},
        {"DefaultDB", K::Text, QStringLiteral("database")},
        {"StartHistory", K::Flag, false},
    };
    return keys;
}

Settings::Settings(const QString& programFolder, QObject* parent)
    : QObject(parent), m_file(programFolder + QStringLiteral("settings.set")) {
    for (const Key& k : knownKeys()) {
        const QString name = QString::fromLatin1(k.name);
        const QString lower = name.toLower();
        m_kinds.insert(lower, k.kind);
        m_names.insert(lower, name);
        QVariant v;
        switch (k.kind) {
        case Kind::Flag:
            v = m_file.readBool(kSection, name, k.def.toBool());
            break;
        case Kind::Number:
        case Kind::Colour:
            v = m_file.readInt(kSection, name, k.def.toInt());
            break;
        case Kind::Text:
            v = m_file.readString(kSection, name, k.def.toString());
            break;
        }
        m_values.insert(lower, v);
    }
    for (int i = 0; i < ColumnCount; ++i)
        m_columns[i] =
            m_file.readBool(QStringLiteral("SettingsColumn"), QStringLiteral("F%1").arg(i), true);
    // The random-check percentage had an older name that is read first.
    if (!m_file.hasKey(kSection, "SERandomSeed_skip_") && m_file.hasKey(kSection, "SERandomSeed"))
        m_values.insert("serandomseed_skip_", m_file.readInt(kSection, "SERandomSeed", 10));
}

QVariant Settings::value(const QString& key) const {
    return m_values.value(key.toLower());
}
bool Settings::flag(const QString& key) const {
    return value(key).toBool();
}
int Settings::number(const QString& key) const {
    return value(key).toInt();
}
QColor Settings::colour(const QString& key) const {
    return intToColour(value(key).toInt());
}
QString Settings::text(const QString& key) const {
    return value(key).toString();
}

void Settings::setValue(const QString& key, const QVariant& v) {
    const QString lower = key.toLower();
    QVariant stored = v;
    if (v.typeId() == QMetaType::QColor)
        stored = colourToInt(v.value<QColor>());
    switch (m_kinds.value(lower, Kind::Text)) {
    case Kind::Flag:
        stored = stored.toBool();
        break;
    case Kind::Number:
    case Kind::Colour:
        stored = stored.toInt();
        break;
    case Kind::Text:
        if (m_kinds.contains(lower))
            stored = stored.toString();
        break;
    }
    if (m_values.value(lower) == stored && m_values.contains(lower))
        return;
    if (!m_names.contains(lower)) {
        m_names.insert(lower, key);
        m_kinds.insert(lower, kindOf(v));
        m_extraKeys.append(lower);
    }
    m_values.insert(lower, stored);
    emit changed(m_names.value(lower));
}

bool Settings::columnVisible(int column) const {
    return column >= 0 && column < ColumnCount ? m_columns[column] : false;
}

void Settings::setColumnVisible(int column, bool visible) {
    if (column < 0 || column >= ColumnCount || m_columns[column] == visible)
        return;
    m_columns[column] = visible;
    emit columnVisibilityChanged(column, visible);
}

bool Settings::saveSettings() {
    auto write = [this](const QString& lower) {
        const QString name = m_names.value(lower);
        const QVariant v = m_values.value(lower);
        switch (m_kinds.value(lower)) {
        case Kind::Flag:
            m_file.writeBool(kSection, name, v.toBool());
            break;
        case Kind::Number:
        case Kind::Colour:
            m_file.writeInt(kSection, name, v.toInt());
            break;
        case Kind::Text:
            m_file.writeString(kSection, name, v.toString());
            break;
        }
    };
    // The table's order first, so the file reads like the settings window.
    for (const Key& k : knownKeys())
        write(QString::fromLatin1(k.name).toLower());
    for (const QString& lower : std::as_const(m_extraKeys))
        write(lower);
    for (int i = 0; i < ColumnCount; ++i)
        m_file.writeBool(QStringLiteral("SettingsColumn"), QStringLiteral("F%1").arg(i),
                         m_columns[i]);
    return m_file.save();
}

int Settings::colourToInt(const QColor& c) {
    return rgb(c.red(), c.green(), c.blue());
}

QColor Settings::intToColour(int v) {
    return QColor(v & 0xFF, (v >> 8) & 0xFF, (v >> 16) & 0xFF);
}
