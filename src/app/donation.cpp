#include "app/donation.h"

#include "base/inifile.h"

namespace {
const QString kSection = QStringLiteral("Donation");
}

bool updateDonationReminder(IniFile& ini, const QDate& today) {
    if (!ini.readBool(kSection, "HasNotDonated", true))
        return false;
    if (!ini.hasKey(kSection, "FirstRun"))
        ini.writeString(kSection, "FirstRun", today.toString(Qt::ISODate));
    const QDate last = QDate::fromString(ini.readString(kSection, "LastRun"), Qt::ISODate);
    // A last run that cannot be read counts as today.
    const qint64 daysBack = last.isValid() ? last.daysTo(today) : 0;
    int runs = ini.readInt(kSection, "GetRuns", 0);
    if (!last.isValid() || last != today)
        ++runs;
    bool due = false;
    if (runs > 5 || daysBack > 29) {
        due = true;
        runs = 0;
    }
    ini.writeBool(kSection, "HasNotDonated", true);
    ini.writeInt(kSection, "GetRuns", runs);
    ini.writeString(kSection, "LastRun", today.toString(Qt::ISODate));
    return due;
}
