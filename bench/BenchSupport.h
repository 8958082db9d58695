#pragma once
// Benchmark figures, one line each, so that anyone can collect them:
//   BENCH <name> <value> <unit>
//   BENCH <name> <value> <unit> ratio <median> min <a> max <b>
// Numbers always with a '.', whatever the process's locale.
#include <QByteArray>
#include <QString>
#include <exception>
#include <functional>
#include <vector>

double NowMs();  // monotonic, comparable across processes
// How long fn takes, in ms.
double TimedMs(const std::function<void()>& fn);
// The resident memory of this process in MB, 0 when unknown.
double ResidentMb();
// Makes the data a benchmark works on through make, which gives false with
// the reason in error (printed then), and tells how long that took.
bool MakeBenchData(int count, const char* what, const std::function<bool(QString* error)>& make);
// The error log of the databases a benchmark opens: to stderr.
void LogToStderr(const std::exception* error, const QString& message);
double Median(std::vector<double> values);
// Runs fn `runs` times and returns the median duration in ms.
double MedianMs(int runs, const std::function<void()>& fn);
void PrintBench(const QString& name, double value, const QString& unit);

// A single run against a reference varies by 2x on a shared machine, so a
// figure with a reference runs `rounds` rounds (at least five), each timing
// our code and the reference once, taking turns at going first. Each
// function returns its own time in ms. The line gives the median of our
// times and the median, least and greatest ratio of a round.
constexpr int kMinRounds = 5;
void BenchAgainst(const QString& name, int rounds, const std::function<double()>& ours,
                  const std::function<double()>& reference);

// Whether the benchmark is selected by the prefix given on the command line.
bool Selected(const QString& name);
void SetSelection(int argc, char** argv);
// A figure with a point and the given decimals, independent of the locale.
QByteArray PointNumber(double value, int decimals);
