#pragma once
// Currency amounts held in objects: signed 64-bit counts of ten-thousandths.
// Tables store them as floats (the value divided by 10000); converting
// back rounds halves to even, as the stored values were made.
#include <QtGlobal>
#include <cmath>

using Currency = qint64;

inline Currency CurrencyFromDouble(double value) { return static_cast<Currency>(std::nearbyint(value * 10000.0)); }
inline double CurrencyToDouble(Currency value) { return static_cast<double>(value) / 10000.0; }
