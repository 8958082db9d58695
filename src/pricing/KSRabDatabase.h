#pragma once
// The discount groups of one customer (or of the standard tables): one row
// per discount group with its description and the customer's discount in
// percent, in a one-file database per address and table set.
#include <QString>

#include "CmnCustomObjectLists.h"
#include "TDBCore.h"

class TKSRabDatabase : public TDatabaseWrapper {
 public:
  explicit TKSRabDatabase(TDBLogCallback onLog = {});

  TTdbTable* Table = nullptr;  // "KSR", the grid's table

  // The bulk operations report their errors themselves and return false then.
  // Sets the discounts of the groups the file names that exist; adds nothing.
  bool ImportFromFile(const QString& fileName);
  // Writes "key=discount" per group in key order, replacing the file.
  void ExportToFile(const QString& fileName);
  // Replaces the groups by the given ones (First = key, Second = description),
  // keeping the discount of every group that stays.
  bool UpdateRabattListe(const TDoubleStringListObjectList& groups);
  // Deletes the groups without discount.
  bool CompressRabattListe();
  // Whether the trimmed key exists; the table then stands on it.
  bool RabattGrpExists(const QString& key);
  // Appends the trimmed key with discount 0 unless it exists.
  void RabattGrpAppend(const QString& key);
  void Close() { CloseDatabase(); }

  int AlterTables() override { return -1; }

 protected:
  void CreateTableDefs(TTdbTable& table) override;
  void CreateTables() override;
  void PrepareTables() override;

 private:
  // The discount of the current row as the exchange file writes it.
  QString CurrentDiscountText() const;
  void AppendGroup(const QString& key, const QString& description, double discount);
  // Runs bulk work in one transaction. On an error what was posted before it
  // stays, unless keepPosted is false: then the table is as it was before.
  // The error report says which of the two happened.
  template <class Work>
  bool InBulk(const QString& place, Work&& work, bool keepPosted = true);
  QString EndFailedBulk(bool keepPosted);
  static QString NothingStoredText();
};
