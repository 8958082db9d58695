#include "StandardComparison.h"

#include <QFileInfo>
#include <algorithm>
#include <bit>
#include <cmath>

#include "CmnCustomObjectLists.h"
#include "KSRabColumns.h"
#include "NumberText.h"
#include "TdbAccessor.h"
#include "TdbDatabase.h"
#include "TdbTable.h"
#include "Translation.h"

namespace {
using namespace KSRabColumns;

// Keys come in the engine's order, which need not be QString's: sorted again
// (cheap when they already are).
template <class T, class KeyOf>
void SortByKey(std::vector<T>& items, KeyOf keyOf) {
  const auto less = [&](const T& a, const T& b) { return keyOf(a) < keyOf(b); };
  if (!std::is_sorted(items.begin(), items.end(), less)) std::stable_sort(items.begin(), items.end(), less);
}
}  // namespace

// ---- the comparison

void TStandardComparison::SetStandard(std::vector<TStandardKey> keys, DetailsReader details) {
  for (size_t i = 0; i < keys.size(); ++i) keys[i].Position = int(i);
  SortByKey(keys, [](const TStandardKey& k) -> const QString& { return k.Key; });
  keys.erase(std::unique(keys.begin(), keys.end(), [](const TStandardKey& a, const TStandardKey& b) { return a.Key == b.Key; }),
             keys.end());
  keys_ = std::move(keys);
  details_ = std::move(details);
  onlyStandard_.clear();
  read_.clear();
}

// One merge of the two sorted key lists.
void TStandardComparison::SetCustomerKeys(std::vector<QString> keys) {
  SortByKey(keys, [](const QString& k) -> const QString& { return k; });
  onlyStandard_.clear();
  size_t c = 0;
  for (size_t s = 0; s < keys_.size(); ++s) {
    while (c < keys.size() && keys[c] < keys_[s].Key) ++c;
    if (c == keys.size() || keys[c] != keys_[s].Key) onlyStandard_.push_back(int(s));
  }
  std::sort(onlyStandard_.begin(), onlyStandard_.end(),
            [this](int a, int b) { return keys_[size_t(a)].Position < keys_[size_t(b)].Position; });
}

void TStandardComparison::Clear() {
  keys_.clear();
  details_ = nullptr;
  onlyStandard_.clear();
  read_.clear();
}

int TStandardComparison::IndexOf(const QString& key) const {
  const auto it = std::lower_bound(keys_.begin(), keys_.end(), key,
                                   [](const TStandardKey& k, const QString& wanted) { return k.Key < wanted; });
  return it != keys_.end() && it->Key == key ? int(it - keys_.begin()) : -1;
}

// An entry another workstation removed meanwhile shows no details.
const TStandardDetails& TStandardComparison::DetailsAt(int index) const {
  auto it = read_.find(index);
  if (it != read_.end()) return it->second;
  TStandardDetails details;
  try {
    if (details_) details = details_(keys_[size_t(index)].Ref);
  } catch (const std::exception&) {
  }
  return read_.emplace(index, std::move(details)).first->second;
}

const TStandardDetails* TStandardComparison::Find(const QString& key) const {
  const int index = IndexOf(key);
  return index < 0 ? nullptr : &DetailsAt(index);
}

QString TStandardComparison::StandardText(const QString& key) const {
  const TStandardDetails* entry = Find(key);
  return entry && !entry->Value.isNull() ? FormatGeneralNumber(DiscountOf(entry->Value)) : QString();
}

QString TStandardComparison::DifferenceText(const QString& key, const QVariant& customerValue) const {
  const TStandardDetails* entry = Find(key);
  if (!entry) return QString();
  return FormatGeneralNumber(DiscountDifference(DiscountOf(customerValue), DiscountOf(entry->Value)));
}

QString TStandardComparison::MarkText(const QString& key) const { return Contains(key) ? QString() : Tr("nur Kunde"); }

double DiscountOf(const QVariant& value) {
  if (value.isNull()) return 0;
  if (value.typeId() == QMetaType::QString) return ReadFloatLenient(value.toString(), 0);
  return value.toDouble();
}

