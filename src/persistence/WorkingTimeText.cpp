#include "WorkingTimeText.h"

#include <cmath>

#include "Translation.h"

namespace {
constexpr double kMinutesPerHour = 60;
constexpr double kMinutesPerWorkingDay = 8 * kMinutesPerHour;

QString WholeNumber(double value) { return QString::number(std::trunc(value), 'f', 0); }

QString HoursTextOfAmount(double minutes) {
  const double hours = std::trunc(minutes / kMinutesPerHour);
  QString text;
  if (hours >= 1) {
    minutes -= hours * kMinutesPerHour;
    text = WholeNumber(hours) + QStringLiteral(" h ");
  }
  return text + WholeNumber(minutes).rightJustified(2, u' ') + u'\'';
}

QString WorkingTimeTextOfAmount(double minutes) {
  const double days = std::trunc(minutes / kMinutesPerWorkingDay);
  QString text;
  if (days >= 1) {
    minutes -= days * kMinutesPerWorkingDay;
    text = WholeNumber(days) + u' ' + Tr("Tage") + u' ';
  }
  return text + HoursTextOfAmount(minutes);
}

// The minus takes the place of a padding blank, so " 5'" becomes "-5'".
QString WithSign(double minutes, QString amountText) {
  if (std::trunc(minutes) >= 0) return amountText;
  if (amountText.startsWith(u' ')) amountText.remove(0, 1);
  return u'-' + amountText;
}
}  // namespace

QString HoursText(double minutes) { return WithSign(minutes, HoursTextOfAmount(std::fabs(minutes))); }

QString WorkingTimeText(double minutes) { return WithSign(minutes, WorkingTimeTextOfAmount(std::fabs(minutes))); }
