#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTemporaryDir>
#include <limits>

#include "CmnCustomObjectLists.h"
#include "TestSupport.h"

namespace {
QStringList Firsts(const TDoubleStringListObjectList& list) {
  QStringList firsts;
  for (const TDoubleString& entry : list) firsts.append(entry.First);
  return firsts;
}

QList<double> FirstNumbers(const TFloatFloatFloatObjectList& list) {
  QList<double> firsts;
  for (const TFloatFloatFloat& entry : list) firsts.append(entry.First);
  return firsts;
}

TDoubleStringListObjectList PairsFrom(const QStringList& lines) {
  TDoubleStringListObjectList list;
  list.FromStrings(lines, QStringLiteral("="));
  return list;
}

// Every entry as "first|second".
QStringList Pairs(const TDoubleStringListObjectList& list) {
  QStringList pairs;
  for (const TDoubleString& entry : list) pairs.append(entry.First + u'|' + entry.Second);
  return pairs;
}

class ListsPairFile : public testing::Test {
 protected:
  QString PathOf(const QString& name) const { return dir_.filePath(name); }
  TDoubleStringListObjectList LoadBytes(const QByteArray& bytes) {
    const QString path = PathOf(QStringLiteral("LIST.MR"));
    WriteFileBytes(path, bytes);
    TDoubleStringListObjectList list;
    EXPECT_TRUE(list.LoadFromFile(path));
    return list;
  }

  QTemporaryDir dir_;
};
}  // namespace

TEST(ListsOwningList, DeleteExtractAndInsertKeepOtherEntriesAndRefuseBadIndexes) {
  TDoubleStringListObjectList list;
  TDoubleString* a = list.Add(QStringLiteral("a"), QString());
  list.Add(QStringLiteral("c"), QString());
  list.Insert(1, QStringLiteral("b"), QString());
  EXPECT_EQ(list.Items(0), a);  // entries do not move when others are inserted
  EXPECT_EQ(Firsts(list), QStringList({"a", "b", "c"}));

  std::unique_ptr<TDoubleString> extracted = list.Extract(1);
  EXPECT_EQ(extracted->First, "b");
  list.Delete(0);
  EXPECT_EQ(Firsts(list), QStringList({"c"}));

  EXPECT_THROW(list.Items(1), std::out_of_range);
  EXPECT_THROW(list.Delete(-1), std::out_of_range);
  EXPECT_THROW(list.Insert(3, QStringLiteral("x"), QString()), std::out_of_range);
  EXPECT_THROW(list.Add(static_cast<TDoubleString*>(nullptr)), std::invalid_argument);
  EXPECT_EQ(list.Count(), 1);
}

TEST(ListsPairList, LookupsAreExactAndFindTheFirstMatch) {
  TDoubleStringListObjectList list;
  list.Add(QStringLiteral("A1"), QStringLiteral("Kabel"));
  list.Add(QStringLiteral("a1"), QStringLiteral("kabel"));
  list.Add(QStringLiteral("A1"), QStringLiteral("Rohr"));

  EXPECT_EQ(list.IndexOfFirst(QStringLiteral("a1")), 1);
  EXPECT_EQ(list.IndexOfFirst(QStringLiteral("A1 ")), -1);
  EXPECT_EQ(list.IndexOfPair(QStringLiteral("A1"), QStringLiteral("Rohr")), 2);
  EXPECT_EQ(list.IndexOfPair(QStringLiteral("a1"), QStringLiteral("Rohr")), -1);
  EXPECT_TRUE(list.ContainsSecond(QStringLiteral("kabel")));
  EXPECT_FALSE(list.ContainsSecond(QStringLiteral("KABEL")));
  EXPECT_FALSE(list.ContainsFirst(QStringLiteral("Kabel")));
}

TEST(ListsPairList, CopiesAreIndependentAndAppended) {
  TDoubleStringListObjectList source;
  source.Add(QStringLiteral("1"), QStringLiteral("x"));
  source.Add(QStringLiteral("2"), QStringLiteral("y"));
  TDoubleStringListObjectList target;
  target.Add(QStringLiteral("0"), QStringLiteral("w"));

  source.CopyTo(target);
  source[0]->First = QStringLiteral("changed");
  EXPECT_EQ(Firsts(target), QStringList({"0", "1", "2"}));

  source.CopyTo(source);
  EXPECT_EQ(Firsts(source), QStringList({"changed", "2", "changed", "2"}));
}

TEST(ListsPairList, FromStringsSplitsAtTheFirstTwoSeparators) {
  EXPECT_EQ(Pairs(PairsFrom({"10=5=x", "line", "", "=", "k=", "=v", "a==b"})),
            QStringList({"10|5", "line|", "|", "|", "k|", "|v", "a|"}));
}

TEST(ListsPairList, FromStringsUsesOnlyTheSeparatorsFirstCharacterAndBlankForNone) {
  TDoubleStringListObjectList list;
  list.Add(QStringLiteral("old"), QString());
  list.FromStrings({"a:-b:c"}, QStringLiteral(":-"));
  EXPECT_EQ(Pairs(list), QStringList({"a|-b"}));
  list.FromStrings({"key value rest"}, QString());
  EXPECT_EQ(Pairs(list), QStringList({"key|value"}));
}

