#pragma once
// Small value records and their owning lists, shared by the whole suite:
// pairs of texts, a text with a whole number, three numbers. The pair list
// also reads and writes the "key=value" text files.
// Texts are compared exactly (case-sensitive), numbers for exact equality.
// The command-line switches and the working-time texts of the same helper
// group live in CommandLineSwitches.h and WorkingTimeText.h.
#include <QString>
#include <QStringList>
#include <QtGlobal>
#include <memory>

#include "CommandLineSwitches.h"
#include "OwningObjectList.h"
#include "WorkingTimeText.h"

struct TDoubleString {
  QString First;
  QString Second;

  void CopyTo(TDoubleString& other) const;
  std::unique_ptr<TDoubleString> Clone() const;
  void Clear();
};

struct TStringInteger {
  QString String;
  qint32 Value = 0;
};

struct TFloatFloatFloat {
  double First = 0;
  double Second = 0;
  double Third = 0;
};

class TDoubleStringListObjectList : public TOwningObjectList<TDoubleString> {
 public:
  using TOwningObjectList::Add;
  using TOwningObjectList::Insert;
  TDoubleString* Add(const QString& first, const QString& second);
  TDoubleString* Insert(int index, const QString& first, const QString& second);

  bool ContainsFirst(const QString& first) const;
  bool ContainsSecond(const QString& second) const;
  int IndexOfFirst(const QString& first) const;
  int IndexOfPair(const QString& first, const QString& second) const;

  // Appends a copy of every entry, in order, without clearing the other list.
  void CopyTo(TDoubleStringListObjectList& other) const;

  // One line per entry: first string, separator, second string.
  void ToStrings(QStringList& lines, bool clearFirst, const QString& separator) const;
  // Replaces the entries by one per line, split at the separator's first
  // character (a blank when it is empty): the text before the first
  // separator and the text up to the second one.
  void FromStrings(const QStringList& lines, const QString& separator);

  // The "key=value" text file. Loading a file that cannot be read gives
  // false and an empty list; saving replaces the file as a whole and, on
  // false, gives the system's reason in error (when asked).
  bool LoadFromFile(const QString& fileName);
  bool SaveToFile(const QString& fileName, QString* error = nullptr) const;

  // Adds (number in the general number format, text) at its place in
  // ascending order of the first strings read as numbers; first strings that
  // are not numbers count as -1.
  TDoubleString* AddSorted(double number, const QString& text);
};

class TStringIntegerObjectList : public TOwningObjectList<TStringInteger> {
 public:
  using TOwningObjectList::Add;
  using TOwningObjectList::IndexOf;
  TStringInteger* Add(const QString& text, qint32 value);

  int IndexOf(const QString& text) const;
  // With accumulate, the value is added to the first entry with the text,
  // when there is one; otherwise a new entry is appended.
  TStringInteger* AddValue(const QString& text, qint32 value, bool accumulate);
};

class TFloatFloatFloatObjectList : public TOwningObjectList<TFloatFloatFloat> {
 public:
  using TOwningObjectList::Add;
  using TOwningObjectList::Insert;
  TFloatFloatFloat* Add(double first, double second, double third);
  TFloatFloatFloat* Insert(int index, double first, double second, double third);

  int IndexOfFirst(double first) const;
  bool ContainsFirst(double first) const;
  // Adds (number, 0, 0) at its place in ascending order of the first numbers.
  TFloatFloatFloat* AddSorted(double number);
};

class TTntStringListObjectList : public TOwningObjectList<QStringList> {
 public:
  using TOwningObjectList::Add;
  QStringList* Add(const QStringList& lines);
};
