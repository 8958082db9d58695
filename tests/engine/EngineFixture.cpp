#include "EngineFixture.h"

void DefinePriceTable(TTdbTable& table) {
  table.SetTableName(QStringLiteral("PRICES"));
  table.FieldDefs().Clear();
  table.FieldDefs().Add(QStringLiteral("ID"), TdbFieldKind::WideString, 20, true);
  table.FieldDefs().Add(QStringLiteral("NAME"), TdbFieldKind::WideString, 255);
  table.FieldDefs().Add(QStringLiteral("PRICE"), TdbFieldKind::Float);
  table.FieldDefs().Add(QStringLiteral("QTY"), TdbFieldKind::Integer);
  table.IndexDefs().Clear();
  table.IndexDefs().Add(QStringLiteral("INDEX"), QStringLiteral("ID"), ixPrimary | ixUnique);
  table.IndexDefs().Add(QStringLiteral("BYNAME"), QStringLiteral("NAME;PRICE"));
  table.IndexDefs().Add(QStringLiteral("NAMEONLY"), QStringLiteral("NAME"));
  table.SetIndexName(QStringLiteral("INDEX"));
}

void AppendPrice(TTdbTable& table, const QString& id, const QString& name, double price, qint64 qty) {
  table.Append();
  table.FieldByName(QStringLiteral("ID")).SetAsString(id);
  table.FieldByName(QStringLiteral("NAME")).SetAsString(name);
  table.FieldByName(QStringLiteral("PRICE")).SetAsFloat(price);
  table.FieldByName(QStringLiteral("QTY")).SetAsInteger(qty);
  table.Post();
}

QStringList WalkIds(TTdbTable& table, bool forward, const QString& field) {
  QStringList ids;
  if (forward) {
    for (table.First(); !table.Eof(); table.Next()) ids << table.FieldByName(field).AsString();
  } else {
    for (table.Last(); !table.Bof(); table.Prior()) ids << table.FieldByName(field).AsString();
  }
  return ids;
}

OpenedPrices::OpenedPrices(const QString& path, bool create) {
  db.SetDatabaseType(TTdbDatabase::FileDatabase);
  db.SetLocation(path);
  if (create) db.CreateDatabase();
  db.Connect();
  DefinePriceTable(table);
  if (create) table.CreateTable();
  table.Open();
}

void EngineTest::SetUp() {
  ASSERT_TRUE(dir_.isValid());
  db_.SetDatabaseType(TTdbDatabase::FileDatabase);
  db_.SetLocation(DatabaseFile());
  db_.CreateDatabase();
  db_.Connect();
}

void EngineTest::OpenPrices(const std::vector<std::tuple<QString, QString, double>>& rows) {
  DefinePriceTable(table_);
  table_.CreateTable();
  table_.Open();
  for (const auto& [id, name, price] : rows) AppendPrice(table_, id, name, price);
}
