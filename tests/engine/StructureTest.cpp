// Definitions kept in the file, AlterTable, and both database kinds.
#include <QDir>
#include <QFileInfo>

#include "EngineFixture.h"
#include "TableEngineError.h"

TEST(FieldDefsTest, AddIndexOfAndMove) {
  TTdbFieldDefs defs;
  defs.Add("A", TdbFieldKind::WideString, 10);
  defs.Add("B", TdbFieldKind::Float);
  defs.Add("C", TdbFieldKind::Integer, 0, true);
  EXPECT_EQ(defs.IndexOf("b"), 1);
  EXPECT_EQ(defs.IndexOf("X"), -1);
  EXPECT_THROW(defs.Add("a", TdbFieldKind::Float), ETableEngineError);
  defs.MoveFieldDef(2, 0);
  EXPECT_EQ(defs[0].Name, "C");
  EXPECT_TRUE(defs[0].Required);
  EXPECT_EQ(defs[1].Name, "A");
  EXPECT_THROW(defs.MoveFieldDef(0, 3), ETableEngineError);
  EXPECT_EQ(SplitFieldNames(" A ; B;"), QStringList({"A", "B"}));
}

TEST_F(EngineTest, DefinitionsRoundTripThroughTheFile) {
  DefinePriceTable(table_);
  table_.FieldDefs().Add("NOTE", TdbFieldKind::AnsiString, 30);
  table_.CreateTable();
  EXPECT_THROW(table_.CreateTable(), ETableEngineError);
  const TTdbFieldDefs fields = table_.FieldDefs();
  const TTdbIndexDefs indexes = table_.IndexDefs();
  TTdbTable other(&db_);
  other.SetTableName("prices");
  other.ReadDefinitions();
  EXPECT_EQ(other.FieldDefs(), fields);
  EXPECT_EQ(other.IndexDefs(), indexes);
  EXPECT_EQ(db_.GetTableNames(), QStringList({"PRICES"}));
  EXPECT_TRUE(other.GetExists());
  other.SetTableName("OTHER");
  EXPECT_FALSE(other.GetExists());
  EXPECT_THROW(other.Open(), ETableEngineError);
}

TEST_F(EngineTest, AlterTableAddsAndMovesColumnsKeepingEveryRow) {
  table_.SetTableName("KSR");
  table_.FieldDefs().Add("RABATTGRP", TdbFieldKind::WideString, 255);
  table_.FieldDefs().Add("RABATT", TdbFieldKind::Float);
  table_.IndexDefs().Add("INDEX", "RABATTGRP", ixPrimary | ixUnique);
  table_.SetIndexName("INDEX");
  table_.CreateTable();
  table_.Open();
  for (int i = 0; i < 150; ++i) {
    table_.Append();
    table_.FieldByName("RABATTGRP").SetAsString(QStringLiteral("G%1").arg(i, 3, 10, QLatin1Char('0')));
    table_.FieldByName("RABATT").SetAsFloat(i / 2.0);
    table_.Post();
  }
  table_.Close();

  // The newer definition: BEZEICHNUNG appended, then moved between the two.
  table_.ReadDefinitions();
  table_.FieldDefs().Add("BEZEICHNUNG", TdbFieldKind::WideString, 255);
  table_.FieldDefs().MoveFieldDef(2, 1);
  table_.AlterTable();
  table_.Open();
  ASSERT_EQ(table_.FieldCount(), 3);
  EXPECT_EQ(table_.Fields(0).FieldName(), "RABATTGRP");
  EXPECT_EQ(table_.Fields(1).FieldName(), "BEZEICHNUNG");
  EXPECT_EQ(table_.Fields(2).FieldName(), "RABATT");
  EXPECT_EQ(table_.RecordCount(), 150);
  ASSERT_TRUE(table_.FindKey({QStringLiteral("G101")}));
  EXPECT_DOUBLE_EQ(table_.FieldByName("RABATT").AsFloat(), 50.5);
  EXPECT_TRUE(table_.FieldByName("BEZEICHNUNG").IsNull());
  table_.Append();
  table_.FieldByName("RABATTGRP").SetAsString("G000");
  EXPECT_THROW(table_.Post(), ETableEngineError);
  table_.Cancel();
  EXPECT_THROW(table_.AlterTable(), ETableEngineError);  // only closed tables
}

TEST(DirectoryDatabaseTest, KeepsOneFilePerTable) {
  QTemporaryDir dir;
  const QString location = dir.filePath("DATA/SUB");
  TTdbDatabase db;
  db.SetDatabaseType(TTdbDatabase::DirectoryDatabase);
  db.SetLocation(location);
  db.CreateDatabase();
  db.Connect();
  EXPECT_TRUE(db.GetTableNames().isEmpty());
  for (const QString name : {"CATALOG", "LAGER"}) {
    TTdbTable table(&db);
    DefinePriceTable(table);
    table.SetTableName(name);
    table.CreateTable();
    EXPECT_EQ(table.GetTableFileName(), QDir(location).filePath(name + ".DAT"));
    EXPECT_TRUE(QFileInfo(table.GetTableFileName()).isFile());
  }
  EXPECT_EQ(db.GetTableNames(), QStringList({"CATALOG", "LAGER"}));
  TTdbTable catalog(&db), lager(&db);
  DefinePriceTable(catalog);
  DefinePriceTable(lager);
  catalog.SetTableName("CATALOG");
  lager.SetTableName("LAGER");
  catalog.Open();
  lager.Open();
  AppendPrice(catalog, "c", "x", 1);
  db.StartTransaction();
  AppendPrice(lager, "l1", "x", 1);
  AppendPrice(lager, "l2", "x", 1);
  db.Rollback();
  EXPECT_EQ(catalog.RecordCount(), 1);
  EXPECT_EQ(lager.RecordCount(), 0);
  db.Disconnect();
  EXPECT_FALSE(catalog.Active());
}

// An upgrade names the columns it knows; a column another program added and
// filled stays, after the named ones.
TEST_F(EngineTest, AlterTableKeepsColumnsTheDefinitionsDoNotName) {
  DefinePriceTable(table_);
  table_.CreateTable();
  table_.Open();
  AppendPrice(table_, "1", "a", 2.5, 7);
  table_.Close();
  table_.FieldDefs().Clear();
  table_.FieldDefs().Add("ID", TdbFieldKind::WideString, 20, true);
  table_.FieldDefs().Add("PRICE", TdbFieldKind::Float);
  table_.FieldDefs().Add("NOTE", TdbFieldKind::WideString, 40);
  table_.AlterTable();
  table_.Open();
  QStringList names;
  for (int i = 0; i < table_.FieldCount(); ++i) names << table_.Fields(i).FieldName();
  EXPECT_EQ(names, QStringList({"ID", "PRICE", "NOTE", "NAME", "QTY"}));
  EXPECT_EQ(table_.FieldByName("NAME").AsString(), "a");
  EXPECT_EQ(table_.FieldByName("QTY").Kind(), TdbFieldKind::Integer);
  EXPECT_EQ(table_.FieldByName("QTY").AsInteger(), 7);
}
