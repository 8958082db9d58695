// The value lists: the "key=value" pair file, pairs split at any separator,
// the lists kept in ascending order of numbers read from text, comma text
// and the working-time texts of those numbers.
#include "CmnCustomObjectLists.h"
#include "CommaText.h"
#include "FuzzSupport.h"
#include "NumberText.h"
#include "TextFile.h"

namespace {
bool SamePairs(const TDoubleStringListObjectList& a, const TDoubleStringListObjectList& b) {
  if (a.Count() != b.Count()) return false;
  for (int i = 0; i < a.Count(); ++i)
    if (a[i]->First != b[i]->First || a[i]->Second != b[i]->Second) return false;
  return true;
}

void CheckPairFile(const QByteArray& bytes) {
  TDoubleStringListObjectList pairs;
  FUZZ_CHECK(pairs.LoadFromFile(FuzzWriteTemp(QStringLiteral("pairs.txt"), bytes)));
  const QString copy = FuzzTempPath(QStringLiteral("pairs-copy.txt"));
  FUZZ_CHECK(pairs.SaveToFile(copy));
  TDoubleStringListObjectList again;
  FUZZ_CHECK(again.LoadFromFile(copy));
  FUZZ_CHECK(SamePairs(pairs, again));
}

void CheckPairsAtSeparator(const QByteArray& bytes) {
  const QString text = DecodeText(bytes);
  const QString separator = text.left(1);
  TDoubleStringListObjectList pairs;
  pairs.FromStrings(SplitLines(text.mid(1)), separator);
  QStringList lines;
  pairs.ToStrings(lines, true, separator.isEmpty() ? QStringLiteral(" ") : separator);
  TDoubleStringListObjectList again;
  again.FromStrings(lines, separator);
  FUZZ_CHECK(SamePairs(pairs, again));
}

// Lists filled only by adding sorted stay in ascending order.
void CheckSortedNumbers(const QByteArray& bytes) {
  TDoubleStringListObjectList pairs;
  TFloatFloatFloatObjectList steps;
  TStringIntegerObjectList totals;
  for (const QString& line : SplitLines(DecodeText(bytes))) {
    bool ok = false;
    const double number = ReadFloatLenient(line, 0, &ok);
    if (!ok) continue;
    const QString text = FormatGeneralNumber(number);
    FUZZ_CHECK(FormatGeneralNumber(ReadFloatLenient(text, -1)) == text);
    double strict = 0;
    FUZZ_CHECK(ReadNumberStrict(text, strict));
    (void)WorkingTimeText(number);
    (void)HoursText(number);
    pairs.AddSorted(number, line);
    steps.AddSorted(number);
    FUZZ_CHECK(steps.ContainsFirst(number));
    totals.AddValue(text, ReadIntLenient(line, 0), true);
  }
  for (int i = 1; i < steps.Count(); ++i) FUZZ_CHECK(steps[i - 1]->First <= steps[i]->First);
  for (int i = 1; i < pairs.Count(); ++i)
    FUZZ_CHECK(ReadFloatLenient(pairs[i - 1]->First, -1) <= ReadFloatLenient(pairs[i]->First, -1));
}

void CheckCommaText(const QByteArray& bytes) {
  for (const QString& line : SplitLines(DecodeText(bytes))) {
    const QStringList items = SplitCommaText(line);
    FUZZ_CHECK(!items.contains(QString()));
    FUZZ_CHECK(SplitCommaText(JoinCommaText(items)) == items);
  }
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  return FuzzDispatch(data, size, {CheckPairFile, CheckPairsAtSeparator, CheckSortedNumbers, CheckCommaText});
}
