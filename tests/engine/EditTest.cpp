// Appending, editing and deleting rows, field kinds, constraint errors and view notifications.
#include <sqlite3.h>

#include <QFile>

#include "EngineFixture.h"
#include "TableEngineError.h"
#include "TdbConnection.h"

namespace {
struct RecordingListener : ITdbTableListener {
  QStringList calls;
  void TableReset() override { calls << "reset"; }
  void RowChanged(qint64 id) override { calls << QStringLiteral("changed %1").arg(id); }
  void RowInserted(qint64 id) override { calls << QStringLiteral("inserted %1").arg(id); }
  void RowDeleted(qint64 id) override { calls << QStringLiteral("deleted %1").arg(id); }
};
}  // namespace

TEST_F(EngineTest, PostedRowsAreSortedIntoPlaceAndStayCurrent) {
  OpenPrices({{"B", "x", 1.0}});
  EXPECT_EQ(table_.State(), TdbState::Browse);
  table_.Append();
  EXPECT_EQ(table_.State(), TdbState::Insert);
  table_.FieldByName("ID").SetAsString("A");
  table_.Post();
  EXPECT_EQ(table_.State(), TdbState::Browse);
  EXPECT_EQ(table_.FieldByName("ID").AsString(), "A");
  EXPECT_EQ(table_.RecordNo(), 1);
  EXPECT_TRUE(table_.FieldByName("PRICE").IsNull());
  EXPECT_EQ(WalkIds(table_), QStringList({"A", "B"}));
}

TEST_F(EngineTest, EditCancelAndDelete) {
  OpenPrices({{"1", "a", 1.0}, {"2", "b", 2.0}, {"3", "c", 3.0}});
  ASSERT_TRUE(table_.Locate("ID", QStringLiteral("2")));
  EXPECT_THROW(table_.FieldByName("NAME").SetAsString("no"), ETableEngineError);  // not in edit mode
  table_.Edit();
  table_.FieldByName("NAME").SetAsString("changed");
  table_.Cancel();
  EXPECT_EQ(table_.FieldByName("NAME").AsString(), "b");
  table_.Edit();
  table_.FieldByName("ID").SetAsString("9");  // moves to the end of the order
  table_.Post();
  EXPECT_EQ(table_.RecordNo(), 3);
  EXPECT_EQ(WalkIds(table_), QStringList({"1", "3", "9"}));

  table_.First();
  table_.Delete();
  EXPECT_EQ(table_.FieldByName("ID").AsString(), "3");  // the next row takes its place
  table_.Last();
  table_.Delete();
  EXPECT_EQ(table_.FieldByName("ID").AsString(), "3");  // at the end, the one before
  table_.Delete();
  EXPECT_TRUE(table_.Eof());
  EXPECT_EQ(table_.RecordCount(), 0);
}

TEST_F(EngineTest, FieldKindsRoundTrip) {
  table_.SetTableName("KINDS");
  table_.FieldDefs().Add("T", TdbFieldKind::WideString, 40);
  table_.FieldDefs().Add("F", TdbFieldKind::Float);
  table_.FieldDefs().Add("I", TdbFieldKind::Integer);
  table_.FieldDefs().Add("B", TdbFieldKind::Boolean);
  table_.FieldDefs().Add("D", TdbFieldKind::DateTime);
  table_.FieldDefs().Add("M", TdbFieldKind::WideMemo);
  table_.FieldDefs().Add("L", TdbFieldKind::Blob);
  table_.CreateTable();
  table_.Open();
  const QDateTime when(QDate(2024, 2, 29), QTime(13, 45, 30, 250));
  table_.Append();
  table_.FieldByName("T").SetAsString(QStringLiteral("Ärger €"));
  table_.FieldByName("F").SetAsFloat(-1.25);
  table_.FieldByName("I").SetAsInteger(1LL << 40);
  table_.FieldByName("B").SetAsBoolean(true);
  table_.FieldByName("D").SetAsDateTime(when);
  table_.FieldByName("M").SetAsString(QString(5000, QLatin1Char('m')));
  table_.FieldByName("L").SetValue(QByteArray("\0\1\2", 3));
  table_.Post();
  table_.Close();
  table_.Open();
  EXPECT_EQ(table_.FieldByName("T").AsString(), QStringLiteral("Ärger €"));
  EXPECT_DOUBLE_EQ(table_.FieldByName("F").AsFloat(), -1.25);
  EXPECT_EQ(table_.FieldByName("I").AsInteger(), 1LL << 40);
  EXPECT_TRUE(table_.FieldByName("B").AsBoolean());
  EXPECT_EQ(table_.FieldByName("B").AsString(), "True");
  EXPECT_EQ(table_.FieldByName("D").AsDateTime(), when);
  EXPECT_EQ(table_.FieldByName("M").AsString().size(), 5000);
  EXPECT_EQ(table_.FieldByName("L").Value().toByteArray(), QByteArray("\0\1\2", 3));
  table_.Edit();
  table_.FieldByName("F").Clear();
  EXPECT_THROW(table_.FieldByName("I").SetAsString("12x"), ETableEngineError);
  table_.Post();
  EXPECT_TRUE(table_.FieldByName("F").IsNull());
}

