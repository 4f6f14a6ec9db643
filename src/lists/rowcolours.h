// Colours of list rows: bit-rate bands, dimming of the inactive pane, HTML colour names.
#pragma once

#include <QColor>
#include <QString>

class Settings;

// The band colour of a BitRate text (bit/s) against the SEMin/SEMid/SEMax
// thresholds (kbit/s); white when the text is not an integer. A value equal to a
// threshold belongs to the higher band.
QColor bitRateColor(const QString& bitRateText, const Settings& settings);

// The colour as a 24-bit number (red in the low byte) minus a in each of its three
// bytes, a plain subtraction in which a small component borrows from the next one.
// A result below zero is black.
QColor dimColor(const QColor& colour, int a);

// The colour for rich text: a colour name where one exists ("white"), else
// "#" and six upper-case hexadecimal digits, red first.
QString htmlColor(const QColor& colour);
