#pragma once
// A customer's list beside the standard list of the same kind ("__DEFAULT__"):
// per key the standard's value and the difference in percentage points, and
// the keys that only one of the two lists has. Both lists are compared by
// their keys alone, in one sorted pass; the standard's values are read only
// for the rows shown. The standard is only read, never made or changed.
#include <QString>
#include <QVariant>
#include <functional>
#include <memory>
#include <unordered_map>
#include <vector>

class TDoubleStringListObjectList;
class TTdbDatabase;
class TTdbTable;

struct TStandardKey {
  QString Key;
  qint64 Ref = 0;  // where the entry's details are read from
  int Position = 0;  // in the standard's own order; set by the comparison
};

struct TStandardDetails {
  QString Key;  // as shown
  QString Description;
  QVariant Value;  // the discount in percent; null when empty
};

class TStandardComparison {
 public:
  // Reads the details of one entry; may throw (then the entry shows none).
  using DetailsReader = std::function<TStandardDetails(qint64 ref)>;

  // The standard's keys in any order (the first of twins counts) and its details.
  void SetStandard(std::vector<TStandardKey> keys, DetailsReader details);
  // The customer's keys, in any order: the standard's keys without one are "only standard".
  void SetCustomerKeys(std::vector<QString> keys);
  void Clear();

  bool Contains(const QString& key) const { return IndexOf(key) >= 0; }
  // The standard's entry of the key; none when it lacks the key.
  const TStandardDetails* Find(const QString& key) const;
  // The standard's entries the customer lacks, in the standard's own order.
  int OnlyStandardCount() const { return int(onlyStandard_.size()); }
  const TStandardDetails& OnlyStandardDetails(int i) const { return DetailsAt(onlyStandard_[size_t(i)]); }

  // The column texts for one row of the customer; empty where the standard lacks the key.
  QString StandardText(const QString& key) const;
  QString DifferenceText(const QString& key, const QVariant& customerValue) const;
  QString MarkText(const QString& key) const;  // "nur Kunde" for a key the standard lacks

 private:
  int IndexOf(const QString& key) const;
  const TStandardDetails& DetailsAt(int index) const;

  std::vector<TStandardKey> keys_;  // sorted, without twins
  DetailsReader details_;
  std::vector<int> onlyStandard_;
  mutable std::unordered_map<int, TStandardDetails> read_;  // details read so far, by index
};

// Customer minus standard in percentage points, rid of the binary noise of
// the subtraction (10,3 - 10,2 is 0,1, not 0,100000000000001).
double DiscountDifference(double customer, double standard);
// A stored discount as a number: an empty one is no discount.
double DiscountOf(const QVariant& value);

// The standard's discount-group table, opened read-only on its file: never
// created when missing, never written.
class TStandardDiscountGroups {
 public:
  TStandardDiscountGroups();
  ~TStandardDiscountGroups();
  // False when the file or its table is missing; throws when it cannot be read.
  bool Open(const QString& fileName);
  std::vector<TStandardKey> Keys();  // Ref: the row id
  TStandardDetails Details(qint64 rowId);

 private:
  std::unique_ptr<TTdbDatabase> database_;
  std::unique_ptr<TTdbTable> table_;
};

// Fills the comparison with the standard discount groups of the file (none
// when it is missing). Throws when the file cannot be read.
void SetStandardDiscountGroups(TStandardComparison& comparison, const QString& fileName);
// The group keys of an open discount-group table, read from its index alone.
std::vector<QString> ReadDiscountGroupKeys(TTdbTable& table);

// A quantity as the key of a step: its number, so that "10,0" and "10" name
// the same step, in a text whose order is the numbers' order (lists in
// ascending order need no sorting); not for showing.
QString QuantityKey(const QString& text);
// Fills the comparison with the standard steps (the comparison keeps a copy).
void SetStandardQuantitySteps(TStandardComparison& comparison, const TDoubleStringListObjectList& steps);
std::vector<QString> QuantityKeys(const TDoubleStringListObjectList& steps);
