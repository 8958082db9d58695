#include "BenchSupport.h"

#include <QFile>
#include <algorithm>
#include <cstdio>
#include <ctime>

namespace {
QString g_prefix;

void PrintLine(const QString& line) {
  std::fputs(qPrintable(line + QLatin1Char('\n')), stdout);
  std::fflush(stdout);
}

QString Figure(double value, int decimals) { return QString::fromLatin1(PointNumber(value, decimals)); }

QString ValueText(const QString& name, double value, const QString& unit) {
  return QStringLiteral("BENCH %1 %2 %3").arg(name, Figure(value, 3), unit);
}
}  // namespace

// Figures always with a point, whatever LC_NUMERIC the application object set.
QByteArray PointNumber(double value, int decimals) { return QByteArray::number(value, 'f', decimals); }

double NowMs() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return ts.tv_sec * 1000.0 + ts.tv_nsec / 1e6;
}

double TimedMs(const std::function<void()>& fn) {
  const double start = NowMs();
  fn();
  return NowMs() - start;
}

double ResidentMb() {
  QFile status(QStringLiteral("/proc/self/status"));
  if (!status.open(QIODevice::ReadOnly)) return 0;
  for (const QByteArray& line : status.readAll().split('\n'))
    if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
  return 0;
}

bool MakeBenchData(int count, const char* what, const std::function<bool(QString* error)>& make) {
  const double start = NowMs();
  QString error;
  if (!make(&error)) {
    std::fprintf(stderr, "%s\n", qPrintable(error));
    return false;
  }
  std::printf("# %d %s written in %s ms\n", count, what, PointNumber(NowMs() - start, 0).constData());
  return true;
}

void LogToStderr(const std::exception*, const QString& message) { std::fprintf(stderr, "%s\n", qPrintable(message)); }

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

void PrintBench(const QString& name, double value, const QString& unit) { PrintLine(ValueText(name, value, unit)); }

void BenchAgainst(const QString& name, int rounds, const std::function<double()>& ours,
                  const std::function<double()>& reference) {
  rounds = std::max(rounds, kMinRounds);
  std::vector<double> times, ratios;
  for (int round = 0; round < rounds; ++round) {
    double our = 0, ref = 0;
    if (round % 2 == 0) {
      our = ours();
      ref = reference();
    } else {
      ref = reference();
      our = ours();
    }
    times.push_back(our);
    ratios.push_back(ref > 0 ? our / ref : 0.0);
  }
  const auto [least, greatest] = std::minmax_element(ratios.begin(), ratios.end());
  PrintLine(ValueText(name, Median(times), QStringLiteral("ms")) +
            QStringLiteral(" ratio %1 min %2 max %3")
                .arg(Figure(Median(ratios), 2), Figure(*least, 2), Figure(*greatest, 2)));
}

void SetSelection(int argc, char** argv) { g_prefix = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString(); }

bool Selected(const QString& name) { return g_prefix.isEmpty() || name.startsWith(g_prefix); }
