#include "WindowSettings.h"

#include <algorithm>

#include "MemIniFile.h"

int ReadClampedInteger(const TMemIniFile& ini, const QString& section, const QString& key, int defaultValue,
                       int minimum, int maximum) {
  return std::clamp(ini.ReadInteger(section, key, defaultValue), minimum, maximum);
}

int ReadColumnWidth(const TMemIniFile& ini, const QString& section, const QString& key, int defaultWidth) {
  const int width = ini.ReadInteger(section, key, defaultWidth);
  return width > 0 ? std::clamp(width, kMinColumnWidth, kMaxColumnWidth) : defaultWidth;
}