TEST_F(EngineTest, ConstraintViolationsRaiseEngineErrorsWithCodes) {
  OpenPrices({{"1", "a", 1.0}});
  try {
    AppendPrice(table_, "1", "dup", 2.0);
    FAIL() << "duplicate key accepted";
  } catch (const ETableEngineError& e) {
    EXPECT_EQ(e.ErrorCode(), SQLITE_CONSTRAINT);
    EXPECT_EQ(e.ExtendedCode(), SQLITE_CONSTRAINT_UNIQUE);
  }
  EXPECT_EQ(table_.State(), TdbState::Insert);  // the row can still be corrected
  table_.Cancel();
  table_.Append();
  try {
    table_.Post();  // ID is required
    FAIL() << "missing required field accepted";
  } catch (const ETableEngineError& e) {
    EXPECT_EQ(e.ExtendedCode(), SQLITE_CONSTRAINT_NOTNULL);
  }
  table_.Cancel();
  EXPECT_EQ(table_.RecordCount(), 1);
}

TEST_F(EngineTest, ScrollEventsAndViewNotifications) {
  OpenPrices({{"1", "a", 1.0}, {"2", "b", 2.0}});
  QStringList events;
  table_.BeforeScroll = [&](TTdbTable& t) { events << "before " + t.FieldByName("ID").AsString(); };
  table_.AfterScroll = [&](TTdbTable& t) { events << "after " + t.FieldByName("ID").AsString(); };
  table_.First();
  table_.Next();
  EXPECT_EQ(events, QStringList({"before 2", "after 1", "before 1", "after 2"}));  // opened on the last posted row

  RecordingListener listener;
  table_.AddListener(&listener);
  table_.Edit();
  table_.FieldByName("NAME").SetAsString("bb");
  table_.Post();
  AppendPrice(table_, "3", "c", 3.0);
  table_.Delete();
  EXPECT_EQ(listener.calls, QStringList({"changed 2", "inserted 3", "deleted 3"}));

  listener.calls.clear();
  table_.DisableControls();
  AppendPrice(table_, "4", "d", 4.0);
  AppendPrice(table_, "5", "e", 5.0);
  EXPECT_TRUE(listener.calls.isEmpty());
  table_.EnableControls();
  EXPECT_EQ(listener.calls, QStringList({"reset"}));
  table_.RemoveListener(&listener);
}

// Two programs on one file: an edit never overwrites what the other changed
// or deleted after it was read; the post fails and the other's data stays.
TEST_F(EngineTest, EditOfARowChangedOrDeletedElsewhereFailsInsteadOfOverwriting) {
  OpenPrices({{"1", "a", 1.0}, {"2", "b", 2.0}});
  OpenedPrices otherProgram(DatabaseFile());
  TTdbTable& other = otherProgram.table;

  ASSERT_TRUE(table_.Locate("ID", QStringLiteral("1")));  // read before the other's change
  ASSERT_TRUE(other.Locate("ID", QStringLiteral("1")));
  other.Edit();
  other.FieldByName("NAME").SetAsString("von B");
  other.Post();
  table_.Edit();
  table_.FieldByName("PRICE").SetAsFloat(9);
  try {
    table_.Post();
    FAIL() << "the stale edit was posted";
  } catch (const ETableEngineError& e) {
    EXPECT_EQ(e.ErrorCode(), SQLITE_ABORT);
  }
  table_.Cancel();
  table_.Refresh();
  ASSERT_TRUE(table_.Locate("ID", QStringLiteral("1")));
  EXPECT_EQ(table_.FieldByName("NAME").AsString(), "von B");
  EXPECT_DOUBLE_EQ(table_.FieldByName("PRICE").AsFloat(), 1.0);

  ASSERT_TRUE(table_.Locate("ID", QStringLiteral("2")));
  ASSERT_TRUE(other.Locate("ID", QStringLiteral("2")));
  other.Delete();
  table_.Edit();
  table_.FieldByName("PRICE").SetAsFloat(5);
  EXPECT_THROW(table_.Post(), ETableEngineError);
  table_.Cancel();
  // An edit of a row nobody touched still posts.
  table_.Refresh();
  ASSERT_TRUE(table_.Locate("ID", QStringLiteral("1")));
  table_.Edit();
  table_.FieldByName("PRICE").SetAsFloat(7);
  table_.Post();
  EXPECT_DOUBLE_EQ(table_.FieldByName("PRICE").AsFloat(), 7.0);
}

