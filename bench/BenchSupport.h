#pragma once
// Benchmark figures, one line each, so that anyone can collect them:
//   BENCH <name> <value> <unit> [ratio <value/reference>]
#include <QByteArray>
#include <QString>
#include <chrono>
#include <functional>
#include <vector>

// A figure with a point and the given decimals, independent of the locale.
QByteArray PointNumber(double value, int decimals);
double NowMs();  // monotonic, comparable across processes
double Median(std::vector<double> values);
// Runs fn `runs` times and returns the median duration in ms.
double MedianMs(int runs, const std::function<void()>& fn);
void PrintBench(const QString& name, double value, const QString& unit);
void PrintBench(const QString& name, double value, const QString& unit, double reference);
// Whether the benchmark is selected by the prefix given on the command line.
bool Selected(const QString& name);
void SetSelection(int argc, char** argv);
