#include "BenchSupport.h"

#include <algorithm>
#include <cstdio>
#include <ctime>

namespace {
QString g_prefix;
}

double NowMs() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return ts.tv_sec * 1000.0 + ts.tv_nsec / 1e6;
}

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

double MedianMs(int runs, const std::function<void()>& fn) {
  std::vector<double> times;
  times.reserve(runs);
  for (int i = 0; i < runs; ++i) {
    const double start = NowMs();
    fn();
    times.push_back(NowMs() - start);
  }
  return Median(times);
}

// Figures always with a point, whatever LC_NUMERIC the application object set.
QByteArray PointNumber(double value, int decimals) { return QByteArray::number(value, 'f', decimals); }

void PrintBench(const QString& name, double value, const QString& unit) {
  std::printf("BENCH %s %s %s\n", qPrintable(name), PointNumber(value, 3).constData(), qPrintable(unit));
  std::fflush(stdout);
}

void PrintBench(const QString& name, double value, const QString& unit, double reference) {
  std::printf("BENCH %s %s %s ratio %s\n", qPrintable(name), PointNumber(value, 3).constData(), qPrintable(unit),
              PointNumber(reference > 0 ? value / reference : 0.0, 2).constData());
  std::fflush(stdout);
}

void SetSelection(int argc, char** argv) { g_prefix = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString(); }

bool Selected(const QString& name) { return g_prefix.isEmpty() || name.startsWith(g_prefix); }
