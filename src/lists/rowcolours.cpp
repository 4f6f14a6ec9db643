#include "lists/rowcolours.h"

#include "base/settings.h"

QColor bitRateColor(const QString& bitRateText, const Settings& settings) {
    bool ok = false;
    const qlonglong value = bitRateText.trimmed().toLongLong(&ok);
    if (!ok)
        return Qt::white;
    if (value < qlonglong(settings.number("SEMin")) * 1000)
        return settings.colour("BitCMin");
    if (value < qlonglong(settings.number("SEMid")) * 1000)
        return settings.colour("BitCMid1");
    if (value < qlonglong(settings.number("SEMax")) * 1000)
        return settings.colour("BitCMid2");
    return settings.colour("BitCMax");
}

QColor dimColor(const QColor& colour, int a) {
    if (a == 0)
        return colour;
    const long long value = Settings::colourToInt(colour);
    const long long dimmed = value - static_cast<long long>(a) * 0x010101;
    return dimmed < 0 ? QColor(Qt::black) : Settings::intToColour(int(dimmed));
}

QString htmlColor(const QColor& colour) {
    struct Named {
        QRgb rgb;
        const char* name;
    };
    static const Named names[] = {
        {0x000000, "black"},  {0x800000, "maroon"},  {0x008000, "green"}, {0x808000, "olive"},
        {0x000080, "navy"},   {0x800080, "purple"},  {0x008080, "teal"},  {0x808080, "gray"},
        {0xC0C0C0, "silver"}, {0xFF0000, "red"},     {0x00FF00, "lime"},  {0xFFFF00, "yellow"},
        {0x0000FF, "blue"},   {0xFF00FF, "fuchsia"}, {0x00FFFF, "aqua"},  {0xFFFFFF, "white"},
    };
    const QRgb rgb = colour.rgb() & 0xFFFFFF;
    for (const Named& n : names)
        if (n.rgb == rgb)
            return QString::fromLatin1(n.name);
    return QStringLiteral("#%1").arg(rgb, 6, 16, QLatin1Char('0')).toUpper();
}