TEST(ListsPairList, ToStringsAppendsOrReplacesWithTheWholeSeparator) {
  TDoubleStringListObjectList list;
  list.Add(QStringLiteral("A"), QStringLiteral("1"));
  QStringList lines{"kept"};
  list.ToStrings(lines, false, QStringLiteral(" = "));
  EXPECT_EQ(lines, QStringList({"kept", "A = 1"}));
  list.ToStrings(lines, true, QStringLiteral("="));
  EXPECT_EQ(lines, QStringList({"A=1"}));
}

TEST_F(ListsPairFile, SaveWritesUtf16WithCrLfAndLoadsBack) {
  TDoubleStringListObjectList list;
  list.Add(QStringLiteral("10"), QStringLiteral("5"));
  list.Add(QStringLiteral("20"), QStringLiteral("7,5"));
  const QString path = PathOf(QStringLiteral("000001.MR"));
  WriteFileBytes(path, QByteArray("old content that is longer than the new one"));

  ASSERT_TRUE(list.SaveToFile(path));
  EXPECT_EQ(ReadFileBytes(path), Utf16LeWithBom(QStringLiteral("10=5\r\n20=7,5\r\n")));

  TDoubleStringListObjectList loaded;
  loaded.Add(QStringLiteral("stale"), QString());
  ASSERT_TRUE(loaded.LoadFromFile(path));
  EXPECT_EQ(Pairs(loaded), QStringList({"10|5", "20|7,5"}));
}

TEST_F(ListsPairFile, EmptyListSavesAFileWithoutLines) {
  const QString path = PathOf(QStringLiteral("EMPTY.MR"));
  ASSERT_TRUE(TDoubleStringListObjectList().SaveToFile(path));
  EXPECT_EQ(ReadFileBytes(path), QByteArray("\xFF\xFE", 2));
  TDoubleStringListObjectList loaded;
  EXPECT_TRUE(loaded.LoadFromFile(path));
  EXPECT_EQ(loaded.Count(), 0);
}

TEST_F(ListsPairFile, MissingFileOrFolderGivesFalse) {
  TDoubleStringListObjectList list;
  list.Add(QStringLiteral("stale"), QString());
  EXPECT_FALSE(list.LoadFromFile(PathOf(QStringLiteral("NONE.MR"))));
  EXPECT_EQ(list.Count(), 0);
  EXPECT_FALSE(list.SaveToFile(PathOf(QStringLiteral("NOFOLDER/X.MR"))));
}

TEST_F(ListsPairFile, OddLinesGiveOneEntryEach) {
  // Blank lines and lone "=" keep their place as empty pairs; the last line
  // needs no line break, and bare CR ends a line as well.
  EXPECT_EQ(Pairs(LoadBytes(Utf16LeWithBom(QStringLiteral("1=a\r\n\r\n=\r2=b\n3=c")))),
            QStringList({"1|a", "|", "|", "2|b", "3|c"}));
}

TEST(ListsAddSorted, PairListPlacesByNumber) {
  TDoubleStringListObjectList list;
  list.AddSorted(10, QStringLiteral("a"));
  list.AddSorted(20, QStringLiteral("b"));
  TDoubleString* added = list.AddSorted(15, QStringLiteral("c"));
  EXPECT_EQ(list.IndexOf(added), 1);
  EXPECT_EQ(added->Second, "c");
  list.AddSorted(5, QStringLiteral("d"));
  list.AddSorted(30, QStringLiteral("e"));
  EXPECT_EQ(Firsts(list), QStringList({"5", "10", "15", "20", "30"}));

  TDoubleStringListObjectList twice = PairsFrom({"10=first", "10=second"});
  EXPECT_EQ(twice.IndexOf(twice.AddSorted(10, QStringLiteral("new"))), 1) << "right after the first equal";
}

TEST(ListsAddSorted, NonNumbersCountAsMinusOne) {
  TDoubleStringListObjectList list = PairsFrom({"abc=", "-5=", "xyz=", "3="});
  list.AddSorted(0, QString());
  EXPECT_EQ(Firsts(list), QStringList({"abc", "-5", "xyz", "0", "3"}));
  list.AddSorted(-1, QString());
  EXPECT_EQ(Firsts(list), QStringList({"abc", "-1", "-5", "xyz", "0", "3"}));

  TDoubleStringListObjectList unsorted = PairsFrom({"20=", "5=", "10="});
  unsorted.AddSorted(7, QString());
  EXPECT_EQ(Firsts(unsorted), QStringList({"7", "20", "5", "10"})) << "the first fitting place";
}

