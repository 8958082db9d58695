#pragma once
// Working times in minutes as shown to the user: "2 h 15'", " 5'",
// "1 Tage 2 h  0'" (a working day has 8 hours).
// Fractions of a minute are cut off. Negative times, which callers do not
// pass, show the text of the amount with a minus before its first digit
// ("-2 h 15'", "-5'").
#include <QString>

QString HoursText(double minutes);
QString WorkingTimeText(double minutes);
