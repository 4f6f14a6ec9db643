#include "lists/selectionsize.h"

#include <QLocale>

QString sizeText(double kb) {
    static const char* units[] = {" KB", " MB", " GB", " TB"};
    int unit = 0;
    while (kb > 1024 && unit < 3) {
        kb /= 1024;
        ++unit;
    }
    return QLocale().toString(kb, 'f', 2) + QLatin1String(units[unit]);
}

double parseSizeKb(const QString& text, bool* ok) {
    QString t = text.trimmed();
    // Group separators of the locale may appear in large sizes.
    const QChar group =
        QLocale().groupSeparator().isEmpty() ? QChar() : QLocale().groupSeparator().at(0);
    if (!group.isNull() && group != '.' && group != ',')
        t.remove(group);
    t.replace(',', '.');
    return t.toDouble(ok);
}