// Row ids are reused: after the other program deleted the last row and
// appended a new one, a stale cursor's delete must not remove that new row.
TEST_F(EngineTest, DeleteOnAStaleCursorNeverRemovesAnotherRow) {
  OpenPrices({{"1", "a", 1.0}, {"2", "b", 2.0}});
  OpenedPrices other(DatabaseFile());
  ASSERT_TRUE(table_.Locate("ID", QStringLiteral("2")));
  const qint64 readRowId = table_.RowId();
  ASSERT_TRUE(other.table.Locate("ID", QStringLiteral("2")));
  other.table.Delete();
  AppendPrice(other.table, "3", "newest", 3.0);
  ASSERT_EQ(other.table.RowId(), readRowId);  // the id came back
  try {
    table_.Delete();
    FAIL() << "the stale delete removed a row";
  } catch (const ETableEngineError& e) {
    EXPECT_EQ(e.ExtendedCode(), TdbErrorCode::RowChanged);
  }
  table_.Refresh();
  EXPECT_EQ(WalkIds(table_), QStringList({"1", "3"}));
}

// The check compares with what a view showed, not with what the cursor read later.
TEST_F(EngineTest, EditExpectingTheShownValueFailsWhenTheRowChangedSince) {
  OpenPrices({{"1", "a", 10.0}});
  OpenedPrices other(DatabaseFile());
  other.table.Edit();
  other.table.FieldByName("PRICE").SetAsFloat(11);
  other.table.Post();
  ASSERT_TRUE(table_.Locate("ID", QStringLiteral("1")));  // the cursor reads 11 now
  table_.Edit();
  table_.ExpectUnchanged(table_.FieldByName("PRICE").Index(), 10.0);  // the view still showed 10
  table_.FieldByName("PRICE").SetAsFloat(12);
  EXPECT_THROW(table_.Post(), ETableEngineError);
  table_.Cancel();
  table_.Refresh();
  EXPECT_DOUBLE_EQ(table_.FieldByName("PRICE").AsFloat(), 11.0);
}

// SQLite may undo a whole transaction by itself (disk full, I/O error). Later
// posts of the bulk work must not slip through one by one as autocommits.
TEST_F(EngineTest, PostsAfterSQLiteRolledTheTransactionBackAreRefused) {
  OpenPrices({});
  db_.StartTransaction();
  AppendPrice(table_, "1", "a", 1.0);
  ASSERT_EQ(sqlite3_exec(table_.Connection().Handle(), "ROLLBACK", nullptr, nullptr, nullptr), SQLITE_OK);
  EXPECT_TRUE(db_.TransactionLost());
  try {
    AppendPrice(table_, "2", "b", 2.0);
    FAIL() << "a post after the lost transaction was stored";
  } catch (const ETableEngineError& e) {
    EXPECT_EQ(e.ExtendedCode(), TdbErrorCode::TransactionLost);
  }
  table_.Cancel();
  EXPECT_THROW(db_.Commit(), ETableEngineError);
  EXPECT_FALSE(db_.InTransaction());
  EXPECT_EQ(table_.RecordCount(), 0);
  AppendPrice(table_, "3", "c", 3.0);  // the next post works again
  EXPECT_EQ(table_.RecordCount(), 1);
}

// Another workstation deleted or replaced the file: a post is refused with a
// German account, never written into the unlinked file.
TEST_F(EngineTest, PostIntoAFileDeletedOrReplacedElsewhereIsRefused) {
  for (const bool replaced : {false, true}) {
    SCOPED_TRACE(replaced ? "replaced" : "deleted");
    OpenedPrices gone(dir_.filePath(QStringLiteral("GONE.TDBD")), true);
    TTdbDatabase& db = gone.db;
    TTdbTable& table = gone.table;
    AppendPrice(table, "1", "a", 1.0);
    ASSERT_TRUE(QFile::remove(db.Location()));
    if (replaced) WriteFileBytes(db.Location(), QByteArray());
    EXPECT_TRUE(db.FileGone());
    try {
      AppendPrice(table, "2", "b", 2.0);
      FAIL() << "posted into a file that is gone";
    } catch (const ETableEngineError& e) {
      EXPECT_EQ(e.ExtendedCode(), TdbErrorCode::FileGone);
      EXPECT_TRUE(e.Message().startsWith(QStringLiteral("Die Datei wurde an einem anderen Arbeitsplatz geloescht")))
          << e.Message().toStdString();
    }
    table.Cancel();
    QFile::remove(db.Location());
  }
}

// A full disk is told in German, with SQLite's text as detail.
TEST_F(EngineTest, FullDiskIsReportedInGermanWithTheTechnicalText) {
  OpenPrices({});
  table_.Connection().Exec(QStringLiteral("PRAGMA max_page_count = 8"));
  try {
    for (int i = 0; i < 200; ++i) AppendPrice(table_, QString::number(i), QString(500, QLatin1Char('x')), i);
    FAIL() << "the database never filled up";
  } catch (const ETableEngineError& e) {
    EXPECT_EQ(e.ErrorCode(), SQLITE_FULL);
    EXPECT_TRUE(e.Message().startsWith(QStringLiteral("Die Festplatte ist voll."))) << e.Message().toStdString();
    EXPECT_TRUE(e.Message().contains(QStringLiteral("database or disk is full")));
  }
}
