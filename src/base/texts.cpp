#include "base/texts.h"

#include "base/translator.h"

void YesNo::lookUp() {
    yes = T("ConstYes", "Yes");
    no = T("ConstNo", "No");
}

bool isDigitText(const QString& text) {
    if (text.isEmpty())
        return false;
    for (QChar c : text)
        if (c < u'0' || c > u'9')
            return false;
    return true;
}

bool isNumberText(const QString& text) {
    if (text.isEmpty())
        return false;
    for (QChar c : text)
        if (!((c >= u'0' && c <= u'9') || c == u'.' || c == u','))
            return false;
    return true;
}

QString timeText(std::int64_t seconds) {
    if (seconds < 0)
        seconds = 0;
    const auto two = [](std::int64_t v) {
        return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0'));
    };
    QString t = two((seconds / 60) % 60) + ':' + two(seconds % 60);
    if (seconds >= 3600)
        t = two(seconds / 3600) + ':' + t;
    if (t.startsWith('0'))
        t.remove(0, 1);
    return t;
}
