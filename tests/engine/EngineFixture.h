#pragma once
// A fresh one-file database in a temporary folder, and a small price table.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "TdbDatabase.h"
#include "TdbTable.h"
#include "TestSupport.h"

// ID (unique, primary index "INDEX"), NAME + PRICE (index "BYNAME", with ties), PRICE, QTY;
// index "NAMEONLY" on NAME.
void DefinePriceTable(TTdbTable& table);
void AppendPrice(TTdbTable& table, const QString& id, const QString& name, double price, qint64 qty = 0);
// The given field of every row, walking forwards (or backwards) over the whole table.
QStringList WalkIds(TTdbTable& table, bool forward = true, const QString& field = QStringLiteral("ID"));

// The price table of the one-file database at path, opened by a connection
// of its own (a second program on the file); made first when create.
struct OpenedPrices {
  explicit OpenedPrices(const QString& path, bool create = false);
  TTdbDatabase db;
  TTdbTable table{&db};
};

class EngineTest : public testing::Test {
 protected:
  void SetUp() override;
  // Creates and opens the price table with the given rows (id, name, price).
  void OpenPrices(const std::vector<std::tuple<QString, QString, double>>& rows);
  QString DatabaseFile() const { return dir_.filePath(QStringLiteral("PRICES.TDBD")); }

  QTemporaryDir dir_;
  TTdbDatabase db_;
  TTdbTable table_{&db_};
};
