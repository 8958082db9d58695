// The figures of the benchmarks: one ratio from several alternating rounds.
#include <gtest/gtest.h>

#include <clocale>
#include <string>

#include "BenchSupport.h"

TEST(BenchFigures, RatioIsTheMedianOfAlternatingRoundsWithItsSpread) {
  // Under a German number locale the figures must still carry a '.'.
  const std::string before = std::setlocale(LC_NUMERIC, nullptr);
  if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr) GTEST_SKIP() << "de_DE.UTF-8 is not installed";
  const double ourTimes[] = {12, 30, 11, 14, 13};
  std::string order;
  int round = 0;
  testing::internal::CaptureStdout();
  auto ours = [&] {
    order += 'o';
    return ourTimes[round++];
  };
  auto reference = [&] {
    order += 'r';
    return 10.0;
  };
  BenchAgainst(QStringLiteral("x.y"), 3, ours, reference);
  const std::string printed = testing::internal::GetCapturedStdout();
  std::setlocale(LC_NUMERIC, before.c_str());
  EXPECT_EQ(order, "orroorroor") << "at least five rounds, taking turns at going first";
  EXPECT_EQ(printed, "BENCH x.y 13.000 ms ratio 1.30 min 1.10 max 3.00\n");
}
