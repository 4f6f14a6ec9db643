// The donation reminder's bookkeeping in section [Donation] of settings.set.
#pragma once

#include <QDate>

class IniFile;

// Counts one run per calendar day while HasNotDonated is set; true (and the
// counter restarts) when the reminder is due: more than 5 counted runs, or the
// last run more than 29 days back. Writes the section into the file's memory.
bool updateDonationReminder(IniFile& settings, const QDate& today);