double DiscountDifference(double customer, double standard) {
  const double difference = customer - standard;
  const double larger = std::max(std::fabs(customer), std::fabs(standard));
  if (difference == 0 || larger == 0 || !std::isfinite(difference)) return difference;
  // 15 significant digits of the larger operand are all the subtraction knows.
  const double step = std::pow(10.0, std::floor(std::log10(larger)) - 14);
  const double rounded = std::round(difference / step) * step;
  return std::isfinite(rounded) ? rounded : difference;
}

// ---- the standard discount groups

TStandardDiscountGroups::TStandardDiscountGroups() = default;

TStandardDiscountGroups::~TStandardDiscountGroups() {
  table_.reset();  // before its database
}

bool TStandardDiscountGroups::Open(const QString& fileName) {
  if (!QFileInfo(fileName).isFile()) return false;
  database_ = std::make_unique<TTdbDatabase>();
  database_->SetDatabaseType(TTdbDatabase::FileDatabase);
  database_->SetLocation(fileName);
  database_->SetReadOnly(true);
  database_->Connect();
  if (!database_->GetTableNames().contains(kTable, Qt::CaseInsensitive)) return false;
  table_ = std::make_unique<TTdbTable>(database_.get());
  table_->SetTableName(kTable);
  table_->SetReadOnly(true);
  table_->SetIndexName(kIndex);
  table_->Open();
  return true;
}

std::vector<TStandardKey> TStandardDiscountGroups::Keys() {
  std::vector<TStandardKey> keys;
  TTdbAccessor rows(*table_, {kKey});
  for (int rc = rows.First(); rc == 0; rc = rows.Next()) keys.push_back({rows.AsString(0), rows.RowId()});
  return keys;
}

TStandardDetails TStandardDiscountGroups::Details(qint64 rowId) {
  if (!table_->GotoRowId(rowId)) return {};
  return {table_->FieldByName(kKey).AsString(), table_->FieldByName(kDescription).AsString(),
          table_->FieldByName(kDiscount).Value()};
}

void SetStandardDiscountGroups(TStandardComparison& comparison, const QString& fileName) {
  auto groups = std::make_shared<TStandardDiscountGroups>();
  if (!groups->Open(fileName)) return comparison.SetStandard({}, nullptr);
  comparison.SetStandard(groups->Keys(), [groups](qint64 rowId) { return groups->Details(rowId); });
}

std::vector<QString> ReadDiscountGroupKeys(TTdbTable& table) {
  std::vector<QString> keys;
  TTdbAccessor rows(table, {kKey});
  for (int rc = rows.First(); rc == 0; rc = rows.Next()) keys.push_back(rows.AsString(0));
  return keys;
}

// ---- quantity steps

QString QuantityKey(const QString& text) {
  bool ok = false;
  const double quantity = ReadFloatLenient(text, 0, &ok);
  if (!ok) return QChar(u'\x2') + text;  // after every number
  // The bits of a double, sign flipped (all bits for negatives), order as its values.
  constexpr quint64 kSign = quint64(1) << 63;
  quint64 bits = std::bit_cast<quint64>(quantity == 0 ? 0.0 : quantity);
  bits = bits & kSign ? ~bits : bits | kSign;
  QString key(5, Qt::Uninitialized);
  key[0] = QChar(u'\x1');
  for (int i = 0; i < 4; ++i) key[1 + i] = QChar(char16_t(bits >> (48 - 16 * i)));
  return key;
}

void SetStandardQuantitySteps(TStandardComparison& comparison, const TDoubleStringListObjectList& steps) {
  auto copy = std::make_shared<std::vector<TStandardDetails>>();
  std::vector<TStandardKey> keys;
  for (int i = 0; i < steps.Count(); ++i) {
    const TDoubleString& step = *steps.Items(i);
    keys.push_back({QuantityKey(step.First), i});
    copy->push_back({step.First, QString(), step.Second.trimmed().isEmpty() ? QVariant() : QVariant(step.Second)});
  }
  comparison.SetStandard(std::move(keys), [copy](qint64 i) { return copy->at(size_t(i)); });
}

std::vector<QString> QuantityKeys(const TDoubleStringListObjectList& steps) {
  std::vector<QString> keys;
  keys.reserve(size_t(steps.Count()));
  for (int i = 0; i < steps.Count(); ++i) keys.push_back(QuantityKey(steps.Items(i)->First));
  return keys;
}
