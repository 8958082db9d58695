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

void PrintBench(const QString& name, double value, const QString& unit) {
  std::printf("BENCH %s %.3f %s\n", qPrintable(name), value, qPrintable(unit));
  std::fflush(stdout);
}

void PrintBench(const QString& name, double value, const QString& unit, double reference) {
  std::printf("BENCH %s %.3f %s ratio %.2f\n", qPrintable(name), value, qPrintable(unit),
              reference > 0 ? value / reference : 0.0);
  std::fflush(stdout);
}

void SetSelection(int argc, char** argv) { g_prefix = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString(); }

bool Selected(const QString& name) { return g_prefix.isEmpty() || name.startsWith(g_prefix); }
