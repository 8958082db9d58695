// The comparison of a customer's list with the standard list, under the
// process locale's decimal separator.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include "CmnCustomObjectLists.h"
#include "KSRabDatabase.h"
#include "NumberText.h"
#include "StandardComparison.h"

namespace {
QString Local(const char* number) { return QString::fromLatin1(number).replace(QLatin1Char('.'), DecimalSeparator()); }

void WriteGroups(const QString& file, std::initializer_list<std::pair<const char*, QVariant>> groups) {
  TKSRabDatabase db;
  db.OpenFile(file, false);
  for (const auto& [key, discount] : groups) {
    db.Table->Append();
    db.Table->FieldByName(QStringLiteral("RABATTGRP")).SetAsString(QString::fromUtf8(key));
    db.Table->FieldByName(QStringLiteral("RABATT")).SetValue(discount);
    db.Table->Post();
  }
  db.Close();
}
}  // namespace

TEST(StandardComparisonTest, DifferenceIsCustomerMinusStandardWithoutSubtractionNoise) {
  const struct {
    double customer, standard;
    const char* text;
  } cases[] = {{10.3, 10.2, "0.1"}, {5, 12.5, "-7.5"}, {0, 0, "0"}, {33.3, 0, "33.3"}, {1e-7, 0, "1E-7"}};
  for (const auto& c : cases)
    EXPECT_EQ(FormatGeneralNumber(DiscountDifference(c.customer, c.standard)), Local(c.text)) << c.text;
}

TEST(StandardComparisonTest, RowsMissingOnEitherSideAreMarkedAndListed) {
  QTemporaryDir dir;
  const QString standardFile = dir.filePath(QStringLiteral("__DEFAULT__.TDBD"));
  WriteGroups(standardFile, {{"A", 10.0}, {"B", 5.5}, {"C", QVariant()}});
  TKSRabDatabase customer;
  customer.OpenFile(dir.filePath(QStringLiteral("4711.TDBD")), false);
  for (const char* key : {"A", "D"}) customer.RabattGrpAppend(QString::fromLatin1(key));

  TStandardComparison comparison;
  SetStandardDiscountGroups(comparison, standardFile);
  comparison.SetCustomerKeys(ReadDiscountGroupKeys(*customer.Table));
  ASSERT_EQ(comparison.OnlyStandardCount(), 2);
  EXPECT_EQ(comparison.OnlyStandardDetails(0).Key, QStringLiteral("B"));
  EXPECT_EQ(comparison.OnlyStandardDetails(1).Key, QStringLiteral("C"));
  EXPECT_EQ(comparison.OnlyStandardDetails(0).Value.toDouble(), 5.5);
  EXPECT_EQ(comparison.MarkText(QStringLiteral("D")), QStringLiteral("nur Kunde"));
  EXPECT_EQ(comparison.MarkText(QStringLiteral("A")), QString());
  EXPECT_EQ(comparison.StandardText(QStringLiteral("D")), QString());
  EXPECT_EQ(comparison.DifferenceText(QStringLiteral("A"), 12.5), Local("2.5"));
  EXPECT_EQ(comparison.DifferenceText(QStringLiteral("C"), 3.0), QStringLiteral("3")) << "an empty standard is 0";
  EXPECT_EQ(comparison.StandardText(QStringLiteral("C")), QString());
}

TEST(StandardComparisonTest, MissingStandardFileIsNeverCreated) {
  QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral("__DEFAULT__.TDBD"));
  TStandardComparison comparison;
  SetStandardDiscountGroups(comparison, file);
  comparison.SetCustomerKeys({QStringLiteral("A")});
  EXPECT_EQ(comparison.OnlyStandardCount(), 0);
  EXPECT_EQ(comparison.MarkText(QStringLiteral("A")), QStringLiteral("nur Kunde"));
  EXPECT_FALSE(QFileInfo::exists(file));
  EXPECT_FALSE(QFileInfo::exists(file + QStringLiteral(".SRW")));
}

TEST(StandardComparisonTest, QuantityStepsMatchByTheirNumber) {
  TDoubleStringListObjectList standard, customer;
  standard.Add(FormatGeneralNumber(10), QStringLiteral("3"));
  standard.Add(FormatGeneralNumber(2.5), Local("1.5"));
  standard.Add(Local("10.0"), QStringLiteral("9"));  // a twin: the first counts
  customer.Add(Local("10.0"), QStringLiteral("5"));
  customer.Add(QStringLiteral("20"), QStringLiteral("7"));
  TStandardComparison comparison;
  SetStandardQuantitySteps(comparison, standard);
  comparison.SetCustomerKeys(QuantityKeys(customer));
  EXPECT_EQ(comparison.DifferenceText(QuantityKey(customer.Items(0)->First), QStringLiteral("5")), QStringLiteral("2"));
  EXPECT_EQ(comparison.MarkText(QuantityKey(QStringLiteral("20"))), QStringLiteral("nur Kunde"));
  ASSERT_EQ(comparison.OnlyStandardCount(), 1);
  EXPECT_EQ(comparison.OnlyStandardDetails(0).Key, FormatGeneralNumber(2.5));
}

TEST(StandardComparisonTest, QuantityKeysOrderAsTheirNumbers) {
  const double ascending[] = {-3, -0.5, 0, 1e-7, 2.5, 10, 1000.5, 1e20};
  for (size_t i = 1; i < std::size(ascending); ++i)
    EXPECT_LT(QuantityKey(FormatGeneralNumber(ascending[i - 1])), QuantityKey(FormatGeneralNumber(ascending[i])))
        << ascending[i];
  EXPECT_LT(QuantityKey(FormatGeneralNumber(1e20)), QuantityKey(QStringLiteral("abc")));
}
