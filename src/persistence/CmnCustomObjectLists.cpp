#include "CmnCustomObjectLists.h"

#include "NumberText.h"
#include "TextFile.h"

namespace {
const QString kFileSeparator = QStringLiteral("=");

// Where a new entry with the given number goes in a list kept in ascending
// order: before the first greater entry, right after an equal one, else last.
template <typename T, typename NumberOf>
int SortedPosition(const TOwningObjectList<T>& list, double number, NumberOf numberOf) {
  for (int i = 0; i < list.Count(); ++i) {
    const double existing = numberOf(*list[i]);
    if (existing > number) return i;
    if (existing == number) return i + 1;
  }
  return list.Count();
}

QChar SplitCharacter(const QString& separator) { return separator.isEmpty() ? QChar(u' ') : separator.front(); }

// Before the first separator, and between the first and the second one.
TDoubleString SplitPair(const QString& line, QChar separator) {
  const qsizetype first = line.indexOf(separator);
  if (first < 0) return {line, QString()};
  const qsizetype second = line.indexOf(separator, first + 1);
  const qsizetype length = second < 0 ? -1 : second - first - 1;
  return {line.left(first), line.mid(first + 1, length)};
}
}  // namespace

void TDoubleString::CopyTo(TDoubleString& other) const {
  other.First = First;
  other.Second = Second;
}

std::unique_ptr<TDoubleString> TDoubleString::Clone() const { return std::make_unique<TDoubleString>(*this); }

void TDoubleString::Clear() {
  First.clear();
  Second.clear();
}

TDoubleString* TDoubleStringListObjectList::Add(const QString& first, const QString& second) {
  return Insert(Count(), first, second);
}

TDoubleString* TDoubleStringListObjectList::Insert(int index, const QString& first, const QString& second) {
  return Insert(index, std::make_unique<TDoubleString>(TDoubleString{first, second}));
}

bool TDoubleStringListObjectList::ContainsFirst(const QString& first) const { return IndexOfFirst(first) >= 0; }

bool TDoubleStringListObjectList::ContainsSecond(const QString& second) const {
  return FindIndex([&](const TDoubleString& entry) { return entry.Second == second; }) >= 0;
}

int TDoubleStringListObjectList::IndexOfFirst(const QString& first) const {
  return FindIndex([&](const TDoubleString& entry) { return entry.First == first; });
}

int TDoubleStringListObjectList::IndexOfPair(const QString& first, const QString& second) const {
  return FindIndex([&](const TDoubleString& entry) { return entry.First == first && entry.Second == second; });
}

void TDoubleStringListObjectList::CopyTo(TDoubleStringListObjectList& other) const {
  // Counted up front, so that copying a list onto itself ends.
  const int count = Count();
  for (int i = 0; i < count; ++i) other.Add(Items(i)->Clone());
}

void TDoubleStringListObjectList::ToStrings(QStringList& lines, bool clearFirst, const QString& separator) const {
  if (clearFirst) lines.clear();
  lines.reserve(lines.size() + Count());
  for (const TDoubleString& entry : *this) lines.append(entry.First + separator + entry.Second);
}

void TDoubleStringListObjectList::FromStrings(const QStringList& lines, const QString& separator) {
  Clear();
  const QChar split = SplitCharacter(separator);
  for (const QString& line : lines) Add(std::make_unique<TDoubleString>(SplitPair(line, split)));
}

bool TDoubleStringListObjectList::LoadFromFile(const QString& fileName) {
  QStringList lines;
  const bool read = ReadTextLines(fileName, lines);
  FromStrings(lines, kFileSeparator);
  return read;
}

bool TDoubleStringListObjectList::SaveToFile(const QString& fileName, QString* error) const {
  QStringList lines;
  ToStrings(lines, true, kFileSeparator);
  return WriteTextLines(fileName, lines, error);
}

TDoubleString* TDoubleStringListObjectList::AddSorted(double number, const QString& text) {
  const int position =
      SortedPosition(*this, number, [](const TDoubleString& entry) { return ReadFloatLenient(entry.First, -1); });
  return Insert(position, FormatGeneralNumber(number), text);
}

TStringInteger* TStringIntegerObjectList::Add(const QString& text, qint32 value) {
  return Add(std::make_unique<TStringInteger>(TStringInteger{text, value}));
}

int TStringIntegerObjectList::IndexOf(const QString& text) const {
  return FindIndex([&](const TStringInteger& entry) { return entry.String == text; });
}

TStringInteger* TStringIntegerObjectList::AddValue(const QString& text, qint32 value, bool accumulate) {
  const int index = accumulate ? IndexOf(text) : -1;
  if (index < 0) return Add(text, value);
  TStringInteger* entry = Items(index);
  // 32-bit arithmetic like the field itself: wraps instead of overflowing.
  entry->Value = static_cast<qint32>(static_cast<quint32>(entry->Value) + static_cast<quint32>(value));
  return entry;
}

TFloatFloatFloat* TFloatFloatFloatObjectList::Add(double first, double second, double third) {
  return Insert(Count(), first, second, third);
}

TFloatFloatFloat* TFloatFloatFloatObjectList::Insert(int index, double first, double second, double third) {
  return Insert(index, std::make_unique<TFloatFloatFloat>(TFloatFloatFloat{first, second, third}));
}

int TFloatFloatFloatObjectList::IndexOfFirst(double first) const {
  return FindIndex([&](const TFloatFloatFloat& entry) { return entry.First == first; });
}

bool TFloatFloatFloatObjectList::ContainsFirst(double first) const { return IndexOfFirst(first) >= 0; }

TFloatFloatFloat* TFloatFloatFloatObjectList::AddSorted(double number) {
  const int position = SortedPosition(*this, number, [](const TFloatFloatFloat& entry) { return entry.First; });
  return Insert(position, number, 0, 0);
}

QStringList* TTntStringListObjectList::Add(const QStringList& lines) {
  return Add(std::make_unique<QStringList>(lines));
}
