#pragma once
// Reading the window settings files (MOD00100.INI and the like). They are
// plain files a user can edit or damage, so every number is brought into
// the range the window can use before it is applied.
#include <QString>

class TMemIniFile;

constexpr int kMinColumnWidth = 10;
constexpr int kMaxColumnWidth = 2000;

// The integer under the key (the default when missing or unreadable),
// clamped to minimum..maximum.
int ReadClampedInteger(const TMemIniFile& ini, const QString& section, const QString& key, int defaultValue,
                       int minimum, int maximum);
// A grid column width: a width of 0 or less gives the default, others are
// clamped to kMinColumnWidth..kMaxColumnWidth.
int ReadColumnWidth(const TMemIniFile& ini, const QString& section, const QString& key, int defaultWidth);
