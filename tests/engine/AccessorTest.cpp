// The low-level row walk, bulk transactions and the table lock.
#include <sqlite3.h>

#include <QElapsedTimer>

#include "EngineFixture.h"
#include "TableEngineError.h"
#include "TdbAccessor.h"
#include "TdbConnection.h"

namespace {
// Rows straight into the file, bypassing the cursor, so the fill is quick.
void FillDirectly(TTdbTable& table, int rows) {
  TdbConnection& c = table.Connection();
  TdbWriteScope tx(c);
  for (int i = 0; i < rows; ++i) {
    TdbStatement q = c.Prepare(QStringLiteral("INSERT INTO PRICES VALUES(?,?,?,?)"));
    q.BindAll({QString::number(qint64(i) * 7919 % 1000003), QStringLiteral("name %1").arg(i % 100), i * 0.5, i});
    q.Run();
  }
  tx.Commit();
}

struct Sums {
  qint64 textLength = 0;
  double numbers = 0;
  QString firstId, lastId;
  void Add(const QString& id, const QString& name, double price, qint64 qty) {
    if (firstId.isEmpty()) firstId = id;
    lastId = id;
    textLength += id.size() + name.size();
    numbers += price + qty;
  }
  bool operator==(const Sums&) const = default;
};
}  // namespace

TEST_F(EngineTest, AccessorWalksEveryRowInTheActiveOrder) {
  OpenPrices({});
  TTdbAccessor empty(table_);
  EXPECT_NE(empty.First(), 0);
  EXPECT_FALSE(empty.AtRow());

  FillDirectly(table_, 20000);
  table_.Refresh();
  const int id = table_.FieldByName("ID").Index(), name = table_.FieldByName("NAME").Index();
  const int price = table_.FieldByName("PRICE").Index(), qty = table_.FieldByName("QTY").Index();

  QElapsedTimer timer;
  timer.start();
  Sums raw;
  {
    TTdbAccessor accessor(table_);
    for (int rc = accessor.First(); rc == 0; rc = accessor.Next())
      raw.Add(accessor.AsString(id), accessor.AsString(name), accessor.AsFloat(price), accessor.AsInteger(qty));
    EXPECT_NE(accessor.Next(), 0);
  }
  const qint64 rawMs = timer.restart();
  Sums cursor;
  for (table_.First(); !table_.Eof(); table_.Next())
    cursor.Add(table_.Fields(id).AsString(), table_.Fields(name).AsString(), table_.Fields(price).AsFloat(),
               table_.Fields(qty).AsInteger());
  const qint64 cursorMs = timer.elapsed();
  EXPECT_EQ(cursor, raw);
  EXPECT_EQ(raw.firstId, "0");
  // The cursor reads ahead in windows; it must stay close to a plain statement.
  EXPECT_LT(cursorMs, 3 * rawMs + 100) << cursorMs << " ms against " << rawMs << " ms";
}

TEST_F(EngineTest, FailedPostInsideBulkWorkKeepsTheRowsBeforeIt) {
  OpenPrices({});
  db_.StartTransaction();
  AppendPrice(table_, "1", "a", 1);
  AppendPrice(table_, "2", "b", 2);
  EXPECT_THROW(AppendPrice(table_, "1", "dup", 3), ETableEngineError);
  table_.Cancel();
  AppendPrice(table_, "3", "c", 3);
  db_.Commit();
  EXPECT_FALSE(db_.InTransaction());
  EXPECT_EQ(WalkIds(table_), QStringList({"1", "2", "3"}));

  db_.StartTransaction();
  AppendPrice(table_, "4", "d", 4);
  db_.Rollback();
  EXPECT_EQ(table_.RecordCount(), 3);
}

TEST_F(EngineTest, TableLockHoldsTheWriteLockUntilUnlocked) {
  OpenPrices({{"1", "a", 1.0}});
  table_.LockTable(0);
  AppendPrice(table_, "2", "b", 2.0);
  sqlite3* other = nullptr;
  ASSERT_EQ(sqlite3_open(DatabaseFile().toUtf8().constData(), &other), SQLITE_OK);
  sqlite3_busy_timeout(other, 50);
  EXPECT_EQ(sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_BUSY);
  table_.UnlockTable(0);
  EXPECT_EQ(sqlite3_exec(other, "BEGIN IMMEDIATE; ROLLBACK", nullptr, nullptr, nullptr), SQLITE_OK);
  sqlite3_close(other);
  EXPECT_EQ(table_.RecordCount(), 2);
}
