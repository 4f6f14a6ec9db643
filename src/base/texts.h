// Small text helpers shared by every part of the program.
#pragma once

#include <QString>

#include <cstdint>

// "Yes"/"No" as the interface language says them; looked up once at start-up.
struct YesNo {
    QString yes = QStringLiteral("Yes"); // ConstYes
    QString no = QStringLiteral("No");   // ConstNo
    // Looks both texts up through T(); called once at start-up.
    void lookUp();
    QString text(bool flag) const { return flag ? yes : no; } // YesNoText
    bool isYes(const QString& t) const {
        return t.compare(yes, Qt::CaseInsensitive) == 0;
    } // IsYesText
};

// Not empty and only the digits 0 to 9.
bool isDigitText(const QString& text);
// Not empty and only digits, "." and ",".
bool isNumberText(const QString& text);
// Whole seconds as [h]h:mm:ss / m:ss with one leading zero removed (5 -> 0:05, 3725 -> 1:02:05).
QString timeText(std::int64_t seconds);