TEST(ListsAddSorted, WritesTheNumberWithTheLocalesSeparator) {
  TDoubleStringListObjectList list;
  {
    ScopedLocale locale(GermanLocale());
    list.AddSorted(7.5, QString());
    list.AddSorted(8, QString());  // goes after only when "7,5" reads back as 7.5
  }
  EXPECT_EQ(Firsts(list), QStringList({"7,5", "8"}));

  ScopedLocale locale(DecimalPointLocale());
  TDoubleStringListObjectList pointList;
  pointList.AddSorted(7.5, QString());
  pointList.AddSorted(1E20, QString());
  EXPECT_EQ(Firsts(pointList), QStringList({"7.5", "1E20"}));
}

TEST(ListsAddSorted, NumberListUsesTheSameRule) {
  TFloatFloatFloatObjectList list;
  list.Add(10, 1, 2);
  list.Add(20, 3, 4);
  const TFloatFloatFloat* added = list.AddSorted(15);
  EXPECT_EQ(list.IndexOf(added), 1);
  EXPECT_EQ(added->Second, 0);
  EXPECT_EQ(added->Third, 0);
  list.AddSorted(5);
  list.AddSorted(30);
  EXPECT_EQ(list.IndexOf(list.AddSorted(10)), 2);
  EXPECT_EQ(FirstNumbers(list), QList<double>({5, 10, 10, 15, 20, 30}));
  EXPECT_EQ(list[2]->Second, 0);  // the new 10 follows the old one
}

TEST(ListsNumberList, FindsFirstNumberByExactEquality) {
  TFloatFloatFloatObjectList list;
  list.Add(0.1 + 0.2, 0, 0);
  list.Insert(0, 2.5, 0, 0);
  EXPECT_EQ(list.IndexOfFirst(2.5), 0);
  EXPECT_FALSE(list.ContainsFirst(0.3));
  EXPECT_TRUE(list.ContainsFirst(0.1 + 0.2));
}

TEST(ListsStringIntegerList, AccumulateAddsToTheFirstEqualTextOnly) {
  TStringIntegerObjectList list;
  list.AddValue(QStringLiteral("KAT"), 2, true);
  list.AddValue(QStringLiteral("kat"), 5, true);
  TStringInteger* sum = list.AddValue(QStringLiteral("KAT"), 3, true);
  EXPECT_EQ(list.IndexOf(sum), 0);
  EXPECT_EQ(sum->Value, 5);
  EXPECT_EQ(list.Count(), 2);

  list.AddValue(QStringLiteral("KAT"), 7, false);
  EXPECT_EQ(list.Count(), 3);
  EXPECT_EQ(list[0]->Value, 5);
  EXPECT_EQ(list[2]->Value, 7);
  EXPECT_EQ(list.IndexOf(QStringLiteral("kat")), 1);
  EXPECT_EQ(list.IndexOf(QStringLiteral("Kat")), -1);

  list.AddValue(QStringLiteral("x"), std::numeric_limits<qint32>::max(), true);
  EXPECT_EQ(list.AddValue(QStringLiteral("x"), 1, true)->Value, std::numeric_limits<qint32>::min()) << "wraps";
}

TEST(ListsCommandLineSwitches, NamesIgnoreCaseAndValueFollowsTheFirstMatch) {
  const QStringList arguments{"MANDANT", "user", "-sa", "K100", "-SA", "K200"};
  EXPECT_TRUE(SwitchPresent(QStringLiteral("-SA"), arguments));
  EXPECT_TRUE(SwitchPresent(QStringLiteral("User"), arguments));
  EXPECT_FALSE(SwitchPresent(QStringLiteral("-S"), arguments));
  EXPECT_EQ(SwitchValue(QStringLiteral("-Sa"), arguments), "K100");
  EXPECT_EQ(SwitchValue(QStringLiteral("-XY"), arguments), "");
  EXPECT_EQ(SwitchValue(QStringLiteral("-SA"), {"MANDANT", "user", "-SA"}), "");
}

TEST(ListsCommandLineSwitches, ProcessArgumentsLeaveOutTheProgram) {
  const QStringList commandLine = QCoreApplication::arguments();
  ASSERT_FALSE(commandLine.isEmpty());
  EXPECT_EQ(ProcessArguments(), commandLine.mid(1));
  EXPECT_FALSE(SwitchPresent(commandLine.first()));
}

TEST(ListsWorkingTime, TextsOfDaysHoursAndMinutesWithTheirSign) {
  const std::pair<double, const char*> working[] = {
      {135, "2 h 15'"}, {600, "1 Tage 2 h  0'"}, {30, "30'"},       {5, " 5'"},
      {0, " 0'"},       {480, "1 Tage  0'"},     {2 * 480 + 59.9, "2 Tage 59'"},
      {-600, "-1 Tage 2 h  0'"}, {-0.5, " 0'"}};
  for (auto [minutes, text] : working) EXPECT_EQ(WorkingTimeText(minutes), QLatin1String(text)) << minutes;
  const std::pair<double, const char*> hours[] = {{600, "10 h  0'"}, {119.99, "1 h 59'"}, {-135, "-2 h 15'"}, {-5, "-5'"}};
  for (auto [minutes, text] : hours) EXPECT_EQ(HoursText(minutes), QLatin1String(text)) << minutes;
}
