#include "lists/listformats.h"

#include "base/translator.h"

namespace {
struct FormatInfo {
    ListFormat format;
    const char* extension;
    const char* key;     // message key of the dialog caption
    const char* caption; // English default, without the pattern
    const char* pattern;
    bool loadable;
};

constexpr FormatInfo kFormats[ListFormatCount] = {
    {ListFormat::Txt, ".txt", "ListTypeTxt", "Text file", "*.txt", true},
    {ListFormat::Csv, ".csv", "ListTypeCsv", "Comma Separated Values", "*.csv", true},
    {ListFormat::Xls, ".xls", "ListTypeXls", "Microsoft Excel Worksheet", "*.xls", true},
    {ListFormat::Doc, ".doc", "ListTypeDoc", "Word Document", "*.doc", false},
    {ListFormat::Htm, ".htm", "ListTypeHtm", "Hypertext Document", "*.htm; *.html", false},
    {ListFormat::M3u, ".m3u", "ListTypeM3u", "Winamp Playlist File", "*.m3u", true},
    {ListFormat::Rnl, ".rnl", "ListTypeRnl", "Rendolo", "*.rnl", true},
    {ListFormat::Dat, ".dat", "ListTypeDat", "Data file", "*.dat", true},
    {ListFormat::Xml, ".xml", "ListTypeXml", "EXtensible Markup Language", "*.xml", false},
};

const FormatInfo& info(ListFormat f) {
    return kFormats[int(f) - 1];
}

QString fileNamePart(const QString& path) {
    return path.mid(path.lastIndexOf('/') + 1);
}

// The extension of the file name with its dot, as written; "" when there is none.
QString extensionOf(const QString& path) {
    const QString name = fileNamePart(path);
    const qsizetype dot = name.lastIndexOf('.');
    return dot <= 0 ? QString() : name.mid(dot);
}

QString caption(const FormatInfo& f) {
    return T(f.key, f.caption) + QStringLiteral(" (") + QLatin1String(f.pattern) + ')';
}
} // namespace

QString listFormatExtension(ListFormat format) {
    if (format == ListFormat::None)
        return {};
    return QLatin1String(info(format).extension);
}

ListFormat listFormatOfPath(const QString& path) {
    const QString ext = extensionOf(path).toLower();
    if (ext.isEmpty())
        return ListFormat::None;
    if (ext == QLatin1String(".html"))
        return ListFormat::Htm;
    if (ext == QLatin1String(".m3u8"))
        return ListFormat::M3u;
    for (const FormatInfo& f : kFormats)
        if (ext == QLatin1String(f.extension))
            return f.format;
    return ListFormat::None;
}

bool listFormatLoadable(ListFormat format) {
    return format != ListFormat::None && info(format).loadable;
}

QStringList listSaveFilters() {
    QStringList out;
    for (const FormatInfo& f : kFormats)
        out << caption(f);
    return out;
}

QStringList listOpenFilters() {
    QStringList patterns;
    QStringList alone;
    for (const FormatInfo& f : kFormats) {
        if (!f.loadable)
            continue;
        QString pattern = QLatin1String(f.pattern);
        if (f.format == ListFormat::M3u)
            pattern += QStringLiteral(" *.m3u8");
        patterns << pattern;
        alone << T(f.key, f.caption) + QStringLiteral(" (") + pattern + ')';
    }
    return QStringList{T("ListTypeAll", "All list files") + QStringLiteral(" (") +
                       patterns.join(' ') + ')'} +
           alone;
}

int listSaveEntryFor(const QString& titleFile) {
    if (titleFile.trimmed().isEmpty() || titleFile.endsWith('/') ||
        extensionOf(titleFile).isEmpty())
        return 0;
    const ListFormat f = listFormatOfPath(titleFile);
    return f == ListFormat::None ? 1 : int(f);
}

QString withListExtension(const QString& path, ListFormat format) {
    if (format == ListFormat::None)
        return path;
    const QString ext = extensionOf(path);
    const ListFormat typed = listFormatOfPath(path);
    if (typed == format)
        return path; // already names this type (".HTML", ".m3u8" stay as typed)
    if (typed != ListFormat::None)
        return path.left(path.size() - ext.size()) + listFormatExtension(format);
    return path + listFormatExtension(format);
}
