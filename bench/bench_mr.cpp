// mr.roundtrip: a ".MR" quantity list loaded, 1,000 steps added one by one in
// random order as the page adds them (duplicate check, sorted insertion, the
// editor following with its row count and the new row selected), then saved.
#include <QApplication>
#include <QTemporaryDir>
#include <QWidget>
#include <algorithm>
#include <random>

#include "BenchSupport.h"
#include "CmnCustomObjectLists.h"
#include "DoubleStringsEditorFrame.h"
#include "NumberText.h"

namespace {
constexpr int kSteps = 1000;
constexpr int kRuns = 5;

double RoundTripMs(const QString& file, const std::vector<int>& quantities) {
  QWidget panel;
  TDoubleStringsEditorFrame editor(&panel, true);
  editor.ValueIsNumber = true;
  TDoubleStringListObjectList list;
  const double start = NowMs();
  list.LoadFromFile(file);
  editor.SetList(&list);
  for (int quantity : quantities) {
    const double number = quantity + 0.5;
    const QString key = FormatGeneralNumber(number);
    if (list.ContainsFirst(key)) continue;
    list.AddSorted(number, QStringLiteral("0"));
    editor.RowCountChanged();
    editor.SelectKey(key);
  }
  list.SaveToFile(file + QStringLiteral(".out"));
  return NowMs() - start;
}
}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  SetSelection(argc, argv);
  if (!Selected(QStringLiteral("mr.roundtrip"))) return 0;
  QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral("4711.MR"));
  TDoubleStringListObjectList start;
  for (int i = 1; i <= 10; ++i) start.Add(FormatGeneralNumber(i * 100), FormatGeneralNumber(i * 1.5));
  start.SaveToFile(file);
  std::vector<int> quantities(kSteps);
  for (int i = 0; i < kSteps; ++i) quantities[i] = i;
  std::shuffle(quantities.begin(), quantities.end(), std::mt19937(4711));
  std::vector<double> times;
  for (int run = 0; run < kRuns; ++run) times.push_back(RoundTripMs(file, quantities));
  PrintBench(QStringLiteral("mr.roundtrip"), Median(times), QStringLiteral("ms"));
  return 0;
}
