#include "lists/songtags.h"

#include "base/nativepath.h"
#include "base/settings.h"
#include "base/texts.h"
#include "fileops/fileoperations.h"
#include "media/tagfields.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>

#include <cmath>
#include <sys/stat.h>
#include <unistd.h>

QString attributeText(std::int64_t attributes) {
    if (attributes < 0)
        return {};
    QString t;
    if (attributes & AttrReadOnly)
        t += QStringLiteral("R ");
    if (attributes & AttrArchive)
        t += QStringLiteral("A ");
    if (attributes & AttrHidden)
        t += QStringLiteral("H ");
    if (attributes & AttrSystem)
        t += QStringLiteral("S");
    return t;
}

std::int64_t fileAttributes(const QString& path) {
    struct stat st {};
    if (::stat(toNativePath(path).constData(), &st) != 0)
        return -1;
    std::int64_t a = 0;
    if (!(st.st_mode & S_IWUSR))
        a |= AttrReadOnly;
    if (QFileInfo(path).fileName().startsWith('.'))
        a |= AttrHidden;
    return a;
}

QString fileSizeKbText(std::int64_t bytes) {
    if (bytes < 0)
        return {};
    double kb = double(bytes) / 1024.0;
    if (kb > 0) {
        // Six significant digits, then exactly two decimals.
        const int magnitude = int(std::floor(std::log10(kb))) + 1;
        const double scale = std::pow(10.0, 6 - magnitude);
        kb = std::round(kb * scale) / scale;
    }
    // The locale's decimal separator but no grouping: "1525.10", never "1,525.10", so the
    // text reads back as one number whatever the locale (lists and catalogues store it).
    QLocale locale;
    locale.setNumberOptions(locale.numberOptions() | QLocale::OmitGroupSeparator);
    return locale.toString(kb, 'f', 2);
}

SongTags::SongTags(const Settings& settings, const YesNo& yesNo, FileOperations& files)
    : m_settings(settings), m_yesNo(yesNo), m_files(files) {}

SongItem SongTags::makeSongItem(const QString& name, const QString& folder, std::int64_t attributes,
                                std::int64_t size) {
    QString fileName = name;
    QString location = folder;
    if (location.isEmpty()) {
        const int slash = int(name.lastIndexOf('/'));
        location = name.left(slash + 1);
        fileName = name.mid(slash + 1);
    }
    const QString path = location + fileName;
    // Only a regular file is read: a pipe or device given by name would block or never end.
    bool regular = true;
    if (size == -1) {
        struct stat st {};
        regular = ::stat(toNativePath(path).constData(), &st) == 0 && S_ISREG(st.st_mode);
        if (regular)
            size = st.st_size;
    }
    if (attributes == -1)
        attributes = fileAttributes(path);

    SongItem item;
    item.append(fileName);
    item.append(fileSizeKbText(size));
    item.append(location);
    const bool read =
        regular && m_settings.flag("RBLTBegining") && readTagsIntoItem(path, item, Mode::Append);
    if (!read)
        for (int i = 0; i < 13; ++i)
            item.append(QStringLiteral(" "));
    item.append(attributeText(attributes));
    item.append(QStringLiteral("0"));
    return item;
}

namespace {
std::string nativePath(const QString& path) {
    return toNativePathString(path);
}
QString qs(const std::string& utf8) {
    return QString::fromStdString(utf8);
}
bool isFile(const QString& path) {
    struct stat st {};
    return ::stat(toNativePath(path).constData(), &st) == 0 && !S_ISDIR(st.st_mode);
}
} // namespace

bool SongTags::readTagsIntoItem(const QString& path, SongItem& item, Mode mode) {
    // A missing file fails to open in Analyse; no separate look first.
    if (path.endsWith(QStringLiteral(".cda"), Qt::CaseInsensitive))
        return false;
    if (!m_analyser.Analyse(nativePath(path)))
        return false;
    const TID3v1& tag = m_analyser.Tag1();
    const FrameInfo& frame = m_analyser.Frame();
    const QString texts[13] = {
        qs(tag.Title()),
        qs(tag.Artist()),
        qs(tag.Album()),
        qs(tag.Year()),
        qs(tag.GenreName()),
        QString::number(tag.Track()),
        qs(tag.Comment()),
        QString::number(std::llround(m_analyser.DurationSeconds())),
        QString::number(qint64(m_analyser.BitRateKbps()) * 1000),
        QString::number(m_analyser.SampleRateHz()),
        m_yesNo.text(frame.CrcProtected),
        m_yesNo.text(frame.OriginalBit),
        m_yesNo.text(frame.CopyrightBit),
    };
    for (int i = 0; i < 13; ++i) {
        if (mode == Mode::Append)
            item.append(texts[i]);
        else
            item.setText(SongItem::SongTitle + i, texts[i]);
    }
    return true;
}

std::uint8_t genreByteForText(const QString& genre) {
    return ParseGenreByte(genre.toStdString(), false).value_or(TID3v1::NoGenre);
}

std::uint8_t trackByteForText(const QString& track) {
    return ParseTrackByte(track.toStdString()).value_or(0);
}

bool SongTags::writeItemTags(const SongItem& item) {
    const QString path = item.path();
    if (!isFile(path))
        return true;
    // The row's seven tag columns, in the order of the column texts.
    static constexpr std::pair<int, TagField> kColumns[] = {
        {SongItem::SongTitle, TagField::Title},   {SongItem::Artist, TagField::Artist},
        {SongItem::Album, TagField::Album},       {SongItem::Year, TagField::Year},
        {SongItem::Comment, TagField::Comment},   {SongItem::Genre, TagField::Genre},
        {SongItem::TrackNumber, TagField::Track},
    };
    TID3v1& tag = m_analyser.Tag1();
    for (const auto& [column, field] : kColumns)
        SetField(tag, field, item.text(column).toStdString());
    return bool(m_files.saveId3v1(tag, path));
}
