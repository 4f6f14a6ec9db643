#include "lists/songtags.h"

#include "base/nativepath.h"
#include "base/settings.h"
#include "base/texts.h"
#include "fileops/fileoperations.h"
#include "media/id3v1.h"
#include "media/id3v2.h"
#include "media/tagfields.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>

#include <cmath>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

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
    return fileAttributes(QFileInfo(path).fileName(), st.st_mode & S_IWUSR);
}

std::int64_t fileAttributes(const QString& fileName, bool writableByOwner) {
    std::int64_t a = 0;
    if (!writableByOwner)
        a |= AttrReadOnly;
    if (fileName.startsWith('.'))
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

bool SongTags::listShowsId3v2() const {
    return !m_settings.flag("RBListV1");
}

namespace {
// The seven tag columns and their fields, in column order.
constexpr std::pair<int, TagField> kTagColumns[] = {
    {SongItem::SongTitle, TagField::Title}, {SongItem::Artist, TagField::Artist},
    {SongItem::Album, TagField::Album},     {SongItem::Year, TagField::Year},
    {SongItem::Genre, TagField::Genre},     {SongItem::TrackNumber, TagField::Track},
    {SongItem::Comment, TagField::Comment},
};

bool blank(const std::string& text) {
    for (const char c : text)
        if (static_cast<unsigned char>(c) > ' ')
            return false;
    return true;
}

// A field of the ID3v2 tag as the list shows it; empty when the tag does not hold it.
std::string id3v2Text(const TID3v2& tag, TagField field) {
    if (field == TagField::Track)
        return tag.Track() ? std::to_string(tag.Track()) : std::string();
    std::string text = GetField(tag, field);
    if (blank(text))
        return {};
    // A genre given by its number (ID3v2.4 writes "17") shows as its name, as ID3v1's do.
    if (field == TagField::Genre)
        if (const auto n = ParseTrackByte(text); n && *n < GenreNames.size())
            return GenreNames[*n];
    return text;
}
} // namespace

bool SongTags::readTagsIntoItem(const QString& path, SongItem& item, Mode mode) {
    // A missing file fails to open in Analyse; no separate look first.
    if (path.endsWith(QStringLiteral(".cda"), Qt::CaseInsensitive))
        return false;
    if (!m_analyser.Analyse(nativePath(path)))
        return false;
    const TID3v1& tag = m_analyser.Tag1();
    const TID3v2& tag2 = m_analyser.Tag2();
    const bool v2 = listShowsId3v2() && tag2.Present();
    const FrameInfo& frame = m_analyser.Frame();
    QString texts[13];
    // Each of the seven fields from ID3v2 where that tag holds it, else from ID3v1 (with
    // "ID3v1 only", always from ID3v1): files tagged by today's programs often have no
    // ID3v1 tag, and ID3v1 keeps only 30 Latin-1 characters of a title.
    for (int i = 0; i < 7; ++i) {
        const TagField field = kTagColumns[i].second;
        std::string text = v2 ? id3v2Text(tag2, field) : std::string();
        if (text.empty())
            text = GetField(tag, field);
        texts[i] = qs(text);
    }
    texts[7] = QString::number(std::llround(m_analyser.DurationSeconds()));
    texts[8] = QString::number(qint64(m_analyser.BitRateKbps()) * 1000);
    texts[9] = QString::number(m_analyser.SampleRateHz());
    texts[10] = m_yesNo.text(frame.CrcProtected);
    texts[11] = m_yesNo.text(frame.OriginalBit);
    texts[12] = m_yesNo.text(frame.CopyrightBit);
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
    // While the list shows ID3v2 its fields go into both tags: the ID3v2 tag first (read
    // from the file, so that every frame the row does not show is carried over, and
    // fields the row left as they were keep their frames), then ID3v1. A failed ID3v2
    // write leaves the file untouched.
    if (listShowsId3v2()) {
        TID3v2& tag2 = m_analyser.Tag2();
        tag2.Load(nativePath(path));
        for (const auto& [column, field] : kTagColumns)
            if (id3v2Text(tag2, field) != item.text(column).toStdString())
                SetField(tag2, field, item.text(column).toStdString());
        if (!m_files.saveId3v2(tag2, path))
            return false;
    }
    TID3v1& tag = m_analyser.Tag1();
    for (const auto& [column, field] : kTagColumns)
        SetField(tag, field, item.text(column).toStdString());
    return bool(m_files.saveId3v1(tag, path));
}
