#include "cli/rowtext.h"

#include "base/nativepath.h"

std::string rowLine(const SongItem& item) {
    std::string line;
    for (int c = 0; c < item.textCount(); ++c) {
        if (c)
            line += '\t';
        for (const char ch : toNativePath(item.view(c).toString())) {
            switch (ch) {
            case '\\':
                line += "\\\\";
                break;
            case '\t':
                line += "\\t";
                break;
            case '\r':
                line += "\\r";
                break;
            case '\n':
                line += "\\n";
                break;
            default:
                line += ch;
            }
        }
    }
    line += '\n';
    return line;
}

std::optional<QStringList> parseRowLine(std::string_view line) {
    QStringList texts;
    std::string field;
    for (size_t i = 0; i <= line.size(); ++i) {
        if (i == line.size() || line[i] == '\t') {
            texts << fromNativePath(field);
            field.clear();
            if (texts.size() > SongItem::ColumnCount)
                return std::nullopt;
            continue;
        }
        if (line[i] != '\\') {
            field += line[i];
            continue;
        }
        if (++i == line.size())
            return std::nullopt;
        switch (line[i]) {
        case '\\':
            field += '\\';
            break;
        case 't':
            field += '\t';
            break;
        case 'r':
            field += '\r';
            break;
        case 'n':
            field += '\n';
            break;
        default:
            return std::nullopt;
        }
    }
    return texts;
}
