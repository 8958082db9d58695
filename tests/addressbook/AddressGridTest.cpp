// How the address grids show their rows: resubmission dates, colours, fonts.
#include <gtest/gtest.h>

#include <QColor>
#include <QFont>

#include "AddressGridModel.h"
#include "TestSupport.h"

namespace {
const QDate kDayZero(1899, 12, 30);

TDateTime Days(const QDate& date, double dayFraction = 0) { return kDayZero.daysTo(date) + dayFraction; }

std::unique_ptr<TDBAdressSearchResult> Hit(const QString& id, TDateTime wv) {
  auto hit = std::make_unique<TDBAdressSearchResult>();
  hit->RecNo = 7;
  hit->ID = id;
  hit->DisplayText = QStringLiteral("Text ") + id;
  hit->AddrGrp = QStringLiteral("KUNDE");
  hit->WV = wv;
  return hit;
}
}  // namespace

TEST(ResubmissionCell, DateWithTimeOnlyWhenThereIsOne) {
  const QDate today(2026, 12, 6);
  EXPECT_EQ(ResubmissionCell(0, today).Text, QString());
  EXPECT_EQ(ResubmissionCell(0, today).State, TResubmissionState::None);
  EXPECT_EQ(ResubmissionCell(Days(QDate(2027, 1, 5)), today).Text, QStringLiteral("05.01.2027"));
  EXPECT_EQ(ResubmissionCell(Days(QDate(2027, 1, 5), 0.75), today).Text, QStringLiteral("05.01.2027 18:00"));
  EXPECT_EQ(ResubmissionCell(Days(QDate(2027, 1, 5), 0.5 + 1.0 / 1440), today).Text,
            QStringLiteral("05.01.2027 12:01"));
}

TEST(ResubmissionCell, PastTodayAndFutureDates) {
  const QDate today(2026, 12, 6);
  EXPECT_EQ(ResubmissionCell(Days(today.addDays(-1), 0.99), today).State, TResubmissionState::Past);
  EXPECT_EQ(ResubmissionCell(Days(today), today).State, TResubmissionState::Today);
  EXPECT_EQ(ResubmissionCell(Days(today, 0.999), today).State, TResubmissionState::Today);
  EXPECT_EQ(ResubmissionCell(Days(today.addDays(1)), today).State, TResubmissionState::Future);
}

TEST(AddressGridModel, ShowsResultsWithAlternateRowsAndMarkedResubmissions) {
  const QDate today = QDate::currentDate();
  TDBAdressSearchResultObjectList results;
  results.Add(Hit(QStringLiteral("A"), Days(today.addDays(-3))));
  results.Add(Hit(QStringLiteral("B"), Days(today, 0.5)));
  results.Add(Hit(QStringLiteral("C"), Days(today.addDays(3))));
  results.Add(Hit(QStringLiteral("D"), 0));
  TSearchResultModel model(results);
  ASSERT_EQ(model.rowCount(), 4);
  ASSERT_EQ(model.columnCount(), 4);
  EXPECT_EQ(model.data(model.index(1, 0)).toString(), QStringLiteral("B"));
  EXPECT_EQ(model.data(model.index(1, 1)).toString(), QStringLiteral("Text B"));
  EXPECT_EQ(model.data(model.index(1, 2)).toString(), QStringLiteral("KUNDE"));
  EXPECT_EQ(model.data(model.index(1, 3)).toString(), today.toString(QStringLiteral("dd.MM.yyyy")) + " 12:00");

  EXPECT_FALSE(model.data(model.index(0, 1), Qt::BackgroundRole).isValid());
  EXPECT_EQ(model.data(model.index(1, 1), Qt::BackgroundRole).value<QColor>(), QColor(0xF5, 0xF5, 0xF5));
  EXPECT_EQ(model.data(model.index(3, 0), Qt::BackgroundRole).value<QColor>(), QColor(0xF5, 0xF5, 0xF5));

  const auto colour = [&](int row) { return model.data(model.index(row, 3), Qt::ForegroundRole); };
  const auto bold = [&](int row) { return model.data(model.index(row, 3), Qt::FontRole).value<QFont>().bold(); };
  EXPECT_EQ(colour(0).value<QColor>(), QColor(Qt::red));
  EXPECT_TRUE(bold(0));
  EXPECT_EQ(colour(1).value<QColor>(), QColor(0x00, 0x80, 0x00));
  EXPECT_TRUE(bold(1));
  EXPECT_FALSE(colour(2).isValid());
  EXPECT_FALSE(bold(2));
  EXPECT_FALSE(colour(3).isValid());
  EXPECT_FALSE(model.data(model.index(0, 1), Qt::ForegroundRole).isValid()) << "only the resubmission column";
}
